// The spoken line editor and the spoken key input, key by key, through the probe: what each key
// makes heard, the text and cursor position it leaves, the screen and the clipboard.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <string>

#include "testkit/speech_tree.hpp"

namespace conformance {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using ::testing::Not;
using ::testing::StartsWith;

class Editor : public ::testing::Test {
 protected:
  // Runs the editor over the arguments with the key script; returns what was heard (without
  // the results, which land in result_ and clipboard_).
  Lines Edit(std::vector<std::string> args, const std::string& keys) {
    args.insert(args.begin(), "edit");
    run_ = tree_.Probe(args, keys + "\n");
    EXPECT_EQ(run_.exitCode, 0) << run_.stderrText;
    const Lines results = Results(run_);
    result_ = results.size() > 0 ? results[0] : "";
    clipboard_ = results.size() > 1 ? results[1] : "";
    Lines said;
    for (const auto& s : Heard(run_))
      if (!s.starts_with("result:")) said.push_back(s);
    return said;
  }
  std::string Row(int row) const { return run_.screen.at(row - 1); }

  Tree tree_;
  testkit::RunResult run_;
  std::string result_, clipboard_;
};

TEST_F(Editor, TypingBackspaceAndEndingKeys) {
  EXPECT_THAT(Edit({}, "a b Backspace Enter"), ElementsAre("_97", "_98", "_DEL", "_98"));
  EXPECT_EQ(result_, "13 2 [a]");
  EXPECT_THAT(Edit({}, "Backspace Enter"), ElementsAre("beep"));
  EXPECT_EQ(result_, "13 1 []");
  Edit({"ab"}, "Tab");
  EXPECT_EQ(result_, "9 1 [ab]");
  Edit({"ab"}, "Ctrl+Enter");
  EXPECT_EQ(result_, "10 1 [ab]");
  Edit({"ab"}, "Esc");
  EXPECT_EQ(result_, "27 1 [ab]");
  // A key of neither table ends editing with its second code; Alt+digits do nothing.
  Edit({"ab"}, "F2");
  EXPECT_EQ(result_, "60 1 [ab]");
  Edit({"ab"}, "Up");
  EXPECT_EQ(result_, "72 1 [ab]");
  Edit({"ab"}, "Ctrl+F9");
  EXPECT_EQ(result_, "102 1 [ab]");
  EXPECT_THAT(Edit({"ab", "--nobreak"}, "Alt+1 Alt+0 Enter"), ElementsAre());
  EXPECT_EQ(result_, "13 1 [ab]");
}

TEST_F(Editor, CursorMovesSayWhatTheyReach) {
  EXPECT_THAT(Edit({"ab"}, "Left Right Right Right Left Enter"),
              ElementsAre("beep", "_97", "_98", "_32", "_32"));
  EXPECT_EQ(result_, "13 3 [ab]");
  Edit({"ab  "}, "End Enter");
  EXPECT_EQ(result_, "13 3 [ab]");
  Edit({""}, "End Enter");
  EXPECT_EQ(result_, "13 1 []");
  Edit({"abc"}, "End Home Enter");
  EXPECT_EQ(result_, "13 1 [abc]");
  // Right stops with a beep past the field's length.
  EXPECT_THAT(Edit({"ab", "--max", "2", "--width", "2"}, "Right Right Right Enter"),
              ElementsAre("_97", "_98", "beep"));
  EXPECT_EQ(result_, "13 3 [ab]");
}

TEST_F(Editor, FirstKeyDecidesWhetherAFilledFieldIsReplaced) {
  EXPECT_THAT(Edit({"abc"}, "x Enter"), ElementsAre("click", "click", "_120"));
  EXPECT_EQ(result_, "13 2 [x]");
  EXPECT_THAT(Edit({"abc"}, "Right x Enter"), ElementsAre("_97", "_120"));
  EXPECT_EQ(result_, "13 3 [axbc]");
  // Only text from the cursor on counts, and a blank field is never a replacement.
  EXPECT_THAT(Edit({""}, "x Enter"), ElementsAre("_120"));
  // A control key first clicks but blanks nothing.
  EXPECT_THAT(Edit({"abc"}, "Ctrl+b Enter"), ElementsAre("click", "click"));
  EXPECT_EQ(result_, "13 1 [abc]");
  // A read-only field ignores typing and the erasing commands.
  EXPECT_THAT(Edit({"abc", "--readonly"}, "x Ctrl+y Ctrl+d Ctrl+s Delete Backspace Enter"),
              ElementsAre("click", "click", "beep"));
  EXPECT_EQ(result_, "13 1 [abc]");
}

TEST_F(Editor, ErasingCommands) {
  EXPECT_THAT(Edit({"abcd"}, "Right Right Ctrl+s Enter"), ElementsAre("_97", "_98", "_APICPO"));
  EXPECT_EQ(result_, "13 1 [cd]");
  EXPECT_THAT(Edit({"abcd"}, "Right Right Ctrl+d Enter"), ElementsAre("_97", "_98", "_APFCPO"));
  EXPECT_EQ(result_, "13 3 [ab]");
  EXPECT_THAT(Edit({"abcd"}, "Right Ctrl+y Enter"), ElementsAre("_97", "_CPOAPA"));
  EXPECT_EQ(result_, "13 1 []");
  EXPECT_THAT(Edit({"abc"}, "Delete Enter"), ElementsAre("_DEL", "_97"));
  EXPECT_EQ(result_, "13 1 [bc]");
  // Undo: the starting text, cursor at 1, three beeps.
  EXPECT_THAT(Edit({"abc"}, "x y Ctrl+u Enter"),
              ElementsAre("click", "click", "_120", "_121", "beep", "beep", "beep"));
  EXPECT_EQ(result_, "13 1 [abc]");
  // Ctrl+Backspace deletes the word at the cursor: "_DEL", then each of its characters.
  const Lines said = Edit({"abc def"}, "End Ctrl+Backspace Enter");
  ASSERT_GE(said.size(), 4u);
  EXPECT_THAT(Lines(said.end() - 4, said.end()), ElementsAre("_DEL", "_100", "_101", "_102"));
  EXPECT_EQ(result_, "13 5 [abc]");
  const Lines middle = Edit({"abc def ghi"}, "Right Right Right Right Right Ctrl+Backspace Enter");
  EXPECT_THAT(Lines(middle.end() - 5, middle.end()),
              ElementsAre("_DEL", "_100", "_101", "_102", "_32"));
  EXPECT_EQ(result_, "13 5 [abc ghi]");
}

TEST_F(Editor, WordMoves) {
  EXPECT_THAT(Edit({"abc def"}, "Ctrl+Right Ctrl+Right Ctrl+Left Ctrl+Left Ctrl+Left Enter"),
              ElementsAre("click", "beep", "click", "click", "beep"));
  EXPECT_EQ(result_, "13 1 [abc def]");
  Edit({"abc def"}, "Ctrl+Right Enter");
  EXPECT_EQ(result_, "13 5 [abc def]");
  Edit({"abc def"}, "Ctrl+Right Ctrl+Right Enter");
  EXPECT_EQ(result_, "13 8 [abc def]");
  // Digits and letters are separate runs; other characters are one-character runs.
  Edit({"12ab"}, "Ctrl+Right Enter");
  EXPECT_EQ(result_, "13 3 [12ab]");
  Edit({"12ab x"}, "End Ctrl+Left Ctrl+Left Enter");
  EXPECT_EQ(result_, "13 3 [12ab x]");
  // A run that starts with another character takes it and the letters after it.
  Edit({"a#b"}, "Ctrl+Right Enter");
  EXPECT_EQ(result_, "13 2 [a#b]");
  Edit({"a#b c"}, "Ctrl+Right Ctrl+Right Enter");
  EXPECT_EQ(result_, "13 5 [a#b c]");
  Edit({"\xC3\xA7\xC3\xA3o x"}, "Ctrl+Right Enter");
  EXPECT_EQ(result_, "13 5 [\xC3\xA7\xC3\xA3o x]");
}

TEST_F(Editor, ReadingKeys) {
  // F1 says the next word: read when it has a vowel, spelled when it is all consonants, a
  // number with its sign, any other character alone; at the end a beep.
  const Lines said = Edit({"ab -12 xyz rst #"}, "F1 F1 F1 F1 F1 F1 Enter");
  EXPECT_THAT(said, IsSupersetOf({"speak:ab", "speak:-12", "speak:xyz", "_114", "_115", "_116",
                                  "_35", "beep"}));
  EXPECT_THAT(said, Not(Contains("speak:rst")));
  EXPECT_EQ(result_, "13 17 [ab -12 xyz rst #]");
  // Ctrl+F1 reads the whole field, Ctrl+K the cursor position.
  EXPECT_THAT(Edit({"ab"}, "Ctrl+F1 Enter"),
              ElementsAre(StartsWith("speak:ab "), StartsWith("dip:")));
  EXPECT_THAT(Edit({"ab"}, "Right Right Ctrl+k Enter"),
              ElementsAre("_97", "_98", "speak:3", Joined({"_tres"})));
  // F8 the time, Ctrl+F8 the date.
  Lines time = Edit({}, "F8 Enter");
  EXPECT_TRUE(std::count(time.begin(), time.end(), "_hora") +
                  std::count(time.begin(), time.end(), "_horas") == 1);
  Lines date = Edit({}, "Ctrl+F8 Enter");
  EXPECT_EQ(std::count(date.begin(), date.end(), "_de"), 2);
}

TEST_F(Editor, EchoToggleAndSpeedChange) {
  EXPECT_THAT(Edit({}, "F4 a F4 b Enter"), ElementsAre("_FALDLG", "_FALACI", "_98"));
  EXPECT_EQ(result_, "13 3 [ab]");
  // Ctrl+F4 asks for a speed and restarts speech with it: step 4 pauses 700 ms at a full stop.
  std::string ini = kSettings;
  tree_.Settings(ini + "PAUSAPONTO4=700\r\n");
  Lines said = Edit({"a. b"}, "Ctrl+F4 4 Ctrl+F1 Enter");
  EXPECT_THAT(Lines(said.begin(), said.begin() + 2), ElementsAre("_VELOC", "_52"));
  const auto* dot = First(run_, "PLAY", "_46.wav");
  ASSERT_NE(dot, nullptr);
  const auto diphones = run_.Named("DIPHONE");
  ASSERT_EQ(diphones.size(), 2u);
  EXPECT_GE(diphones[1].ms - dot->ms, 700);
  // Esc keeps the speed.
  said = Edit({"a. b"}, "Ctrl+F4 Esc Ctrl+F1 Enter");
  EXPECT_THAT(Lines(said.begin(), said.begin() + 2), ElementsAre("_VELOC", "_27"));
  dot = First(run_, "PLAY", "_46.wav");
  ASSERT_NE(dot, nullptr);
  EXPECT_LT(run_.Named("DIPHONE").at(1).ms - dot->ms, 700);
}

TEST_F(Editor, OpeningTheWordAtTheCursor) {
  tree_.Settings(std::string(kSettings) + "[TELUMA]\r\nPROG.HTM=c:\\nav\\nav.exe\r\n");
  const Lines said = Edit({"ver <www.x.com.br>."}, "Right Right Right Right Right F12 Enter");
  EXPECT_THAT(said, Contains("open:\"c:\\\\nav\\\\nav.exe\" \"www.x.com.br\""));
  // The word just typed, with the cursor after it.
  const std::string opened = "open:\"c:\\\\nav\\\\nav.exe\" \"www.y.org\"";
  EXPECT_THAT(Edit({"ver www.y.org"}, "End F12 Enter"), Contains(opened));
  EXPECT_THAT(Edit({"ver www.y.org"}, "Ctrl+Right F12 Enter"), Contains(opened));
  // Only blanks or strip characters around the cursor: a beep.
  EXPECT_THAT(Edit({"a  *-."}, "Right Right F12 Enter"), ElementsAre("_97", "_32", "beep"));
  EXPECT_THAT(Edit({"a  *-."}, "Right Right Right Right F12 Enter"),
              ElementsAre("_97", "_32", "_32", "_42", "beep"));
}

TEST_F(Editor, PasteAndCopy) {
  Edit({"abcd  "}, "Ctrl+c Enter");
  EXPECT_EQ(clipboard_, "clipboard [abcd\r\n]");
  Edit({"abcd"}, "Ctrl+Insert Enter");
  EXPECT_EQ(clipboard_, "clipboard [abcd\r\n]");
  EXPECT_THAT(Edit({"--clip", "XY", "abcd"}, "Right Ctrl+v Enter"), ElementsAre("_97"));
  EXPECT_EQ(result_, "13 2 [aXYbcd]");
  Edit({"--clip", "XY", "abcd"}, "Right Shift+Insert Enter");
  EXPECT_EQ(result_, "13 2 [aXYbcd]");
  // As the first key a paste replaces the field; only the first line is taken.
  EXPECT_THAT(Edit({"--clip", "xy\r\nzz", "abc"}, "Ctrl+v Enter"), ElementsAre("click", "click"));
  EXPECT_EQ(result_, "13 1 [xy]");
  // The result is cut to the field's length.
  Edit({"--clip", "12345", "--max", "5", "abc"}, "Right Ctrl+v Enter");
  EXPECT_EQ(result_, "13 2 [a1234]");
}

TEST_F(Editor, ShiftSelectionDeleteCopyAndPaste) {
  Edit({"abcd"}, "Shift+Right Shift+Right Delete Enter");
  EXPECT_EQ(result_, "13 1 [cd]");
  EXPECT_THAT(Edit({"abcd"}, "Shift+Right Shift+Right Delete Enter"),
              ElementsAre("_97", "_98", "_DEL", "_97", "_98"));
  Edit({"abcd"}, "Right Shift+Right Shift+Right Ctrl+c Enter");
  EXPECT_EQ(clipboard_, "clipboard [bc]");
  Edit({"--clip", "X", "abcd"}, "Right Shift+Right Shift+Right Ctrl+v Enter");
  EXPECT_EQ(result_, "13 2 [aXd]");
  Edit({"ab cd"}, "Right Shift+End Ctrl+c Enter");
  EXPECT_EQ(clipboard_, "clipboard [b cd]");
  // A key without Shift ends the selection: Delete then removes one character.
  Edit({"abcd"}, "Shift+Right Shift+Right Left Delete Enter");
  EXPECT_EQ(result_, "13 2 [acd]");
  // Typing replaces nothing: the selection is simply dropped.
  Edit({"abcd"}, "Right Shift+Right x Enter");
  EXPECT_EQ(result_, "13 4 [abxcd]");
  // Leftward selections are ordered first.
  Edit({"abcd"}, "End Shift+Left Shift+Left Delete Enter");
  EXPECT_EQ(result_, "13 3 [ab]");
}

TEST_F(Editor, AltKeys) {
  EXPECT_THAT(Edit({"aB", "--nobreak"}, "Alt+Right Alt+Right Enter"),
              ElementsAre("_FON97", "_FON66"));
  Edit({"ab", "--nobreak"}, "Alt+F1");
  EXPECT_EQ(result_, "104 1 [ab]");
  // The screen review: a beep in, two out, and editing goes on.
  EXPECT_THAT(Edit({"ab", "--nobreak"}, "End Alt+Ctrl+F9 Esc c Enter"),
              ElementsAre("beep", "beep", "beep", "_99"));
  EXPECT_EQ(result_, "13 4 [abc]");
}

TEST_F(Editor, LengthWidthAndScreen) {
  EXPECT_THAT(Edit({"--max", "3"}, "a b c d Enter"), ElementsAre("_97", "_98", "_99", "beep"));
  EXPECT_EQ(result_, "13 4 [abc]");
  // Inside a full field nothing is pushed out.
  EXPECT_THAT(Edit({"abc", "--max", "3"}, "Right x Enter"), ElementsAre("_97", "beep"));
  EXPECT_EQ(result_, "13 2 [abc]");
  Edit({"ab", "--max", "3"}, "Right x y Enter");
  EXPECT_EQ(result_, "13 3 [axb]");
  // The field scrolls to keep the cursor visible and ends showing its start.
  Edit({"abcdefgh", "--width", "5", "--at", "3", "2"}, "End Enter");
  EXPECT_NE(run_.Output().find("defgh"), std::string::npos) << run_.Output();
  EXPECT_EQ(Row(2).substr(0, 10), "  abcde   ");
  // On the last row a field reaching the last column is one narrower.
  Edit({"abcdefgh", "--width", "6", "--at", "75", "25"}, "Enter");
  EXPECT_EQ(Row(25).substr(74), "abcde ");
  Edit({"abcdefgh", "--width", "6", "--at", "74", "25"}, "Enter");
  EXPECT_EQ(Row(25).substr(73), "abcdef ");
}

TEST(DialTones, DigitsStarHashAndCommaPause) {
  Tree tree;
  const auto run = tree.Probe({"dial", "1*x#,2"});
  EXPECT_THAT(Heard(run), ElementsAre("dtmf_1", "dtmf_X", "dtmf_#", "dtmf_2", "result:done"));
  const auto plays = run.Named("PLAY");
  ASSERT_EQ(plays.size(), 4u);
  EXPECT_GE(plays[1].ms - plays[0].ms, 100);
  EXPECT_GE(plays[3].ms - plays[2].ms, 1100);
}

TEST(DialTones, CtrlBackslashPlaysTheField) {
  Tree tree;
  const auto run = tree.Probe({"edit", "1 2#a"}, "Ctrl+\\ Enter\n");
  EXPECT_THAT(Heard(run), ElementsAre("dtmf_1", "dtmf_2", "dtmf_#", "result:13 1 [1 2#a]",
                                      "result:clipboard []", "result:done"));
}

TEST(SpokenKeys, WaitKeySpokenAndReadLineSpoken) {
  Tree tree;
  auto run = tree.Probe({"waitkey", "3"}, "F8 a Enter Up\n");
  const Lines said = Heard(run);
  ASSERT_FALSE(said.empty());
  // F8 says the time and the wait goes on.
  EXPECT_TRUE(said[0].starts_with("img:")) << said[0];
  EXPECT_THAT(Results(run), ElementsAre("97 0", "13 0", "0 72"));
  EXPECT_EQ(std::count(said.begin(), said.end(), "_97"), 1);
  EXPECT_EQ(run.Output(), "a");

  run = tree.Probe({"readline"}, "a b Esc\n");
  EXPECT_THAT(Results(run), ElementsAre("[]"));
  EXPECT_EQ(run.screen.at(0).substr(0, 5), "     ");
  run = tree.Probe({"readline"}, "a b Enter\n");
  EXPECT_THAT(Results(run), ElementsAre("[ab]"));
  EXPECT_EQ(run.screen.at(0).substr(0, 3), "ab ");
}

}  // namespace
}  // namespace conformance
