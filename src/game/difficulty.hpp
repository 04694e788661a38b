// Difficulty levels: the level question and the settings of the run, read from the difficulty
// file (difficulty_file.hpp).
#pragma once
#include "game/difficulty_file.hpp"

// The settings of the whole run: zero until the first successful read.
LevelSettings& CurrentLevel();

// Asks the level until 1, 2 or 3 is pressed, then loads its section; a missing or unusable file
// says "LUERRARQ" and keeps the previous settings.
void ChooseDifficulty();
