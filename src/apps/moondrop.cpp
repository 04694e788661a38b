// moondrop: the spoken moon-landing game.
#include <cstdio>
#include <cstring>

#include "apps/command_line.hpp"
#include "game/driver.hpp"
#include "platform/paths.hpp"

using namespace teluma::game;

namespace teluma::apps {


}  // namespace teluma::apps

using namespace teluma;
using namespace teluma::apps;

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf(
          "Uso: moondrop\n"
          "Jogo falado de alunisagem: pouse o foguete na Lua usando as teclas 1 a 9 para\n"
          "queimar combust\xC3\xADvel, Enter para ouvir a altura e a barra de espa\xC3\xA7o para o\n"
          "relat\xC3\xB3rio completo. As configura\xC3\xA7\xC3\xB5" "es v\xC3\xAAm da se\xC3\xA7\xC3\xA3o MOONDROP de TELUMA.INI.\n");
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      apps::PrintVersion("moondrop");
      return 0;
    }
  }
  // An installed game plays in the player's own folder, so the table it reads is the one it
  // writes; without it the game still runs, only the table is not kept.
  if (!platform::EnterPlayerFolder())
    std::fprintf(stderr, "moondrop: n\xC3\xA3o foi poss\xC3\xADvel criar a pasta %s; o placar fica na pasta atual.\n",
                 platform::PlayerFolder().c_str());
  RunGame();
}
