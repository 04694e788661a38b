// The transcript as outside readers parse it: line format, text quoting, one OUT per write
// call with the 128-character buffer, the final SCREEN and ATTR rows; and the line editor of
// standard input.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "testkit/console_probe_run.hpp"

using conrev::Answers;
using conrev::Keys;
using conrev::Probe;
using conrev::RunProbe;
using conrev::Trim;

namespace {

std::vector<std::string> Outs(const testkit::RunResult& r) {
  std::vector<std::string> out;
  for (const auto& e : r.Named("OUT")) out.push_back(e.data);
  return out;
}

}  // namespace

TEST(Transcript, LineFormatAndFinalRows) {
  testkit::TempDir dir;
  std::string path = dir.path() + "/t.txt";
  testkit::RunOptions o;
  o.args = {"--answers-to-stderr", "pause:250", "w:a\"b\\\\c\td\r\n", "w:ação", "keys:3", "w:nunca"};
  o.keys = "Up\n";
  o.env["TELUMA_WINDIR"] = dir.path();
  o.env["TELUMA_TRANSCRIPT"] = path;
  testkit::RunHeadless(PROBE_PATH, o);
  std::istringstream in(testkit::ReadFile(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const std::regex event("^[0-9]+ [A-Z]+( .*)?$");
  size_t screenAt = 0, attrAt = 0, exitAt = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("| ", 0) == 0) continue;
    EXPECT_TRUE(std::regex_match(lines[i], event)) << lines[i];
    if (lines[i].find(" SCREEN") != std::string::npos) screenAt = i;
    if (lines[i].find(" ATTR") != std::string::npos) attrAt = i;
    if (lines[i].find(" EXIT ") != std::string::npos) exitAt = i;
  }
  EXPECT_EQ(lines[0], "250 OUT \"a\\\"b\\\\c\\td\\r\\n\"");
  EXPECT_EQ(lines[1], "250 OUT \"ação\"");
  EXPECT_EQ(lines[2], "250 KEY 0");
  EXPECT_EQ(lines[3], "250 KEY 72");
  // The script ran out at the third key wait.
  EXPECT_EQ(lines[4], "250 EXIT 0");
  EXPECT_EQ(exitAt, 4u);
  ASSERT_EQ(screenAt, 5u);
  ASSERT_EQ(attrAt, 31u);
  ASSERT_EQ(lines.size(), 57u);
  for (size_t i = 6; i < 31; ++i) EXPECT_EQ(lines[i].rfind("| ", 0), 0u);
  for (size_t i = 32; i < 57; ++i) EXPECT_TRUE(std::regex_match(lines[i], std::regex("^\\| [0-9A-Fa-f]{160}$")));
  EXPECT_EQ(lines[6], "| a\"b\\cd" + std::string(74, ' '));
  EXPECT_EQ(lines[7], "| ação" + std::string(76, ' '));
  EXPECT_EQ(lines[8], "| " + std::string(80, ' '));  // the key wait wrote nothing
}

TEST(Transcript, OneOutPerWriteCallAndTheBuffer) {
  auto r = RunProbe({{"rep:300:x", "l:" + std::string(127, 'y'), "l:", "w:", "l:z", "rep:128:w"}});
  auto outs = Outs(r);
  std::vector<std::string> expected = {
      "\"" + std::string(128, 'x') + "\"", "\"" + std::string(128, 'x') + "\"", "\"" + std::string(44, 'x') + "\"",
      "\"" + std::string(127, 'y') + "\\r\"", "\"\\n\"", "\"\\r\\n\"", "\"z\\r\\n\"", "\"" + std::string(128, 'w') + "\""};
  EXPECT_EQ(outs, expected);
  EXPECT_EQ(r.Named("SCREEN").size(), 1u);
  EXPECT_EQ(r.Named("ATTR").size(), 1u);
}

TEST(Transcript, EndingsAlwaysReportTheScreen) {
  for (auto args : std::vector<std::vector<std::string>>{{"w:fim"}, {"w:fim", "ret:3"}, {"w:fim", "close"},
                                                         {"w:fim", "quit", "pause:1"}}) {
    auto r = RunProbe({args});
    SCOPED_TRACE(args.back());
    ASSERT_EQ(r.screen.size(), 25u);
    ASSERT_EQ(r.attrs.size(), 25u);
    EXPECT_EQ(Trim(r.screen[0]), "fim");
    EXPECT_EQ(r.Named("EXIT").size(), 1u);
    EXPECT_EQ(r.Named("EXIT")[0].data, std::to_string(r.exitCode));
  }
}

TEST(StandardInput, LineEditing) {
  std::string typed(130, 'a');
  auto r = RunProbe({{"w:nome>", "line", "pos", "line", "line", "line"},
                "\"" + typed + "\" Enter\n"
                "Backspace \"abc\" Backspace Up Ctrl+Z Esc Tab Ctrl+Enter Ctrl+Backspace d Enter\n"
                "\"ação\" Enter\n"
                "Backspace Backspace Enter\n"});
  // 130 typed characters keep the first 126; the line end moves the cursor to the next line.
  EXPECT_EQ(Answers(r, "line"), "[" + std::string(126, 'a') + "] [abH\x7f" "d] [ação] []");
  EXPECT_EQ(Answers(r, "pos"), "1,3");
  EXPECT_EQ(r.screen[0], "nome>" + std::string(75, 'a'));
  EXPECT_EQ(Trim(r.screen[1]), std::string(51, 'a'));
  // A backspace on an empty line leaves the text before the line alone.
  EXPECT_EQ(Trim(r.screen[2]), "abH\x7f" "d");
  EXPECT_EQ(Trim(r.screen[3]), "ação");
  EXPECT_EQ(Trim(r.screen[4]), "");
  EXPECT_EQ(Answers(r, "pos"), "1,3");
}

TEST(StandardInput, CtrlZEndsALineWhenAskedFor) {
  auto r = RunProbe({{"eof", "line", "pos", "line"}, "\"ab\" Ctrl+Z\n\"cd\" Enter\n"});
  // Ctrl+Z ends the line and writes nothing more; otherwise 26 is no character of a line.
  EXPECT_EQ(Answers(r, "line"), "[ab] [cd]");
  EXPECT_EQ(Answers(r, "pos"), "3,1");
  EXPECT_EQ(Trim(r.screen[0]), "abcd");
  auto off = RunProbe({{"line"}, "\"ab\" Ctrl+Z c Enter\n"});
  EXPECT_EQ(Answers(off, "line"), "[abc]");
}

TEST(Clipboard, CopyAndPasteWithinTheProgram) {
  auto r = RunProbe({{"paste:10", "copy:ação", "paste:10", "paste:5", "paste:2", "paste:1", "paste:0",
                      "copy:a\\x00b", "paste:10", "copy:", "paste:10"}});
  // A buffer of n bytes holds n - 1 characters and the terminator; the text ends at a zero.
  EXPECT_EQ(Answers(r, "paste"), "[] [ação] [ação] [a] [] [] [a] []");
}

TEST(StandardInput, DemoProgram) {
  testkit::TempDir dir;
  testkit::RunOptions o;
  o.keys = "\"Ana\" Enter Up x Esc\n";
  o.env["TELUMA_WINDIR"] = dir.path();
  auto r = testkit::RunHeadless(DEMO_PATH, o);
  EXPECT_EQ(r.exitCode, 0);
  std::string out = r.Output();
  EXPECT_NE(out.find("Olá, Ana!"), std::string::npos);
  EXPECT_NE(out.find("0, 72"), std::string::npos);
  EXPECT_NE(out.find("120"), std::string::npos);
  EXPECT_EQ(Keys(r), "65 110 97 13 0 72 120 27");
}
