#include "console/screen.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace teluma;
using namespace teluma::console;

using teluma::console::Screen;

namespace {

struct Recorder : teluma::console::ScreenPainter {
  std::vector<std::string> runs;
  int scrolls = 0, beeps = 0;
  void PaintRun(int row, int from, int to) override {
    runs.push_back(std::to_string(row) + ":" + std::to_string(from) + "-" + std::to_string(to));
  }
  void Scrolled() override { ++scrolls; }
  void Beep() override { ++beeps; }
};

std::string Row(const Screen& s, int row) {
  std::string out;
  for (int c = 0; c < Screen::kColumns; ++c) out += static_cast<char>(s.CharAt(c, row));
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

TEST(Screen, WrapsOnlyWhenTheNextCharacterComes) {
  Screen s;
  Recorder p;
  s.Write(std::string(80, 'x'), p);
  EXPECT_EQ(s.column, 80);
  EXPECT_EQ(s.row, 0);
  s.Write("y", p);
  EXPECT_EQ(s.row, 1);
  EXPECT_EQ(s.column, 1);
  EXPECT_EQ(s.CharAt(0, 1), 'y');
  EXPECT_EQ(p.runs, (std::vector<std::string>{"0:0-80", "1:0-1"}));
}

TEST(Screen, ControlBytes) {
  Screen s;
  Recorder p;
  s.Write("ab\tc", p);
  EXPECT_EQ(Row(s, 0), "abc");  // tab writes nothing
  s.Write("\rZ", p);
  EXPECT_EQ(Row(s, 0), "Zbc");
  EXPECT_EQ(s.row, 0);
  s.Write("\n", p);  // a line feed alone also returns to column 0
  EXPECT_EQ(s.column, 0);
  EXPECT_EQ(s.row, 1);
  s.Write("\b", p);  // backspace at column 0 does nothing
  EXPECT_EQ(s.column, 0);
  s.Write("pq\b", p);
  EXPECT_EQ(Row(s, 1), "p");
  EXPECT_EQ(s.column, 1);
  s.Write("\a\x01\x1f", p);
  EXPECT_EQ(p.beeps, 1);
  EXPECT_EQ(s.column, 1);
}

TEST(Screen, ScrollFillsTheNewRowWithTheCurrentAttribute) {
  Screen s;
  Recorder p;
  s.attr = 0x1E;
  for (int i = 0; i < 25; ++i) s.Write("line " + std::to_string(i) + "\r\n", p);
  EXPECT_EQ(p.scrolls, 1);
  EXPECT_EQ(Row(s, 0), "line 1");
  EXPECT_EQ(Row(s, 23), "line 24");
  EXPECT_EQ(Row(s, 24), "");
  s.attr = 0x47;
  s.Write("\n", p);
  EXPECT_EQ(s.AttrAt(5, 24), 0x47);
  EXPECT_EQ(s.AttrAt(0, 23), 0x1E);
  EXPECT_EQ(s.row, 24);
}

TEST(Screen, ClearAndCursor) {
  Screen s;
  Recorder p;
  s.Write("hello world", p);
  s.MoveCursor(5, 0);
  s.attr = 0x20;
  s.ClearToLineEnd();
  EXPECT_EQ(Row(s, 0), "hello");
  EXPECT_EQ(s.AttrAt(79, 0), 0x20);
  EXPECT_EQ(s.AttrAt(4, 0), 0x0F);
  EXPECT_EQ(s.column, 5);
  s.MoveCursor(-1, -1);
  EXPECT_EQ(s.column, 0);
  EXPECT_EQ(s.row, 0);
  s.MoveCursor(199, 199);
  EXPECT_EQ(s.column, 79);
  EXPECT_EQ(s.row, 24);
  s.Clear();
  EXPECT_EQ(Row(s, 0), "");
  EXPECT_EQ(s.AttrAt(0, 0), 0x20);
  EXPECT_EQ(s.column, 0);
}
