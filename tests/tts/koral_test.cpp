// Scenario tests of koral with the shipped rule files of the data tree.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "game/messages.hpp"
#include "platform/cp1252.hpp"
#include "testkit/lexicon.hpp"
#include "testkit/testkit.hpp"
#include "tts/uttsInic.hpp"
#include "tts/uttsPortug.hpp"
#include "tts/uttsPreproc.hpp"
#include "tts/uttsProsodia.hpp"

namespace {

std::string Koral() { return testkit::BuildDir() + "/src/apps/koral"; }

testkit::RunResult RunKoral(std::vector<std::string> args, const std::string& stdinText = "") {
  testkit::RunOptions o;
  o.args = std::move(args);
  o.stdinText = stdinText;
  return testkit::RunHeadless(Koral(), o);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

struct WordPhonemes {
  std::string word;
  std::vector<std::string> phonemes;
};

// The words of a phoneme list with the phoneme lines that follow their comment lines.
std::vector<WordPhonemes> Words(const std::string& output) {
  std::vector<WordPhonemes> words;
  auto lines = Lines(output);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    if (l.size() < 6 || l[0] != ';' || l[4] != '|') continue;
    unsigned char first = l[5];
    if (first == ' ' || std::string("!(),.:;?").find(first) != std::string::npos) continue;
    WordPhonemes w{l.substr(5), {}};
    for (++i; i < lines.size() && !lines[i].empty(); ++i) w.phonemes.push_back(lines[i]);
    words.push_back(w);
  }
  return words;
}

std::vector<std::string> Bare(const std::vector<std::string>& phonemes, int& stressed) {
  std::vector<std::string> out;
  stressed = -1;
  for (const auto& p : phonemes) {
    if (!p.empty() && p[0] == '>') stressed = static_cast<int>(out.size());
    out.push_back(p[0] == '>' ? p.substr(1) : p);
  }
  return out;
}

}  // namespace

TEST(Koral, StagesPrintExactlyTheirOutput) {
  auto r = RunKoral({"--normalize", "O", "Dr.", "Silva", "tem", "21", "anos."});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.stdoutText, "O doutor Silva tem vinte e um  anos.\n");
  r = RunKoral({"--normalize"}, "  !  \n");
  EXPECT_EQ(r.stdoutText, "exclamação\n");

  r = RunKoral({"--tokens", "Você", "vem?"});
  auto tokens = Lines(r.stdoutText);
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[0].substr(3), "|");
  EXPECT_EQ(tokens[1].substr(3), "|Você");
  EXPECT_EQ(tokens[3].substr(3), "|?");
  EXPECT_LT(tokens[1][1], tokens[2][2]) << "a question rises at its last word";

  r = RunKoral({"--phonemes", "por", "água"});
  EXPECT_EQ(r.exitCode, 0);
  auto words = Words(r.stdoutText);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0].phonemes, (std::vector<std::string>{"p", "o", "r"}));
  EXPECT_EQ(words[1].phonemes, (std::vector<std::string>{">a", "g", "w", "@"}));
  auto lines = Lines(r.stdoutText);
  EXPECT_EQ(lines.front().substr(4), "|");
  EXPECT_EQ(lines.back(), "__");

  r = RunKoral({"--pho", "casa"});
  lines = Lines(r.stdoutText);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], ";");
  EXPECT_EQ(lines[3], ";casa");
  EXPECT_EQ(lines[4].substr(0, 2), "k ");
  auto slow = Lines(RunKoral({"--pho", "--speed", "2", "--pitch", "0.5", "casa"}).stdoutText);
  ASSERT_EQ(slow.size(), lines.size());
  int fast = std::stoi(lines[4].substr(2)), slowed = std::stoi(slow[4].substr(2));
  EXPECT_NEAR(slowed, 2 * fast, 1);
}

TEST(Koral, RuleFolderOptionAndFailures) {
  testkit::TempDir dir;
  dir.Write("portug.nrl", "(A)=a\n(B)=b\n");
  dir.Write("portug.exc", "");
  dir.Write("portug.abr", "");
  dir.Write("portug.pro", platform::Utf8ToCp1252("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\n"));
  auto r = RunKoral({"--rules", dir.path(), "--phonemes", "aba", "c"});
  EXPECT_EQ(r.exitCode, 0);
  auto words = Words(r.stdoutText);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0].phonemes, (std::vector<std::string>{">a", "b", "a"}));
  EXPECT_TRUE(words[1].phonemes.empty());

  // The prosody file lacks its sections in the file's own code page: the loader says so.
  dir.Write("portug.pro", "[CHAVES]\n");
  r = RunKoral({"--rules", dir.path(), "--tokens", "aba"});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.stderrText.find("Duração dos difones errada ou ausente"), std::string::npos);
  EXPECT_NE(r.stderrText.find("Erro no arquivo de prosódia"), std::string::npos);
  EXPECT_TRUE(r.stdoutText.empty());

  r = RunKoral({"--rules", dir.path() + "/nada", "--phonemes", "aba"});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.stderrText.find("Erro na base de dados de português"), std::string::npos);
  r = RunKoral({"--rules", dir.path() + "/nada", "-w", dir.path() + "/x.wav", "aba"});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.stderrText.find("Erro na base de dados de português"), std::string::npos);
  EXPECT_EQ(RunKoral({"--version"}).stdoutText.rfind("koral ", 0), 0u);
}

TEST(Koral, LexiconPhonemeErrorAndStress) {
  std::map<std::string, std::vector<std::string>> expected;
  std::vector<std::string> order;
  for (const auto& line : testkit::ReadLexiconLines(testkit::LexiconPath("tuning_lexicon"))) {
    if (expected.count(line.word)) continue;
    expected[line.word] = line.phonemes;
    order.push_back(line.word);
  }
  ASSERT_GE(order.size(), 300u);
  std::string text;
  for (const auto& w : order) text += w + " , ";
  auto words = Words(RunKoral({"--phonemes", text}).stdoutText);
  ASSERT_EQ(words.size(), order.size());
  size_t errors = 0, total = 0, stressOk = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    ASSERT_EQ(words[i].word, order[i]);
    int se, sg;
    auto e = Bare(expected[order[i]], se), g = Bare(words[i].phonemes, sg);
    size_t d = testkit::EditDistance(e, g);
    errors += d;
    total += e.size();
    bool stressRight = (se < 0 && sg < 0) || (se >= 0 && sg >= 0 && (d == 0 ? se == sg
                                                                              : e[se] == g[sg]));
    stressOk += stressRight;
    EXPECT_TRUE(d == 0 && stressRight) << order[i] << ": " << testing::PrintToString(g);
  }
  double per = 100.0 * errors / total, stress = 100.0 * stressOk / order.size();
  RecordProperty("phoneme_error_rate", std::to_string(per));
  RecordProperty("stress_accuracy", std::to_string(stress));
  EXPECT_LE(per, 2.0);
  EXPECT_GE(stress, 99.0);
}

TEST(Koral, GameMessagesAreSpokenWordForWord) {
  std::map<std::string, std::string> checked = {
      {"Alunisagem", "a l u n i z >a Z en yn"}, {"combustível", "k on b u s2 tS >i v e w"},
      {"velocidade", "v e l o s i d >a dZ i"}, {"mangueira", "m an g >e y r @"},
      {"Tchau", "tS >a w"}, {"pontuação", "p on t u a s >an wn"},
      {"explodiu", "e s2 p l o dZ >i w"}, {"foguete", "f o g >e tS i"},
      {"quantidade", "k w an tS i d >a dZ i"}, {"numéricas", "n u m >E r i k @ s2"}};
  size_t seen = 0;
  // The texts come from the game's own catalogue; koral takes UTF-8.
  for (const auto& entry : MessageCatalogue()) {
    const std::string m = platform::Cp1252ToUtf8(entry.text);
    auto r = RunKoral({"--phonemes"}, m);
    ASSERT_EQ(r.exitCode, 0) << m;
    for (const auto& w : Words(r.stdoutText)) {
      EXPECT_FALSE(w.phonemes.empty()) << w.word << " in " << m;
      auto it = checked.find(w.word);
      if (it == checked.end()) continue;
      std::string joined;
      for (const auto& p : w.phonemes) joined += (joined.empty() ? "" : " ") + p;
      EXPECT_EQ(joined, it->second) << m;
      ++seen;
    }
  }
  EXPECT_GE(seen, checked.size());
}

TEST(FrontEnd, SurvivesEveryByteAndRandomText) {
  const std::string dir = testkit::DataRoot() + "/qorbel/koraltts/";
  ASSERT_TRUE(LoadPortugueseRules(dir + "portug.nrl", dir + "portug.exc"));
  ASSERT_TRUE(LoadAbbreviations(dir + "portug.abr"));
  ASSERT_TRUE(LoadProsody(dir + "portug.pro"));
  ASSERT_TRUE(LoadDiphones(dir + "portug.dfn"));
  auto run = [](const std::string& text) {
    auto items = AssignPitchPatterns(TokenizeWithKeys(NormalizeText(text)), true);
    return BuildPhoLines(TokensToPhonemes(items), 1.0, 1.0);
  };
  std::string all;
  for (int c = 1; c < 256; ++c) {
    all += static_cast<char>(c);
    EXPECT_FALSE(run(std::string(1, static_cast<char>(c))).empty());
  }
  EXPECT_FALSE(run(all).empty());
  uint32_t seed = 12345;
  for (int n = 0; n < 300; ++n) {
    std::string text;
    for (int i = 0; i < 60; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const char pool[] = "aeiouAOEmnrstlhqgu  .,-?!0123456789\xE3\xE7\xE9\xF5\xBA\xAA...";
      bool fromPool = (seed >> 24) % 3 != 0;
      text += fromPool ? pool[(seed >> 8) % (sizeof pool - 1)] : static_cast<char>(seed >> 16);
    }
    // Every MBROLA line is a phoneme or pause with a whole duration, a comment or empty.
    for (const auto& line : run(text)) {
      if (line.empty() || line[0] == ';') continue;
      size_t blank = line.find(' ');
      ASSERT_NE(blank, std::string::npos) << line;
      EXPECT_GE(std::stoi(line.substr(blank + 1)), 0) << line;
    }
  }
}
