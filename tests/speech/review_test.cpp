// The screen review mode over a prepared screen, run headless from key scripts: what is said
// (recordings, beeps, clicks, SPEAK, SYNTH) and where the review cursor went (Ctrl+K says it).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "testkit/lineedit_tree.hpp"
#include "speech/review.hpp"

using speechtest::Said;
using testing::ElementsAre;
using testkit::InOrder;

namespace {

// Row 2 has two colour runs and a third after the delimiter "|"; row 4 is black on black from
// column 1; row 5 ends in column 80.
const std::vector<std::string> kScreen = {
    "--put", "1", "1", "Moondrop 1.0", "--attr", "0x1F", "--put", "1", "2", "um dois",
    "--attr", "0x2E", "--put", "8", "2", " tres|quatro", "--attr", "0x0F",
    "--put", "1", "3", "casa xcz ação", "--attr", "0", "--put", "1", "4", "oculto",
    "--attr", "0x0F", "--put", "74", "5", "zz fim!", "--put", "1", "6", std::string(30, '-'),
    "--put", "1", "7", "abc xyz abc", "--put", "1", "25", "ultima linha"};

class Review : public testing::Test {
 protected:
  Review() {
    for (int c = 0; c < 256; ++c) {
      std::string name = "_";  // built in two steps: the one-line form trips GCC 12's -Wrestrict
      name += std::to_string(c);
      tree_.Wave(name, 20);
    }
    tree_.Wave("_DEL", 30);
  }
  // Runs the mode from (column, row); answers what was said without the probe's results.
  std::vector<std::string> Run(int column, int row, const std::string& keys,
                               std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"review"};
    args.insert(args.end(), kScreen.begin(), kScreen.end());
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {"--at", std::to_string(column), std::to_string(row)});
    run_ = tree_.Run(args, keys);
    EXPECT_EQ(run_.exitCode, 0) << run_.stderrText;
    std::vector<std::string> said = Said(run_);
    result_.clear();
    for (const auto& s : said)
      if (s.rfind("result:", 0) == 0) result_ += s.substr(7) + ";";
    said.erase(std::remove_if(said.begin(), said.end(),
                              [](const std::string& s) {
                                // Words of the diphone voice show as other images.
                                return s.rfind("result:", 0) == 0 || s.rfind("image:", 0) == 0;
                              }),
               said.end());
    return said;
  }
  speechtest::SpeechTree tree_;
  testkit::RunResult run_;
  std::string result_;
};

TEST_F(Review, EnteringLeavingAndTheEdges) {
  EXPECT_THAT(Run(5, 3, "Esc"), ElementsAre("beep", "beep", "beep"));
  EXPECT_EQ(result_.substr(0, 11), "cursor 5 3;");
  // Up on row 1 beeps and reads nothing; Down on the last row clicks and beeps.
  EXPECT_THAT(Run(4, 1, "Up Ctrl+k Esc"), ElementsAre("beep", "beep", "speak:1 4", "beep", "beep"));
  EXPECT_TRUE(InOrder(Run(1, 25, "Down Ctrl+k Esc"), {"click", "beep", "speak:25 1"}));
  // Left at column 1 beeps, the correction beeps again; the keys already waiting are dropped.
  EXPECT_THAT(Run(1, 3, "+10 Left Right Right\nCtrl+k Esc"),
              ElementsAre("beep", "beep", "beep", "speak:3 1", "beep", "beep"));
  // Other keys, and region pairs that are not commands: beep, click, beep.
  EXPECT_THAT(Run(1, 3, "F2 z t I x Esc"),
              ElementsAre("beep", "beep", "click", "beep", "beep", "click", "beep", "beep",
                          "click", "beep", "beep", "beep"));
}

TEST_F(Review, MovesAndPositions) {
  EXPECT_TRUE(InOrder(Run(12, 3, "Ctrl+k F6 0 5 1 0 Ctrl+k F6 0 x Ctrl+k Esc"),
                      {"speak:3 12", "speak:Entre linha e coluna", "_48", "_53", "_49", "_48",
                       "speak:5 10", "_48", "beep", "beep", "speak:5 10"}));
  EXPECT_TRUE(InOrder(Run(1, 3, "End Ctrl+k Right Ctrl+k Home Enter Ctrl+k Esc"),
                      {"speak:3 14", "_32", "speak:3 15", "click", "speak:4 1"}));
  EXPECT_TRUE(InOrder(Run(10, 3, "Ctrl+Left Ctrl+k Ctrl+Left Ctrl+Left Ctrl+Right Ctrl+k Esc"),
                      {"click", "speak:3 6", "beep", "beep", "click", "speak:3 6"}));
  EXPECT_TRUE(InOrder(Run(10, 3, "Ctrl+PgUp Ctrl+k Ctrl+PgDn Ctrl+k Esc"),
                      {"speak:Moondrop", "speak:1 1", "speak:ultima", "speak:linha", "speak:25 12"}));
}

TEST_F(Review, Words) {
  // A ruled line reads as three of its characters; the cursor goes past the whole run.
  EXPECT_TRUE(InOrder(Run(1, 6, "F1 Ctrl+k Esc"), {"speak:---", "speak:6 31"}));
  // Consonants alone are spelled; accented letters belong to the word.
  EXPECT_TRUE(InOrder(Run(5, 3, "F1 F1 F1 Esc"),
                      {"_120", "_99", "_122", "speak:ação"}));
  // Reading by words ends a row at column 80 (here "!"); F1 from there clicks and goes to
  // the line end.
  EXPECT_TRUE(InOrder(Run(1, 5, "Space F6 0 5 8 0 F1 Ctrl+k Esc"),
                      {"_122", "_122", "speak:fim", "click", "speak:5 81"}));
}

TEST_F(Review, ColourRunsAndRegions) {
  // Tab goes from run to run, past the delimiter, then to the line end.
  EXPECT_TRUE(InOrder(Run(2, 2, "Tab Ctrl+k Tab Ctrl+k Tab Ctrl+k Tab Ctrl+k Esc"),
                      {"click", "speak:2 9", "click", "speak:2 14", "click", "speak:2 21",
                       "speak:2 20"}));
  EXPECT_TRUE(InOrder(Run(10, 2, "t c i c f c Ctrl+F1 Ctrl+k Esc"),
                      {"speak:tres", "speak:tres", "speak:res", "speak:tres", "speak:2 10"}));
  // Black on black from column 1, and column 81: the runs end at the grid's edge.
  EXPECT_TRUE(InOrder(Run(3, 4, "t c F6 0 4 8 1 Tab Ctrl+k Esc"), {"speak:oculto", "speak:4 7"}));
  // Lines: up to the cursor (nothing at column 1), all, from the cursor.
  EXPECT_THAT(Run(1, 7, "i l Esc"), ElementsAre("beep", "beep", "beep", "beep"));
  EXPECT_TRUE(InOrder(Run(6, 7, "i l t l f l Ctrl+k Esc"),
                      {"speak:abc", "speak:xyz", "speak:abc", "speak:xyz", "speak:abc",
                       "speak:yz", "speak:abc", "speak:7 6"}));
  // The screen regions leave the cursor where the reading ended.
  EXPECT_TRUE(InOrder(Run(3, 25, "I T Ctrl+k Esc"), {"speak:Moondrop", "click", "speak:ultima",
                                                     "speak:25 8"}));
  EXPECT_TRUE(InOrder(Run(1, 24, "F t Ctrl+k Esc"), {"click", "speak:ultima", "speak:linha",
                                                     "speak:25 13"}));
  // Through an outside engine a row at a time.
  const auto said = Run(1, 1, "t t Esc", {"--synth"});
  const auto rows = run_.Named("SYNTH");
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_EQ(testkit::Unquote(rows[0].data), "Moondrop 1.0" + std::string(68, ' '));
  EXPECT_EQ(said.size(), 3u + 25u + 24u);  // beeps, rows, clicks between them
}

TEST_F(Review, SearchingAndCopying) {
  // The hit on the cursor's own row counts only after the cursor; case matters.
  EXPECT_TRUE(InOrder(Run(1, 7, "F5 a b c Enter Ctrl+k Ctrl+F5 F5 A B Backspace Enter Esc"),
                      {"speak:Qual texto", "_97", "click", "speak:7 9", "beep", "beep", "_65",
                       "_66", "_DEL", "_66", "beep", "beep"}));
  // Esc at the prompt searches nothing and forgets the old text.
  EXPECT_THAT(Run(1, 1, "F5 c Enter F5 Esc Ctrl+F5 Esc"),
              ElementsAre("beep", "speak:Qual texto", "_99", "click", "speak:Qual texto", "beep",
                          "beep", "beep", "beep"));
  Run(1, 1, "Ctrl+c Esc");
  const std::string copy = result_.substr(result_.find("clipboard [") + 11);
  // Every row and its line end (row 3 holds two characters of two bytes in UTF-8).
  ASSERT_EQ(copy.size(), 25 * 82 + 2 + 2);
  EXPECT_EQ(copy.substr(0, 82), "Moondrop 1.0" + std::string(68, ' ') + "\r\n");
  EXPECT_EQ(copy.substr(24 * 82 + 2), "ultima linha" + std::string(68, ' ') + "\r\n];");
}

// A grid of any size, each cell's character a function of its position.
ReviewGrid Grid(int32_t rows, uint8_t attr) {
  ReviewGrid grid;
  grid.rows = rows;
  grid.charAt = [](int32_t column, int32_t row) { return static_cast<uint8_t>('A' + (row + column) % 26); };
  grid.attrAt = [attr](int32_t, int32_t) { return attr; };
  return grid;
}

TEST(ReviewGrid, CopyAndReadsStayWithinTheGrid) {
  const ReviewGrid tall = Grid(50, 0x0F);
  const std::string copy = ScreenCopyText(tall);
  ASSERT_EQ(copy.size(), 50u * 82 + 1);
  EXPECT_EQ(copy.substr(49 * 82, 1), std::string(1, 'A' + (50 + 1) % 26));
  EXPECT_EQ(copy.back(), '\0');
  EXPECT_EQ(tall.Char(0, 1), ' ');
  EXPECT_EQ(tall.Char(81, 1), ' ');
  EXPECT_EQ(tall.Attr(1, 51), 0);
  const ReviewGrid dark = Grid(25, 0);
  EXPECT_EQ(RunAround(dark, 3, 1).first, 1);
  EXPECT_EQ(RunAround(dark, 3, 80).last, 80);
  EXPECT_LT(RunAround(dark, 3, 81).last, RunAround(dark, 3, 81).first);
}

}  // namespace
