// The letter-to-sound translator: character mapping, words, exceptions, stress marking by
// hand-worked words, spelling, and each context symbol of the rules, on rule and exception
// files written by each test.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "synth/translator.hpp"
#include "testkit/testkit.hpp"

using namespace translator;

namespace {

// Every letter written back lower case (vowels keep the stress mark), accent marks silent.
std::string Echo() {
  std::string r;
  for (char c = 'A'; c <= 'Z'; ++c) r += std::string("(") + c + ")=" + char(c + 32) + "|\n";
  return r + "(')=|\n(^)=|\n(\")=|\n";
}

class Translation : public ::testing::Test {
 protected:
  void SetUp() override { Load(Echo(), ""); }
  void TearDown() override { FreeRules(); }
  void Load(const std::string& rules, const std::string& exceptions) {
    ASSERT_TRUE(LoadRules(dir.Write("r.rgr", rules)));
    ASSERT_TRUE(LoadExceptions(dir.Write("e.exc", exceptions)));
  }
  // Rules for X first (they must stand together), then the echo of the other letters.
  std::string X(const std::string& rulesForX, const std::string& word) {
    Load(rulesForX + "(X)=K|\n" + Echo(), "");
    return TranslateWord(word);
  }
  testkit::TempDir dir;
};

std::string Stress(std::string w) {
  MarkStress(w);
  return w;
}

}  // namespace

TEST(TranslatorCharacters, HighCodesOfBothCodePages) {
  // Every code 128..255 against the table, by its result.
  const std::map<std::string, std::vector<int>> table = {
      {"ss", {128, 135, 199, 231}},       {"u\"", {129, 154}},
      {"e'", {130, 144, 201, 233}},       {"a^", {131, 194, 226}},
      {"a~", {132, 142, 195, 196, 227, 228}}, {"a`", {133, 192, 224}},
      {"a'", {134, 143, 160, 193, 225}},  {"e^", {136, 202, 234}},
      {"e\"", {137, 203, 235}},           {"e`", {138, 200, 232}},
      {"i\"", {139, 207, 239}},           {"i^", {140, 206, 238}},
      {"i`", {141, 204, 236}},            {"ae", {145, 198, 230}},
      {"-", {146}},                       {"o^", {147, 212, 244}},
      {"o~", {148, 153, 213, 245}},       {"o`", {149, 210, 214, 242, 246}},
      {"u^", {150, 219, 251}},            {"u`", {151, 217, 249}},
      {"y-", {152}},                      {"i'", {161, 205, 237}},
      {"o'", {162, 211, 243}},            {"u'", {163, 218, 250}},
      {"nh", {164, 165, 209, 241}},       {"\xA7", {167}},
      {"?", {168, 191}},                  {"\xAA", {171}},
      {"!", {173}},                       {"\"", {174, 175}},
      {"\xBA", {187}},                    {"a", {197, 229}},
      {"x", {215, 247}},                  {"0", {216, 248}},
      {"u", {220, 252}}};
  std::map<int, std::string> expected;
  for (const auto& [result, codes] : table)
    for (int c : codes) expected[c] = result;
  for (int c = 128; c <= 255; ++c) {
    const std::string in(1, char(c));
    const std::string want = expected.count(c) ? expected[c] : " \x01 ";
    EXPECT_EQ(MapCharacters(in), want) << c;
  }
}

TEST(TranslatorCharacters, WYApostropheAndControlCodes) {
  EXPECT_EQ(MapCharacters("Wagner"), "uagner");
  EXPECT_EQ(MapCharacters("a w b"), "a w b");  // alone between blanks it stays
  EXPECT_EQ(MapCharacters("show"), "shou");
  EXPECT_EQ(MapCharacters("Yara y"), "iara y");
  EXPECT_EQ(MapCharacters("w1"), "w1");  // a digit is no letter
  EXPECT_EQ(MapCharacters("d'\xE1gua D'x o'x"), "da'gua Dx o'x");
  EXPECT_EQ(MapCharacters("a\tb"), "a \x01 b");
  EXPECT_EQ(MapCharacters("\x1F"), " \x01 ");
  EXPECT_EQ(MapCharacters("\xC7" "a"), "ssa");
  EXPECT_EQ(MapCharacters("{~}"), "{~}");
}

TEST_F(Translation, WordsAreTakenAsLettersWithMarksOrSingleCharacters) {
  EXPECT_EQ(TranslateText("  CASA,Bola "), "[c/A/s/a][ /_,][b/O/l/a]");
  // An accent mark starts no word of its own inside one; a digit is a word of one character.
  EXPECT_EQ(TranslateText("p\xE9" "3"), "[p/e/][ /_3]");
  // The byte standing for a dropped character is spelled.
  EXPECT_EQ(TranslateText("a\tb"), "[a][ /_\x01][ /_b]");
  EXPECT_EQ(TranslateText(""), "");
}

TEST_F(Translation, ConsonantOnlyWordsArePunctuationAreSpelled) {
  EXPECT_EQ(TranslateText("bcd"), "[ /_b][ /_c][ /_d]");
  EXPECT_EQ(TranslateText("!"), "[ /_!]");
  EXPECT_EQ(TranslateText("w"), "[ /_w]");
  // A word with a vowel goes through the rules.
  EXPECT_EQ(TranslateText("bcda"), "[b/c/d/a]");
}

TEST_F(Translation, ExceptionsWithPluralAndNasalEndings) {
  Load(Echo(), "casa=kaza\npaz=paz|ignored\n\ntv=teve\nmas=m\xE1s\n");
  EXPECT_EQ(LookUpException("casa"), "kaza");
  EXPECT_EQ(LookUpException("casas"), "kazas");
  EXPECT_EQ(LookUpException("casam"), "kazam");
  EXPECT_EQ(LookUpException("casasm"), "kazasm");
  EXPECT_EQ(LookUpException("casar"), "casar");
  EXPECT_EQ(LookUpException("mas"), "m\xE1s");  // the whole word first
  EXPECT_EQ(LookUpException("paz"), "paz");
  EXPECT_EQ(LookUpException("ssm"), "ssm");
  EXPECT_EQ(ExceptionCount(), 4u);
  // Stress is marked on the pronunciation, with the vowel count of the word as read: "tv"
  // has none, so "teve" stays unmarked.
  EXPECT_EQ(TranslateText("casas"), "[k/A/z/a/s]");
  EXPECT_EQ(TranslateText("tv"), "[t/e/v/e]");
}

TEST_F(Translation, ExceptionListKeepsTheFirst15000PairsAndCutsLongLines) {
  std::string list(300, 'z');
  list += "=long\n";
  for (int i = 15010; i > 0; --i) {
    const std::string n = std::to_string(i);
    list.append("w").append(n).append("=p").append(n).append("\n");
  }
  Load(Echo(), list);
  EXPECT_EQ(ExceptionCount(), 15000u);
  EXPECT_EQ(LookUpException("w15010"), "p15010");
  EXPECT_EQ(LookUpException("w12"), "p12");
  EXPECT_EQ(LookUpException("w11"), "w11");  // beyond the first 15,000 lines
  // Only 255 characters of a line are read: the long word has no "=".
  EXPECT_EQ(LookUpException(std::string(255, 'z')), "");
}

// Hand-worked words: the states visited are noted after each.
TEST(TranslatorStress, EveryState) {
  EXPECT_EQ(Stress("casa"), "cAsa");      // 0 a:5, s, a:6, mark
  EXPECT_EQ(Stress("falar"), "falAr");    // 0 r:1, a:6
  EXPECT_EQ(Stress("tenaz"), "tenAz");    // 0 z:1
  EXPECT_EQ(Stress("homem"), "hOmem");    // 0 m:2, e:5, m, o:6
  EXPECT_EQ(Stress("batom"), "batOm");    // 2 o:6
  EXPECT_EQ(Stress("jardim"), "jardIm");  // 2 i:3, d:7
  EXPECT_EQ(Stress("casas"), "cAsas");    // 0 s:4, a:5
  EXPECT_EQ(Stress("lapis"), "lapIs");    // 4 i:3, p:7
  EXPECT_EQ(Stress("falou"), "falOu");    // 0 u:3, o:6
  EXPECT_EQ(Stress("aqui"), "aquI");      // 3: u after q:7
  EXPECT_EQ(Stress("quais"), "quAis");    // 3: a (not u):6
  EXPECT_EQ(Stress("partia"), "partIa");  // 5 i:8, t:7
  EXPECT_EQ(Stress("aguia"), "aguIa");    // 8: u after g:7
  EXPECT_EQ(Stress("rainha"), "raInha");  // 8: "nh" two to the right:7
  EXPECT_EQ(Stress("bairro"), "baIrro");  // 8: "rr":7
  EXPECT_EQ(Stress("sairmos"), "saIrmos");  // 8: r then a consonant:7
  EXPECT_EQ(Stress("bailhe"), "bAilhe");  // 8: l then h:6
  EXPECT_EQ(Stress("saia"), "sAia");      // 8: a:6
  EXPECT_EQ(Stress("teia"), "tEia");
  // Marks decided on the first character are made.
  EXPECT_EQ(Stress("ela"), "Ela");
  EXPECT_EQ(Stress("dia"), "dIa");
  EXPECT_EQ(Stress("oi"), "Oi");
  EXPECT_EQ(Stress("io"), "io");  // ends in state 8: nothing decided
  // Nothing decided: no mark.
  EXPECT_EQ(Stress("bbb"), "bbb");
  EXPECT_EQ(Stress("ss"), "ss");
}

TEST_F(Translation, WhichWordsAreStressMarked) {
  EXPECT_EQ(TranslateText("sol mar"), "[s/O/l][m/a/r]");
  EXPECT_EQ(TranslateText("caf\xE9"), "[c/a/f/e/]");  // explicitly accented: left alone
  EXPECT_EQ(TranslateText("fren\xEAtico"), "[f/r/e/n/e//t/i/c/o]");
  // The diaeresis is no explicit accent.
  EXPECT_EQ(TranslateText("ag\x81" "e"), "[a/g/U//e]");
}

TEST_F(Translation, RuleLinesAndLists) {
  Rule r = ParseRuleLine("abcdefg(xyzwvu)12345678=0123456789ABCDEF|rest");
  EXPECT_EQ(r.left, "abcde");
  EXPECT_EQ(r.target, "XYZWV");
  EXPECT_EQ(r.right, "12345");
  EXPECT_EQ(r.replacement, "0123456789A");
  r = ParseRuleLine("a(b)c=d");  // no "|": the replacement is empty
  EXPECT_EQ(r.target, "B");
  EXPECT_EQ(r.right, "c");
  EXPECT_EQ(r.replacement, "");
  r = ParseRuleLine("a(b");
  EXPECT_EQ(r.left, "a");
  EXPECT_EQ(r.target, "");
  EXPECT_EQ(r.right, "");
  r = ParseRuleLine("(b)c|d");
  EXPECT_EQ(r.right, "");

  // A rule whose list exists is linked behind the rule read just before it.
  Load("(A)=1|\n(A)=2|\n(B)=3|\n(A)=4|\n", "");
  EXPECT_EQ(RulesOf('a').size(), 2u);
  ASSERT_EQ(RulesOf('B').size(), 2u);
  EXPECT_EQ(RulesOf('B')[1].replacement, "4");
}

TEST_F(Translation, TargetsReplacementsAndTheStressedVowel) {
  Load("(CH)=x|\n(C)=k|\n" + Echo(), "");
  EXPECT_EQ(TranslateWord("chAve"), "[x/A/v/e]");
  EXPECT_EQ(TranslateWord("cAc"), "[k/A/k]");
  EXPECT_EQ(TranslateWord("c"), "[k]");
  Load("(A)=b/ea|\n", "");
  EXPECT_EQ(TranslateWord("A"), "[b/Ea]");  // the first vowel of the output takes the mark
  EXPECT_EQ(TranslateWord("a{"), "[b/ea/ /_{]");  // no rule: " /_" and the character
}

TEST_F(Translation, ContextSymbols) {
  // # vowels or marks, one or more, all consumed
  EXPECT_EQ(X("#(X)#=Q|\n", "axa"), "[a/Q/a]");
  EXPECT_EQ(X("#(X)#=Q|\n", "xa"), "[K/a]");
  EXPECT_EQ(X("b#(X)=Q|\n", "bae'x"), "[b/a/e//Q]");
  EXPECT_EQ(X("(X)#b=Q|\n", "xaeb"), "[Q/a/e/b]");
  EXPECT_EQ(X("b#(X)=Q|\n", "bx"), "[b/K]");
  // % the word's edge
  EXPECT_EQ(X("%(X)=Q|\n", "xax"), "[Q/a/K]");
  EXPECT_EQ(X("(X)%=Q|\n", "xax"), "[K/a/Q]");
  // & one of l m n r z, consumed
  EXPECT_EQ(X("(X)&a=Q|\n", "xra"), "[Q/r/a]");
  EXPECT_EQ(X("(X)&a=Q|\n", "xza"), "[Q/z/a]");
  EXPECT_EQ(X("(X)&=Q|\n", "xb"), "[K/b]");
  EXPECT_EQ(X("(X)&=Q|\n", "x"), "[K]");
  // * a consonant but r and l, not consumed
  EXPECT_EQ(X("(X)*b=Q|\n", "xb"), "[Q/b]");
  EXPECT_EQ(X("(X)*=Q|\n", "xr"), "[K/r]");
  EXPECT_EQ(X("(X)*=Q|\n", "xa"), "[K/a]");
  // + a front vowel with an accent mark after it
  EXPECT_EQ(X("(X)+%=Q|\n", "xe"), "[Q/e]");
  EXPECT_EQ(X("(X)+%=Q|\n", "xI"), "[Q/I]");
  EXPECT_EQ(X("(X)+%=Q|\n", "xe'"), "[Q/e/]");
  EXPECT_EQ(X("(X)+=Q|\n", "xa"), "[K/a]");
  // [ the end of the word or a consonant but h, not consumed
  EXPECT_EQ(X("(X)[=Q|\n", "x"), "[Q]");
  EXPECT_EQ(X("(X)[b=Q|\n", "xb"), "[Q/b]");
  EXPECT_EQ(X("(X)[=Q|\n", "xh"), "[K/h]");
  EXPECT_EQ(X("(X)[=Q|\n", "xa"), "[K/a]");
  // \ an optional s
  EXPECT_EQ(X("(X)\\%=Q|\n", "x"), "[Q]");
  EXPECT_EQ(X("(X)\\%=Q|\n", "xs"), "[Q/s]");
  EXPECT_EQ(X("(X)\\%=Q|\n", "xss"), "[K/s/s]");
  // ] a back vowel, or a mark after a back vowel
  EXPECT_EQ(X("](X)=Q|\n", "ax"), "[a/Q]");
  EXPECT_EQ(X("](X)=Q|\n", "Ox"), "[O/Q]");
  EXPECT_EQ(X("b](X)=Q|\n", "ba~x"), "[b/a/ /_~/Q]");
  EXPECT_EQ(X("](X)=Q|\n", "ex"), "[e/K]");
  EXPECT_EQ(X("](X)=Q|\n", "e~x"), "[e/ /_~/K]");
  EXPECT_EQ(X("](X)=Q|\n", "x"), "[K]");
  // _ a vowel, a mark after a vowel, or the start of the word
  EXPECT_EQ(X("_(X)=Q|\n", "x"), "[Q]");
  EXPECT_EQ(X("_(X)=Q|\n", "ex"), "[e/Q]");
  EXPECT_EQ(X("b_(X)=Q|\n", "be'x"), "[b/e//Q]");
  EXPECT_EQ(X("_(X)=Q|\n", "bx"), "[b/K]");
  // | one of n r s
  EXPECT_EQ(X("|(X)=Q|\n", "nx"), "[n/Q]");
  EXPECT_EQ(X("|(X)=Q|\n", "sx"), "[s/Q]");
  EXPECT_EQ(X("|(X)=Q|\n", "bx"), "[b/K]");
  EXPECT_EQ(X("|(X)=Q|\n", "x"), "[K]");
  // Other characters are letters compared in upper case; the contexts read outwards.
  EXPECT_EQ(X("ab(X)cd=Q|\n", "abxcd"), "[a/b/Q/c/d]");
  EXPECT_EQ(X("ab(X)cd=Q|\n", "baxcd"), "[b/a/K/c/d]");
  // A right-side symbol on the left is a plain character, and the other way round.
  EXPECT_EQ(X("&(X)=Q|\n", "rx"), "[r/K]");
  EXPECT_EQ(X("(X)_=Q|\n", "xa"), "[K/a]");
}
