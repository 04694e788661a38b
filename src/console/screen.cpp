#include "console/screen.hpp"

#include <algorithm>
#include <cstring>

namespace teluma::console {

void Screen::Reset(uint8_t newAttr) {
  attr = newAttr;
  chars_.fill(' ');
  attrs_.fill(attr);
  column = row = 0;
}

void Screen::Clear() {
  chars_.fill(' ');
  attrs_.fill(attr);
  column = row = 0;
}

void Screen::ClearToLineEnd() {
  for (int c = std::clamp<int32_t>(column, 0, kColumns); c < kColumns; ++c) Put(c, row, ' ');
}

void Screen::MoveCursor(int32_t c, int32_t r) {
  column = std::clamp<int32_t>(c, 0, kColumns - 1);
  row = std::clamp<int32_t>(r, 0, kRows - 1);
}

void Screen::NewLine(int& left, int& right, ScreenPainter& painter) {
  if (right > left) painter.PaintRun(row, left, std::min(right, kColumns));
  left = right = 0;
  if (row < kRows - 1) {
    ++row;
    return;
  }
  std::memmove(chars_.data(), chars_.data() + kColumns, kColumns * (kRows - 1));
  std::memmove(attrs_.data(), attrs_.data() + kColumns, kColumns * (kRows - 1));
  for (int c = 0; c < kColumns; ++c) Put(c, kRows - 1, ' ');
  painter.Scrolled();
}

void Screen::Write(std::string_view bytes, ScreenPainter& painter) {
  int left = column, right = column;
  for (unsigned char b : bytes) {
    switch (b) {
      case 7:
        painter.Beep();
        break;
      case 8:
        if (column > 0) {
          --column;
          Put(column, row, ' ');
          left = std::min<int>(left, column);
          right = std::max<int>(right, column + 1);
        }
        break;
      case 10:
        NewLine(left, right, painter);
        column = 0;
        break;
      case 13:
        column = 0;
        break;
      default:
        if (b < 32) break;  // tab and the other controls write nothing
        if (column >= kColumns) {
          column = 0;
          NewLine(left, right, painter);
        }
        Put(column, row, b);
        left = std::min<int>(left, column);
        ++column;
        right = std::max<int>(right, column);
    }
  }
  if (right > left) painter.PaintRun(row, left, std::min(right, kColumns));
}

}  // namespace teluma::console
