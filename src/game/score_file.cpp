// The score file and the rules of the table.
#include <utility>

#include "game/scores.hpp"
#include "game/text_lines.hpp"

namespace {

// Blank lines at the end of the file hold no entry.
std::string_view WithoutFinalLineEnds(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  return text;
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
  TextLines lines(WithoutFinalLineEnds(text));
  int failed = 0;
  while (!lines.AtEnd()) {
    ScoreEntry entry;
    entry.name = std::string(lines.Next());
    if (!ReadLineNumber(lines, entry.score)) {
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
