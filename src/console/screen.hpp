// The console's screen model: the 80 x 25 grids of characters and attributes, the cursor and
// the rules for writing every byte. Drawing is left to a painter (the display backend).
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace teluma::console {

class ScreenPainter {
 public:
  virtual ~ScreenPainter() = default;
  virtual void PaintRun(int row, int from, int to) = 0;  // columns [from, to), 0-based
  virtual void Scrolled() = 0;                           // the grid moved up one row
  virtual void Beep() = 0;
};

class Screen {
 public:
  static constexpr int kColumns = 80;
  static constexpr int kRows = 25;

  Screen() { Reset(0x0F); }

  // Blank grids in attribute attr, cursor at the top left.
  void Reset(uint8_t attr);

  // Writes bytes at the cursor (bell, backspace, line feed, carriage return, printable; other
  // controls are dropped), wrapping at the right edge and scrolling at the bottom.
  void Write(std::string_view bytes, ScreenPainter& painter);

  void Clear();          // blanks in the current attribute, cursor to (0, 0)
  void ClearToLineEnd(); // from the cursor to the right edge; the cursor stays
  void MoveCursor(int32_t column, int32_t row);  // 0-based, clamped into the grid

  int32_t column = 0;  // may equal kColumns after the last column was written
  int32_t row = 0;
  uint8_t attr = 0x0F;

  uint8_t CharAt(int column0, int row0) const { return chars_[row0 * kColumns + column0]; }
  uint8_t AttrAt(int column0, int row0) const { return attrs_[row0 * kColumns + column0]; }
  const uint8_t* Chars() const { return chars_.data(); }
  const uint8_t* Attrs() const { return attrs_.data(); }

 private:
  void NewLine(int& left, int& right, ScreenPainter& painter);
  void Put(int column0, int row0, uint8_t c) {
    chars_[row0 * kColumns + column0] = c;
    attrs_[row0 * kColumns + column0] = attr;
  }
  std::array<uint8_t, kColumns * kRows> chars_{};
  std::array<uint8_t, kColumns * kRows> attrs_{};
};

}  // namespace teluma::console
