// The selection list on the real console (headless backend, in this process).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "console/TlCrt.hpp"
#include "game/selection_list.hpp"
#include "platform/env.hpp"
#include "platform/events.hpp"
#include "platform/headless/headless_env.hpp"
#include "platform/keys.hpp"
#include "speech/lineedit.hpp"
#include "speech/tlwin.hpp"

namespace {

struct Grid {
  std::vector<uint8_t> chars, attrs;
};

Grid Snapshot() {
  Grid g;
  for (int row = 1; row <= 25; ++row)
    for (int column = 1; column <= 80; ++column) {
      g.chars.push_back(CharAt(column, row));
      g.attrs.push_back(AttrAt(column, row));
    }
  return g;
}

// A screen full of text in many colours, so that a wrong restore cannot hide.
void PaintScreen() {
  ClearScreen();
  for (int row = 1; row <= 25; ++row) {
    MoveCursor(1, row);
    for (int column = 1; column <= (row == 25 ? 79 : 80); ++column) {
      SetBackground(static_cast<uint8_t>((column / 7 + row) % 8));
      SetForeground(static_cast<uint8_t>((column + row) % 16));
      Write(std::string(1, static_cast<char>('A' + (column + row) % 26)));
    }
  }
  SetBackground(0);
  SetForeground(7);
}

void Press(uint8_t c) { platform::PostMessage({platform::MessageKind::Char, c, 0}); }
void PressVk(int vk) { platform::PostMessage({platform::MessageKind::KeyDown, vk, 0}); }

class ListScreen : public ::testing::Test {
 protected:
  // Keys are posted before each list runs. Without a key script, a wait with nothing left to
  // come ends the process as a closed window does, so no case ends on a beep (a beep also drops
  // waiting keys): those are played through whole games instead.
  static void SetUpTestSuite() {
    static platform::headless::HeadlessEnv env;
    static platform::ScopedEnv installed(env);
  }
  void SetUp() override { FlushKeys(); }
};

}  // namespace

TEST_F(ListScreen, ClosingRestoresCharactersColoursAttributeAndCursor) {
  PaintScreen();
  MoveCursor(12, 7);
  TextAttr() = 0x2E;
  Grid before = Snapshot();
  ListOpen(40, 20, 50, 4, 8);  // moved left to column 30 and up to fit rows 18-25
  ListAdd("", "primeiro");
  ListAdd("", "segundo");
  ListAdd("", "terceiro");
  // while open, the items are drawn in the box
  PressVk(platform::VK_DOWN);
  Press(13);
  EXPECT_EQ(ListRun(), 2);
  Grid after = Snapshot();
  EXPECT_EQ(after.chars, before.chars);
  EXPECT_EQ(after.attrs, before.attrs);
  EXPECT_EQ(TextAttr(), 0x2E);
  EXPECT_EQ(CursorColumn(), 12);
  EXPECT_EQ(CursorRow(), 7);
}

TEST_F(ListScreen, EscChoosesNothingEvenOnAValidItem) {
  PaintScreen();
  Grid before = Snapshot();
  ListOpen(40, 3, 50, 4, 2);
  ListAdd("", "alfa");
  ListAdd("", "beta");
  PressVk(platform::VK_END);
  Press(27);
  EXPECT_EQ(ListRun(), 0);  // Esc chooses nothing even on a valid item
  EXPECT_EQ(Snapshot().chars, before.chars);
  EXPECT_EQ(Snapshot().attrs, before.attrs);
}

TEST_F(ListScreen, ReserveLinesKeepsTheColumn) {
  ClearScreen();
  MoveCursor(5, 24);
  ReserveLines(3);
  EXPECT_EQ(CursorColumn(), 5);
  EXPECT_EQ(CursorRow(), 22);  // the screen scrolled by two rows
}
