// Reading the screen for the review mode: rows, line ends, colour runs, words, searching and
// the copy of the whole screen. Every scan is bounded by the grid.
#include <algorithm>
#include <string>

#include "console/TlCrt.hpp"
#include "speech/review.hpp"

using namespace teluma::console;

namespace teluma::speech {

namespace {

constexpr int32_t kColumns = ReviewGrid::kColumns;

bool IsBlank(uint8_t c) { return c == ' '; }

}  // namespace

ReviewGrid ConsoleGrid() {
  ReviewGrid grid;
  grid.rows = ScreenRows();
  grid.charAt = [](int32_t column, int32_t row) { return CharAt(column, row); };
  grid.attrAt = [](int32_t column, int32_t row) { return AttrAt(column, row); };
  return grid;
}

std::string RowText(const ReviewGrid& grid, int32_t row, int32_t first, int32_t last) {
  std::string text;
  for (int32_t column = std::max(first, 1); column <= std::min(last, kColumns); ++column)
    text += static_cast<char>(grid.Char(column, row));
  return text;
}

int32_t LineEnd(const ReviewGrid& grid, int32_t row) {
  for (int32_t column = kColumns; column >= 1; --column)
    if (!IsBlank(grid.Char(column, row))) return column + 1;
  return 1;
}

bool IsRunDelimiter(uint8_t c) {
  return c == '!' || c == ':' || c == '?' || c == '|' || (c >= 176 && c <= 223);
}

ColourRun RunAround(const ReviewGrid& grid, int32_t row, int32_t column) {
  const uint8_t attr = grid.Attr(column, row);
  // Off the grid every cell would match a black-on-black row: the scans stop at its edges.
  auto same = [&](int32_t c) {
    return c >= 1 && c <= kColumns && grid.Attr(c, row) == attr &&
           !IsRunDelimiter(grid.Char(c, row));
  };
  ColourRun run;
  int32_t c = column;
  while (same(c)) --c;
  run.first = c + 1;
  c = column;
  while (same(c)) ++c;
  run.last = c - 1;
  return run;
}

bool IsReviewWordChar(uint8_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  // à á â ã ç é ê í ñ ó ô õ ú, lower case; upper case is 32 below.
  static constexpr std::string_view kAccented =
      "\xE0\xE1\xE2\xE3\xE7\xE9\xEA\xED\xF1\xF3\xF4\xF5\xFA";
  const uint8_t lower = c >= 0xC0 && c <= 0xDE ? static_cast<uint8_t>(c + 32) : c;
  return kAccented.find(static_cast<char>(lower)) != std::string_view::npos;
}

ReviewWord WordAt(const ReviewGrid& grid, int32_t row, int32_t column) {
  ReviewWord word;
  while (column < kColumns && IsBlank(grid.Char(column, row))) ++column;
  word.next = column;
  if (column >= kColumns) return word;
  do {
    word.text += static_cast<char>(grid.Char(column, row));
    ++column;
  } while (column <= kColumns && IsReviewWordChar(grid.Char(column, row)));
  if (word.text.size() == 1) {
    word.repeated = true;
    const uint8_t only = static_cast<uint8_t>(word.text[0]);
    for (; column <= kColumns && grid.Char(column, row) == only; ++column)
      if (word.text.size() < 3) word.text += static_cast<char>(only);
  }
  word.next = column;
  return word;
}

bool FindOnScreen(const ReviewGrid& grid, std::string_view text, int32_t row, int32_t column,
                  int32_t& hitRow, int32_t& hitColumn) {
  if (text.empty()) return false;
  for (int32_t r = std::max(row, 1); r <= grid.rows; ++r) {
    const std::string line = RowText(grid, r, 1, kColumns);
    // On the starting row the text must begin after the cursor.
    const size_t from = r == row ? static_cast<size_t>(std::max(column, 0)) : 0;
    if (from >= line.size()) continue;
    const size_t at = line.find(text, from);
    if (at == std::string::npos) continue;
    hitRow = r;
    hitColumn = static_cast<int32_t>(at) + 1;
    return true;
  }
  return false;
}

std::string ScreenCopyText(const ReviewGrid& grid) {
  std::string text;
  text.reserve(static_cast<size_t>(std::max(grid.rows, 0)) * (kColumns + 2) + 1);
  for (int32_t row = 1; row <= grid.rows; ++row) {
    text += RowText(grid, row, 1, kColumns);
    text += "\r\n";
  }
  text += '\0';
  return text;
}

}  // namespace teluma::speech
