// Conformance of the text stage of the Portuguese front end: number words, ordinals, symbol
// names, spelled consonant runs, abbreviations, exceptions and stress, each checked against
// hand-computed results of the front end's rules.
#include <gtest/gtest.h>

#include <string>

#include "platform/cp1252.hpp"
#include "testkit/testkit.hpp"
#include "tts/uttsExcessoes.hpp"
#include "tts/uttsPreproc.hpp"
#include "tts/uttsTonica.hpp"

namespace {

std::string C(const std::string& utf8) { return platform::Utf8ToCp1252(utf8); }
std::string U(const std::string& cp1252) { return platform::Cp1252ToUtf8(cp1252); }

std::string Norm(const std::string& utf8) { return U(NormalizeText(C(utf8))); }

// NumberWords from 1-based position pos; returns the words and where reading stopped.
std::pair<std::string, size_t> Number(const std::string& utf8, size_t pos = 1) {
  std::string text = C(utf8);
  std::string words = NumberWords(text, pos);
  return {U(words), pos};
}

// A small abbreviation table for the normalisation cases.
class WithAbbreviations : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadAbbreviations(dir_.Write("a.abr", C("Av=avenida\nDr=doutor\nkm=quilômetros\n"))));
  }
  void TearDown() override { ClearAbbreviations(); }
  testkit::TempDir dir_;
};

}  // namespace

TEST(NumberText, CardinalGroupsScalesAndJoins) {
  EXPECT_EQ(U(CardinalWords(0)), "zero");
  EXPECT_EQ(U(CardinalWords(1)), "um");
  EXPECT_EQ(U(CardinalWords(10)), "dez");
  EXPECT_EQ(U(CardinalWords(15)), "quinze");
  EXPECT_EQ(U(CardinalWords(21)), "vinte e um");
  EXPECT_EQ(U(CardinalWords(50)), "cinqüenta");
  EXPECT_EQ(U(CardinalWords(100)), "cem");
  EXPECT_EQ(U(CardinalWords(101)), "cento e um");
  EXPECT_EQ(U(CardinalWords(110)), "cento e dez");
  EXPECT_EQ(U(CardinalWords(999)), "novecentos e noventa e nove");
  EXPECT_EQ(U(CardinalWords(1000)), "mil ");
  EXPECT_EQ(U(CardinalWords(1001)), "mil e um");
  EXPECT_EQ(U(CardinalWords(1234)), "mil e duzentos e trinta e quatro");
  EXPECT_EQ(U(CardinalWords(2000)), "dois mil ");
  EXPECT_EQ(U(CardinalWords(100000)), "cem mil ");
  EXPECT_EQ(U(CardinalWords(1000000)), "um milhão ");
  EXPECT_EQ(U(CardinalWords(2000000)), "dois milhões ");
  EXPECT_EQ(U(CardinalWords(2000100)), "dois milhões e cem");
  EXPECT_EQ(U(CardinalWords(1001000)), "um milhão e um mil ");
  EXPECT_EQ(U(CardinalWords(1000000000ULL)), "um bilhão ");
  EXPECT_EQ(U(CardinalWords(1000000000000ULL)), "um trilhão ");
  EXPECT_EQ(U(CardinalWords(123456789012345ULL)),
            "cento e vinte e três trilhões quatrocentos e cinqüenta e seis bilhões setecentos "
            "e oitenta e nove milhões doze mil e trezentos e quarenta e cinco");
  // Only a leading "um mil" loses its "um", never "um milhão".
  EXPECT_EQ(U(CardinalWords(1500)), "mil e quinhentos");
  EXPECT_EQ(U(CardinalWords(11000)), "onze mil ");
}

TEST(NumberText, GroupWordsOfThreeDigits) {
  EXPECT_EQ(GroupWords("000"), "");
  EXPECT_EQ(GroupWords("100"), "cem");
  EXPECT_EQ(GroupWords("200"), "duzentos");
  EXPECT_EQ(GroupWords("010"), "dez");
  EXPECT_EQ(GroupWords("019"), "dezenove");
  EXPECT_EQ(GroupWords("090"), "noventa");
  EXPECT_EQ(GroupWords("305"), "trezentos e cinco");
  EXPECT_EQ(GroupWords("001"), "um");
}

TEST(NumberText, OrdinalsByGenderAndTheirLimit) {
  EXPECT_EQ(U(OrdinalWords('m', 0)), "zero");
  EXPECT_EQ(U(OrdinalWords('m', 1)), "primeiro");
  EXPECT_EQ(U(OrdinalWords('f', 1)), "primeira");
  EXPECT_EQ(U(OrdinalWords('m', 10)), "décimo");
  EXPECT_EQ(U(OrdinalWords('m', 121)), "centésimo vigésimo primeiro");
  EXPECT_EQ(U(OrdinalWords('f', 21)), "vigésima primeira");
  EXPECT_EQ(U(OrdinalWords('m', 1000)), "milésimo");
  EXPECT_EQ(U(OrdinalWords('f', 1100)), "milésima centésima");
  EXPECT_EQ(U(OrdinalWords('m', 1999)), "milésimo nongentésimo nonagésimo nono");
  EXPECT_EQ(U(OrdinalWords('m', 407)), "quadrigentésimo sétimo");
  // From 2000 on the cardinal is read, not feminised.
  EXPECT_EQ(U(OrdinalWords('f', 2000)), "dois mil ");
  EXPECT_EQ(U(OrdinalWords('f', 2001)), "dois mil e um");
}

TEST(NumberText, NumberWordsSeparatorsZerosLimitAndSuffixes) {
  EXPECT_EQ(Number("1.000"), std::make_pair(std::string("mil "), size_t{6}));
  EXPECT_EQ(Number("1.000.000 x"), std::make_pair(std::string("um milhão "), size_t{10}));
  // A dot is a thousands separator only before exactly three digits.
  EXPECT_EQ(Number("1.0000"), std::make_pair(std::string("um"), size_t{2}));
  EXPECT_EQ(Number("1.00"), std::make_pair(std::string("um"), size_t{2}));
  EXPECT_EQ(Number("1.5"), std::make_pair(std::string("um"), size_t{2}));
  EXPECT_EQ(Number("3,14"), std::make_pair(std::string("três"), size_t{2}));
  EXPECT_EQ(Number("007"), std::make_pair(std::string("zero zero sete"), size_t{4}));
  EXPECT_EQ(Number("00"), std::make_pair(std::string("zero zero"), size_t{3}));
  EXPECT_EQ(Number("0"), std::make_pair(std::string("zero"), size_t{2}));
  // The 16th digit is left for the next number.
  EXPECT_EQ(Number("1000000000000009").second, size_t{16});
  EXPECT_EQ(Number("1000000000000009").first, "cem trilhões ");
  EXPECT_EQ(Number("2º"), std::make_pair(std::string("segundo"), size_t{3}));
  EXPECT_EQ(Number("2ª"), std::make_pair(std::string("segunda"), size_t{3}));
  EXPECT_EQ(Number("3o."), std::make_pair(std::string("terceiro"), size_t{4}));
  EXPECT_EQ(Number("3a."), std::make_pair(std::string("terceira"), size_t{4}));
  EXPECT_EQ(Number("2os."), std::make_pair(std::string("segundos"), size_t{5}));
  EXPECT_EQ(Number("2as."), std::make_pair(std::string("segundas"), size_t{5}));
  EXPECT_EQ(Number("2000º"), std::make_pair(std::string("dois mil "), size_t{6}));
  EXPECT_EQ(Number("05º"), std::make_pair(std::string("quinto"), size_t{4}));
  // Anything else after the digits keeps the cardinal and is not consumed.
  EXPECT_EQ(Number("2o"), std::make_pair(std::string("dois"), size_t{2}));
  EXPECT_EQ(Number("2km"), std::make_pair(std::string("dois"), size_t{2}));
  // A run with a dash is read digit by digit.
  EXPECT_EQ(Number("123-456 x"),
            std::make_pair(std::string(" um dois três traço quatro cinco seis"), size_t{8}));
  EXPECT_EQ(Number("10-"), std::make_pair(std::string(" um zero traço"), size_t{4}));
  // Reading starts where it is told.
  EXPECT_EQ(Number("ab 42", 4), std::make_pair(std::string("quarenta e dois"), size_t{6}));
}

TEST(SymbolNames, TablesAndRanges) {
  EXPECT_EQ(U(SymbolName(' ')), "espaço");
  EXPECT_EQ(U(SymbolName('@')), "arrôba");
  EXPECT_EQ(U(SymbolName('C')), " sê");
  EXPECT_EQ(U(SymbolName('d')), " dê");
  EXPECT_EQ(U(SymbolName('J')), "jóta");
  EXPECT_EQ(U(SymbolName('j')), "jota");
  EXPECT_EQ(U(SymbolName('N')), "êne");
  EXPECT_EQ(U(SymbolName('n')), "ene");
  EXPECT_EQ(U(SymbolName('0')), "zéro");
  EXPECT_EQ(U(SymbolName('7')), "séte");
  EXPECT_EQ(U(SymbolName('9')), "nóve");
  EXPECT_EQ(U(SymbolName('~')), "til");
  EXPECT_EQ(U(SymbolName('`')), "crase");
  EXPECT_EQ(U(SymbolName(161)), "exclamação reversa");
  EXPECT_EQ(U(SymbolName(171)), "Aspas esquerdas");
  EXPECT_EQ(U(SymbolName(174)), "Marca registrada");
  EXPECT_EQ(U(SymbolName(191)), "interrogação reversa");
  EXPECT_EQ(U(SymbolName(192)), "A grave");
  EXPECT_EQ(U(SymbolName(215)), "vezes");
  EXPECT_EQ(U(SymbolName(220)), "U com trema");
  // Lower-case accented letters take the name of their upper case; a few codes have none.
  EXPECT_EQ(U(SymbolName(0xE7)), "Cê cedilha");
  EXPECT_EQ(U(SymbolName(0xF7)), "vezes");
  EXPECT_EQ(U(SymbolName(0xFC)), "U com trema");
  for (int code : {0, 9, 31, 127, 128, 150, 160, 221, 222, 223}) {
    EXPECT_EQ(SymbolName(static_cast<unsigned char>(code)), "") << code;
  }
}

TEST_F(WithAbbreviations, ReadWordSpellsConsonantRuns) {
  auto Read = [](const std::string& utf8, size_t pos = 1) {
    std::string text = C(utf8);
    std::string w = ReadWord(text, pos);
    return std::make_pair(U(w), pos);
  };
  EXPECT_EQ(Read("casa azul"), std::make_pair(std::string("casa"), size_t{5}));
  EXPECT_EQ(Read("BH"), std::make_pair(std::string("bêagá"), size_t{3}));
  EXPECT_EQ(Read("ônibus!"), std::make_pair(std::string("ônibus"), size_t{7}));
  // Hyphens stay inside the word, and are spelled with the consonants around them.
  EXPECT_EQ(Read("guarda-chuva"), std::make_pair(std::string("guarda-chuva"), size_t{13}));
  EXPECT_EQ(Read("BH-SP"), std::make_pair(std::string("bêagátraçoéssepê"), size_t{6}));
  // A consonant run with a period is kept when it is a known abbreviation.
  EXPECT_EQ(Read("Dr. X"), std::make_pair(std::string("Dr"), size_t{3}));
  EXPECT_EQ(Read("km."), std::make_pair(std::string("km"), size_t{3}));
  EXPECT_EQ(Read("cm."), std::make_pair(std::string(" sêême"), size_t{3}));
  EXPECT_EQ(Read("ñ"), std::make_pair(std::string("N com til"), size_t{2}));
  EXPECT_EQ(Read("xy1"), std::make_pair(std::string("xisípsilon"), size_t{3}));
}

TEST_F(WithAbbreviations, NormalizeTextCaseByCase) {
  EXPECT_EQ(Norm("-5"), "menos cinco ");
  EXPECT_EQ(Norm("a - b"), "a , bê");
  EXPECT_EQ(Norm("3,14"), "três vírgula quatorze ");
  EXPECT_EQ(Norm("1.5"), "um ponto cinco ");
  EXPECT_EQ(Norm("1.000"), "mil  ");
  EXPECT_EQ(Norm("1.000 reais"), "mil   reais");
  EXPECT_EQ(Norm("1.0000"), "um ponto zero zero zero zero ");
  EXPECT_EQ(Norm("007"), "zero zero sete ");
  EXPECT_EQ(Norm("123-456"), " um dois três traço quatro cinco seis ");
  EXPECT_EQ(Norm("2º"), "segundo ");
  EXPECT_EQ(Norm("2as."), "segundas ");
  EXPECT_EQ(Norm("2000º"), "dois mil  ");
  EXPECT_EQ(Norm("1234567890123456"),
            "cento e vinte e três trilhões quatrocentos e cinqüenta e seis bilhões setecentos e "
            "oitenta e nove milhões doze mil e trezentos e quarenta e cinco seis ");
  EXPECT_EQ(Norm("BH"), "bêagá");
  EXPECT_EQ(Norm("Av. principal"), "avenida principal");
  EXPECT_EQ(Norm("AV. Paulista"), "avenida Paulista");
  EXPECT_EQ(Norm("Av.Paulista"), "Av ponto Paulista");
  EXPECT_EQ(Norm("Dr. Silva"), "doutor Silva");
  EXPECT_EQ(Norm("5 km."), "cinco  km.");
  EXPECT_EQ(Norm("casa. Rua"), "casa. Rua");
  EXPECT_EQ(Norm("a.e"), "a ponto e");
  EXPECT_EQ(Norm("...x"), "... xis");
  EXPECT_EQ(Norm("fim...."), "fim... .");
  EXPECT_EQ(Norm("Oi!"), "Oi!");
  EXPECT_EQ(Norm("50%"), "cinqüenta  porcento ");
  EXPECT_EQ(Norm("a@b"), "a arrôba bê");
  EXPECT_EQ(Norm("x-y"), "xistraçoípsilon");
  EXPECT_EQ(Norm("--5"), " traço menos cinco ");
  EXPECT_EQ(Norm("5 - 3"), "cinco  , três ");
  EXPECT_EQ(Norm("10,5 e 2.5"), "dez vírgula cinco  e dois ponto cinco ");
  EXPECT_EQ(Norm("3,x"), "três ,xis");
  // One character alone is replaced by its name first.
  EXPECT_EQ(Norm("!"), "exclamação");
  EXPECT_EQ(Norm("à"), "A grave");
  EXPECT_EQ(Norm("0"), "zéro");
  EXPECT_EQ(Norm("c"), " sê");
  EXPECT_EQ(Norm(std::string(1, '\x01')), "");
  // Control characters of more than one character have no name; line ends separate words.
  EXPECT_EQ(Norm("a\x01" "b"), "a  bê");
  EXPECT_EQ(Norm("um\ndois"), "um dois");
  EXPECT_EQ(Norm("um\r\n\tdois"), "um   dois");
}

TEST(Abbreviations, FileOrderCaseAndComments) {
  testkit::TempDir dir;
  std::string file = dir.Write(
      "x.abr", C("; comentário\n\n  sr =  senhor \nSR=segundo\nKg=Quilos\nsem igual\n"));
  ASSERT_TRUE(LoadAbbreviations(file));
  EXPECT_EQ(LookupAbbreviation("Sr"), "senhor");
  EXPECT_EQ(LookupAbbreviation("sR"), "senhor");
  EXPECT_EQ(LookupAbbreviation("KG"), "Quilos");
  EXPECT_EQ(LookupAbbreviation("kg "), "");
  EXPECT_EQ(LookupAbbreviation("xyz"), "");
  EXPECT_FALSE(LoadAbbreviations(dir.path() + "/nada.abr"));
  ClearAbbreviations();
}

TEST(Exceptions, SortedTableWithSuffixSearch) {
  testkit::TempDir dir;
  std::string longLine(300, 'Q');
  longLine += "=NUNCA";
  std::string file = dir.Write(
      "x.exc", C("casa=kaza|comentário\nMESA=meza\n\nsem igual\nabc=\n" + longLine + "\nxis=SHIS\n"));
  ASSERT_TRUE(LoadExceptionList(file));
  auto Apply = [](const std::string& utf8) {
    std::string w = C(utf8);
    ApplyExceptions(w);
    return U(w);
  };
  EXPECT_EQ(Apply("CASA"), "KAZA");
  EXPECT_EQ(Apply("CASAS"), "KAZAS");
  EXPECT_EQ(Apply("CASAM"), "KAZAM");
  EXPECT_EQ(Apply("CASASM"), "KAZASM");
  EXPECT_EQ(Apply("MESAS"), "MEZAS");
  EXPECT_EQ(Apply("XIS"), "SHIS");
  EXPECT_EQ(Apply("PORTAS"), "PORTAS");
  EXPECT_EQ(Apply("SSS"), "SSS");
  EXPECT_EQ(Apply("SEM IGUAL"), "SEM IGUAL");
  EXPECT_EQ(Apply("ABC"), "");
  EXPECT_EQ(Apply(std::string(300, 'Q')), std::string(300, 'Q'));
  EXPECT_EQ(Apply(""), "");
  EXPECT_FALSE(LoadExceptionList(dir.path() + "/nada.exc"));
  ClearExceptions();
}

TEST(Exceptions, TableHoldsFifteenThousandEntries) {
  testkit::TempDir dir;
  std::string text;
  for (int i = 0; i < 15000; ++i) {
    text += 'W';
    text += std::to_string(i);
    text += "=R\n";
  }
  text += "ULTIMA=NAO\n";
  ASSERT_TRUE(LoadExceptionList(dir.Write("big.exc", text)));
  EXPECT_EQ(ExceptionCount(), 15000u);
  std::string w = "ULTIMA";
  ApplyExceptions(w);
  EXPECT_EQ(w, "ULTIMA");
  w = "W14999";
  ApplyExceptions(w);
  EXPECT_EQ(w, "R");
  ClearExceptions();
}

TEST(Stress, EveryStateOfTheMachine) {
  auto S = [](const std::string& utf8) { return FindStress(C(utf8)); };
  // Accents decide at once; the rightmost one wins.
  EXPECT_EQ(S("CAFÉ"), 4);
  EXPECT_EQ(S("ÔNIBUS"), 1);
  EXPECT_EQ(S("ÂNGULO"), 1);
  EXPECT_EQ(S("PÊSSEGO"), 2);
  EXPECT_EQ(S("ÓRFÃ"), 4);
  EXPECT_EQ(S("AGÜENTAR"), 7);
  // S0 to S1 to S2.
  EXPECT_EQ(S("CASA"), 2);
  EXPECT_EQ(S("CASAS"), 2);
  EXPECT_EQ(S("A"), 1);
  // S1 with a stress vowel right before the final vowel.
  EXPECT_EQ(S("PAIO"), 3);
  // S2 to S3: after i or u the vowel before them wins, else the i or u.
  EXPECT_EQ(S("SAUDE"), 2);
  EXPECT_EQ(S("LIVRO"), 2);
  EXPECT_EQ(S("AGUILA"), 4);
  EXPECT_EQ(S("CUICA"), 2);
  // S1 to S4 and S5.
  EXPECT_EQ(S("RUA"), 2);
  EXPECT_EQ(S("AGUA"), 1);
  EXPECT_EQ(S("GUERRA"), 3);
  EXPECT_EQ(S("PORQUE"), 2);
  // S10, S20, S21.
  EXPECT_EQ(S("PNEU"), 3);
  EXPECT_EQ(S("BAMBU"), 5);
  EXPECT_EQ(S("FALEI"), 4);
  EXPECT_EQ(S("CAQUI"), 5);
  EXPECT_EQ(S("RUI"), 2);
  EXPECT_EQ(S("SAIOI"), 4);
  // S30 and S40.
  EXPECT_EQ(S("FALAR"), 4);
  EXPECT_EQ(S("SHOW"), 3);
  EXPECT_EQ(S("MYRRH"), 2);
  EXPECT_EQ(S("JARDIM"), 5);
  EXPECT_EQ(S("HOMEM"), 2);
  EXPECT_EQ(S("FALAM"), 2);
  EXPECT_EQ(S("ITEM"), 1);
  EXPECT_EQ(S("FILMS"), 2);
  EXPECT_EQ(S("BRR"), 0);
  EXPECT_EQ(S(""), 0);
}
