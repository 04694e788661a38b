// libFuzzer target for the game's two file parsers: the first byte chooses the parser (and the
// level), the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "game/difficulty.hpp"
#include "game/scores.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 1) {
    ScoreTable table;
    ParseScores(text, table);
    if (table.rows.size() > kMaxScores) __builtin_trap();
    for (size_t i = 1; i < table.rows.size(); ++i)
      if (table.rows[i - 1].score < table.rows[i].score) __builtin_trap();
    ScoreTable again;
    ParseScores(FormatScores(table), again);
  } else {
    LevelSettings settings;
    ParseDifficulty(text, 1 + (data[0] >> 1) % 3, settings);
  }
  return 0;
}
