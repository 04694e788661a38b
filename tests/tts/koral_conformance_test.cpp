// koral as an outside reader sees it: exact stage outputs on small rule files given with
// --rules, and the shipped rule files measured against an independent lexicon of Brazilian
// Portuguese words (phoneme error rate and stress accuracy).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "testkit/lexicon.hpp"
#include "testkit/testkit.hpp"

namespace {

std::string Koral() { return testkit::BuildDir() + "/src/apps/koral"; }

testkit::RunResult RunKoral(std::vector<std::string> args, const std::string& stdinText = "") {
  testkit::RunOptions o;
  o.args = std::move(args);
  o.stdinText = stdinText;
  return testkit::RunHeadless(Koral(), o);
}

// A rule folder with every file koral reads (UTF-8 here, Windows-1252 on disk).
class SmallRules {
 public:
  SmallRules() {
    Put("portug.nrl", "(A)=a\n(Á)=a\n(C)=k\n(K)=k\n(S)%=s2\n(S)=z\n(O)=o\n(P)=p\n(R)%=r2\n(R)=r\n"
                      "(G)=g\n(U)=w\n(D)=d\n(E)=e\n");
    Put("portug.exc", "CASA=KASA\n");
    Put("portug.abr", "Sr=senhor\n");
    Put("portug.pro",
        "[DURAÇÃO]\na=80\nk=100\n__=300\n_,=200\n_.=250\n[CHAVES]\npor=PR\n[PROSÓDIA]\n"
        "HERTZ=200\nTABHERTZ=0,50,60,70,80,100,110,120,130,140\n|PR|=?41\n||..=?62\n||=555\n");
    Put("portug.dfn", "_ _\n_ k\nk a\na s2\ns2 _\n_ p\np o\no r\nr a\na g\ng w\nw a\na _\n"
                      "_ s2\nz a\n");
  }
  const std::string& path() const { return dir_.path(); }

 private:
  void Put(const std::string& name, const std::string& utf8) {
    std::string cp;
    for (size_t i = 0; i < utf8.size(); ++i) {
      auto c = static_cast<unsigned char>(utf8[i]);
      if (c == 0xC3 && i + 1 < utf8.size()) {
        cp += static_cast<char>(static_cast<unsigned char>(utf8[++i]) + 0x40);
      } else {
        cp += static_cast<char>(c);
      }
    }
    dir_.Write(name, cp);
  }
  testkit::TempDir dir_;
};

}  // namespace

TEST(KoralStages, ExactOutputOnSmallRules) {
  SmallRules rules;
  auto r = RunKoral({"--rules", rules.path(), "--normalize", "  Sr. 2 por água.  "});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.stdoutText, "senhor dois  por água.\n");

  r = RunKoral({"--rules", rules.path(), "--tokens", "casas por", "água."});
  EXPECT_EQ(r.stdoutText, "555|\n555|casas\n541|por\n162|água\n555|.\n555|\n");

  r = RunKoral({"--rules", rules.path(), "--phonemes"}, "casas por água.");
  EXPECT_EQ(r.stdoutText,
            ";555|\n__\n\n;555|casas\nk\n>a\nz\na\ns2\n\n;541|por\np\no\nr\n\n;162|água\n"
            ">a\ng\nw\na\n\n;555|.\n_.\n;555|\n__\n\n__\n");

  r = RunKoral({"--rules", rules.path(), "--pho", "casas por água."});
  EXPECT_EQ(r.stdoutText,
            ";\n_ 300 50 200\n\n;casas\nk 100 50 200\na 116 80 200\n_ 50\nz 145\na 116\n"
            "s2 145 50 200\n\n;por\n_ 50\np 100 50 200\no 100\nr 100\n\n;água\n"
            "a 116 80 220\ng 145\nw 145\na 116 50 120\n\n;.\n_ 250 50 200\n;\n_ 300 50 200\n"
            "\n_ 300\n");

  r = RunKoral({"--rules", rules.path(), "--pho", "--speed", "2", "--pitch", "0.5", "ca"});
  EXPECT_EQ(r.stdoutText, ";\n_ 600 50 100\n\n;ca\nk 200 50 100\na 160\n\n_ 600\n");
}

TEST(KoralStages, HostileRuleFilesGiveCleanResults) {
  testkit::TempDir dir;
  std::string huge(100000, 'A');
  dir.Write("portug.nrl", "(\n()\n)(=\n" + huge + "\n(" + huge + ")" + huge + "=" + huge +
                              "\n(A)=a\n(B)=&&&&&&&&&&&&\n(C)=>\n");
  dir.Write("portug.exc", huge + "\n=\n==\nAB=" + huge + "\n");
  std::string abr;
  for (int i = 0; i < 2500; ++i) {
    abr += 'x';
    abr += std::to_string(i);
    abr += "=y\n";
  }
  dir.Write("portug.abr", abr + huge + "=" + huge + "\n");
  dir.Write("portug.pro", "[DURA\xC7\xC3O]\n__=abc\n" + huge + "=1\n[CHAVES]\n" + huge +
                              "=" + huge + "\n[PROS\xD3" "DIA]\nTABHERTZ=1,2\nHERTZ=x\n||=?\n");
  dir.Write("portug.dfn", huge + "\n-\n a b c \n");
  auto r = RunKoral({"--rules", dir.path(), "--pho", "ab cab. x0 AB"});
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_NE(r.stdoutText.find("\n;cab\n"), std::string::npos) << r.stdoutText;
  // The prosody file's faults were reported, and the program went on.
  EXPECT_NE(r.stderrText.find("fonema errado"), std::string::npos);
}

TEST(KoralStages, OneCharacterAndTrimmingWithShippedFiles) {
  EXPECT_EQ(RunKoral({"--normalize", "!"}).stdoutText, "exclamação\n");
  EXPECT_EQ(RunKoral({"--normalize", " 7 "}).stdoutText, "séte\n");
  EXPECT_EQ(RunKoral({"--normalize", "1.000", "reais"}).stdoutText, "mil   reais\n");
  EXPECT_EQ(RunKoral({"--normalize"}, "  12-3  \n").stdoutText, " um dois traço três \n");
  EXPECT_EQ(RunKoral({"--normalize", "a\tb"}).stdoutText, "a bê\n");
}

// Lexicon measurement: the shipped rule files against a lexicon written independently.
TEST(KoralLexicon, ShippedRulesAgainstAnIndependentLexicon) {
  auto lexicon = testkit::ReadLexicon(testkit::LexiconPath("review_lexicon"));
  ASSERT_GE(lexicon.size(), 400u);
  auto score = testkit::MeasureLexicon(lexicon);
  std::cout << "lexicon: " << score.words << " words, phoneme error rate "
            << score.PhonemeErrorRate() << " %, stress " << score.StressRate()
            << " %, words exact " << score.wordsExact << "\n";
  // The shipped rule files read every word of this list right, so one word read otherwise is a
  // regression (a new rule or exception that catches a word it was not meant for).
  EXPECT_EQ(score.wordsExact, score.words) << score.report;
}
