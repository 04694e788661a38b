// The screen review mode's keys: moving the review cursor, reading what it reaches, region
// commands, searching, going to a position and copying the screen.
#include <algorithm>
#include <string>

#include "console/TlCrt.hpp"
#include "speech/lineedit.hpp"
#include "speech/review.hpp"
#include "speech/tlwin.hpp"

using namespace teluma::console;
using namespace teluma::playback;

namespace teluma::speech {

namespace {

constexpr int32_t kColumns = ReviewGrid::kColumns;
constexpr uint8_t kEsc = 27;

// Extended key codes (the second code of a two-code key).
enum : uint8_t {
  kF1 = 0x3B, kF5 = 0x3F, kF6 = 0x40, kHome = 0x47, kUp = 0x48, kPageUp = 0x49, kLeft = 0x4B,
  kRight = 0x4D, kEnd = 0x4F, kDown = 0x50, kPageDown = 0x51, kCtrlF1 = 0x5E, kCtrlF5 = 0x62,
  kCtrlLeft = 0x73, kCtrlRight = 0x74, kCtrlPageDown = 0x76, kCtrlPageUp = 0x84,
};

// Kept between uses of the mode, for Ctrl+F5.
std::string& SearchText() {
  static std::string text;
  return text;
}

bool IsAsciiLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
uint8_t Upper(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; }

// The same consonants as the line editor's: a word of these alone is spelled.
bool OnlyConsonants(std::string_view word) {
  constexpr std::string_view kConsonants = "BCDFGHJKLMNPQRSTVXZ";
  for (char c : word)
    if (kConsonants.find(static_cast<char>(Upper(static_cast<uint8_t>(c)))) ==
        std::string_view::npos)
      return false;
  return true;
}

void Refuse() {
  ShortBeep();
  ShortClick();
  ShortBeep();
}

void TwoBeeps() {
  ShortBeep();
  ShortBeep();
}

class ReviewMode {
 public:
  void Run() {
    ShortBeep();
    const int32_t savedColumn = CursorColumn(), savedRow = CursorRow();
    column_ = savedColumn;
    row_ = savedRow;
    for (;;) {
      MoveCursor(column_, row_);
      const uint8_t key = WaitForKey();
      const uint8_t code = key == 0 ? WaitForKey() : 0;
      if (key == kEsc) break;
      if (key == 0) ExtendedKey(code);
      else Key(key);
      KeepOnScreen();
    }
    TwoBeeps();
    MoveCursor(savedColumn, savedRow);
  }

 private:
  // Column 81 stays allowed: it is where the cursor stands after the last character.
  void KeepOnScreen() {
    if (column_ < 1) Corrected(column_, 1);
    if (column_ > kColumns + 1) Corrected(column_, kColumns);
    if (row_ < 1) Corrected(row_, 1);
    if (row_ > grid_.rows) Corrected(row_, grid_.rows);
  }
  // Key repeat must not run on past the edge: the waiting keys go.
  static void Corrected(int32_t& value, int32_t to) {
    value = to;
    ShortBeep();
    FlushKeys();
  }

  void Key(uint8_t key) {
    switch (key) {
      case 13:
        ++row_;
        column_ = 1;
        return ShortClick();
      case ' ': return ReadLine();
      case 8: return StepLeft();
      case 9: return NextRun();
      case 3: return CopyToClipboard(ScreenCopyText(grid_));
      case 11: case 12: return SpeakText(std::to_string(row_) + " " + std::to_string(column_));
      default:
        if (IsAsciiLetter(key)) return RegionCommand(key);
        return Refuse();
    }
  }

  void ExtendedKey(uint8_t code) {
    switch (code) {
      case kF1: return ReadWordKey();
      case kCtrlF1: {
        const ColourRun run = RunAround(grid_, row_, column_);
        return ReadRegion(row_, run.first, row_, run.last, true);
      }
      case kF5: return AskAndSearch();
      case kCtrlF5: return Search();
      case kF6: return GoToPosition();
      case kHome: column_ = 1; return;
      case kEnd: column_ = LineEnd(grid_, row_); return;
      case kUp:
        if (row_ <= 1) return ShortBeep();
        --row_;
        column_ = 1;
        return ReadLine();
      case kDown:
        ++row_;
        column_ = 1;
        ShortClick();
        if (row_ > grid_.rows) {
          row_ = grid_.rows;
          return ShortBeep();
        }
        return ReadLine();
      case kPageUp:
        row_ = 1;
        column_ = 1;
        return ReadLine();
      case kPageDown:
        row_ = grid_.rows;
        column_ = 1;
        return ReadLine();
      case kLeft: return StepLeft();
      case kRight:
        SpeakChar(grid_.Char(column_, row_));
        ++column_;
        return;
      case kCtrlLeft: return PreviousWord();
      case kCtrlRight: return NextWord();
      case kCtrlPageUp: return FirstLetter();
      case kCtrlPageDown: return LastLetter();
      default: return Refuse();
    }
  }

  // --- moves ---------------------------------------------------------------------------------
  // At column 1 this beeps and leaves column 0 for the correction.
  void StepLeft() {
    if (column_ <= 1) {
      ShortBeep();
      --column_;
      return;
    }
    --column_;
    SpeakChar(grid_.Char(column_, row_));
  }

  void NextRun() {
    column_ = RunAround(grid_, row_, column_).last + 2;
    if (column_ > kColumns) column_ = LineEnd(grid_, row_);
    else ShortClick();
  }

  void PreviousWord() {
    int32_t c = column_ - 1;
    while (c >= 1 && grid_.Char(c, row_) == ' ') --c;
    if (c < 1) {
      column_ = 1;
      return ShortBeep();
    }
    while (c >= 1 && grid_.Char(c, row_) != ' ') --c;
    column_ = c + 1;
    if (column_ == 1) ShortBeep();
    else ShortClick();
  }

  void NextWord() {
    int32_t c = column_;
    while (c <= kColumns && grid_.Char(c, row_) != ' ') ++c;
    while (c <= kColumns && grid_.Char(c, row_) == ' ') ++c;
    if (c <= kColumns) {
      column_ = c;
      return ShortClick();
    }
    column_ = LineEnd(grid_, row_);
    ShortBeep();
  }

  void FirstLetter() {
    for (int32_t r = 1; r <= grid_.rows; ++r)
      for (int32_t c = 1; c <= kColumns; ++c)
        if (IsAsciiLetter(grid_.Char(c, r))) return GoAndReadLine(r, c);
  }

  void LastLetter() {
    for (int32_t r = grid_.rows; r >= 1; --r)
      for (int32_t c = kColumns; c >= 1; --c)
        if (IsAsciiLetter(grid_.Char(c, r))) return GoAndReadLine(r, c);
  }

  void GoAndReadLine(int32_t row, int32_t column) {
    row_ = row;
    column_ = column;
    ReadLine();
  }

  // Four digits: row, then column, two each.
  void GoToPosition() {
    SpeakText("Entre linha e coluna");
    int32_t value[2] = {0, 0};
    for (int i = 0; i < 4; ++i) {
      const uint8_t key = WaitForKey();
      if (!IsDigit(key)) return TwoBeeps();
      SpeakChar(key);
      value[i / 2] = value[i / 2] * 10 + (key - '0');
    }
    row_ = value[0];
    column_ = value[1];
  }

  // --- searching -----------------------------------------------------------------------------
  void AskAndSearch() {
    SpeakText("Qual texto");
    std::string& text = SearchText();
    text.clear();
    for (;;) {
      const uint8_t key = WaitForKey();
      if (key == kEsc) return;
      if (key == 13) break;
      if (key == 0) {
        WaitForKey();  // a function or cursor key has no character to search for
        continue;
      }
      if (key == 8) {
        if (text.empty()) continue;
        PlayPhrase("_DEL");
        SpeakChar(static_cast<uint8_t>(text.back()));
        text.pop_back();
        continue;
      }
      text += static_cast<char>(key);
      SpeakChar(key);
    }
    Search();
  }

  void Search() {
    int32_t row = 0, column = 0;
    if (!FindOnScreen(grid_, SearchText(), row_, column_, row, column)) return TwoBeeps();
    row_ = row;
    column_ = column;
    ShortClick();
  }

  // --- reading -------------------------------------------------------------------------------
  void ReadLine() { ReadRegion(row_, 1, row_, kColumns, true); }

  void ReadWordKey() {
    if (column_ >= kColumns) {
      ShortClick();
      column_ = LineEnd(grid_, row_);
      return;
    }
    // An outside engine would only be cut short at once.
    if (SynthActive() && KeyWaiting()) return;
    column_ = SayWord(row_, column_);
  }

  // Says the word at the position; answers the column after it.
  int32_t SayWord(int32_t row, int32_t column) {
    const ReviewWord word = WordAt(grid_, row, column);
    if (word.text.empty()) return word.next;
    MoveCursor(word.next, row);
    if (!word.repeated && OnlyConsonants(word.text)) SpellText(word.text);
    else SpeakText(word.text);
    return word.next;
  }

  // Letters: I from the start up to the cursor, T all, F from the cursor to the end (a first
  // L counts as T); then T the screen, L the line, C the colour run.
  void RegionCommand(uint8_t first) {
    uint8_t where = Upper(first);
    if (where == 'L') where = 'T';
    const uint8_t what = Upper(WaitForKey());
    if ((where != 'I' && where != 'T' && where != 'F') ||
        (what != 'C' && what != 'L' && what != 'T'))
      return Refuse();
    if (what == 'T') {
      if (where == 'I') return ReadRegion(1, 1, row_, column_ - 1, false);
      if (where == 'T') return ReadRegion(1, 1, grid_.rows, kColumns, false);
      return ReadRegion(row_, column_, grid_.rows, kColumns, false);
    }
    int32_t from = 1, to = kColumns;
    if (what == 'C') {
      const ColourRun run = RunAround(grid_, row_, column_);
      from = run.first;
      to = run.last;
    }
    if (where == 'I') to = what == 'C' ? column_ : column_ - 1;
    if (where == 'F') from = column_;
    ReadRegion(row_, from, row_, to, true);
  }

  // Reads from (firstRow, firstColumn) to (lastRow, lastColumn): a row at a time through an
  // outside engine, else word by word with a click between rows; a waiting key stops it.
  void ReadRegion(int32_t firstRow, int32_t firstColumn, int32_t lastRow, int32_t lastColumn,
                  bool restore) {
    if (firstRow == lastRow && lastColumn < firstColumn) return ShortBeep();
    const int32_t savedRow = row_, savedColumn = column_;
    int32_t column = firstColumn;
    int32_t row = firstRow;
    for (;; ++row) {
      const int32_t rowLast = row == lastRow ? lastColumn : kColumns;
      if (SynthActive()) {
        if (column <= rowLast) SpeakText(RowText(grid_, row, column, rowLast));
        column = std::max(column, std::min(rowLast, kColumns) + 1);
      } else {
        // A row ends at column 80: nothing more is read from there.
        while (column <= rowLast && column < kColumns && !KeyWaiting()) {
          column = SayWord(row, column);
          while (column <= kColumns && grid_.Char(column, row) == ' ') ++column;
        }
      }
      if (row >= lastRow || KeyWaiting()) break;
      column = 1;
      ShortClick();
    }
    row_ = row;
    column_ = column;
    SpeechBusy();
    if (lastColumn >= kColumns) column_ = LineEnd(grid_, row_);
    if (restore) {
      row_ = savedRow;
      column_ = savedColumn;
    }
  }

  const ReviewGrid grid_ = ConsoleGrid();
  int32_t row_ = 1, column_ = 1;
};

}  // namespace

void ScreenReview() { ReviewMode().Run(); }

}  // namespace teluma::speech
