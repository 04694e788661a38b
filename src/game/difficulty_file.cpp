// Parsing of the difficulty file.
#include "game/difficulty_file.hpp"
#include "game/text_lines.hpp"

int LevelFromKey(uint8_t key) {
  int level = static_cast<int>(key) - '0';
  return level >= 1 && level <= 3 ? level : 0;
}

bool ParseDifficulty(std::string_view text, int level, LevelSettings& settings) {
  TextLines lines(text);
  for (int separators = 0; separators < level - 1;) {
    if (lines.AtEnd()) return false;
    if (lines.Next() == "*") ++separators;
  }
  int numbers[4];
  for (int& n : numbers)
    if (!ReadLineNumber(lines, n)) return false;
  settings.level = level;
  settings.initialAltitude = numbers[0];
  settings.initialFuel = numbers[1];
  settings.maxBurnPerTurn = numbers[2];
  settings.maxLandingSpeed = numbers[3];
  return true;
}
