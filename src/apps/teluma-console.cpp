// Demonstration of the text console: coloured text, scrolling, reading a line and echoing
// the codes of the keys pressed until Esc.
#include <cstdio>
#include <cstring>
#include <string>

#include "apps/command_line.hpp"
#include "console/TlCrt.hpp"
#include "platform/cp1252.hpp"

using namespace teluma::console;

namespace teluma::apps {

namespace {

std::string T(const char* utf8) { return platform::Utf8ToCp1252(utf8); }

void Banner() {
  ClearScreen();
  for (int colour = 1; colour < 16; ++colour) {
    SetForeground(static_cast<uint8_t>(colour));
    Write(T("■ "));
  }
  SetForeground(15);
  WriteLn();
  SetBackground(1);
  SetForeground(14);
  Write(T(" Console de texto Teluma "));
  SetBackground(0);
  SetForeground(15);
  WriteLn();
  WriteLn();
}

void ScrollDemo() {
  for (int i = 1; i <= 30; ++i) {
    SetForeground(static_cast<uint8_t>(i % 15 + 1));
    WriteLn(T("Linha ") + std::to_string(i) + T(" da rolagem da tela"));
  }
  SetForeground(15);
}

}  // namespace

}  // namespace teluma::apps

using namespace teluma;
using namespace teluma::apps;

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help")) {
      std::puts("Uso: teluma-console\n"
                "Demonstração do console de texto: cores, rolagem, leitura de uma linha e os\n"
                "códigos das teclas pressionadas (Esc termina).");
      return 0;
    }
    if (!std::strcmp(argv[i], "--version")) {
      apps::PrintVersion("teluma-console");
      return 0;
    }
  }
  Banner();
  ScrollDemo();
  Write(T("Qual é o seu nome? "));
  std::string name = ReadLn();
  WriteLn(T("Olá, ") + name + "!");
  WriteLn(T("Pressione teclas para ver seus códigos; Esc termina."));
  for (;;) {
    uint8_t k = WaitForKey();
    if (k == 27) break;
    if (k == 0) {
      uint8_t second = WaitForKey();
      WriteLn(T("tecla estendida 0, ") + std::to_string(second));
    } else {
      std::string shown = k >= 32 ? std::string(1, static_cast<char>(k)) : std::string("^") + static_cast<char>(k + 64);
      WriteLn(T("código ") + std::to_string(k) + " " + shown);
    }
  }
  WriteLn(T("Até logo."));
  return 0;
}
