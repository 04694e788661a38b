// The key script and the codes its keys reach the queue as, the queue limits, timed keys on the
// virtual clock, and what happens when the script runs out or is missing.
#include <gtest/gtest.h>

#include "testkit/console_probe_run.hpp"

using conrev::Answers;
using conrev::Keys;
using conrev::Probe;
using conrev::RunProbe;

namespace {

// Takes keys until the script runs out (the program then ends through the close path).
testkit::RunResult TypeAll(const std::string& script, const std::string& ini = "") {
  return RunProbe({{"keys:500"}, script, ini});
}

}  // namespace

TEST(KeyCodes, NamedKeysPlainAndWithCtrl) {
  auto plain = TypeAll(
      "Enter Esc Space Tab Backspace Up Down Left Right Home End PgUp PgDn Insert Delete\n"
      "F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12\n");
  EXPECT_EQ(Keys(plain),
            "13 27 32 9 8 0 72 0 80 0 75 0 77 0 71 0 79 0 73 0 81 0 82 0 83 "
            "0 59 0 60 0 61 0 62 0 63 0 64 0 65 0 66 0 67 0 68 0 69 0 70");
  EXPECT_EQ(plain.Named("EXIT").back().data, "0");
  EXPECT_EQ(plain.exitCode, 0);

  auto ctrl = TypeAll(
      "Ctrl+Up Ctrl+Down Ctrl+Left Ctrl+Right Ctrl+Home Ctrl+End Ctrl+PgUp Ctrl+PgDn Ctrl+Insert "
      "Ctrl+Delete\n"
      "Ctrl+F1 Ctrl+F2 Ctrl+F3 Ctrl+F4 Ctrl+F5 Ctrl+F6 Ctrl+F7 Ctrl+F8 Ctrl+F9 Ctrl+F10 Ctrl+F11 "
      "Ctrl+F12\n");
  EXPECT_EQ(Keys(ctrl),
            "0 113 0 114 0 115 0 116 0 119 0 117 0 132 0 118 0 255 0 83 "
            "0 94 0 95 0 96 0 97 0 98 0 99 0 100 0 101 0 102 0 103 0 104 0 105");

  // Shift changes only Insert; Ctrl wins over Shift there.
  auto shift = TypeAll("Shift+Insert Ctrl+Shift+Insert Shift+Right Shift+F1 Shift+Enter\n");
  EXPECT_EQ(Keys(shift), "0 254 0 255 0 77 0 59 13");
}

TEST(KeyCodes, CtrlCharactersAndAltTables) {
  auto ctrl = TypeAll("Ctrl+Enter Ctrl+Backspace Ctrl+a Ctrl+y Ctrl+Z Ctrl+c Ctrl+Esc Ctrl+Space\n");
  EXPECT_EQ(Keys(ctrl), "10 127 1 25 26 3 27 32");

  // Alt+letter and Alt+digit arrive as key-down messages only together with Ctrl; Alt alone is
  // a system key that the console leaves alone (except Left and Right) while Ctrl+Break is on.
  auto alt = TypeAll(
      "Ctrl+Alt+a Alt+Ctrl+z Ctrl+Alt+q Ctrl+Alt+1 Ctrl+Alt+9 Ctrl+Alt+0 Alt+Ctrl+F9 Alt+Left "
      "Alt+Right\nAlt+a Alt+5 Alt+F4 Alt+Enter x\n");
  EXPECT_EQ(Keys(alt), "0 30 0 44 0 16 0 120 0 128 0 129 0 102 0 75 0 77 120");
}

TEST(KeyScript, ItemsLinesAndCharacters) {
  auto r = TypeAll(
      "# a comment line: no keys here\n"
      "\n"
      "   \n"
      "a S 5 * # \"Ana Maria\"\n"
      "\t\"é\" ç € Shift+a Enter Esc\r\n"
      "\"x  y\"\n");
  EXPECT_EQ(Keys(r),
            "97 83 53 42 35 65 110 97 32 77 97 114 105 97 233 231 128 65 13 27 120 32 32 121");
}

TEST(KeyCodes, AltKeysWhenCtrlBreakIsOff) {
  // Without Ctrl+Break the system keys go through the key-down handling: Alt alone gives the
  // Alt tables.
  auto r = RunProbe({{"nobreak", "keys:20"}, "Alt+a Alt+5 Alt+0 Alt+F1 x\n"});
  EXPECT_EQ(Keys(r), "0 30 0 124 0 129 0 59 120");
  EXPECT_EQ(r.exitCode, 0);
}

TEST(KeyScript, ByteOrderMarkIsNoKey) {
  // A comment on the first line stays a comment after the mark.
  auto r = TypeAll("\xEF\xBB\xBF# c d\r\nx\r\n");
  EXPECT_EQ(Keys(r), "120");
  EXPECT_EQ(r.stderrText.find("ignorados"), std::string::npos);
}

TEST(KeyScript, TimedKeysCountFromThePreviousDelivery) {
  // a is delivered at the first wait (500); b 100 after it, c 50 after b.
  auto r = RunProbe({{"pause:500", "key", "key", "key"}, "a\n+100 b\n+50 c\n"});
  auto keys = r.Named("KEY");
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].ms, 500);
  EXPECT_EQ(keys[1].ms, 600);
  EXPECT_EQ(keys[2].ms, 650);
  EXPECT_EQ(Keys(r), "97 98 99");

  // Timed keys arrive while the program does something else and wait in the queue; the keys of
  // one line all come at once. The untimed key after them waits for the next key wait.
  auto busy = RunProbe({{"wait", "pause:1000", "wait", "keys:3", "pause:100", "key", "key"},
                   "+300 a\n+200 b c\nd\n"});
  EXPECT_EQ(Answers(busy, "waiting"), "no yes");
  auto k = busy.Named("KEY");
  ASSERT_EQ(k.size(), 4u);
  EXPECT_EQ(k[0].ms, 1000);
  EXPECT_EQ(k[2].ms, 1000);
  EXPECT_EQ(k[3].ms, 1100);
  EXPECT_EQ(Keys(busy), "97 98 99 100");
  // The script ran out at the last wait: the close path at that moment.
  EXPECT_EQ(busy.Named("EXIT").back().ms, 1100);
  EXPECT_EQ(busy.Named("EXIT").back().data, "0");

  // A key wait with nothing queued moves the clock to the next timed key.
  auto jump = RunProbe({{"key", "key"}, "+2500 Enter\n+0 x\n"});
  auto j = jump.Named("KEY");
  ASSERT_EQ(j.size(), 2u);
  EXPECT_EQ(j[0].ms, 2500);
  EXPECT_EQ(j[1].ms, 2500);
}

TEST(KeyQueue, SixtyFourCodesAndTwoCodeKeys) {
  std::string x63(63, 'x'), x62(62, 'x');
  // At 63 codes a two-code key is dropped, a character still fits, then nothing more.
  auto full = RunProbe({{"pause:100", "keys:64", "wait"}, "+10 \"" + x63 + "\"\n+10 F1 Ctrl+Alt+a y z\n"});
  std::string expected;
  for (int i = 0; i < 63; ++i) expected += "120 ";
  EXPECT_EQ(Keys(full), expected + "121");
  EXPECT_EQ(Answers(full, "waiting"), "no");
  // At 62 codes a pair still fits.
  auto pair = RunProbe({{"pause:100", "keys:64", "wait"}, "+10 \"" + x62 + "\" F1 q\n"});
  expected.clear();
  for (int i = 0; i < 62; ++i) expected += "120 ";
  EXPECT_EQ(Keys(pair), expected + "0 59");
  EXPECT_EQ(Answers(pair, "waiting"), "no");
}

TEST(EndOfInput, NoScriptOrAnExhaustedOneClosesTheWindow) {
  // Without TELUMA_KEYS the first key wait ends the program as a closed window does.
  auto none = RunProbe({{"w:antes", "key", "w:depois"}});
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.Named("EXIT").back().data, "0");
  EXPECT_TRUE(none.Named("KEY").empty());
  EXPECT_EQ(none.Output(), "antes");
  // Waiting for a line ends it the same way; a pause or a key test does not.
  auto line = RunProbe({{"pause:300", "wait", "line", "w:depois"}});
  EXPECT_EQ(line.exitCode, 0);
  EXPECT_EQ(Answers(line, "waiting"), "no");
  EXPECT_EQ(line.Named("EXIT").back().ms, 300);
  EXPECT_EQ(line.Output(), "");

  // An unreadable key script is reported once on standard error and the program goes on.
  testkit::RunOptions o;
  o.args = {"--answers-to-stderr", "w:ok", "key"};
  o.env["TELUMA_KEYS"] = "/nonexistent/keys.txt";
  o.env["TELUMA_WINDIR"] = "/nonexistent-windir";
  auto bad = testkit::RunHeadless(PROBE_PATH, o);
  EXPECT_EQ(bad.exitCode, 0);
  EXPECT_EQ(bad.Output(), "ok");
  EXPECT_NE(bad.stderrText.find("/nonexistent/keys.txt"), std::string::npos);
  // So is a transcript that cannot be written.
  o.env["TELUMA_TRANSCRIPT"] = "/nonexistent/t.txt";
  auto noTranscript = testkit::RunHeadless(PROBE_PATH, o);
  EXPECT_EQ(noTranscript.exitCode, 0);
  EXPECT_NE(noTranscript.stderrText.find("/nonexistent/t.txt"), std::string::npos);
}

TEST(EndOfInput, BreakAndQuitEndWith255) {
  auto brk = RunProbe({{"key", "key", "w:nunca"}, "a\nCtrl+Break\n"});
  EXPECT_EQ(brk.exitCode, 255);
  EXPECT_EQ(brk.Named("EXIT").back().data, "255");
  EXPECT_EQ(Keys(brk), "97");
  EXPECT_EQ(brk.Output(), "");
  // Ctrl+Break is handled when the message is pumped, also outside a key wait.
  auto pumped = RunProbe({{"pause:50", "w:nunca"}, "+10 Ctrl+Break\n"});
  EXPECT_EQ(pumped.exitCode, 255);
  auto quit = RunProbe({{"quit", "pause:10", "w:nunca"}});
  EXPECT_EQ(quit.exitCode, 255);
  EXPECT_EQ(quit.Named("EXIT").back().data, "255");
  auto normal = RunProbe({{"w:fim", "ret:0"}});
  EXPECT_EQ(normal.Named("EXIT").back().data, "0");
  auto close = RunProbe({{"close", "w:nunca"}});
  EXPECT_EQ(close.exitCode, 0);
  EXPECT_EQ(close.Output(), "");
}
