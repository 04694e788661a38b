// The grid as the final SCREEN and ATTR rows show it after the write rules, clears, cursor
// moves, colours and the VIDEO settings.
#include <gtest/gtest.h>

#include "testkit/console_probe_run.hpp"

using conrev::Answers;
using conrev::Probe;
using conrev::RunProbe;
using conrev::Trim;

namespace {

std::string Attrs(const std::string& hexPair, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += hexPair;
  return out;
}

}  // namespace

TEST(ScreenRules, WrapHappensOnlyWhenTheNextPrintableComes) {
  auto r = RunProbe({{"rep:80:a", "pos", "w:\r", "pos", "rep:80:a", "w:b", "pos"}});
  // After 80 characters the column is one past the edge; a carriage return just goes back.
  EXPECT_EQ(Answers(r, "pos"), "81,1 1,1 2,2");
  ASSERT_EQ(r.screen.size(), 25u);
  EXPECT_EQ(r.screen[0], std::string(80, 'a'));
  EXPECT_EQ(Trim(r.screen[1]), "b");

  // A line feed at column 80 makes one new line, not two; a backspace there blanks column 80.
  auto lf = RunProbe({{"rep:80:x", "w:\n", "w:y", "at:1,5", "rep:80:z", "w:\b", "pos"}});
  EXPECT_EQ(lf.screen[0], std::string(80, 'x'));
  EXPECT_EQ(Trim(lf.screen[1]), "y");
  EXPECT_EQ(lf.screen[4], std::string(79, 'z') + " ");
  EXPECT_EQ(Answers(lf, "pos"), "80,5");
}

TEST(ScreenRules, ControlBytes) {
  auto r = RunProbe({{"w:ab\\bc", "at:1,2", "w:\\bx", "pos", "at:1,3", "w:abc\rX", "pos", "at:1,4",
                 "w:ab\ncd", "pos", "at:1,6", "w:a\tb\x01\x1b\\x00\\x0c\\x1fc", "pos", "at:1,7",
                 "w:\\x7f\\x80\\xff", "w:\a", "pos", "cell:1,7", "cell:3,7"}});
  EXPECT_EQ(Trim(r.screen[0]), "ac");          // backspace blanks the cell it moves onto
  EXPECT_EQ(Trim(r.screen[1]), "x");           // at column 1 it does nothing
  EXPECT_EQ(Trim(r.screen[2]), "Xbc");         // carriage return only returns
  EXPECT_EQ(Trim(r.screen[3]), "ab");          // line feed also returns to column 1
  EXPECT_EQ(Trim(r.screen[4]), "cd");
  EXPECT_EQ(Trim(r.screen[5]), "abc");         // tab and other controls write nothing
  EXPECT_EQ(Answers(r, "pos"), "2,2 2,3 3,5 4,6 4,7");
  // 127 and the upper half are printable; the bell moves nothing.
  EXPECT_EQ(Answers(r, "cell"), "127 15 255 15");
  EXPECT_EQ(r.screen[6].substr(0, 6), "\x7f\xe2\x82\xac\xc3\xbf");  // 80h is the euro sign
  EXPECT_EQ(r.Named("BEEP").size(), 1u);

  // The blank a backspace leaves takes the current attribute.
  auto bs = RunProbe({{"w:ab", "attr:71", "w:\\b", "cell:2,1", "cell:1,1"}});
  EXPECT_EQ(Answers(bs, "cell"), "32 71 97 15");
}

TEST(ScreenRules, ScrollingUsesTheCurrentAttribute) {
  auto r = RunProbe({{"w:top", "at:1,2", "w:second", "attr:30", "at:1,25", "w:X", "attr:71", "w:\n", "pos",
                 "w:Y"}});
  EXPECT_EQ(Trim(r.screen[0]), "second");
  EXPECT_EQ(Trim(r.screen[23]), "X");
  EXPECT_EQ(Trim(r.screen[24]), "Y");
  EXPECT_EQ(r.attrs[23].substr(0, 4), "1E0F");
  EXPECT_EQ(r.attrs[24], Attrs("47", 80));
  EXPECT_EQ(Answers(r, "pos"), "1,25");

  // Writing past the last cell of the grid scrolls too, then the character lands on row 25.
  auto w = RunProbe({{"at:80,25", "w:AB", "pos"}});
  EXPECT_EQ(w.screen[23], std::string(79, ' ') + "A");
  EXPECT_EQ(Trim(w.screen[24]), "B");
  EXPECT_EQ(Answers(w, "pos"), "2,25");
  // A long text scrolls line by line: 30 lines leave lines 6..30 on screen.
  std::vector<std::string> args;
  for (int i = 1; i <= 30; ++i) args.push_back("l:linha " + std::to_string(i));
  auto many = RunProbe({args});
  EXPECT_EQ(Trim(many.screen[0]), "linha 7");
  EXPECT_EQ(Trim(many.screen[23]), "linha 30");
  EXPECT_EQ(Trim(many.screen[24]), "");
}

TEST(ScreenRules, ClearScreenAndClearToLineEnd) {
  auto r = RunProbe({{"w:abcdef", "attr:71", "cls", "pos", "w:g"}});
  EXPECT_EQ(Trim(r.screen[0]), "g");
  EXPECT_EQ(r.attrs[0], Attrs("47", 80));
  EXPECT_EQ(r.attrs[24], Attrs("47", 80));
  EXPECT_EQ(Answers(r, "pos"), "1,1");

  auto e = RunProbe({{"w:abcdef", "at:3,1", "attr:18", "eol", "pos", "at:1,2", "rep:80:q", "eol", "pos"}});
  EXPECT_EQ(Trim(e.screen[0]), "ab");
  EXPECT_EQ(e.attrs[0], "0F0F" + Attrs("12", 78));
  EXPECT_EQ(Answers(e, "pos"), "3,1 81,2");  // the cursor does not move
  EXPECT_EQ(e.screen[1], std::string(80, 'q'));  // one past the edge: nothing to clear
  EXPECT_EQ(e.attrs[1], Attrs("12", 80));
}

TEST(ScreenRules, MoveCursorClampsIntoTheGrid) {
  auto r = RunProbe({{"at:0,0", "pos", "at:200,200", "pos", "at:-5,3", "pos", "at:2147483647,-2147483648", "pos",
                 "at:80,25", "pos", "w:z", "cell:80,25", "cell:81,25", "cell:0,1"}});
  EXPECT_EQ(Answers(r, "pos"), "1,1 80,25 1,3 80,1 80,25");
  EXPECT_EQ(Answers(r, "cell"), "122 15 0 0 0 0");
}

TEST(ScreenRules, ForegroundAndBackground) {
  auto r = RunProbe({{"ta", "bg:1", "ta", "fg:4", "ta", "bg:17", "ta", "fg:28", "ta", "attr:255", "ta", "w:c"}});
  // 0Fh, 1Fh, 14h, background 17 kept to one byte (10h) with text 4, then text 12.
  EXPECT_EQ(Answers(r, "attr"), "15 31 20 20 28 255");
  EXPECT_EQ(r.attrs[0].substr(0, 2), "FF");

  auto fixed = RunProbe({{"bg:1", "fg:4", "ta", "attr:30", "ta", "w:f"}, "", "[VIDEO]\r\nCORESFIXAS=sim\r\n"});
  EXPECT_EQ(Answers(fixed, "attr"), "15 30");  // only the direct byte changes it
  EXPECT_EQ(fixed.attrs[0].substr(0, 2), "1E");
}

TEST(ScreenRules, InitialAttributeFromTheSettings) {
  // Present but empty: background 0, text 7; the whole grid takes the initial attribute.
  auto empty = RunProbe({{"wait", "ta", "w:x"}, "", "[VIDEO]\r\nCORFUNDO=\r\nCORLETRA=\r\n"});
  EXPECT_EQ(Answers(empty, "attr"), "7");
  EXPECT_EQ(empty.attrs[24], Attrs("07", 80));
  auto missing = RunProbe({{"wait", "ta", "w:x"}, "", "[VIDEO]\r\nLENTO=S\r\n"});
  EXPECT_EQ(Answers(missing, "attr"), "15");
  auto colours = RunProbe({{"wait", "ta", "w:x"}, "", "[VIDEO]\r\nCORFUNDO=2\r\nCORLETRA=14\r\n"});
  EXPECT_EQ(Answers(colours, "attr"), "46");
  EXPECT_EQ(colours.attrs[10], Attrs("2E", 80));
  // Background times 16 OR text colour, kept to one byte.
  auto wide = RunProbe({{"wait", "ta"}, "", "[VIDEO]\r\nCORFUNDO=17\r\nCORLETRA=20\r\n"});
  EXPECT_EQ(Answers(wide, "attr"), "20");
  // The remap changes only the painting: the ATTR rows keep the logical colours.
  auto remap = RunProbe({{"bg:0", "fg:1", "w:x"}, "", "[VIDEO]\r\nTABCORES=4,1\r\nCORFUNDO=0\r\n"});
  EXPECT_EQ(remap.attrs[0].substr(0, 4), "010F");
  EXPECT_EQ(remap.exitCode, 0);
}
