// The console run as whole programs through the automation contract.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "testkit/testkit.hpp"

using testkit::RunHeadless;
using testkit::RunOptions;

namespace {

RunOptions Probe(std::vector<std::string> args, std::string keys = "", std::string ini = "") {
  RunOptions o;
  o.args = std::move(args);
  o.keys = std::move(keys);
  o.env["TELUMA_WINDIR"] = "/nonexistent-windir";
  return o;
}

std::string Keys(const testkit::RunResult& r) {
  std::string out;
  for (const auto& e : r.Named("KEY")) out += e.data + " ";
  return out;
}

std::string Trim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

TEST(ConsoleScenario, KeyScriptReachesTheQueueAsCodes) {
  auto r = RunHeadless(PROBE_PATH, Probe({"key", "key", "key", "key", "key", "key", "key", "key", "key", "key"},
                                         "Up Ctrl+Enter \"é\"\nAlt+Ctrl+F9 Ctrl+y Shift+Insert\n"));
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Keys(r), "0 72 10 233 0 102 25 0 254 ");
  // The script ran out at the ninth wait: the program ended through the close path.
  ASSERT_FALSE(r.Named("EXIT").empty());
  EXPECT_EQ(r.Named("EXIT").back().data, "0");
  EXPECT_EQ(r.screen.size(), 25u);
  EXPECT_EQ(r.attrs.size(), 25u);
}

TEST(ConsoleScenario, TimedKeysAndTheVirtualClock) {
  auto r = RunHeadless(PROBE_PATH, Probe({"pause:1000", "wait", "key", "key", "pause:50", "key"},
                                         "+300 a\n+200 b\nc\n"));
  auto keys = r.Named("KEY");
  ASSERT_EQ(keys.size(), 3u);
  // "a" came at 300 during the pause and was waiting; "b" 200 after it, at 500.
  EXPECT_EQ(keys[0].data, "97");
  EXPECT_EQ(keys[0].ms, 1000);
  EXPECT_EQ(keys[1].data, "98");
  EXPECT_EQ(keys[1].ms, 1000);
  EXPECT_EQ(keys[2].data, "99");
  EXPECT_EQ(keys[2].ms, 1050);
  EXPECT_NE(r.Output().find("yes"), std::string::npos);
}

TEST(ConsoleScenario, OutputBufferAndScreen) {
  std::string long130(130, 'x');
  auto r = RunHeadless(PROBE_PATH, Probe({"w:" + long130, "l:", "fg:14", "bg:1", "l:amarelo", "attr:71", "w:\tZ"}));
  auto outs = r.Named("OUT");
  ASSERT_GE(outs.size(), 3u);
  // 128 characters fill the buffer; the rest is a second write.
  EXPECT_EQ(testkit::Unquote(outs[0].data), std::string(128, 'x'));
  EXPECT_EQ(testkit::Unquote(outs[1].data), "xx");
  EXPECT_EQ(testkit::Unquote(outs[2].data), "\r\n");
  EXPECT_EQ(Trim(r.screen[0]), std::string(80, 'x'));
  EXPECT_EQ(Trim(r.screen[1]), std::string(50, 'x'));
  EXPECT_EQ(Trim(r.screen[2]), "amarelo");
  EXPECT_EQ(r.attrs[2].substr(0, 4), "1E1E");
  EXPECT_EQ(r.attrs[0].substr(0, 2), "0F");
  // attr 71 = 47h; the tab writes nothing
  EXPECT_EQ(Trim(r.screen[3]), "Z");
  EXPECT_EQ(r.attrs[3].substr(0, 2), "47");
  auto pos = RunHeadless(PROBE_PATH, Probe({"at:200,200", "pos", "at:0,0", "pos"}));
  EXPECT_NE(pos.Output().find("80,25"), std::string::npos);
  EXPECT_NE(pos.Output().find("1,1"), std::string::npos);
}

TEST(ConsoleScenario, SettingsFromTheIniFile) {
  testkit::TempDir dir;
  dir.Write("TELUMA.INI", "[VIDEO]\r\nCORFUNDO=4\r\nCORLETRA=14\r\nCORESFIXAS=S\r\n[BRAILLE]\r\nMODO=2\r\n");
  auto o = Probe({"bg:1", "l:fixo", "key", "key"}, "f s\n");
  o.env["TELUMA_WINDIR"] = dir.path();
  auto r = RunHeadless(PROBE_PATH, o);
  EXPECT_EQ(r.attrs[0].substr(0, 2), "4E");  // colours fixed: bg:1 did nothing
  // Mode 2 from the file sounds 800 Hz then 400 Hz, 200 ms each.
  auto tones = r.Named("TONE");
  ASSERT_EQ(tones.size(), 4u);
  EXPECT_EQ(tones[0].data, "800");
  EXPECT_EQ(tones[1].data, "off");
  EXPECT_EQ(tones[1].ms, 200);
  EXPECT_EQ(tones[2].data, "400");
  EXPECT_EQ(tones[3].ms, 400);
  // In braille mode the keys f and s are chord keys: dot 1 is a, dot 3 is '.
  EXPECT_EQ(Keys(r), "97 39 ");

  // Chords typed together, the mode stepped by Ctrl+Alt+F11 and ended by Ctrl+Alt+F12.
  dir.Write("TELUMA.INI", "[BRAILLE]\r\nMODO=1\r\n");
  auto chords = Probe({"key", "key", "key", "key", "key", "key"},
                      "Chord+fd Chord+Space Chord+Space+fdk\nCtrl+Alt+F11 Chord+jl Chord+f\n"
                      "Ctrl+Alt+F12 f\n");
  chords.env["TELUMA_WINDIR"] = dir.path();
  auto b = RunHeadless(PROBE_PATH, chords);
  EXPECT_EQ(Keys(b), "98 32 8 65 102 ");
  std::string signals;
  for (const auto& t : b.Named("TONE")) signals += t.data + " ";
  // mode 1 at start, 2 after Ctrl+Alt+F11, 0 after Ctrl+Alt+F12
  EXPECT_EQ(signals, "800 off 1600 off 800 off 400 off 100 off ");
}

TEST(ConsoleScenario, ReadLineEditing) {
  std::string typed(130, 'a');
  auto r = RunHeadless(PROBE_PATH, Probe({"line", "line"}, "\"" + typed + "\" Enter\n\"abc\" Backspace Up \"d\" Enter\n"));
  std::string out = r.Output();
  EXPECT_NE(out.find("[" + std::string(126, 'a') + "]"), std::string::npos);
  // Backspace removes c; the second code of Up (72, "H") enters as a character.
  EXPECT_NE(out.find("[abHd]"), std::string::npos);
}

TEST(ConsoleScenario, BreakQuitsWith255AndBadInputGoesOn) {
  auto r = RunHeadless(PROBE_PATH, Probe({"key", "l:nunca"}, "Ctrl+Break\n"));
  EXPECT_EQ(r.exitCode, 255);
  EXPECT_EQ(r.Named("EXIT").back().data, "255");
  EXPECT_EQ(r.Output().find("nunca"), std::string::npos);

  auto o = Probe({"l:ok", "key"});
  o.env["TELUMA_KEYS"] = "/nonexistent/keys.txt";
  auto bad = RunHeadless(PROBE_PATH, o);
  EXPECT_EQ(bad.exitCode, 0);
  EXPECT_NE(bad.stderrText.find("/nonexistent/keys.txt"), std::string::npos);
  EXPECT_NE(bad.Output().find("ok"), std::string::npos);

  auto junk = RunHeadless(PROBE_PATH, Probe({"key", "key"}, "Hyper+Q a\n"));
  EXPECT_EQ(Keys(junk), "97 ");
  EXPECT_NE(junk.stderrText.find("Hyper+Q"), std::string::npos);
}

TEST(ConsoleScenario, ExitCodesReachTheTranscript) {
  auto ret = RunHeadless(PROBE_PATH, Probe({"l:a", "ret:3", "l:b"}));
  EXPECT_EQ(ret.exitCode, 3);
  EXPECT_EQ(ret.Named("EXIT").back().data, "3");
  auto closed = RunHeadless(PROBE_PATH, Probe({"w:x", "key", "close", "l:nunca"}, "a b c\n"));
  EXPECT_EQ(closed.exitCode, 0);
  EXPECT_EQ(closed.Named("EXIT").size(), 1u);
  EXPECT_EQ(closed.Output().find("nunca"), std::string::npos);
  auto quit = RunHeadless(PROBE_PATH, Probe({"quit", "wait", "l:nunca"}));
  EXPECT_EQ(quit.exitCode, 255);
  EXPECT_EQ(quit.Output().find("nunca"), std::string::npos);
  // SCREEN and ATTR come once, after EXIT.
  EXPECT_EQ(closed.Named("SCREEN").size(), 1u);
  EXPECT_EQ(closed.events.back().name, "ATTR");
}

TEST(ConsoleScenario, DateAndTimeFollowTheVirtualClock) {
  auto r = RunHeadless(PROBE_PATH, Probe({"clock", "pause:1500", "clock"}));
  std::vector<long> first, second;
  for (auto* v : {&first, &second}) {
    size_t at = r.Output().find("clock ", v == &first ? 0 : r.Output().find("clock ") + 1);
    ASSERT_NE(at, std::string::npos);
    std::istringstream fields(r.Output().substr(at + 6));
    long x;
    for (int i = 0; i < 5 && fields >> x; ++i) v->push_back(x);
    ASSERT_EQ(v->size(), 5u);
  }
  EXPECT_GE(first[1], 1);
  EXPECT_LE(first[1], 12);
  EXPECT_LE(first[3], 6);
  long moved = (second[4] - first[4] + 8640000) % 8640000;  // hundredths, across midnight too
  EXPECT_EQ(moved, 150);
}

TEST(ConsoleScenario, ClipboardInProcess) {
  auto r = RunHeadless(PROBE_PATH, Probe({"paste:10", "copy:ol\xC3\xA1 mundo", "paste:4", "paste:100", "paste:0"}));
  std::string out = r.Output();
  EXPECT_NE(out.find("<>\r\n<ol\xC3\xA1>\r\n<ol\xC3\xA1 mundo>\r\n<>"), std::string::npos);
}

TEST(ConsoleScenario, DemoRunsHeadless) {
  RunOptions o;
  o.keys = "\"Ana\" Enter\nF1 Esc\n";
  auto r = RunHeadless(DEMO_PATH, o);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.Output().find("Ol\xC3\xA1, Ana!"), std::string::npos);
  EXPECT_NE(r.Output().find("tecla estendida 0, 59"), std::string::npos);
  EXPECT_EQ(Trim(r.screen[23]), "At\xC3\xA9 logo.");
}
