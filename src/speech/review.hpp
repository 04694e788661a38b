// The screen review mode: a review cursor moves over the console's grid and reads characters,
// words, lines, colour runs and regions aloud, finds text, tells its position and copies the
// screen, without changing what stands there.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace teluma::speech {

// Runs the mode from the console cursor until Esc, then puts the console cursor back.
void ScreenReview();

// The grid as the mode reads it: rows x 80 columns, 1-based. A position outside reads as a
// blank with attribute 0.
struct ReviewGrid {
  static constexpr int32_t kColumns = 80;
  int32_t rows = 0;
  std::function<uint8_t(int32_t column, int32_t row)> charAt;
  std::function<uint8_t(int32_t column, int32_t row)> attrAt;

  bool Inside(int32_t column, int32_t row) const {
    return column >= 1 && column <= kColumns && row >= 1 && row <= rows;
  }
  uint8_t Char(int32_t column, int32_t row) const {
    return Inside(column, row) ? charAt(column, row) : ' ';
  }
  uint8_t Attr(int32_t column, int32_t row) const {
    return Inside(column, row) ? attrAt(column, row) : 0;
  }
};

// The console's own grid.
ReviewGrid ConsoleGrid();

// The characters of a row from column first to last (clipped to the grid's columns).
std::string RowText(const ReviewGrid& grid, int32_t row, int32_t first, int32_t last);

// One past the last non-blank of the row; 1 for a blank row.
int32_t LineEnd(const ReviewGrid& grid, int32_t row);

// ! : ? | and the line-drawing block 176-223 end a colour run.
bool IsRunDelimiter(uint8_t c);

// The colour run around a position: the cells on either side with the same attribute and no
// delimiter. Empty (last < first) when the position itself is a delimiter or off the grid.
struct ColourRun {
  int32_t first = 1;
  int32_t last = 0;
};
ColourRun RunAround(const ReviewGrid& grid, int32_t row, int32_t column);

// The word read at a position: blanks before it are skipped (not from column 80 on), then one
// character and the word characters after it. A lone character repeated is taken as at most
// three of it, and the whole repetition is stepped over. next is the column after what was
// taken.
struct ReviewWord {
  std::string text;
  int32_t next = 1;
  bool repeated = false;  // a single character, possibly repeated
};
ReviewWord WordAt(const ReviewGrid& grid, int32_t row, int32_t column);

// Letters and digits of ASCII and the accented letters of Portuguese (and ñ).
bool IsReviewWordChar(uint8_t c);

// The first match of text (case-sensitive) within one row, searching from the given row down;
// on that first row only after the given column. False when there is none or text is empty.
bool FindOnScreen(const ReviewGrid& grid, std::string_view text, int32_t row, int32_t column,
                  int32_t& hitRow, int32_t& hitColumn);

// Every row of the grid followed by CR LF, the whole ending with a NUL; sized to the grid, so
// any number of rows is copied whole.
std::string ScreenCopyText(const ReviewGrid& grid);

}  // namespace teluma::speech
