// Writes N numbered lines (default 100000) through the console, scrolling all the way.
#include <cstdlib>
#include <string>

#include "console/TlCrt.hpp"

using namespace teluma;
using namespace teluma::console;

int main(int argc, char** argv) {
  long n = argc > 1 ? std::atol(argv[1]) : 100000;
  for (long i = 1; i <= n; ++i) {
    SetForeground(static_cast<uint8_t>(i % 15 + 1));
    WriteLn("Linha " + std::to_string(i) + " escrita pelo console, com rolagem da tela inteira.");
  }
  return 0;
}
