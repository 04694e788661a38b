// The score file and the rules of the table.
#include <algorithm>
#include <utility>
#include <vector>

#include "game/score_file.hpp"
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
  // One pass keeps the ten best, the earlier entry winning a tie, so a huge file costs no more
  // than reading it. The kept rows are then sorted in file order, as a short file always was.
  struct Kept {
    ScoreEntry entry;
    size_t order;
  };
  std::vector<Kept> kept;
  kept.reserve(kMaxScores);
  size_t weakest = 0;  // of a full kept set: the lowest score, the latest among equals
  TextLines lines(WithoutFinalLineEnds(text));
  int failed = 0;
  for (size_t order = 0; !lines.AtEnd(); ++order) {
    std::string_view name = lines.Next();
    int score = 0;
    if (!ReadLineNumber(lines, score)) {
      score = 0;
      ++failed;
    }
    if (kept.size() < kMaxScores) {
      kept.push_back({{std::string(name), score}, order});
    } else if (score > kept[weakest].entry.score) {
      kept[weakest] = {{std::string(name), score}, order};
    } else {
      continue;
    }
    if (kept.size() < kMaxScores) continue;
    for (size_t i = 0; i < kept.size(); ++i)
      if (kept[i].entry.score < kept[weakest].entry.score ||
          (kept[i].entry.score == kept[weakest].entry.score && kept[i].order > kept[weakest].order))
        weakest = i;
  }
  std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) { return a.order < b.order; });
  table.rows.clear();
  for (auto& k : kept) table.rows.push_back(std::move(k.entry));
  SortScores(table);
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
