// teluma-play: plays wave files one after the other through the wave output device.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "apps/command_line.hpp"
#include "wave/tlwav.hpp"

using namespace teluma::wave;

namespace teluma::apps {

namespace {

void Usage() {
  std::puts(
      "Uso: teluma-play [--fast] [--shorten] ARQUIVO...\n"
      "Toca os arquivos de som (WAVE) um depois do outro pelo dispositivo de som do conjunto\n"
      "Teluma. Uma tecla interrompe o som.\n"
      "  --fast      toca 1,5 vez mais rápido (como RAPIDINHO de TELUMA.INI)\n"
      "  --shorten   encurta a fala mono (como CORTAFALA de TELUMA.INI)\n"
      "  --help      mostra esta ajuda\n"
      "  --version   mostra a versão");
}

}  // namespace

}  // namespace teluma::apps

using namespace teluma;
using namespace teluma::apps;

int main(int argc, char** argv) {
  std::vector<std::string> files;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (options && !std::strcmp(arg, "--help")) {
      Usage();
      return 0;
    }
    if (options && !std::strcmp(arg, "--version")) {
      apps::PrintVersion("teluma-play");
      return 0;
    }
    if (options && !std::strcmp(arg, "--fast")) {
      SetWaveFast(true);
    } else if (options && !std::strcmp(arg, "--shorten")) {
      SetWaveShorten(true);
    } else if (options && !std::strcmp(arg, "--")) {
      options = false;
    } else if (options && arg[0] == '-' && arg[1] != '\0') {
      std::fprintf(stderr, "teluma-play: opção desconhecida: %s\n", arg);
      return 2;
    } else {
      files.emplace_back(arg);
    }
  }
  if (files.empty()) {
    std::fputs("teluma-play: nenhum arquivo dado (veja --help)\n", stderr);
    return 2;
  }
  int status = 0;
  for (const std::string& file : files) {
    const int32_t result = WavePlayFile(file);
    if (result == -1) {
      std::fprintf(stderr, "teluma-play: não é um arquivo de som que se possa tocar: %s\n",
                   file.c_str());
      status = 1;
    } else if (result != 0) {
      std::fprintf(stderr, "teluma-play: erro %d do dispositivo de som ao tocar %s\n", result,
                   file.c_str());
      status = 1;
    }
  }
  WaveStop();
  return status;
}
