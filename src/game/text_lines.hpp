// Line-by-line reading of the game's small text files (difficulty and score files).
#pragma once
#include <cctype>
#include <charconv>
#include <climits>
#include <string_view>

namespace teluma::game {

// Splits text into lines. CR LF, LF and CR alone all end a line: files copied between systems
// keep their entries apart.
class TextLines {
 public:
  explicit TextLines(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  std::string_view Next() {
    size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (end < text_.size() && text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n')
      ++pos_;
    return line;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// One whole number at the start of a line: blanks, tabs and empty lines before it are skipped,
// the rest of its line is ignored. False when the line does not begin with one or it is out of
// range.
inline bool ReadLineNumber(TextLines& lines, int& value) {
  while (!lines.AtEnd()) {
    std::string_view line = lines.Next();
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos) continue;
    const bool negative = line[i] == '-';
    if (line[i] == '-' || line[i] == '+') ++i;
    const size_t digits = i;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
    long long v = 0;
    auto [end, error] = std::from_chars(line.data() + digits, line.data() + i, v);
    if (i == digits || error != std::errc() || v > INT_MAX) return false;
    value = static_cast<int>(negative ? -v : v);
    return true;
  }
  return false;
}

}  // namespace teluma::game
