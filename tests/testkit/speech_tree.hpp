// A data tree for the speech scenarios: TELUMA.INI in the Windows folder, a one-unit voice,
// recordings of distinct lengths in the letters folder (so a sound image tells which number
// words were joined) and a phrase folder. Runs of the programs are read back as the sequence of
// what was heard.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "testkit/data_tree.hpp"
#include "testkit/wave.hpp"

namespace conformance {

using Lines = std::vector<std::string>;

inline std::string Wave(uint32_t samples, uint32_t rate = 11025) {
  return testkit::SilentWave(samples, rate);
}

// Number words and their sample counts (all different).
inline const std::map<std::string, uint32_t>& NumberWords() {
  static const std::map<std::string, uint32_t> words = [] {
    const char* names[] = {
        "_zero",    "_um",      "_uma",     "_dois",    "_duas",    "_tres",    "_quatro",
        "_cinco",   "_seis",    "_sete",    "_oito",    "_nove",    "_dez",     "_onze",
        "_doze",    "_treze",   "_quatorz", "_quinze",  "_dezesse", "_dezeset", "_dezoito",
        "_dezenov", "_vinte",   "_trinta",  "_quarent", "_cinquen", "_sessent", "_setenta",
        "_oitenta", "_noventa", "_cem",     "_cento",   "_duzento", "_trezent", "_quatroc",
        "_quinhen", "_seiscen", "_setecen", "_oitocen", "_novecen", "_mil",     "_milhao",
        "_milhoes", "_bilhao",  "_bilhoes", "_trilhao", "_trilhoe", "_e"};
    std::map<std::string, uint32_t> m;
    uint32_t n = 1001;
    for (const char* name : names) m[name] = (n += 13);
    return m;
  }();
  return words;
}

// Sample count of the words joined (the size of the sound image they make).
inline std::string Joined(std::initializer_list<const char*> words) {
  uint32_t n = 0;
  for (const char* w : words) n += NumberWords().at(w);
  return "img:" + std::to_string(n);
}

inline const char* kSettings =
    "[TRADUTOR]\r\nSAPI=N\r\nVELOCIDADE=2\r\n"
    "[SINTETIZADOR]\r\nDIFONES1=VOZ\r\nDIFONES2=VOZ\r\nDIFONES3=VOZ\r\nDIFONES4=VOZ\r\n"
    "DIFONES5=VOZ\r\nPAUSAPONTO2=400\r\nPAUSAVIRG2=300\r\nPAUSADOISPONTOS2=500\r\n";

class Tree : public testkit::DataTree {
 public:
  explicit Tree(const std::string& settings = kSettings) {
    Write("windows/TELUMA.INI", settings);
    for (const auto& [name, samples] : NumberWords()) Letter(name, samples);
    // Characters, phrases of the front end, the editor, time and date: 110 samples each.
    for (int c = 32; c < 256; ++c) Letter(std::string("_").append(std::to_string(c)), 110);
    for (const char* p : {"_MENOS", "_DEL", "_APFCPO", "_APICPO", "_CPOAPA", "_FALACI",
                          "_FALDLG", "_VELOC", "_FON97", "_FON66", "_hora", "_horas",
                          "_minuto", "_minutos", "_primeir", "_de", "_Domingo", "_Segunda",
                          "_Terca", "_Quarta", "_Quinta", "_Sexta", "_Sabado", "_Janeiro",
                          "_Feverei", "_Marco", "_Abril", "_Maio", "_Junho", "_Julho",
                          "_Agosto", "_Setembr", "_Outubro", "_Novembr", "_Dezembr"})
      Letter(p, 110);
    for (const char* d : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "X", "#"})
      Letter(std::string("dtmf_") + d, 110);
    Write("frases/LUINIC.wav", Wave(120));
    Voice();
  }

  void Letter(const std::string& name, uint32_t samples) const {
    Write("qorbel/som/letras/" + name + ".wav", Wave(samples));
  }
  void Settings(const std::string& text) const { Write("windows/TELUMA.INI", text); }

  testkit::RunResult Probe(std::vector<std::string> args, const std::string& keys = {}) const {
    return Run(SPEECH_PROBE, std::move(args), keys);
  }
  testkit::RunResult Say(const std::string& text, const std::string& keys = {}) const {
    return Run(TELUMA_SAY, {text}, keys);
  }

 private:
  // One unit "$A" of 100 samples, and translator rules that keep letters as they are.
  void Voice() const {
    std::string entry(15, '\0');
    entry[0] = 2;
    entry[1] = '$';
    entry[2] = 'A';
    entry[9] = 100;
    Write("qorbel/som/difones/VOZ.IND", entry);
    Write("qorbel/som/difones/VOZ.DIF", std::string(100, '\x80'));
    std::string rules;
    for (char c = 'A'; c <= 'Z'; ++c) rules += std::string("(") + c + ")=" + char(c + 32) + "|\r\n";
    Write("qorbel/som/difones/regras.rgr", rules);
    Write("qorbel/som/difones/portug.exc", "\r\n");
  }
};

// What a run made heard, in order: recordings by name ("_DEL", "_97", "LUINIC"), sound images
// by sample count ("beep" and "click" for the two signals, "img:N" otherwise), phonetic texts
// ("dip:...", the sound images it makes are not listed), texts given to SpeakText ("speak:..."), started programs ("open:...") and the
// probe's results ("result:...").
inline Lines Heard(const testkit::RunResult& run, bool withSpeak = true) {
  Lines out;
  long long diphoneAt = -1;  // the synthesizer hands its (short) sound over at once
  for (const auto& e : run.events) {
    if (e.name == "IMAGE" && e.ms == diphoneAt) continue;
    if (e.name == "DIPHONE") diphoneAt = e.ms;
    if (e.name == "PLAY") {
      std::string name = e.data;
      if (!name.empty() && name.back() == '"') name.pop_back();
      const size_t slash = name.find_last_of("\\/");
      if (slash != std::string::npos) name = name.substr(slash + 1);
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0)
        name.resize(name.size() - 4);
      out.push_back(name);
    } else if (e.name == "IMAGE") {
      const long samples = std::atol(e.data.c_str());
      out.push_back(samples == 512   ? "beep"
                    : samples == 256 ? "click"
                                     : "img:" + std::to_string(samples));
    } else if (e.name == "DIPHONE") {
      out.push_back("dip:" + testkit::Unquote(e.data));
    } else if (e.name == "SPEAK" && withSpeak) {
      out.push_back("speak:" + testkit::Unquote(e.data));
    } else if (e.name == "OPEN") {
      out.push_back("open:" + e.data);
    } else if (e.name == "RESULT") {
      out.push_back("result:" + testkit::Unquote(e.data));
    }
  }
  return out;
}

// The results of a probe run, without the final "done".
inline Lines Results(const testkit::RunResult& run) {
  Lines out;
  for (const auto& e : run.Named("RESULT"))
    if (testkit::Unquote(e.data) != "done") out.push_back(testkit::Unquote(e.data));
  return out;
}

inline const testkit::Event* First(const testkit::RunResult& r, const std::string& name,
                                   const std::string& part = {}) {
  for (const auto& e : r.events)
    if (e.name == name && e.data.find(part) != std::string::npos) return &e;
  return nullptr;
}

}  // namespace conformance
