#include <gtest/gtest.h>

#include <cmath>

#include "platform/cp1252.hpp"
#include "testkit/testkit.hpp"
#include "tts/uttsProsodia.hpp"

using namespace teluma;
using namespace teluma::tts;

using platform::Cp1252ToUtf8;
using platform::Utf8ToCp1252;

namespace {

struct Messages {
  std::vector<std::string> shown;
  Messages() {
    SetProsodyMessageHandler([this](const std::string& m) { shown.push_back(Cp1252ToUtf8(m)); });
  }
  ~Messages() { SetProsodyMessageHandler([](const std::string&) {}); }
};

const char* kProsody =
    "; teste\n[PROSÓDIA]\nHERTZ=230\nTABHERTZ=0, 50,60,70,80,100,120,130,140,150\n"
    "|xx|!!=?31\n||=425\n[DURAÇÃO]\na = 80\nk=50\n*x=1\n__=300\n[CHAVES]\nmundo = nm\n";

bool Load(const testkit::TempDir& dir, const std::string& utf8) {
  return LoadProsody(dir.Write("p.pro", Utf8ToCp1252(utf8)));
}

}  // namespace

TEST(ProsodyFile, SectionsValuesAndMessages) {
  testkit::TempDir dir;
  Messages m;
  ASSERT_TRUE(Load(dir, kProsody));
  EXPECT_TRUE(m.shown.empty());
  EXPECT_EQ(BaseHertz(), 230);
  EXPECT_EQ(PitchTable()[0], 0);
  EXPECT_EQ(PitchTable()[9], 150);
  EXPECT_EQ(PhonemeDuration("a"), 80);
  EXPECT_EQ(PhonemeDuration("__"), 300);
  EXPECT_EQ(PhonemeDuration("*x"), 100);   // "*" lines are comments
  EXPECT_EQ(PhonemeDuration("zz"), 100);
  EXPECT_EQ(WordKeyCount(), 1u);
  EXPECT_EQ(PatternRuleCount(), 2u);

  EXPECT_FALSE(LoadProsody(dir.path() + "/none.pro"));
  EXPECT_FALSE(Load(dir, "[CHAVES]\n[PROSÓDIA]\n"));
  EXPECT_FALSE(Load(dir, "[DURAÇÃO]\n[PROSÓDIA]\n"));
  EXPECT_FALSE(Load(dir, "[DURAÇÃO]\n[CHAVES]\n"));
  EXPECT_FALSE(Load(dir, "[DURAÇÃO]\nsem igual\n[CHAVES]\n[PROSÓDIA]\n"));
  EXPECT_FALSE(Load(dir, "[DURAÇÃO]\n[CHAVES]\nsem igual\n[PROSÓDIA]\n"));
  EXPECT_FALSE(Load(dir, "[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\nregra sem padrão\n"));
  std::vector<std::string> want = {
      "Configuração da prosódia não foi achada", "Duração dos difones errada ou ausente",
      "Prosódia: palavras chaves ausentes", "Prosódia: especificações ausentes",
      "Configuração da prosódia: fonema errado: sem igual",
      "Configuração da prosódia: chave errada: sem igual",
      "Configuração da prosódia: chave errada: REGRA SEM PADRÃO"};
  EXPECT_EQ(m.shown, want);

  // A bad duration keeps 100; a short TABHERTZ leaves the other levels flat.
  m.shown.clear();
  ASSERT_TRUE(Load(dir, "[DURAÇÃO]\na=x\n[CHAVES]\n[PROSÓDIA]\nTABHERTZ=10,20,x\nHERTZ=abc\n"));
  EXPECT_EQ(m.shown.size(), 1u);
  EXPECT_EQ(PhonemeDuration("a"), 100);
  EXPECT_EQ(PitchTable()[1], 20);
  EXPECT_EQ(PitchTable()[2], 100);
  EXPECT_EQ(PitchTable()[9], 100);
  EXPECT_EQ(BaseHertz(), 230);
}

TEST(ProsodyFile, TableCapacitiesHold) {
  testkit::TempDir dir;
  Messages m;
  std::string text = "[DURAÇÃO]\n";
  for (int i = 0; i < 150; ++i) text += std::string("d").append(std::to_string(i)).append("=1\n");
  text += "[CHAVES]\n";
  for (int i = 0; i < 1200; ++i) text += std::string("w").append(std::to_string(i)).append("=K\n");
  text += "[PROSÓDIA]\n";
  for (int i = 0; i < 400; ++i) text += "|XX|=1\n";
  ASSERT_TRUE(Load(dir, text));
  EXPECT_EQ(WordKeyCount(), kMaxWordKeys);
  EXPECT_EQ(PatternRuleCount(), kMaxPatternRules);
}

TEST(Tokens, KeysPunctuationAndPatterns) {
  testkit::TempDir dir;
  ASSERT_TRUE(Load(dir, kProsody));
  std::vector<std::string> items = TokenizeWithKeys(Utf8ToCp1252("  Olá, mundo... e fim!"));
  std::vector<std::string> want = {"[--]", Utf8ToCp1252("[XX]Olá"), "[,,],", "[NM]mundo",
                                   "[.-].", "[--]", "[XX]e", "[XX]fim", "[!!]!", "[--]"};
  EXPECT_EQ(items, want);
  std::vector<std::string> patterns = AssignPitchPatterns(items, true);
  ASSERT_EQ(patterns.size(), items.size());
  EXPECT_EQ(patterns[0], "425|");
  EXPECT_EQ(patterns[3], "425|mundo");
  EXPECT_EQ(patterns[7], "531|fim");   // "?" takes the last digit of the pattern before
  EXPECT_EQ(patterns[8], "425|!");
  EXPECT_EQ(AssignPitchPatterns(items, false)[7], "555|fim");
  EXPECT_EQ(TokenizeWithKeys(""), std::vector<std::string>{"[--]"});
}

TEST(PhoLines, DurationsPitchAndBridges) {
  testkit::TempDir dir;
  ASSERT_TRUE(Load(dir, kProsody));
  ASSERT_TRUE(LoadDiphones(dir.Write(
      "p.dfn", "; lista\n! x\n* y\n\n  _ k  extra\nk\ta\nA-Y\ns--a\na _\n_\t_\n")));
  EXPECT_EQ(DiphoneCount(), 6u);
  EXPECT_TRUE(HasDiphone("K-A"));
  EXPECT_TRUE(HasDiphone("s-a"));
  EXPECT_FALSE(HasDiphone("a-s"));
  ResetPhoState();
  std::vector<std::string> got =
      BuildPhoLines({";555|casa", "k", ">a", "s", "a", "", "_ 250", "__"}, 1.0, 1.0);
  std::vector<std::string> want = {";casa", "k 50 50 230", "a 116 80 230", "y 50", "s 145",
                                   "a 116 50 230", "", "_ 250", "_ 300 50 230"};
  EXPECT_EQ(got, want);

  // Long tokens are quicker before their stress; factors scale durations and pitch.
  ASSERT_TRUE(LoadDiphones(dir.Write("q.dfn", "_ a\na a\na _\na k\n")));
  ResetPhoState();
  got = BuildPhoLines({";555|abcdefghijklm", "a", ">a", "", ";555|abcdefghi", "a", "", "_"},
                      2.0, 0.5);
  want = {";abcdefghijklm", "a 128 50 115", "a 232 80 115", "", ";abcdefghi", "a 144 50 115",
          "", "_ 200"};
  EXPECT_EQ(got, want);

  // A stress mark with no phoneme left keeps its effect on the next phoneme.
  ResetPhoState();
  got = BuildPhoLines({";555|x", ">", "a", "\xA8" "k"}, 1.0, 1.0);
  want = {";x", "a 116 80 230", "k 50 50 230"};
  EXPECT_EQ(got, want);
  EXPECT_FALSE(LoadDiphones(dir.path() + "/none.dfn"));
}

TEST(PhoLines, BridgeAfterFinalR) {
  testkit::TempDir dir;
  ASSERT_TRUE(Load(dir, kProsody));
  ASSERT_TRUE(LoadDiphones(dir.Write("p.dfn", "_ r2\nr2 _\nr2 y\n")));
  ResetPhoState();
  std::vector<std::string> got = BuildPhoLines({"r2", "k", "x"}, 1.0, 1.0);
  std::vector<std::string> want = {"r2 100 50 230", "_ 50", "k 50", "_ 50", "x 100"};
  EXPECT_EQ(got, want);
}

TEST(PhoLines, LongPausesAndExtremeFactors) {
  testkit::TempDir dir;
  ASSERT_TRUE(Load(dir, kProsody));
  ASSERT_TRUE(LoadDiphones(dir.Write("p.dfn", "_ _\n_ a\na _\n")));
  // A pause beyond the range of int keeps its length.
  ResetPhoState();
  std::vector<std::string> got = BuildPhoLines({"_ 3000000000", "_ 123456789012"}, 1.0, 1.0);
  std::vector<std::string> want = {"_ 3000000000 50 230", "_ 123456789012"};
  EXPECT_EQ(got, want);
  // Factors so large that the products leave the range of long long saturate.
  ResetPhoState();
  got = BuildPhoLines({";555|a", ">a"}, 1e300, 1e300);
  want = {";a", "a 90000000000000000 80 90000000000000000"};
  EXPECT_EQ(got, want);
  // An infinite factor (strtod reads "inf") over a pause of zero counts as zero.
  ResetPhoState();
  got = BuildPhoLines({"_ 0", "_ 2"}, HUGE_VAL, 1.0);
  want = {"_ 0 50 230", "_ 90000000000000000"};
  EXPECT_EQ(got, want);
}
