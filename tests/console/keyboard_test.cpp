#include "console/keyboard.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/keys.hpp"

using namespace teluma;
using namespace teluma::console;

using teluma::console::Keyboard;
using namespace platform;

namespace {

std::vector<int> Drain(Keyboard& k) {
  std::vector<int> out;
  while (!k.queue.Empty()) out.push_back(k.queue.Take());
  return out;
}

// Feeds the messages of a stroke as the window would send them.
void Press(Keyboard& k, KeyStroke s) {
  for (const auto& m : StrokeMessages(s)) {
    int a = static_cast<int>(m.a), b = static_cast<int>(m.b);
    switch (m.kind) {
      case MessageKind::KeyDown: k.KeyDown(a, b); break;
      case MessageKind::SysKeyDown: k.SysKeyDown(a, b); break;
      case MessageKind::KeyUp: k.KeyUp(a, b); break;
      case MessageKind::Char: k.Char(a, b); break;
      default: break;
    }
  }
}

KeyStroke Named(const char* name, int mods = 0) {
  KeyStroke s;
  EXPECT_TRUE(NamedStroke(name, mods, s)) << name;
  return s;
}

// A braille chord: keys down in order, then all released.
void Chord(Keyboard& k, std::vector<int> vks) {
  for (int vk : vks) k.KeyDown(vk, 0);
  for (int vk : vks) k.KeyUp(vk, 0);
}

}  // namespace

TEST(Keyboard, TranslationOfStrokes) {
  Keyboard k;
  Press(k, Named("Up"));
  Press(k, Named("Up", kCtrl));
  Press(k, Named("Insert", kShift));
  Press(k, Named("Insert", kCtrl));
  Press(k, Named("F12"));
  Press(k, Named("F8", kCtrl));
  EXPECT_EQ(Drain(k), (std::vector<int>{0, 0x48, 0, 0x71, 0, 0xFE, 0, 0xFF, 0, 0x46, 0, 0x65}));
  Press(k, Named("Enter", kCtrl));
  Press(k, Named("Enter"));
  Press(k, Named("Backspace", kCtrl));
  Press(k, Named("Esc"));
  Press(k, CharStroke('y', kCtrl));
  Press(k, CharStroke(0xE7));
  EXPECT_EQ(Drain(k), (std::vector<int>{10, 13, 127, 27, 25, 0xE7}));
}

TEST(Keyboard, AltKeys) {
  Keyboard k;
  // Alt without Ctrl arrives as a system key: only Left and Right count while checkBreak.
  Press(k, CharStroke('a', kAlt));
  Press(k, Named("Left", kAlt));
  EXPECT_EQ(Drain(k), (std::vector<int>{0, 0x4B}));
  k.checkBreak = false;
  Press(k, CharStroke('a', kAlt));
  Press(k, CharStroke('1', kAlt));
  Press(k, CharStroke('0', kAlt));
  Press(k, CharStroke('z', kAlt));
  EXPECT_EQ(Drain(k), (std::vector<int>{0, 0x1E, 0, 0x78, 0, 0x81, 0, 0x2C}));
  k.checkBreak = true;
  Press(k, Named("F9", kAlt | kCtrl));  // Alt with Ctrl is an ordinary key down
  Press(k, CharStroke('q', kAlt | kCtrl));
  EXPECT_EQ(Drain(k), (std::vector<int>{0, 0x66, 0, 0x10}));
}

TEST(Keyboard, BreakAndBrailleHotKeys) {
  Keyboard k;
  int breaks = 0;
  std::vector<int> modes;
  k.onBreak = [&] { ++breaks; };
  k.onSetBrailleMode = [&](int m) { modes.push_back(m); };
  k.brailleMode = 1;
  Press(k, Named("Break", kCtrl));
  Press(k, Named("F11", kCtrl | kAlt));
  Press(k, Named("F12", kCtrl | kAlt));
  EXPECT_EQ(breaks, 1);
  EXPECT_EQ(modes, (std::vector<int>{2, 0}));
  EXPECT_TRUE(k.queue.Empty());
}

TEST(Keyboard, QueueLimits) {
  Keyboard k;
  for (int i = 0; i < 63; ++i) k.Char('x', 0);
  Press(k, Named("F1"));  // needs two places
  EXPECT_EQ(k.queue.Count(), 63);
  k.Char('y', 0);
  EXPECT_EQ(k.queue.Count(), 64);
  k.Char('z', 0);
  EXPECT_EQ(k.queue.Count(), 64);
  auto codes = Drain(k);
  EXPECT_EQ(codes.back(), 'y');
  k.focusKeys = true;
  k.Focus(false);
  k.Focus(true);
  EXPECT_EQ(Drain(k), (std::vector<int>{223, 222}));
}

TEST(Keyboard, BrailleModeOne) {
  Keyboard k;
  k.brailleMode = 1;
  Chord(k, {'F', 'D'});
  Press(k, CharStroke(' '));                // the space bar alone
  Chord(k, {VK_SPACE, 'F', 'D', 'K'});      // space with dots 1 2 5 ("h") is backspace
  Press(k, CharStroke('g'));                // a letter that is no chord key: blank
  Chord(k, {'F', 'S', 'J', 'K', 'L'});      // dots 1 3 4 5 6: y
  Chord(k, {'D', 'J', 'L'});                // dots 2 4 6: õ
  EXPECT_EQ(Drain(k), (std::vector<int>{'b', ' ', 8, ' ', 'y', 0xF5}));
  // Characters typed by the letter keys are left to the chords; others pass.
  k.Char('a', 0);
  k.Char('5', 0);
  EXPECT_EQ(Drain(k), (std::vector<int>{'5'}));
  // With Ctrl, chord keys are ordinary keys.
  Press(k, CharStroke('f', kCtrl));
  EXPECT_EQ(Drain(k), (std::vector<int>{6}));
}

TEST(Keyboard, BrailleModeTwoSigns) {
  Keyboard k;
  k.brailleMode = 2;
  Chord(k, {'J', 'L'});  // capital sign
  Chord(k, {'F'});
  Chord(k, {'F'});
  EXPECT_EQ(Drain(k), (std::vector<int>{'A', 'a'}));
  Chord(k, {'J', 'L'});
  Chord(k, {'J', 'L'});  // twice: caps lock
  Chord(k, {'F'});
  Chord(k, {'F', 'D'});
  EXPECT_EQ(Drain(k), (std::vector<int>{'A', 'B'}));
  Chord(k, {VK_SPACE});  // a chord with the space bar ends caps lock
  Chord(k, {'F'});
  EXPECT_EQ(Drain(k), (std::vector<int>{' ', 'a'}));
  Chord(k, {'S', 'J', 'K', 'L'});  // number sign
  Chord(k, {'F'});
  Chord(k, {'F', 'J'});          // c -> 3
  Chord(k, {'D', 'J', 'K'});     // j -> 0
  Chord(k, {'S'});               // ' -> .
  Chord(k, {'K'});               // ~ ends number mode
  Chord(k, {'F'});
  EXPECT_EQ(Drain(k), (std::vector<int>{'1', '3', '0', '.', '~', 'a'}));
  Chord(k, {'S', 'J', 'K', 'L'});
  k.KeyUp(VK_LEFT, 0);  // any other key clears the signs
  Chord(k, {'F'});
  EXPECT_EQ(Drain(k), (std::vector<int>{'a'}));
}

TEST(Keyboard, BrailleTable) {
  using teluma::console::BrailleCell;
  EXPECT_EQ(BrailleCell(0), ' ');
  EXPECT_EQ(BrailleCell(1 + 2 + 8), 'f');
  EXPECT_EQ(BrailleCell(4 + 8), 0xED);
  EXPECT_EQ(BrailleCell(40), '{');
  EXPECT_EQ(BrailleCell(60), '#');
  EXPECT_EQ(BrailleCell(63), 0xE9);
  EXPECT_EQ(BrailleCell(1 + 4 + 8 + 32), 'x');
}
