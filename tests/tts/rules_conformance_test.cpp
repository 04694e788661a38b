// Conformance of the letter-rule matcher and the word driver of the Portuguese front end, on
// small rule files written by the tests: rule line parts, every context symbol, stress marks,
// the phoneme list of a sentence and the linking of a final r or s.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp1252.hpp"
#include "testkit/testkit.hpp"
#include "tts/uttsExcessoes.hpp"
#include "tts/uttsInic.hpp"
#include "tts/uttsPortug.hpp"

namespace {

std::string C(const std::string& utf8) { return platform::Utf8ToCp1252(utf8); }

class Rules : public ::testing::Test {
 protected:
  void Load(const std::string& utf8) {
    ASSERT_TRUE(LoadLetterRules(dir_.Write("r.nrl", C(utf8))));
  }
  // The phoneme lines of one word, joined with "/".
  std::string P(const std::string& utf8, int stress = 0) {
    PhonemeList list;
    WordToPhonemes(C(utf8), stress, list);
    std::string out;
    for (size_t i = 0; i < list.size(); ++i) {
      if (i) out += '/';
      out += platform::Cp1252ToUtf8(list[i]);
    }
    return out;
  }
  void TearDown() override {
    FreeLetterRules();
    ClearExceptions();
  }
  testkit::TempDir dir_;
};

const char* kPlainLetters =
    "(A)=a\n(E)=e\n(I)=i\n(O)=o\n(U)=u\n(É)=E\n(L)=l\n(N)=n\n(R)=r\n(S)=s\n(T)=t\n(H)=h\n"
    "(Z)=z\n";

}  // namespace

TEST(RuleLines, PartsCapacitiesAndMissingDelimiters) {
  LetterRule r;
  ASSERT_TRUE(ParseRuleLine("ABCDEFG(HIJKLMN)OPQRSTU=123456789012345678901234|nota", r));
  EXPECT_EQ(r.left, "ABCDE");
  EXPECT_EQ(r.match, "HIJKL");
  EXPECT_EQ(r.right, "OPQRS");
  EXPECT_EQ(r.output, "12345678901234567890");
  ASSERT_TRUE(ParseRuleLine("#(CH)%=S", r));
  EXPECT_EQ(r.left, "#");
  EXPECT_EQ(r.match, "CH");
  EXPECT_EQ(r.right, "%");
  EXPECT_EQ(r.output, "S");
  // Without ")" the rest is the match; without "=" the rest after ")" is the right context.
  ASSERT_TRUE(ParseRuleLine("(AB=x", r));
  EXPECT_EQ(r.match, "AB=x");
  EXPECT_EQ(r.right, "");
  EXPECT_EQ(r.output, "");
  ASSERT_TRUE(ParseRuleLine("(A)BC", r));
  EXPECT_EQ(r.right, "BC");
  EXPECT_EQ(r.output, "");
  ASSERT_TRUE(ParseRuleLine("(A)=x|y=z", r));
  EXPECT_EQ(r.output, "x");
  // Comments, lines without a match part and empty matches are no rules.
  EXPECT_FALSE(ParseRuleLine("; (A)=a", r));
  EXPECT_FALSE(ParseRuleLine("", r));
  EXPECT_FALSE(ParseRuleLine("AB=c", r));
  EXPECT_FALSE(ParseRuleLine("()=a", r));
}

TEST_F(Rules, LoadingReplacesEveryListAndKeepsFileOrder) {
  Load("; regras\n\n(C)=k\n(CH)=S\n(H)=\n()=x\nsem parênteses\n");
  EXPECT_EQ(LetterRuleCount(), 3u);
  // The first rule of the list that fits wins, even when a longer match follows.
  EXPECT_EQ(P("CHA"), "k/");
  Load("(CH)=S\n(C)=k\n(A)=a\n");
  EXPECT_EQ(P("CHA"), "S/a/");
  Load("(B)=b\n");
  EXPECT_EQ(P("CHA"), "");
  EXPECT_FALSE(LoadLetterRules(dir_.path() + "/nada.nrl"));
}

TEST_F(Rules, RightContextSymbols) {
  Load(std::string(kPlainLetters) +
       "(C)#=C1\n(C)=c\n(D)+=D1\n(D)=d\n(F)&=F1\n(F)=f\n(G)\\A=G1\n(G)=g\n(J)*=J1\n(J)=j\n"
       "(K)[=K1\n(K)=k\n(M)%=M1\n(M)=m\n(P)]=P1\n(P)=p\n(Q)%=Q1\n(Q)=q\n");
  EXPECT_EQ(P("CA"), "C1/a/");
  EXPECT_EQ(P("CÉ"), "C1/E/");
  EXPECT_EQ(P("CT"), "c/t/");
  EXPECT_EQ(P("C"), "c/");
  EXPECT_EQ(P("DE"), "D1/e/");
  EXPECT_EQ(P("DÉ"), "D1/E/");
  EXPECT_EQ(P("DA"), "d/a/");
  EXPECT_EQ(P("FL"), "F1/l/");
  EXPECT_EQ(P("FZ"), "F1/z/");
  EXPECT_EQ(P("FT"), "f/t/");
  // "\" takes one S when there is one and never fails by itself.
  EXPECT_EQ(P("GA"), "G1/a/");
  EXPECT_EQ(P("GSA"), "G1/s/a/");
  EXPECT_EQ(P("GSSA"), "g/s/s/a/");
  EXPECT_EQ(P("GT"), "g/t/");
  // "*" is a consonant other than L or R, not taken, and fails at the end.
  EXPECT_EQ(P("JT"), "J1/t/");
  EXPECT_EQ(P("JL"), "j/l/");
  EXPECT_EQ(P("JA"), "j/a/");
  EXPECT_EQ(P("J"), "j/");
  // "[" is a consonant other than H, or the end.
  EXPECT_EQ(P("KT"), "K1/t/");
  EXPECT_EQ(P("K"), "K1/");
  EXPECT_EQ(P("KH"), "k/h/");
  EXPECT_EQ(P("KA"), "k/a/");
  EXPECT_EQ(P("M"), "M1/");
  EXPECT_EQ(P("MA"), "m/a/");
  // "]" means itself on the right.
  EXPECT_EQ(P("PA"), "p/a/");
  EXPECT_EQ(P("QQ"), "q/Q1/");
}

TEST_F(Rules, LeftContextSymbols) {
  Load(std::string(kPlainLetters) +
       "#(B)=B1\n(B)=b\n%(V)=V1\n(V)=v\n](X)=X1\n(X)=x\n_(W)=W1\n(W)=w\n|(Y)=Y1\n(Y)=y\n"
       "+(K)=K1\n(K)=k\nAS(Q)=Q1\n(Q)=q\n");
  EXPECT_EQ(P("AB"), "a/B1/");
  EXPECT_EQ(P("SB"), "s/b/");
  EXPECT_EQ(P("B"), "b/");
  EXPECT_EQ(P("V"), "V1/");
  EXPECT_EQ(P("AV"), "a/v/");
  EXPECT_EQ(P("OX"), "o/X1/");
  EXPECT_EQ(P("EX"), "e/x/");
  EXPECT_EQ(P("W"), "W1/");
  EXPECT_EQ(P("AW"), "a/W1/");
  EXPECT_EQ(P("TW"), "t/w/");
  EXPECT_EQ(P("NY"), "n/Y1/");
  EXPECT_EQ(P("RY"), "r/Y1/");
  EXPECT_EQ(P("SY"), "s/Y1/");
  EXPECT_EQ(P("TY"), "t/y/");
  EXPECT_EQ(P("EK"), "e/k/");
  // A left context is read from the match leftwards.
  EXPECT_EQ(P("ASQ"), "a/s/Q1/");
  EXPECT_EQ(P("SAQ"), "s/a/q/");
}

TEST_F(Rules, StressMarkPlacementAndOutputs) {
  Load("(A)=a\n(B)=b\n(C)=k\n(H)=\n(X)=abcdefghijklmnop\n(Q)=&s\n(W)=s&\n(K)=k&s\n(CH)=S\n");
  EXPECT_EQ(P("ABC", 2), "a/>b/k/");
  EXPECT_EQ(P("ABC", 1), ">a/b/k/");
  EXPECT_EQ(P("ABC", 0), "a/b/k/");
  EXPECT_EQ(P("ABC", -3), "a/b/k/");
  EXPECT_EQ(P("ABC", 9), "a/b/k/");
  // A silent letter carries no mark: it goes to the first phoneme produced later.
  EXPECT_EQ(P("AHA", 2), "a/>a/");
  EXPECT_EQ(P("AHH", 2), "a/");
  // Only the first 11 output characters are used; "&" separates phonemes.
  EXPECT_EQ(P("X"), "abcdefghijk/");
  EXPECT_EQ(P("K", 1), ">k/s/");
  EXPECT_EQ(P("Q", 1), ">/s/");
  EXPECT_EQ(P("W"), "s//");
  EXPECT_EQ(P("DAD", 2), ">a/");
  EXPECT_EQ(P(""), "");
}

TEST(WordDriver, UnstressedWordsAndPauses) {
  for (const char* w : {"A", "DE", "OS", "POR", "DAS", "DOS", "COM", "SIM"})
    EXPECT_TRUE(IsUnstressedWord(w)) << w;
  EXPECT_TRUE(IsUnstressedWord(C("NÃO")));
  for (const char* w : {"MAS", "PARA", "SIMS", "COMO", "NAO"}) EXPECT_FALSE(IsUnstressedWord(w)) << w;
  PhonemeList list;
  for (char c : std::string("!(),.:;? x")) PunctuationPause(c, list);
  EXPECT_EQ(list, (PhonemeList{"_!", "_(", "_)", "_,", "_.", "_:", "_;", "_?"}));
}

TEST_F(Rules, TokensToPhonemesOfASentence) {
  Load("(A)=a\n(Á)=a\n(C)=k\n(S)=s\n(E)=e\n(D)=d\n(R)%=r2\n(R)=r\n(O)=o\n(P)=p\n(U)=u\n"
       "(G)=g\n(K)=k\n");
  ASSERT_TRUE(LoadExceptionList(dir_.Write("e.exc", "DE=KE\n")));
  PhonemeList got = TokensToPhonemes(
      {"555|", "123|Casa", "456|,", "789|de", "111|por", "222|" + C("água"), "333|?", "555|"});
  PhonemeList want = {";555|", "__", "", ";123|Casa", "k", ">a", "s", "a", "", ";456|,", "_,",
                      ";789|de", "k", "e", "", ";111|por", "p", "o", "r", "", C(";222|água"),
                      ">a", "g", "u", "a", "", ";333|?", "_?", ";555|", "__", "", "__"};
  EXPECT_EQ(got, want);
}

TEST(WordDriver, LinkFinalConsonantBeforeAVowel) {
  const std::string um = "\xA8";
  PhonemeList list = {";555|", "__", "", ";555|mar", "m", ">a", "r2", "", ";555|azul", "a",
                      "z", ">u", "w", "", ";555|mas", "m", ">a", "s2", "", ";555|um",
                      um + "un", "", ";555|os", "u", "s2", "", ";555|casa", "k", ">a", "z", "@",
                      "", ";555|luz", "l", ">u", "s2", "", ";555|hoje", ">o", "Z", "i", "",
                      ";555|mar", "m", ">a", "r2", "", ";555|w", "w", "", "__"};
  PhonemeList want = list;
  want[6] = "r";    // mar azul
  want[17] = "z";   // mas um (a "¨" before the vowel is passed over)
  want[24] = "s2";  // os casa: a consonant follows
  want[35] = "z";   // luz hoje (stressed first vowel)
  want[45] = "r";   // mar w
  LinkFinalConsonant(list);
  EXPECT_EQ(list, want);

  // Comment lines before the fourth line and the line right after a comment are not examined.
  PhonemeList early = {"r2", "", ";555|a", "a", ""};
  LinkFinalConsonant(early);
  EXPECT_EQ(early[0], "r2");
  PhonemeList twice = {";555|", "__", "", "s2", ";555|x", ";555|y", "a", ""};
  LinkFinalConsonant(twice);
  EXPECT_EQ(twice[3], "s2");
  PhonemeList lastLine = {";555|", "__", "r2", "", ";555|a"};
  LinkFinalConsonant(lastLine);
  EXPECT_EQ(lastLine[2], "r2");
}

TEST_F(Rules, PortugueseRulesLoadLettersThenExceptions) {
  std::string nrl = dir_.Write("p.nrl", "(A)=a\n");
  std::string exc = dir_.Write("p.exc", "A=B\nC=D\n");
  EXPECT_TRUE(LoadPortugueseRules(nrl, exc));
  EXPECT_EQ(ExceptionCount(), 2u);
  EXPECT_FALSE(LoadPortugueseRules(dir_.path() + "/nada.nrl", exc));
  EXPECT_EQ(ExceptionCount(), 0u);
  EXPECT_FALSE(LoadPortugueseRules(nrl, dir_.path() + "/nada.exc"));
}
