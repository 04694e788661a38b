#include <gtest/gtest.h>

#include "platform/cp1252.hpp"
#include "testkit/testkit.hpp"
#include "tts/uttsExcessoes.hpp"
#include "tts/uttsInic.hpp"
#include "tts/uttsPortug.hpp"
#include "tts/uttsTonica.hpp"

using namespace teluma;
using namespace teluma::tts;

using platform::Utf8ToCp1252;

namespace {

// Loads rules (UTF-8 text) from a temporary file.
void LoadRules(const testkit::TempDir& dir, const std::string& utf8) {
  ASSERT_TRUE(LoadLetterRules(dir.Write("r.nrl", Utf8ToCp1252(utf8))));
}

std::string Phonemes(const std::string& word, int stress) {
  PhonemeList list;
  WordToPhonemes(Utf8ToCp1252(word), stress, list);
  std::string out;
  for (const auto& l : list) out += l + "/";
  return out;
}

}  // namespace

TEST(Stress, AccentsAndTheEndingStateMachine) {
  auto S = [](const char* utf8) { return FindStress(Utf8ToCp1252(utf8)); };
  EXPECT_EQ(S("CAFÉ"), 4);
  EXPECT_EQ(S("ÔNIBUS"), 1);
  EXPECT_EQ(S("CASA"), 2);
  EXPECT_EQ(S("CASAS"), 2);
  EXPECT_EQ(S("FALAR"), 4);
  EXPECT_EQ(S("JARDIM"), 5);
  EXPECT_EQ(S("HOMEM"), 2);
  EXPECT_EQ(S("RUA"), 2);
  EXPECT_EQ(S("GUERRA"), 3);
  EXPECT_EQ(S("PORQUE"), 2);
  EXPECT_EQ(S("FALEI"), 4);
  EXPECT_EQ(S("PNEU"), 3);
  EXPECT_EQ(S("CAQUI"), 5);
  EXPECT_EQ(S("BRR"), 0);
  EXPECT_EQ(S("MYRRH"), 2);
  EXPECT_EQ(S("FALAM"), 2);
  EXPECT_EQ(S("AGUEI"), 4);
  EXPECT_EQ(S("QUASE"), 3);
  EXPECT_EQ(S("LINGÜIÇA"), 6);
  EXPECT_EQ(S("ÁGUA"), 1);
}

TEST(RuleFile, PartsCapacitiesAndRejectedLines) {
  LetterRule r;
  EXPECT_TRUE(ParseRuleLine("AB(CDEFGH)IJKLMN=0123456789abcdefghijklmn|x", r));
  EXPECT_EQ(r.left, "AB");
  EXPECT_EQ(r.match, "CDEFG");
  EXPECT_EQ(r.right, "IJKLM");
  EXPECT_EQ(r.output, "0123456789abcdefghij");
  EXPECT_TRUE(ParseRuleLine("LONGLEFT(A", r));
  EXPECT_EQ(r.left, "LONGL");
  EXPECT_EQ(r.match, "A");
  EXPECT_EQ(r.right, "");
  EXPECT_TRUE(ParseRuleLine("(A)B", r));
  EXPECT_EQ(r.right, "B");
  EXPECT_EQ(r.output, "");
  EXPECT_TRUE(ParseRuleLine("(A)=x", r));
  EXPECT_EQ(r.output, "x");
  EXPECT_FALSE(ParseRuleLine("; (A)=comment", r));
  EXPECT_FALSE(ParseRuleLine("", r));
  EXPECT_FALSE(ParseRuleLine("ABC", r));
  EXPECT_FALSE(ParseRuleLine("()=a", r));
  EXPECT_FALSE(ParseRuleLine("(\x01)=a", r));

  testkit::TempDir dir;
  std::string lines = ";c\n\n()=x\n(A)=a\n" + std::string(100000, 'Q') + "(B)=b\n(A)=z\n";
  ASSERT_TRUE(LoadLetterRules(dir.Write("r.nrl", lines)));
  EXPECT_EQ(LetterRuleCount(), 3u);
  EXPECT_EQ(Phonemes("AB", 0), "a//");  // the B rule wants QQQQQ before it
  EXPECT_FALSE(LoadLetterRules(dir.path() + "/none.nrl"));
  EXPECT_EQ(LetterRuleCount(), 0u);
}

TEST(LetterRules, RightContextSymbols) {
  testkit::TempDir dir;
  LoadRules(dir,
            "(A)#=V\n(A)+=F\n(A)&=L\n(A)\\%=S\n(A)*=C\n(A)[=H\n(A)=a\n"
            "(B)=b\n(E)=e\n(I)=i\n(L)=l\n(R)=r\n(S)=s\n(H)=h\n(P)=p\n");
  EXPECT_EQ(Phonemes("AO", 0), "V//");           // O is not a rule letter of this file
  EXPECT_EQ(Phonemes("AE", 0), "V/e//");         // "#" comes first
  EXPECT_EQ(Phonemes("AL", 0), "L/l//");
  EXPECT_EQ(Phonemes("AS", 0), "S/s//");         // "\" takes the S, then the end
  EXPECT_EQ(Phonemes("A", 0), "S//");            // "\" never fails
  EXPECT_EQ(Phonemes("ASP", 0), "C/s/p//");      // not consumed: S is the consonant
  EXPECT_EQ(Phonemes("AH", 0), "C/h//");
  EXPECT_EQ(Phonemes("AB", 0), "C/b//");
  LoadRules(dir, "(A)[=H\n(A)=a\n(R)=r\n(L)=l\n");
  EXPECT_EQ(Phonemes("AR", 0), "H/r//");
  EXPECT_EQ(Phonemes("A", 0), "H//");
  EXPECT_EQ(Phonemes("AH", 0), "a//");           // H is no "[" consonant
  LoadRules(dir, "(A)*=C\n(A)=a\n(R)=r\n");
  EXPECT_EQ(Phonemes("AR", 0), "a/r//");         // L and R are not "*" consonants
  EXPECT_EQ(Phonemes("A", 0), "a//");            // "*" fails at the end
}

TEST(LetterRules, LeftContextSymbolsAndFolding) {
  testkit::TempDir dir;
  LoadRules(dir,
            "%(B)=I\n](B)=K\n_(C)=U\n|(D)=N\n#(F)=V\nX(G)=X\n(B)=b\n(C)=c\n(D)=d\n(F)=f\n"
            "(G)=g\n(A)=a\n(E)=e\n(N)=n\n(X)=x\n");
  EXPECT_EQ(Phonemes("BAB", 0), "I/a/K//");
  EXPECT_EQ(Phonemes("EB", 0), "e/b//");         // E is no back vowel
  EXPECT_EQ(Phonemes("C", 0), "U//");            // "_" at the start consumes nothing
  EXPECT_EQ(Phonemes("EC", 0), "e/U//");
  EXPECT_EQ(Phonemes("NC", 0), "n/c//");
  EXPECT_EQ(Phonemes("ND", 0), "n/N//");
  EXPECT_EQ(Phonemes("nd", 0), "/");             // lists are chosen by the letter as written
  EXPECT_EQ(Phonemes("AF", 0), "a/V//");
  EXPECT_EQ(Phonemes("xG", 0), "X//");            // contexts fold a-z
  EXPECT_EQ(Phonemes("XG", 0), "x/X//");
}

TEST(LetterRules, StressMarksOutputsAndSilentLetters) {
  testkit::TempDir dir;
  LoadRules(dir, "(A)=a\n(H)=\n(C)=k&s\n(O)=12345678901234567890\n(MM)=m\n(E)=e&\n");
  EXPECT_EQ(Phonemes("AHA", 2), "a/>a//");       // silent stressed letter: mark moves on
  EXPECT_EQ(Phonemes("ACA", 2), "a/>k/s/a//");
  EXPECT_EQ(Phonemes("ACA", 0), "a/k/s/a//");
  EXPECT_EQ(Phonemes("O", 0), "12345678901//");  // only 11 output characters count
  EXPECT_EQ(Phonemes("MMA", 3), "m/>a//");
  EXPECT_EQ(Phonemes("BBB", 1), "/");            // letters without rules give nothing
  EXPECT_EQ(Phonemes("E", 1), ">e///");          // "&" at the end leaves an empty phoneme
}

TEST(WordDriver, TokensPausesExceptionsAndLinking) {
  testkit::TempDir dir;
  std::string exc = dir.Write("p.exc", "xis=KS\n");
  ASSERT_TRUE(LoadPortugueseRules(
      dir.Write("p.nrl", Utf8ToCp1252("(A)=a\n(R)%=r2\n(R)=r\n(S)%=s2\n(S)=s\n(M)=m\n(K)=k\n"
                                      "(D)=d\n(E)=e\n(C)=k\n(O)=o\n(N)=n\n(Ã)=an\n(U)=u\n")),
      exc));
  EXPECT_EQ(ExceptionCount(), 1u);
  std::vector<std::string> tokens = {"555|", "544|mar", "555|azul", "555|mar", "555|de",
                                     "555|,", "555|as", "555|asa", "555| ", "555|com",
                                     Utf8ToCp1252("555|não"), "555|xis"};
  PhonemeList got = TokensToPhonemes(tokens);
  PhonemeList want = {";555|", "__", "", ";544|mar", "m", ">a", "r", "", ";555|azul", "a",
                      ">u", "", ";555|mar", "m", ">a", "r2", "", ";555|de", "d", "e", "",
                      ";555|,", "_,", ";555|as", "a", "z", "", ";555|asa", ">a", "s", "a",
                      "", ";555| ", ";555|com", "k", "o", "m", "", Utf8ToCp1252(";555|não"),
                      "n", "an", "o", "", ";555|xis", "k", "s2", "", "__"};
  EXPECT_EQ(got, want);
  EXPECT_TRUE(IsUnstressedWord("DE"));
  EXPECT_TRUE(IsUnstressedWord("DOS"));
  EXPECT_FALSE(IsUnstressedWord("MAR"));
}

TEST(WordDriver, LinkingPassesOverStressMarks) {
  PhonemeList list = {";555|", "__", "", ";555|por", "p", "o", "r2", "", ";555|água",
                      ">a", "g", "", ";555|mas", "m", ">a", "s2", "", ";555|bem", "b", "", "__"};
  LinkFinalConsonant(list);
  EXPECT_EQ(list[6], "r");
  EXPECT_EQ(list[15], "s2");
}

TEST(Exceptions, SortedLookupWithSuffixesAndFileLimits) {
  testkit::TempDir dir;
  std::string text = "casa=KAZA|comentário\nzebra=ZEBRA\n\nsem igual\nbom=BÕ\n" +
                     std::string(250, 'a') + "=" + std::string(100, 'y') + "\n";
  ASSERT_TRUE(LoadExceptionList(dir.Write("e.exc", Utf8ToCp1252(text))));
  EXPECT_EQ(ExceptionCount(), 5u);
  auto A = [](std::string w) { ApplyExceptions(w); return w; };
  EXPECT_EQ(A("CASA"), "KAZA");
  EXPECT_EQ(A("CASAS"), "KAZAS");
  EXPECT_EQ(A("BONS"), "BONS");
  EXPECT_EQ(A("BOMSM"), Utf8ToCp1252("BÕSM"));
  EXPECT_EQ(A("SS"), "SS");
  EXPECT_EQ(A("CASO"), "CASO");
  EXPECT_EQ(A(std::string(250, 'A')), "YYYY");   // the long line was cut at 255 characters

  std::string many;
  for (int i = 0; i < 15100; ++i) {
    const std::string n = std::to_string(i);
    many.append("w").append(n).append("=R").append(n).append("\n");
  }
  ASSERT_TRUE(LoadExceptionList(dir.Write("big.exc", many)));
  EXPECT_EQ(ExceptionCount(), kMaxExceptions);
  EXPECT_EQ(A("W14999"), "R14999");
  EXPECT_EQ(A("W15000"), "W15000");
  EXPECT_FALSE(LoadExceptionList(dir.path() + "/none.exc"));
}
