// Parsing of the difficulty file.
#include <cctype>
#include <charconv>
#include <climits>

#include "game/difficulty.hpp"

namespace {

// Splits text into lines at LF; a CR before the LF belongs to the line end.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  std::string_view Next() {
    size_t end = text_.find('\n', pos_);
    std::string_view line = text_.substr(pos_, end == std::string_view::npos ? std::string_view::npos : end - pos_);
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// One number: blanks, tabs and empty lines before it are skipped; the rest of its line is ignored.
bool ReadNumber(LineReader& lines, int& value) {
  while (!lines.AtEnd()) {
    std::string_view line = lines.Next();
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) continue;
    size_t start = i;
    if (line[i] == '+' || line[i] == '-') ++i;
    size_t digits = i;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
    if (i == digits) return false;
    long long v = 0;
    std::string_view number = line.substr(digits, i - digits);
    auto [p, ec] = std::from_chars(number.data(), number.data() + number.size(), v);
    if (ec != std::errc() || v > INT_MAX) return false;
    value = static_cast<int>(line[start] == '-' ? -v : v);
    return true;
  }
  return false;
}

}  // namespace

int LevelFromKey(uint8_t key) {
  int level = static_cast<int>(key) - '0';
  return level >= 1 && level <= 3 ? level : 0;
}

bool ParseDifficulty(std::string_view text, int level, LevelSettings& settings) {
  LineReader lines(text);
  for (int separators = 0; separators < level - 1;) {
    if (lines.AtEnd()) return false;
    if (lines.Next() == "*") ++separators;
  }
  int numbers[4];
  for (int& n : numbers)
    if (!ReadNumber(lines, n)) return false;
  settings.level = level;
  settings.initialAltitude = numbers[0];
  settings.initialFuel = numbers[1];
  settings.maxBurnPerTurn = numbers[2];
  settings.maxLandingSpeed = numbers[3];
  return true;
}
