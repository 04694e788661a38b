// teluma-diphone: speaks a Portuguese text with the letter-to-sound translator and the built-in
// diphone synthesizer, prints its phonetic text (--phonetic) or writes the sound to a wave file
// (-w FILE), with the database and timing that speech start-up reads for a speed step.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "apps/command_line.hpp"
#include "platform/cp1252.hpp"
#include "playback/tlwin_settings.hpp"
#include "synth/diphone.hpp"
#include "synth/diphone_store.hpp"
#include "synth/translator.hpp"

namespace {

const char* kUsage =
    "Uso: teluma-diphone [op\xC3\xA7\xC3\xB5" "es] [TEXTO...]\n"
    "Fala o texto em portugu\xC3\xAAs com o tradutor e o sintetizador de difones.\n"
    "Sem TEXTO, o texto vem da entrada padr\xC3\xA3o.\n"
    "\n"
    "  --phonetic      escreve o texto fon\xC3\xA9tico em vez de falar\n"
    "  -w ARQUIVO      grava o som em ARQUIVO (8 bits, mono, 11025 amostras/s)\n"
    "  --speed N       usa os ajustes da velocidade N (1 a 5) do TELUMA.INI\n"
    "  --rules PASTA   l\xC3\xAA regras.rgr e portug.exc de PASTA\n"
    "  --help          mostra esta ajuda\n"
    "  --version       mostra a vers\xC3\xA3o\n";

struct Options {
  bool phonetic = false;
  std::string waveFile;
  int32_t speed = 0;
  std::string rules;
  std::vector<std::string> words;
};

// What speech start-up sets for the diphone synthesizer at a speed step.
void ApplySpeedSettings(int32_t speed) {
  if (speed < 1) speed = ReadSuiteInteger("TRADUTOR", "VELOCIDADE", 0);
  if (speed < 1 || speed > 5) speed = 3;
  std::string n = std::to_string(speed);
  DiphoneDatabase() = ReadSuiteSetting("SINTETIZADOR", "DIFONES" + n).substr(0, 8);
  const DiphoneTimingSettings timing = ReadDiphoneTiming(speed);
  SetDiphoneTiming(timing.cut, timing.minimum, timing.wordPause);
}

int Fail(const std::string& message) {
  std::cerr << "teluma-diphone: " << message << "\n";
  return 2;
}

std::string InputText(const Options& options) {
  std::string text = apps::WordsOrStandardInput(options.words);
  if (options.words.empty()) apps::DropLineEnds(text);
  return platform::Utf8ToCp1252(text);
}

bool LoadRulesFrom(const std::string& folder) {
  std::string withSlash = folder;
  if (!withSlash.empty() && withSlash.back() != '/' && withSlash.back() != '\\') withSlash += '/';
  return LoadTranslatorFiles(withSlash);
}

int OpenSynthesizer(const Options& options) {
  ApplySpeedSettings(options.speed);
  int code = DiphoneOpen();
  if (code != 0) {
    std::cerr << platform::Cp1252ToUtf8("Erro de inicializa\xE7\xE3o: ") << code << "\n"
              << "Banco de dados de voz: " << platform::Cp1252ToUtf8(DiphoneDatabase())
              << "\n" << platform::Cp1252ToUtf8(SuiteSettingsReport()) << "\n";
    DiphoneClose();
    return 1;
  }
  if (!options.rules.empty() && !LoadRulesFrom(options.rules)) {
    DiphoneClose();
    return Fail("n\xC3\xA3o consigo ler as regras de " + options.rules);
  }
  return 0;
}

int WriteWave(const Options& options, const std::string& text) {
  if (int code = OpenSynthesizer(options); code != 0) return code;
  std::string samples;
  SetDiphonePlayer(
      [&](const uint8_t* image, size_t length) {
        if (length > 44) samples.append(reinterpret_cast<const char*>(image) + 44, length - 44);
      },
      [] { return false; });
  DiphoneSpeak(TranslateText(text), false);
  DiphoneClose();
  uint8_t header[44];
  diphone::WriteWaveHeader(header, static_cast<uint32_t>(samples.size()), diphone::kSampleRate,
                           1, 8);
  std::ofstream out(options.waveFile, std::ios::binary);
  out.write(reinterpret_cast<const char*>(header), 44);
  out.write(samples.data(), static_cast<std::streamsize>(samples.size()));
  if (!out) return Fail("n\xC3\xA3o consigo gravar " + options.waveFile);
  return 0;
}

int PrintPhonetic(const Options& options, const std::string& text) {
  std::string folder = options.rules.empty() ? TranslatorFolder() : options.rules;
  bool loaded = options.rules.empty() ? LoadTranslatorFiles(folder) : LoadRulesFrom(folder);
  if (!loaded) return Fail("n\xC3\xA3o consigo ler as regras de " + folder);
  std::cout << platform::Cp1252ToUtf8(TranslateText(text)) << "\n";
  FreeRules();
  return 0;
}

// Without a front end the blocks go straight to the wave device, which the synthesizer waits
// on while it plays.
int Speak(const Options& options, const std::string& text) {
  if (int code = OpenSynthesizer(options); code != 0) return code;
  DiphoneSpeak(TranslateText(text), false);
  DiphoneClose();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      apps::PrintVersion("teluma-diphone");
      return 0;
    } else if (arg == "--phonetic") {
      options.phonetic = true;
    } else if (arg == "-w") {
      if (!value(options.waveFile)) return Fail("-w precisa de um arquivo");
    } else if (arg == "--rules") {
      if (!value(options.rules)) return Fail("--rules precisa de uma pasta");
    } else if (arg == "--speed") {
      if (!value(v) || !ParseSuiteInteger(v, options.speed) || options.speed < 1 ||
          options.speed > 5)
        return Fail("--speed precisa de um n\xC3\xBAmero de 1 a 5");
    } else if (arg == "--") {
      for (++i; i < argc; ++i) options.words.push_back(argv[i]);
    } else if (arg.size() > 1 && arg[0] == '-' && options.words.empty()) {
      return Fail("op\xC3\xA7\xC3\xA3o desconhecida: " + arg + " (veja --help)");
    } else {
      options.words.push_back(arg);
    }
  }
  std::string text = InputText(options);
  if (options.phonetic) return PrintPhonetic(options, text);
  if (!options.waveFile.empty()) return WriteWave(options, text);
  return Speak(options, text);
}
