// The key script of the headless backend (TELUMA_KEYS): lines of keys, untimed or "+MS".
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keys.hpp"

namespace teluma::platform::headless {

struct ScriptLine {
  bool timed = false;
  int64_t delayMs = 0;  // after the previous delivery, for timed lines
  std::vector<KeyStroke> keys;
};

struct KeyScript {
  std::vector<ScriptLine> lines;
  std::vector<std::string> errors;  // items that could not be read (line number and text)
};

// Parses the script text (UTF-8). Unknown items are skipped and listed in errors.
KeyScript ParseKeyScript(std::string_view text);

// One key item ("a", "Ctrl+F8", "\"Ana\"", "ç") to its strokes; false when unknown.
bool ParseKeyItem(std::string_view item, std::vector<KeyStroke>& out);

}  // namespace teluma::platform::headless
