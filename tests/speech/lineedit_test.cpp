// The spoken line editor and key input, run headless from key scripts: what is said (PLAY of
// recordings, the beep and click images, SPEAK), what comes back and what stays on screen.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "testkit/lineedit_tree.hpp"

using speechtest::Said;
using speechtest::SpeechTree;
using testing::Contains;
using testing::ElementsAre;
using testkit::InOrder;
using testing::IsSupersetOf;
using testing::Not;

namespace {

class LineEdit : public testing::Test {
 protected:
  bool ConsoleReportsModifiers() {
    const auto said = Said(tree_.Run({"modifiers"}));
    return !said.empty() && said.front() == "result:yes";
  }

  LineEdit() {
    for (int c = 0; c < 256; ++c) {
      std::string name = "_";
      name += std::to_string(c);
      tree_.Wave(name, 20);
    }
    for (const char* p : {"_DEL", "_APFCPO", "_APICPO", "_CPOAPA", "_FALACI", "_FALDLG",
                          "_VELOC", "_FON97", "_hora", "_horas", "_minuto", "_minutos"})
      tree_.Wave(p, 30);
    for (const char* t : {"dtmf_1", "dtmf_2", "dtmf_X", "dtmf_#"}) tree_.Wave(t, 40);
  }

  // Runs the editor; answers everything said, and keeps the final result line.
  std::vector<std::string> Edit(std::vector<std::string> args, const std::string& keys) {
    args.insert(args.begin(), "edit");
    run_ = tree_.Run(args, keys);
    EXPECT_EQ(run_.exitCode, 0) << run_.stderrText;
    std::vector<std::string> said = Said(run_);
    result_.clear();
    clipboard_.clear();
    for (const auto& s : said) {
      if (s.rfind("result:clipboard ", 0) == 0) clipboard_ = s.substr(17);
      else if (s.rfind("result:", 0) == 0) result_ = s.substr(7);
    }
    said.erase(std::remove_if(said.begin(), said.end(),
                              [](const std::string& s) { return s.rfind("result:", 0) == 0; }),
               said.end());
    return said;
  }

  SpeechTree tree_;
  testkit::RunResult run_;
  std::string result_;     // "<last key> <cursor position> [<text>]"
  std::string clipboard_;  // "[<clipboard text>]"
};

TEST_F(LineEdit, TypingDeletingAndUndo) {
  // Each typed character is echoed; Backspace says "_DEL" and then what it removed.
  EXPECT_THAT(Edit({}, "a b Backspace Enter"), ElementsAre("_97", "_98", "_DEL", "_98"));
  EXPECT_EQ(result_, "13 2 [a]");

  // Ctrl+U brings back the starting text with three beeps.
  {
    const auto said = Edit({"abc"}, "End Backspace Ctrl+u Enter");
    EXPECT_EQ(std::count(said.begin(), said.end(), "beep"), 3);
    EXPECT_EQ(result_, "13 1 [abc]");
  }

  // Backspace at the start beeps and changes nothing; so does typing into a full field.
  EXPECT_THAT(Edit({}, "Backspace Enter"), ElementsAre("beep"));
  EXPECT_THAT(Edit({"--max", "2"}, "a b c Enter"), ElementsAre("_97", "_98", "beep"));
  EXPECT_EQ(result_, "13 3 [ab]");

  // Delete removes the character under the cursor.
  EXPECT_THAT(Edit({"abc"}, "Delete Enter"), ElementsAre("_DEL", "_97"));
  EXPECT_EQ(result_, "13 1 [bc]");
}

TEST_F(LineEdit, FirstKeyDecidesAboutAPrefilledField) {
  // A movement first keeps the text ...
  EXPECT_THAT(Edit({"abc"}, "Right Enter"), ElementsAre("_97"));
  EXPECT_EQ(result_, "13 2 [abc]");
  // ... a printable character first replaces it, after two clicks.
  EXPECT_THAT(Edit({"abc"}, "x Enter"), ElementsAre("click", "click", "_120"));
  EXPECT_EQ(result_, "13 2 [x]");
  // Only the first key does so.
  EXPECT_THAT(Edit({"abc"}, "End x Enter"), ElementsAre("_120"));
  EXPECT_EQ(result_, "13 5 [abcx]");
}

TEST_F(LineEdit, MovesAndTheirLimits) {
  EXPECT_THAT(Edit({"ab"}, "Left Enter"), ElementsAre("beep"));
  EXPECT_THAT(Edit({"ab"}, "End Enter"), ElementsAre());
  EXPECT_EQ(result_, "13 3 [ab]");
  EXPECT_THAT(Edit({"ab"}, "End Left Home Enter"), ElementsAre("_98"));
  EXPECT_EQ(result_, "13 1 [ab]");
  EXPECT_THAT(Edit({"--max", "2", "ab"}, "Right Right Right Enter"),
              ElementsAre("_97", "_98", "beep"));
  // Ctrl+K says the position.
  EXPECT_THAT(Edit({"abc"}, "Right Right Ctrl+k Enter"), Contains("speak:3"));
}

TEST_F(LineEdit, WordMovesAndWordDelete) {
  EXPECT_THAT(Edit({"um 42 tres"}, "Ctrl+Right Ctrl+Right Enter"), ElementsAre("click", "click"));
  EXPECT_EQ(result_, "13 7 [um 42 tres]");
  // Past the last word the cursor stops after it, with a beep.
  EXPECT_THAT(Edit({"um 42 tres"}, "End Ctrl+Left Ctrl+Left Ctrl+Right Ctrl+Right Enter"),
              ElementsAre("click", "click", "click", "beep"));
  EXPECT_EQ(result_, "13 11 [um 42 tres]");
  // Punctuation is a word of its own, one character long.
  EXPECT_THAT(Edit({"x, 12"}, "Ctrl+Right Ctrl+Right Ctrl+Right Ctrl+Left Ctrl+Left Enter"),
              ElementsAre("click", "click", "beep", "click", "click"));
  EXPECT_EQ(result_, "13 2 [x, 12]");
  EXPECT_THAT(Edit({"um"}, "Ctrl+Left Enter"), ElementsAre("beep"));
  EXPECT_EQ(result_, "13 1 [um]");

  // Ctrl+Backspace at the end removes the last word: "_DEL", then each character.
  const auto said = Edit({"abc def"}, "End Ctrl+Backspace Enter");
  EXPECT_THAT(said, IsSupersetOf({"_DEL", "_100", "_101", "_102"}));
  EXPECT_EQ(result_, "13 5 [abc]");
  EXPECT_EQ(std::count(said.begin(), said.end(), "_DEL"), 1);
}

TEST_F(LineEdit, FieldErasingCommands) {
  EXPECT_THAT(Edit({"abcdef"}, "Right Right Ctrl+d Enter"), IsSupersetOf({"_APFCPO"}));
  EXPECT_EQ(result_, "13 3 [ab]");
  EXPECT_THAT(Edit({"abcdef"}, "Right Right Ctrl+s Enter"), IsSupersetOf({"_APICPO"}));
  EXPECT_EQ(result_, "13 1 [cdef]");
  EXPECT_THAT(Edit({"abcdef"}, "Right Ctrl+y Enter"), IsSupersetOf({"_CPOAPA"}));
  EXPECT_EQ(result_, "13 1 []");

  // A field that may not be edited ignores typing and erasing, and still moves.
  EXPECT_THAT(Edit({"--readonly", "abc"}, "Right x Ctrl+y Ctrl+d Backspace Enter"),
              Not(Contains("_CPOAPA")));
  EXPECT_EQ(result_, "13 1 [abc]");
}

TEST_F(LineEdit, ReadingAloud) {
  // F1 says the next word: consonants alone are spelled, a word is read, a number too.
  const auto said = Edit({"xcz casa -12 ;"}, "F1 F1 F1 F1 F1 Enter");
  EXPECT_TRUE(InOrder(said, {"_120", "_99", "_122", "speak:casa", "speak:-12", "_59", "beep"}));
  EXPECT_EQ(result_, "13 15 [xcz casa -12 ;]");
  // "y" is not among the consonants that make a word spelled.
  EXPECT_THAT(Edit({"xyz"}, "F1 Enter"), Contains("speak:xyz"));
  EXPECT_THAT(Edit({"ola"}, "Ctrl+F1 Enter"), Contains(testing::StartsWith("speak:ola")));
}

TEST_F(LineEdit, EchoAndFunctionKeys) {
  EXPECT_THAT(Edit({}, "F4 a F4 b Enter"), ElementsAre("_FALDLG", "_FALACI", "_98"));
  EXPECT_EQ(result_, "13 3 [ab]");
  // Keys outside the table end editing with their code; Alt+F1 gives 68h, Ctrl+F9 66h.
  Edit({"abc"}, "Right F2");
  EXPECT_EQ(result_, "60 2 [abc]");
  Edit({}, "Ctrl+F9");
  EXPECT_EQ(result_.substr(0, 4), "102 ");
  Edit({}, "Alt+1 Tab");
  EXPECT_EQ(result_.substr(0, 2), "9 ");
  Edit({}, "Esc");
  EXPECT_EQ(result_.substr(0, 3), "27 ");
  // The speed prompt: Esc leaves the speed as it was.
  EXPECT_THAT(Edit({}, "Ctrl+F4 Esc Enter"), ElementsAre("_VELOC", "_27"));
  // A speed key restarts speech; this tree has no voice, so the restart reports it and the
  // program ends with the start-up error.
  run_ = tree_.Run({"edit"}, "Ctrl+F4 2 Enter");
  EXPECT_EQ(run_.exitCode, 1);
  EXPECT_THAT(run_.Output(), testing::HasSubstr("Banco de dados de voz"));
  // F12 with no word at or just before the cursor, or only punctuation there.
  EXPECT_THAT(Edit({"a  ..."}, "Right Right F12 Right Right F12 Enter"),
              ElementsAre("_97", "_32", "beep", "_32", "_46", "beep"));
  // F12 opens the word under the cursor without the punctuation around it.
  Edit({"ver \"notas.txt\"."}, "End Left Left Left F12 Enter");
  ASSERT_EQ(run_.Named("OPEN").size(), 1u);
  EXPECT_EQ(run_.Named("OPEN")[0].data, "\"true\" \"notas.txt\"");
  // F8 says the time from recordings.
  EXPECT_THAT(Edit({}, "F8 Enter"), Contains(testing::AnyOf("_hora", "_horas")));
  // Ctrl+F8 says the date: weekday, day, "_de", month, "_de", year.
  {
    const auto date = Edit({}, "Ctrl+F8 Enter");
    EXPECT_EQ(std::count(date.begin(), date.end(), "_de"), 2);
  }
}

TEST_F(LineEdit, TouchTones) {
  auto said = Said(tree_.Run({"dial", "1*x#,2"}));
  EXPECT_THAT(said, ElementsAre("dtmf_1", "dtmf_X", "dtmf_#", "dtmf_2", "result:done"));
  // Ctrl+\ plays the tones of the field.
  said = Edit({"12"}, "Ctrl+\\ Enter");
  ASSERT_FALSE(run_.Named("KEY").empty());
  EXPECT_EQ(run_.Named("KEY")[0].data, "28");
  EXPECT_THAT(said, ElementsAre("dtmf_1", "dtmf_2"));
}

TEST_F(LineEdit, CopyAndPasteWithoutSelection) {
  Edit({"abcd  "}, "Ctrl+Insert Enter");
  EXPECT_EQ(clipboard_, "[abcd\r\n]");
  // Paste up to the first line end; as the first key it replaces the field.
  EXPECT_THAT(Edit({"--clip", "xy\nzz", "abc"}, "Ctrl+v Enter"), ElementsAre("click", "click"));
  EXPECT_EQ(result_, "13 1 [xy]");
  Edit({"--clip", "XY", "abcd"}, "Right Ctrl+v Enter");
  EXPECT_EQ(result_, "13 2 [aXYbcd]");
  // The pasted text is cut to the field.
  Edit({"--max", "5", "--clip", "123456789", "abcd"}, "Right Ctrl+v Enter");
  EXPECT_EQ(result_, "13 2 [a1234]");
}

TEST_F(LineEdit, SelectionDeleteCopyAndPaste) {
  ASSERT_TRUE(ConsoleReportsModifiers());
  // Shift+Right twice from the start, then Delete, removes the two selected characters.
  EXPECT_THAT(Edit({"abcd"}, "Shift+Right Shift+Right Delete Enter"),
              ElementsAre("_97", "_98", "_DEL", "_97", "_98"));
  EXPECT_EQ(result_, "13 1 [cd]");
  // The selection is shown on a grey background while editing.
  Edit({"abcd"}, "Shift+Right Shift+Right");
  ASSERT_FALSE(run_.attrs.empty());
  EXPECT_EQ(run_.attrs[0][0], '8');
  EXPECT_EQ(run_.attrs[0][2], '8');
  EXPECT_NE(run_.attrs[0][4], '8');
  // Delete after the selection is gone removes one character again.
  Edit({"abcd"}, "Shift+Right Delete Delete Enter");
  EXPECT_EQ(result_, "13 1 [cd]");

  // Copy takes the selection.
  Edit({"abcd"}, "Right Shift+Right Shift+Right Ctrl+c Enter");
  EXPECT_EQ(clipboard_, "[bc]");
  // Shift+Insert pastes.
  Edit({"--clip", "XY", "abcd"}, "Right Shift+Insert Enter");
  EXPECT_EQ(result_, "13 2 [aXYbcd]");
  // Pasting over a selection replaces it.
  Edit({"--clip", "Z", "abcd"}, "Right Shift+Right Shift+Right Ctrl+v Enter");
  EXPECT_EQ(result_, "13 2 [aZd]");
}

TEST_F(LineEdit, AltKeys) {
  ASSERT_TRUE(ConsoleReportsModifiers());
  // Alt+Right says a letter by its own recording.
  EXPECT_THAT(Edit({"a1"}, "Alt+Right Alt+Right Enter"), ElementsAre("_FON97", "_49"));
  // Alt+F1 ends editing with 68h (it reaches the program only without Ctrl+Break checking).
  Edit({"--nobreak"}, "Alt+F1");
  EXPECT_EQ(result_.substr(0, 4), "104 ");
  // Alt+Ctrl+F9 reviews the screen (the field is on it) and editing goes on afterwards; the
  // search text is kept for the next review.
  EXPECT_THAT(Edit({"abc"}, "Alt+Ctrl+F9 Right Ctrl+k F5 c Enter Esc Alt+Ctrl+F9 Ctrl+F5 "
                            "Ctrl+k Esc End x Enter"),
              IsSupersetOf({"_97", "speak:1 2", "speak:1 3", "_120"}));
  EXPECT_EQ(result_, "13 5 [abcx]");
}

TEST_F(LineEdit, ScrollingFieldAndScreen) {
  // A narrow field scrolls with the cursor; at the end the start of the field is shown again.
  Edit({"--at", "5", "3", "--width", "4", "--max", "10"}, "a b c d e f Enter");
  EXPECT_EQ(result_, "13 7 [abcdef]");
  ASSERT_GE(run_.screen.size(), 3u);
  EXPECT_EQ(run_.screen[2].substr(0, 10), "    abcd  ");
}

TEST_F(LineEdit, ReadLineAndEsc) {
  auto run = tree_.Run({"readline", "--at", "3", "2"}, "a b Enter");
  EXPECT_THAT(Said(run), Contains("result:[ab]"));
  run = tree_.Run({"readline", "--at", "3", "2"}, "a b Esc");
  EXPECT_THAT(Said(run), Contains("result:[]"));
  ASSERT_GE(run.screen.size(), 2u);
  EXPECT_EQ(run.screen[1].find_first_not_of(' '), std::string::npos);
  EXPECT_THAT(run.Output(), testing::EndsWith("\r\n"));
}

TEST_F(LineEdit, WaitKeySpoken) {
  // F8 says the time and the wait goes on; a character is said and written.
  auto run = tree_.Run({"waitkey", "1"}, "F8 a");
  auto said = Said(run);
  EXPECT_THAT(said, IsSupersetOf({"_97", "result:97 0"}));
  EXPECT_TRUE(std::find(said.begin(), said.end(), "_hora") < std::find(said.begin(), said.end(), "_97") ||
              std::find(said.begin(), said.end(), "_horas") < std::find(said.begin(), said.end(), "_97"));
  EXPECT_THAT(run.Output(), testing::HasSubstr("a"));
  // Extended and control keys are not said.
  said = Said(tree_.Run({"waitkey", "2"}, "Up Enter"));
  EXPECT_THAT(said, ElementsAre("result:0 72", "result:13 0", "result:done"));
  // Queued keys are dropped.
  said = Said(tree_.Run({"flush"}, "+10 a b\nc"));
  EXPECT_THAT(said, ElementsAre("_99", "result:99 0", "result:done"));
}

}  // namespace
