// The difficulty file ("lunardif.ini"): a sequence of sections of four integers separated by
// lines holding exactly "*", and the level a key names (no console, no speech).
#pragma once
#include <cstdint>
#include <string_view>

struct LevelSettings {
  int level = 0;
  int initialAltitude = 0;  // m
  int initialFuel = 0;      // litres
  int maxBurnPerTurn = 0;   // litres; bound of the third fuel sound
  int maxLandingSpeed = 0;  // m/s
};

// The level a key names ('1' to '3'), or 0 for any other key.
int LevelFromKey(uint8_t key);

// Reads the section of level (1 to 3) from the file's text into the four numbers of settings.
// False, with settings untouched, when the section or one of its numbers is missing or malformed.
bool ParseDifficulty(std::string_view text, int level, LevelSettings& settings);
