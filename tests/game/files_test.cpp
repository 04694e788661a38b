#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "game/difficulty.hpp"
#include "game/files.hpp"
#include "game/scores.hpp"
#include "testkit/testkit.hpp"

using namespace teluma;
using namespace teluma::game;

namespace {
const char* kThreeLevels =
    "1000 altura inicial\r\n200 combustivel\r\n30 maximo por rodada\r\n5 velocidade de pouso\r\n"
    "*\r\n1500\r\n150\r\n25\r\n4\r\n*\r\n2000\r\n\t 120\r\n\r\n20\r\n-3\r\n";
}

TEST(DifficultyFile, ReadsEachSection) {
  LevelSettings s;
  ASSERT_TRUE(ParseDifficulty(kThreeLevels, 1, s));
  EXPECT_EQ(s.level, 1);
  EXPECT_EQ(s.initialAltitude, 1000);
  EXPECT_EQ(s.initialFuel, 200);
  EXPECT_EQ(s.maxBurnPerTurn, 30);
  EXPECT_EQ(s.maxLandingSpeed, 5);
  ASSERT_TRUE(ParseDifficulty(kThreeLevels, 2, s));
  EXPECT_EQ(s.initialAltitude, 1500);
  EXPECT_EQ(s.maxLandingSpeed, 4);
  ASSERT_TRUE(ParseDifficulty(kThreeLevels, 3, s));  // blanks, tabs and empty lines skipped
  EXPECT_EQ(s.level, 3);
  EXPECT_EQ(s.initialFuel, 120);
  EXPECT_EQ(s.maxBurnPerTurn, 20);
  EXPECT_EQ(s.maxLandingSpeed, -3);
}

TEST(DifficultyFile, SeparatorsMustBeExact) {
  LevelSettings s;
  EXPECT_TRUE(ParseDifficulty("900\n90\n9\n3\n", 1, s));  // no separator needed for level 1
  EXPECT_EQ(s.initialAltitude, 900);
  // " *" and "* " are not separators: level 2 finds no section
  LevelSettings untouched = s;
  EXPECT_FALSE(ParseDifficulty("1\n2\n3\n4\n *\n5\n6\n7\n8\n* \n", 2, s));
  EXPECT_EQ(s.initialAltitude, untouched.initialAltitude);
  EXPECT_TRUE(ParseDifficulty("1\n2\n3\n4\n *\n*\n5\n6\n7\n8\n", 2, s));
  EXPECT_EQ(s.initialAltitude, 5);
}

TEST(DifficultyFile, MalformedOrShortSectionsFail) {
  LevelSettings s;
  s.initialAltitude = 77;
  EXPECT_FALSE(ParseDifficulty("", 1, s));
  EXPECT_FALSE(ParseDifficulty("1000\n200\n30\n", 1, s));        // three numbers
  EXPECT_FALSE(ParseDifficulty("1000\n200\n30\n*\n5\n", 1, s));  // section ends early
  EXPECT_FALSE(ParseDifficulty("mil\n200\n30\n5\n", 1, s));
  EXPECT_FALSE(ParseDifficulty("1000\n-\n30\n5\n", 1, s));
  EXPECT_FALSE(ParseDifficulty("99999999999\n200\n30\n5\n", 1, s));
  EXPECT_FALSE(ParseDifficulty("1\n2\n3\n4\n*\n5\n6\n7\n8\n", 3, s));
  EXPECT_EQ(s.initialAltitude, 77);
  EXPECT_TRUE(ParseDifficulty("1000abc\n+200\n30;x\n5", 1, s));  // last line without end
  EXPECT_EQ(s.initialAltitude, 1000);
  EXPECT_EQ(s.initialFuel, 200);
  EXPECT_EQ(s.maxLandingSpeed, 5);
}

TEST(TextFiles, CrLfAndCrAloneEndLines) {
  ScoreTable t;
  EXPECT_EQ(ParseScores("Zeca\r4000\rBia\r300\r", t), 0);
  ASSERT_EQ(t.rows.size(), 2u);
  EXPECT_EQ(t.rows[0].name, "Zeca");
  EXPECT_EQ(t.rows[1].score, 300);
  EXPECT_EQ(ParseScores("Ana\r\n10\nBia\r20\r\nCau\n30", t), 0);  // mixed in one file
  ASSERT_EQ(t.rows.size(), 3u);
  EXPECT_EQ(t.rows[0].name, "Cau");
  EXPECT_EQ(t.rows[2].name, "Ana");
  LevelSettings s;
  ASSERT_TRUE(ParseDifficulty("1\r2\r3\r4\r*\r900\r90\r9\r3\r", 2, s));
  EXPECT_EQ(s.initialAltitude, 900);
  EXPECT_EQ(s.maxLandingSpeed, 3);
}

TEST(DifficultyFile, LevelKeys) {
  EXPECT_EQ(LevelFromKey('1'), 1);
  EXPECT_EQ(LevelFromKey('3'), 3);
  EXPECT_EQ(LevelFromKey('0'), 0);
  EXPECT_EQ(LevelFromKey('4'), 0);
  EXPECT_EQ(LevelFromKey('x'), 0);
  EXPECT_EQ(LevelFromKey(13), 0);
}

TEST(ScoreFile, ParsesSortsAndFormats) {
  ScoreTable t;
  EXPECT_EQ(ParseScores("Ana\r\n500\r\nBia\r\n  900 pontos\r\nCau\r\n-5\r\n", t), 0);
  ASSERT_EQ(t.rows.size(), 3u);
  EXPECT_EQ(t.rows[0].name, "Bia");
  EXPECT_EQ(t.rows[0].score, 900);
  EXPECT_EQ(t.rows[2].score, -5);
  EXPECT_EQ(FormatScores(t), "Bia\r\n900\r\nAna\r\n500\r\nCau\r\n-5\r\n");
  EXPECT_EQ(FormatScores(DefaultScores()),
            "Caio Martelo\r\n3130\r\nErnesto Brandi\r\n1725\r\nN\xF4 V\xE1\r\n531\r\n");
  // the written file reads back as the same table
  ScoreTable again;
  EXPECT_EQ(ParseScores(FormatScores(t), again), 0);
  EXPECT_EQ(FormatScores(again), FormatScores(t));
}

TEST(ScoreFile, BrokenEntriesCountAndKeepTheirNames) {
  ScoreTable t;
  EXPECT_EQ(ParseScores("Ana\nmuito\nBia\n300\nCau", t), 2);
  ASSERT_EQ(t.rows.size(), 3u);
  EXPECT_EQ(t.rows[0].name, "Bia");
  EXPECT_EQ(t.rows[1].name, "Ana");
  EXPECT_EQ(t.rows[1].score, 0);
  EXPECT_EQ(ParseScores("", t), 0);
  EXPECT_TRUE(t.rows.empty());
  EXPECT_EQ(ParseScores("Ana\r\n10\r\n\r\n\r\n", t), 0);  // trailing empty lines hold nothing
  EXPECT_EQ(t.rows.size(), 1u);
}

TEST(ScoreFile, MoreThanTenEntriesKeepTheBest) {
  std::string text;
  for (int i = 1; i <= 12; ++i) {
    text += 'P';
    text += std::to_string(i) + "\r\n";
    text += std::to_string(i * 100) + "\r\n";
  }
  ScoreTable t;
  ParseScores(text, t);
  ASSERT_EQ(t.rows.size(), 10u);
  EXPECT_EQ(t.rows.front().score, 1200);
  EXPECT_EQ(t.rows.back().score, 300);
}

TEST(ScoreFile, HugeFileKeepsTheBestTenEarlierOnTies) {
  std::mt19937 random(5);
  std::vector<ScoreEntry> all;
  std::string text;
  for (int i = 0; i < 200000; ++i) {
    std::string name = "P";
    name += std::to_string(i);
    all.push_back({name, static_cast<int>(random() % 5000)});
    text += name;  // piece by piece: the operator+ chain trips a false warning of GCC 12
    text += '\n';
    text += std::to_string(all.back().score);
    text += '\n';
    if (i % 1000 == 0) text += "Ruim\nxx\n";
  }
  ScoreTable t;
  EXPECT_EQ(ParseScores(text, t), 200);
  std::stable_sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.score > b.score; });
  ASSERT_EQ(t.rows.size(), 10u);
  for (size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(t.rows[i].score, all[i].score) << i;
    EXPECT_TRUE(std::any_of(all.begin(), all.begin() + 10,
                            [&](auto& e) { return e.name == t.rows[i].name; }))
        << t.rows[i].name;
  }
}

TEST(ScoreFile, ReadingTellsMissingFromUnreadableAndSavingClearsAStaleTemporary) {
  testkit::TempDir dir;
  std::string text = "x";
  EXPECT_EQ(ReadWholeFile(dir.path() + "/nada.ini", text), FileRead::kMissing);
  EXPECT_EQ(ReadWholeFile(dir.path() + "/nada/x.ini", text), FileRead::kMissing);
  EXPECT_EQ(ReadWholeFile(dir.path(), text), FileRead::kUnreadable);  // a folder is there
  ASSERT_EQ(mkfifo((dir.path() + "/fila").c_str(), 0600), 0);
  EXPECT_EQ(ReadWholeFile(dir.path() + "/fila", text), FileRead::kUnreadable);  // no wait for a writer
  EXPECT_EQ(text, "x");
  // An interrupted save left a link to another file under the temporary's name.
  std::string target = dir.Write("alvo.txt", "intocado");
  std::string table = dir.path() + "/luplacar.ini";
  ASSERT_EQ(symlink(target.c_str(), (table + ".novo").c_str()), 0);
  ASSERT_TRUE(ReplaceFile(table, "Ana\r\n500\r\n"));
  EXPECT_EQ(testkit::ReadFile(target), "intocado");
  EXPECT_FALSE(std::filesystem::is_symlink(table + ".novo"));
  EXPECT_EQ(ReadWholeFile(table, text), FileRead::kRead);
  EXPECT_EQ(text, "Ana\r\n500\r\n");
}

TEST(ScoreTable, ThresholdAndFullTable) {
  ScoreTable t = DefaultScores();
  EXPECT_EQ(PlaceScore(t, 200), -1);
  EXPECT_EQ(PlaceScore(t, 201), 3);
  EXPECT_EQ(t.rows.size(), 4u);

  ScoreTable full;
  for (int i = 0; i < 10; ++i) full.rows.push_back({"P", 1000 - i * 10 - (i == 9 ? 10 : 0)});
  ASSERT_EQ(full.rows[9].score, 900);
  EXPECT_EQ(PlaceScore(full, 900), -1);
  EXPECT_EQ(PlaceScore(full, 901), 9);
  EXPECT_EQ(full.rows.size(), 10u);
  EXPECT_EQ(full.rows[9].score, 901);
}

TEST(ScoreTable, EqualScoresStayBelowTheOlderEntry) {
  ScoreTable t{{{"Velho", 500}, {"Outro", 300}}};
  int row = PlaceScore(t, 500);
  t.rows[row].name = "Novo";
  SortScores(t);
  EXPECT_EQ(t.rows[0].name, "Velho");
  EXPECT_EQ(t.rows[1].name, "Novo");
  EXPECT_EQ(t.rows[2].name, "Outro");
}

TEST(ScoreTable, ListTextCutsLongNames) {
  EXPECT_EQ(ScoreItemText({"Caio Martelo", 3130}),
            "Caio Martelo" + std::string(28, ' ') + " 3130");
  std::string longName(45, 'x');
  EXPECT_EQ(ScoreItemText({longName, 999}), std::string(40, 'x') + " 999");
}
