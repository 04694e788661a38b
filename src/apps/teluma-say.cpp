// teluma-say: speaks a text through the speech front end as the game would.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "apps/command_line.hpp"
#include "console/TlCrt.hpp"
#include "platform/cp1252.hpp"
#include "speech/tlwin.hpp"

using namespace teluma::console;
using namespace teluma::speech;
using namespace teluma::playback;

namespace teluma::apps {

namespace {

void Usage() {
  std::puts(
      "Uso: teluma-say [--speed N] TEXTO...\n"
      "Fala o texto (em UTF-8) pela voz do conjunto Teluma, como o jogo o faria: números\n"
      "por palavras gravadas, palavras pelo sintetizador de difones, pontuação como pausas.\n"
      "Sem TEXTO, o texto vem da entrada padrão.\n"
      "  --speed N   passo de velocidade de 1 a 5 (padrão: VELOCIDADE de TELUMA.INI)\n"
      "  --help      mostra esta ajuda\n"
      "  --version   mostra a versão");
}

bool ParseSpeed(const char* text, int& speed) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > 5) return false;
  speed = static_cast<int>(value);
  return true;
}

}  // namespace

}  // namespace teluma::apps

using namespace teluma;
using namespace teluma::apps;

int main(int argc, char** argv) {
  int speed = 0;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help")) {
      Usage();
      return 0;
    }
    if (!std::strcmp(argv[i], "--version")) {
      apps::PrintVersion("teluma-say");
      return 0;
    }
    if (!std::strcmp(argv[i], "--speed")) {
      if (i + 1 >= argc || !ParseSpeed(argv[i + 1], speed)) {
        std::fputs("teluma-say: --speed precisa de um número de 1 a 5\n", stderr);
        return 2;
      }
      ++i;
      continue;
    }
    if (!std::strcmp(argv[i], "--")) {
      for (++i; i < argc; ++i) words.emplace_back(argv[i]);
      break;
    }
    words.emplace_back(argv[i]);
  }
  std::string text = apps::WordsOrStandardInput(words);
  apps::DropLineEnds(text);

  SpeechStart(speed, "");
  SpeakText(platform::Utf8ToCp1252(text));
  SpeechEnd();
  // A key that cut the speech short stays queued for the caller, as in the game: take it.
  while (KeyWaiting()) WaitForKey();
  return 0;
}
