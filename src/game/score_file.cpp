// The score file and the rules of the table.
#include <cctype>
#include <charconv>
#include <climits>
#include <utility>

#include "game/scores.hpp"

namespace {

class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {
    // Blank lines at the end of the file hold no entry.
    while (!text_.empty() && (text_.back() == '\n' || text_.back() == '\r'))
      text_.remove_suffix(1);
  }
  bool AtEnd() const { return pos_ >= text_.size(); }
  std::string_view Next() {
    size_t end = text_.find('\n', pos_);
    std::string_view line =
        text_.substr(pos_, end == std::string_view::npos ? std::string_view::npos : end - pos_);
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// A score: blanks and empty lines before it are skipped, the rest of its line is ignored.
bool ReadScore(Lines& lines, int& score) {
  while (!lines.AtEnd()) {
    std::string_view line = lines.Next();
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos) continue;
    bool negative = line[i] == '-';
    if (line[i] == '-' || line[i] == '+') ++i;
    size_t digits = i;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) ++i;
    long long v = 0;
    auto [p, ec] = std::from_chars(line.data() + digits, line.data() + i, v);
    if (i == digits || ec != std::errc() || v > INT_MAX) return false;
    score = static_cast<int>(negative ? -v : v);
    return true;
  }
  return false;
}

}  // namespace

ScoreTable& CurrentScores() {
  static ScoreTable table;
  return table;
}

ScoreTable DefaultScores() {
  return ScoreTable{{{"Caio Martelo", 3130}, {"Ernesto Brandi", 1725}, {"N\xF4 V\xE1", 531}}};
}

void SortScores(ScoreTable& table) {
  auto& rows = table.rows;
  for (size_t i = 0; i + 1 < rows.size(); ++i)
    for (size_t j = i; j < rows.size(); ++j)
      if (rows[i].score < rows[j].score) std::swap(rows[i], rows[j]);
}

int ParseScores(std::string_view text, ScoreTable& table) {
  table.rows.clear();
  Lines lines(text);
  int failed = 0;
  while (!lines.AtEnd()) {
    ScoreEntry entry;
    entry.name = std::string(lines.Next());
    if (!ReadScore(lines, entry.score)) {
      entry.score = 0;
      ++failed;
    }
    table.rows.push_back(std::move(entry));
  }
  SortScores(table);
  if (table.rows.size() > kMaxScores) table.rows.resize(kMaxScores);
  return failed;
}

std::string FormatScores(const ScoreTable& table) {
  std::string text;
  for (const auto& row : table.rows) text += row.name + "\r\n" + std::to_string(row.score) + "\r\n";
  return text;
}

int PlaceScore(ScoreTable& table, int score) {
  if (score <= kScoreThreshold) return -1;
  if (table.rows.size() < kMaxScores) {
    table.rows.push_back({"", score});
    return static_cast<int>(table.rows.size()) - 1;
  }
  if (score > table.rows[kMaxScores - 1].score) {
    table.rows[kMaxScores - 1] = {"", score};
    return kMaxScores - 1;
  }
  return -1;
}

std::string ScoreItemText(const ScoreEntry& entry) {
  std::string name = (entry.name + std::string(47, ' ')).substr(0, 40);
  return name + " " + std::to_string(entry.score);
}
