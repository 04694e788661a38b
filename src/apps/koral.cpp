// koral: speaks a text with the Portuguese engine, writes it to a wave file (-w), or prints a
// stage of the front end (normalised text, pitch-pattern tokens, phoneme list or MBROLA lines),
// reading the rule files of the data tree or of --rules.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "apps/command_line.hpp"
#include "platform/cp1252.hpp"
#include "platform/events.hpp"
#include "platform/paths.hpp"
#include "tts/uttsExcessoes.hpp"
#include "tts/uttsInic.hpp"
#include "tts/uttsKoral.hpp"
#include "tts/uttsPortug.hpp"
#include "tts/uttsPreproc.hpp"
#include "tts/uttsProsodia.hpp"
#include "tts/uttsTexto.hpp"

using namespace teluma::tts;

namespace teluma::apps {

namespace {

enum class Stage { Normalize, Tokens, Phonemes, Pho, Wave, Speak };

void PrintLine(const std::string& cp1252) {
  std::string utf8 = platform::Cp1252ToUtf8(cp1252);
  utf8 += '\n';
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void Usage() {
  std::cout <<
      "Uso: koral [ETAPA | -w ARQUIVO] [--rules PASTA] [--speed FATOR] [--pitch FATOR]\n"
      "             [--rate N] [--pitch-level N] [TEXTO...]\n"
      "Fala o texto com o sintetizador Koral, grava a fala num arquivo ou mostra uma etapa\n"
      "do conversor de texto em fala do português.\n"
      "  -w ARQUIVO       grava a fala em ARQUIVO (WAVE, 16000 Hz, 16 bits, mono);\n"
      "                   com -w -, na saída padrão, à medida que é sintetizada\n"
      "  --normalize      texto normalizado (números, siglas e símbolos por extenso)\n"
      "  --tokens         palavras com seus padrões de entonação\n"
      "  --phonemes       lista de fonemas\n"
      "  --pho            linhas MBROLA (fonema, duração, alvos de frequência)\n"
      "  --rules PASTA    pasta dos arquivos de regras (padrão: c:\\qorbel\\koraltts)\n"
      "  --speed FATOR    fator de duração (padrão 1.0)\n"
      "  --pitch FATOR    fator de frequência (padrão 1.0)\n"
      "  --rate N         velocidade de -100 (lenta) a 100 (rápida), 0 = normal\n"
      "  --pitch-level N  altura de -100 (grave) a 100 (aguda), 0 = normal\n"
      "  --help, --version\n"
      "Sem TEXTO, o texto é lido da entrada padrão.\n";
}

bool ParseFactor(const std::string& text, double& value) {
  std::string t = text;
  for (auto& c : t)
    if (c == ',') c = '.';
  char* end = nullptr;
  value = std::strtod(t.c_str(), &end);
  return !t.empty() && end && *end == 0 && value > 0;
}

// A level of the desktop's speech service, -100 ... 100.
bool ParseLevel(const std::string& text, double& value) {
  char* end = nullptr;
  long level = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || !end || *end != 0 || level < -100 || level > 100) return false;
  value = double(level);
  return true;
}

// Rate 100 speaks 2.5 times as fast as 0, -100 2.5 times as slow; pitch 100 is an octave up,
// -100 an octave down.
double DurationFactorOfRate(double rate) { return std::pow(2.5, -rate / 100); }
double PitchFactorOfLevel(double level) { return std::pow(2.0, level / 100); }

std::string RuleFile(const std::string& folder, const char* name) {
  return platform::ResolveCase(platform::JoinPath(folder, name));
}

int Fail(const std::string& utf8) {
  std::cerr << "koral: " << utf8 << "\n";
  return 1;
}

// Speaks the text through the engine, into the sound device or into waveFile.
int Speak(const std::string& text, const std::string& folder, const std::string& waveFile,
          double durationFactor, double pitchFactor) {
  TtsSetOutputFile(waveFile);
  if (!TtsOpen("", RuleFile(folder, "portug.nrl"), RuleFile(folder, "portug.exc"),
               RuleFile(folder, "portug.abr"), RuleFile(folder, "portug.pro"),
               RuleFile(folder, "portug.dfn"))) {
    TtsClose();
    return Fail(platform::Cp1252ToUtf8(TtsLastError()));
  }
  TtsSetFactors(durationFactor, pitchFactor);
  const bool spoken = TtsSpeak(text);
  while (TtsBusy()) platform::WaitMessage();
  TtsClose();
  if (!spoken)
    return Fail(waveFile.empty() ? "erro do sintetizador em parte do texto"
                                 : "erro do sintetizador ou na gravação de " + waveFile);
  return 0;
}

}  // namespace

}  // namespace teluma::apps

using namespace teluma;
using namespace teluma::apps;

int main(int argc, char** argv) {
  Stage stage = Stage::Phonemes;
  bool stageGiven = false;
  std::string rules, waveFile;
  double durationFactor = 1.0, pitchFactor = 1.0;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto needValue = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string value;
    if (a == "--help" || a == "-h") { Usage(); return 0; }
    if (a == "--version") { apps::PrintVersion("koral"); return 0; }
    if (a == "--normalize") { stage = Stage::Normalize; stageGiven = true; }
    else if (a == "--tokens") { stage = Stage::Tokens; stageGiven = true; }
    else if (a == "--phonemes") { stage = Stage::Phonemes; stageGiven = true; }
    else if (a == "--pho") { stage = Stage::Pho; stageGiven = true; }
    else if (a == "-w") {
      if (!needValue(waveFile)) return Fail("falta o nome do arquivo depois de -w");
      stage = Stage::Wave;
      stageGiven = true;
    } else if (a == "--rules") {
      if (!needValue(rules)) return Fail("falta a pasta depois de --rules");
    } else if (a == "--speed" || a == "--pitch") {
      double& target = a == "--speed" ? durationFactor : pitchFactor;
      if (!needValue(value) || !ParseFactor(value, target))
        return Fail("fator inválido para " + a);
    } else if (a == "--rate" || a == "--pitch-level") {
      double level = 0;
      if (!needValue(value) || !ParseLevel(value, level))
        return Fail("valor inválido para " + a + " (de -100 a 100)");
      if (a == "--rate") durationFactor = DurationFactorOfRate(level);
      else pitchFactor = PitchFactorOfLevel(level);
    } else if (a == "--") {
      for (++i; i < argc; ++i) words.push_back(argv[i]);
    } else {
      words.push_back(a);
    }
  }
  if (!stageGiven) stage = Stage::Speak;

  std::string text = TrimText(platform::Utf8ToCp1252(apps::WordsOrStandardInput(words)));

  const std::string folder = rules.empty() ? platform::MapPath("c:\\qorbel\\koraltts") : rules;
  if (stage >= Stage::Wave) return Speak(text, folder, waveFile, durationFactor, pitchFactor);
  SetProsodyMessageHandler([](const std::string& message) {
    std::cerr << platform::Cp1252ToUtf8(message) << std::endl;
  });
  // The rule files in the engine's order; a stage loads only what it reads.
  if (stage >= Stage::Phonemes &&
      !LoadPortugueseRules(RuleFile(folder, "portug.nrl"), RuleFile(folder, "portug.exc")))
    return Fail("Erro na base de dados de português");
  if (!LoadAbbreviations(RuleFile(folder, "portug.abr")))
    return Fail("Erro no arquivo de abreviaturas");
  if (stage >= Stage::Tokens && !LoadProsody(RuleFile(folder, "portug.pro")))
    return Fail("Erro no arquivo de prosódia");
  if (stage >= Stage::Pho && !LoadDiphones(RuleFile(folder, "portug.dfn")))
    return Fail("Erro no arquivo de prosódia");

  std::string normal = NormalizeText(text);
  if (stage == Stage::Normalize) {
    PrintLine(normal);
    return 0;
  }
  std::vector<std::string> items = AssignPitchPatterns(TokenizeWithKeys(normal), true);
  if (stage == Stage::Tokens) {
    for (const auto& item : items) PrintLine(item);
    return 0;
  }
  PhonemeList phonemes = TokensToPhonemes(items);
  if (stage == Stage::Phonemes) {
    for (const auto& line : phonemes) PrintLine(line);
    return 0;
  }
  for (const auto& line : BuildPhoLines(phonemes, durationFactor, pitchFactor)) PrintLine(line);
  return 0;
}
