// The level question and the reading of the difficulty file.
#include "console/TlCrt.hpp"
#include "game/difficulty.hpp"
#include "game/files.hpp"
#include "game/messages.hpp"
#include "platform/paths.hpp"
#include "speech/tlwin.hpp"

using namespace teluma::console;
using namespace teluma::speech;
using namespace teluma::playback;

namespace teluma::game {

LevelSettings& CurrentLevel() {
  static LevelSettings settings;
  return settings;
}

void ChooseDifficulty() {
  int level = 0;
  while (level == 0) level = LevelFromKey(AskQuestion("LUDIFICU"));
  WriteLn();
  CurrentLevel().level = level;

  std::string path = ReadSuiteSetting("MOONDROP", "ARQDIF");
  if (path.empty()) path = "c:\\qorbel\\lunardif.ini";
  std::string text;
  // A missing section or a malformed number counts as a missing file: the previous settings stay.
  if (!ReadTextFile(platform::MapPath(path), text) || !ParseDifficulty(text, level, CurrentLevel()))
    SayMessage("LUERRARQ", 1);
}

}  // namespace teluma::game
