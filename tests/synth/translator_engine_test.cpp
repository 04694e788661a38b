// The translator's mechanics on small rule and exception files written by each test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "synth/translator.hpp"
#include "testkit/testkit.hpp"

using namespace translator;

namespace {

// Rules that write every letter back in lower case (upper case when stressed), so that the
// stress marks and word boundaries show in the output.
std::string EchoRules() {
  std::string rules;
  for (char c = 'A'; c <= 'Z'; ++c) {
    rules += "(";
    rules += c;
    rules += ")=";
    rules += static_cast<char>(c + 32);
    rules += "|\r\n";
  }
  return rules;
}

class Translator : public ::testing::Test {
 protected:
  void SetUp() override { Load(EchoRules(), ""); }
  void TearDown() override { FreeRules(); }
  void Load(const std::string& rules, const std::string& exceptions) {
    ASSERT_TRUE(LoadRules(dir.Write("regras.rgr", rules)));
    ASSERT_TRUE(LoadExceptions(dir.Write("portug.exc", exceptions)));
  }
  testkit::TempDir dir;
};

// Rules for X given by the test, then every other letter echoed and accent marks dropped.
std::string WithX(const std::string& xRules) { return xRules + EchoRules() + "(')=|\n"; }

std::string Stressed(std::string word) {
  MarkStress(word);
  return word;
}

}  // namespace

TEST(TranslatorMapping, LettersAroundWAndYAndTheApostrophe) {
  EXPECT_EQ(MapCharacters("Wagner"), "uagner");
  EXPECT_EQ(MapCharacters("a w b"), "a w b");
  EXPECT_EQ(MapCharacters("Ayrton y"), "Airton y");
  EXPECT_EQ(MapCharacters("d'\xE1gua"), "da'gua");
  EXPECT_EQ(MapCharacters("D'x o'x"), "Dx o'x");
}

TEST(TranslatorMapping, HighCodesOfBothCodePages) {
  // Windows-1252 positions.
  EXPECT_EQ(MapCharacters("a\xE7\xE3o"), "assa~o");
  EXPECT_EQ(MapCharacters("\xC9\xEA\xE0\xF4\xFC\xF1"), "e'e^a`o^unh");
  EXPECT_EQ(MapCharacters("\xC3\xD5\xCD\xDA\xC2"), "a~o~i'u'a^");
  // Code page 850 positions of the same letters.
  EXPECT_EQ(MapCharacters("\x87\x82\xA0\xA1\xA2\xA3\x93\x94\x81"), "sse'a'i'o'u'o^o~u\"");
  EXPECT_EQ(MapCharacters("\xE6\xC5\xD7\xD8"), "aeax0");
  EXPECT_EQ(MapCharacters("\xA8\xAD\x92\x98"), "?!-y-");
  EXPECT_EQ(MapCharacters("\xA7\xAB\xBB"), "\xA7\xAA\xBA");
}

TEST(TranslatorMapping, CharactersOfNothingSeparateWords) {
  EXPECT_EQ(MapCharacters("a\tb"), "a \x01 b");
  EXPECT_EQ(MapCharacters("x\x9By"), "x \x01 y");
  EXPECT_EQ(MapCharacters("\xFF"), " \x01 ");
  EXPECT_EQ(MapCharacters(std::string("a\0b", 3)), "a \x01 b");
  EXPECT_EQ(MapCharacters(""), "");
}

TEST(TranslatorStress, ScansFromTheEnd) {
  EXPECT_EQ(Stressed("casa"), "cAsa");
  EXPECT_EQ(Stressed("leite"), "lEite");
  EXPECT_EQ(Stressed("falam"), "fAlam");
  EXPECT_EQ(Stressed("papel"), "papEl");
  EXPECT_EQ(Stressed("sol"), "sOl");
  EXPECT_EQ(Stressed("tatu"), "tatU");
  EXPECT_EQ(Stressed("rainha"), "raInha");
  EXPECT_EQ(Stressed("muito"), "mUito");
  EXPECT_EQ(Stressed("bom"), "bOm");
  EXPECT_EQ(Stressed("casas"), "cAsas");
}

TEST(TranslatorStress, QuAndGuAndMarksAtTheFirstCharacter) {
  EXPECT_EQ(Stressed("aqui"), "aquI");
  EXPECT_EQ(Stressed("quais"), "quAis");
  EXPECT_EQ(Stressed("ela"), "Ela");
  EXPECT_EQ(Stressed("dia"), "dIa");
  EXPECT_EQ(Stressed("seguir"), "seguIr");
  // A word that ends the scan in an undecided state stays unmarked.
  EXPECT_EQ(Stressed("urso"), "urso");
}

TEST_F(Translator, StressIsSkippedForAccentedAndShortWords) {
  EXPECT_EQ(TranslateText("casa"), "[c/A/s/a]");
  EXPECT_EQ(TranslateText("caf\xE9"), "[c/a/f/e/ /_']");
  EXPECT_EQ(TranslateText("mar"), "[m/a/r]");
  EXPECT_EQ(TranslateText("sol"), "[s/O/l]");
  // The diaeresis does not make a word accented.
  EXPECT_EQ(TranslateText("ag\xFC" "ente"), "[a/g/u/E/n/t/e]");
  EXPECT_EQ(TranslateText("ag\x81" "ente"), "[a/g/u/ /_\"/E/n/t/e]");
}

TEST_F(Translator, WordsAreTakenLowerCasedAndBlanksSkipped) {
  EXPECT_EQ(TranslateText("  CASA   Bola "), "[c/A/s/a][b/O/l/a]");
  EXPECT_EQ(TranslateText(""), "");
  EXPECT_EQ(TranslateText("   "), "");
  // Non-letters are words of one character.
  EXPECT_EQ(TranslateText("a-b"), "[a][ /_-][ /_b]");
  EXPECT_EQ(TranslateText("9"), "[ /_9]");
}

TEST_F(Translator, ConsonantWordsPunctuationAndByteOneAreSpelled) {
  EXPECT_EQ(TranslateText("bcd"), "[ /_b][ /_c][ /_d]");
  EXPECT_EQ(TranslateText("w"), "[ /_w]");
  EXPECT_EQ(TranslateText("!"), "[ /_!]");
  EXPECT_EQ(TranslateText("a\tb"), "[a][ /_\x01][ /_b]");
  EXPECT_EQ(TranslateText("Wagner"), "[u/a/g/n/E/r]");
}

TEST_F(Translator, ExceptionsWithSuffixesKeepTheEnding) {
  Load(EchoRules(), "casa=kaza\r\n\r\nbem=bein|ignored\nzz\n");
  EXPECT_EQ(LookUpException("casa"), "kaza");
  EXPECT_EQ(LookUpException("casas"), "kazas");
  EXPECT_EQ(LookUpException("bem"), "bein");
  EXPECT_EQ(LookUpException("bems"), "beins");
  EXPECT_EQ(LookUpException("mesa"), "mesa");
  EXPECT_EQ(LookUpException("sssm"), "sssm");
  EXPECT_EQ(LookUpException("zz"), "");
  EXPECT_EQ(TranslateText("casas"), "[k/A/z/a/s]");
  EXPECT_EQ(ExceptionCount(), 3u);
}

TEST_F(Translator, ExceptionFileLimits) {
  // Out of order in the file; found by bisection after sorting.
  std::string list;
  for (int i = 15100; i > 0; --i) {
    const std::string n = std::to_string(i);
    list.append("w").append(n).append("=x").append(n).append("\n");
  }
  Load(EchoRules(), list);
  EXPECT_EQ(ExceptionCount(), 15000u);
  EXPECT_EQ(LookUpException("w15100"), "x15100");
  EXPECT_EQ(LookUpException("w101"), "x101");
  EXPECT_EQ(LookUpException("w100"), "w100");  // beyond the first 15,000 pairs

  // Lines are cut at 255 characters and the rest of the line is dropped.
  std::string longLine = "longa=" + std::string(400, 'a') + "\nbola=boula\n";
  Load(EchoRules(), longLine);
  EXPECT_EQ(LookUpException("longa"), std::string(249, 'a'));
  EXPECT_EQ(LookUpException("bola"), "boula");
  EXPECT_EQ(ExceptionCount(), 2u);
}

TEST_F(Translator, MissingFilesFailAndFreedRulesFallBack) {
  EXPECT_FALSE(LoadRules(dir.path() + "/nada.rgr"));
  EXPECT_FALSE(LoadExceptions(dir.path() + "/nada.exc"));
  EXPECT_EQ(RuleCount(), 0u);
  EXPECT_EQ(TranslateText("ab"), "[ /_A/ /_B]");
  Load(EchoRules(), "");
  EXPECT_EQ(RuleCount(), 26u);
  FreeRules();
  EXPECT_EQ(TranslateText("casa"), "[ /_C/ /_A/ /_S/ /_A]");
}

TEST(TranslatorRuleLines, FieldsDelimitersAndLimits) {
  Rule r = ParseRuleLine("ab(CD)ef=xyz|junk");
  EXPECT_EQ(r.left, "ab");
  EXPECT_EQ(r.target, "CD");
  EXPECT_EQ(r.right, "ef");
  EXPECT_EQ(r.replacement, "xyz");
  r = ParseRuleLine("123456(abcdefg)1234567=123456789012345|");
  EXPECT_EQ(r.left, "12345");
  EXPECT_EQ(r.target, "ABCDE");
  EXPECT_EQ(r.right, "12345");
  EXPECT_EQ(r.replacement, "12345678901");
  r = ParseRuleLine("(A)=a");  // no closing bar
  EXPECT_EQ(r.target, "A");
  EXPECT_EQ(r.replacement, "");
  r = ParseRuleLine("x(A)y");  // no "="
  EXPECT_EQ(r.target, "A");
  EXPECT_EQ(r.right, "");
  r = ParseRuleLine("x(Ay=b|");  // no ")"
  EXPECT_EQ(r.left, "x");
  EXPECT_EQ(r.target, "");
  EXPECT_EQ(ParseRuleLine("").target, "");
  EXPECT_EQ(ParseRuleLine("A)=b|").target, "");
}

TEST_F(Translator, MalformedAndOutOfOrderRuleFiles) {
  // Lines without a target are skipped; the others still load.
  Load("garbage\r\n(\r\n)=|\r\n(B)=bê|\r\n\r\n(A)=a|", "");
  EXPECT_EQ(RuleCount(), 2u);
  EXPECT_EQ(TranslateText("ba"), "[b\xC3\xAA/a]");
  // A rule of a list that exists already is chained behind the rule read before it.
  Load("(A)=1|\n(B)=2|\n(A)=3|\n", "");
  ASSERT_EQ(RulesOf('A').size(), 1u);
  ASSERT_EQ(RulesOf('B').size(), 2u);
  EXPECT_EQ(RulesOf('B')[1].replacement, "3");
  EXPECT_EQ(RulesOf('a').size(), 1u);

  // Arbitrary bytes as rules and as text: every byte value, contexts at the word's edges.
  static const char kPieces[] = "()=|#%&*+[\\]_|\nAEIOUaeioubcmnrs\x01\xE9";
  std::string noise, text;
  unsigned seed = 7;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245u + 12345u;
    noise += kPieces[(seed >> 16) % (sizeof kPieces - 1)];
  }
  for (int c = 0; c < 256; ++c) text += static_cast<char>(c);
  Load(noise, noise);
  EXPECT_FALSE(TranslateText(text + noise).empty());
}

TEST_F(Translator, TargetsAndFirstMatchingRule) {
  Load("(CH)=x|\n(C)=k|\n(A)=a|\n(O)=o|\n(H)=h|\n", "");
  EXPECT_EQ(TranslateText("chaco"), "[x/A/k/o]");
  // A target never reaches past the word.
  EXPECT_EQ(TranslateText("c"), "[ /_c]");
  EXPECT_EQ(TranslateText("ac"), "[a/k]");
  // The stress mark goes to the first vowel of the output of a stressed letter; a target
  // that swallows the stressed vowel from an earlier position loses it.
  Load("(A)= bya|\n(S)=s|\n(C)=k|\n", "");
  EXPECT_EQ(TranslateText("casa"), "[k/ byA/s/ bya]");
  Load("(CA)= kya|\n(SA)=za|\n", "");
  EXPECT_EQ(TranslateText("casa"), "[ kya/za]");
}

TEST_F(Translator, LeftContextSymbols) {
  Load(WithX("%(X)=E|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("xa"), "[E/a]");
  EXPECT_EQ(TranslateText("ax"), "[a/x]");
  Load(WithX("#T(X)=V|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("aeitx"), "[a/e/I/t/V]");  // read from the last symbol leftwards
  EXPECT_EQ(TranslateText("tx"), "[ /_t][ /_x]");
  EXPECT_EQ(TranslateText("etxa"), "[E/t/V/a]");
  EXPECT_EQ(TranslateText("stxa"), "[s/t/x/a]");
  Load(WithX("](X)=B|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("oxe"), "[O/B/e]");
  EXPECT_EQ(TranslateText("\xF3xe"), "[o//B/e]");  // back vowel behind its accent mark
  EXPECT_EQ(TranslateText("exa"), "[E/x/a]");
  Load(WithX("_(X)=W|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("xa"), "[W/a]");         // also at the word's start
  EXPECT_EQ(TranslateText("\xE9xa"), "[e//W/a]");
  EXPECT_EQ(TranslateText("txa"), "[t/x/a]");
  Load(WithX("|(X)=P|\nK(X)=K|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("nxa"), "[n/P/a]");      // n r s
  EXPECT_EQ(TranslateText("rxa"), "[r/P/a]");
  EXPECT_EQ(TranslateText("akx"), "[a/k/K]");      // a plain letter, compared in upper case
  EXPECT_EQ(TranslateText("txa"), "[t/x/a]");
}

TEST_F(Translator, RightContextSymbols) {
  Load(WithX("(X)%=END|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("ax"), "[a/END]");
  EXPECT_EQ(TranslateText("xa"), "[x/a]");
  Load(WithX("(X)#A=A|\n(X)#T=V|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("xeit"), "[V/E/i/t]");
  EXPECT_EQ(TranslateText("xea"), "[x/E/a]");      // # takes the whole run of vowels
  Load(WithX("(X)&=L|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("xra"), "[L/r/a]");
  EXPECT_EQ(TranslateText("xza"), "[L/z/a]");
  EXPECT_EQ(TranslateText("xpa"), "[x/p/a]");
  Load(WithX("(X)*P=C|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("xpa"), "[C/p/a]");      // * looks without consuming
  EXPECT_EQ(TranslateText("xra"), "[x/r/a]");
  EXPECT_EQ(TranslateText("xla"), "[x/l/a]");
  Load(WithX("(X)+T=F|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("x\xE9t"), "[F/e//t]");  // the vowel with its accent mark
  EXPECT_EQ(TranslateText("xit"), "[F/i/t]");
  EXPECT_EQ(TranslateText("xat"), "[x/a/t]");
  Load(WithX("(X)[=H|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("ax"), "[a/H]");
  EXPECT_EQ(TranslateText("xta"), "[H/t/a]");
  EXPECT_EQ(TranslateText("xha"), "[x/h/a]");
  EXPECT_EQ(TranslateText("xa"), "[x/a]");
  Load(WithX("(X)\\A=S|\n(X)=x|\n"), "");
  EXPECT_EQ(TranslateText("xsa"), "[S/s/a]");
  EXPECT_EQ(TranslateText("xa"), "[S/a]");
  EXPECT_EQ(TranslateText("xe"), "[x/e]");
}

// "#" steps over a whole run of vowels and accent marks up to the word's edges, and long runs
// of letters are handled as a whole (a word of 100,000 vowels, a suffix of 100,000 "s").
TEST_F(Translator, VowelRunsAndSuffixesOfAnyLength) {
  Load(WithX("%#(X)#%=V|\n#(X)=L|\n(X)#=R|\n(X)=x|\n"), "casa=kaza\n");
  auto ruleAt = [](const std::string& word, size_t p) {
    const Rule* rule = FindRule(word, p);
    return rule ? rule->replacement : std::string("-");
  };
  const std::string run(100000, 'a');
  EXPECT_EQ(ruleAt(run + "x" + run, run.size()), "V");
  EXPECT_EQ(ruleAt("ta'e^x" + run, 5), "L");  // the run on the left stops at a consonant
  EXPECT_EQ(ruleAt("xo~it", 0), "R");
  EXPECT_EQ(ruleAt("tx", 1), "x");
  EXPECT_NE(TranslateText(run + "x" + run).find("/V/"), std::string::npos);
  const std::string esses(100000, 's');
  EXPECT_EQ(LookUpException("casa" + esses), "kaza" + esses);
  EXPECT_EQ(LookUpException("mesa" + esses), "mesa" + esses);
}

TEST(TranslatorFiles, FolderFromTheSuiteSettingsAndLoading) {
  testkit::TempDir windows, data;
  setenv("TELUMA_WINDIR", windows.path().c_str(), 1);
  EXPECT_EQ(TranslatorFolder(), "c:\\qorbel\\som\\difones\\");
  windows.Write("TELUMA.INI", "[TRADUTOR]\r\nDIRDIFONES=" + data.path() + "\r\n");
  EXPECT_EQ(TranslatorFolder(), data.path() + "\\");
  // Both files are needed.
  EXPECT_FALSE(LoadTranslatorFiles(TranslatorFolder()));
  data.Write("regras.rgr", "(A)=a|\r\n");
  EXPECT_FALSE(LoadTranslatorFiles(TranslatorFolder()));
  data.Write("portug.exc", "a=e\r\n");
  EXPECT_TRUE(LoadTranslatorFiles(TranslatorFolder()));
  EXPECT_EQ(TranslateText("a"), "[ /_E]");
  unsetenv("TELUMA_WINDIR");
  FreeRules();
}
