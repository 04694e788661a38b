// teluma-say: speaks a text through the speech front end as the game would.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

#include "console/TlCrt.hpp"
#include "platform/cp1252.hpp"
#include "speech/tlwin.hpp"

#ifndef TELUMA_VERSION
#define TELUMA_VERSION "0.1.0"
#endif

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

// Arguments are joined with blanks.
void AddWord(std::string& text, bool& haveText, const char* word) {
  if (haveText) text.push_back(' ');
  text.append(word);
  haveText = true;
}

}  // namespace

int main(int argc, char** argv) {
  int speed = 0;
  std::string text;
  bool haveText = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help")) {
      Usage();
      return 0;
    }
    if (!std::strcmp(argv[i], "--version")) {
      std::printf("teluma-say %s\n", TELUMA_VERSION);
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
      for (++i; i < argc; ++i) AddWord(text, haveText, argv[i]);
      break;
    }
    AddWord(text, haveText, argv[i]);
  }
  if (!haveText)
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();

  SpeechStart(speed, "");
  SpeakText(platform::Utf8ToCp1252(text));
  SpeechEnd();
  // A key that cut the speech short stays queued for the caller, as in the game: take it.
  while (KeyWaiting()) WaitForKey();
  return 0;
}
