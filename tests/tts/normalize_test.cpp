#include <gtest/gtest.h>

#include "platform/cp1252.hpp"
#include "testkit/testkit.hpp"
#include "tts/uttsPreproc.hpp"

using namespace teluma;
using namespace teluma::tts;

using platform::Cp1252ToUtf8;
using platform::Utf8ToCp1252;

namespace {

std::string Normalize(const std::string& utf8) {
  return Cp1252ToUtf8(NormalizeText(Utf8ToCp1252(utf8)));
}

// Blank runs carry no meaning downstream; compare texts with single blanks.
std::string Squeeze(std::string s) {
  std::string out;
  for (char c : s)
    if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string N(const std::string& utf8) { return Squeeze(Normalize(utf8)); }

std::string Number(const std::string& text, size_t& pos) {
  return Cp1252ToUtf8(NumberWords(Utf8ToCp1252(text), pos));
}

}  // namespace

TEST(Cardinal, GroupsScalesAndTheLeadingThousand) {
  EXPECT_EQ(CardinalWords(0), "zero");
  EXPECT_EQ(CardinalWords(100), "cem");
  EXPECT_EQ(CardinalWords(101), "cento e um");
  EXPECT_EQ(CardinalWords(115), "cento e quinze");
  EXPECT_EQ(Cp1252ToUtf8(CardinalWords(1234)), "mil e duzentos e trinta e quatro");
  EXPECT_EQ(CardinalWords(1001), "mil e um");
  EXPECT_EQ(CardinalWords(1000), "mil ");
  EXPECT_EQ(Cp1252ToUtf8(CardinalWords(2000000)), "dois milhões ");
  EXPECT_EQ(Cp1252ToUtf8(CardinalWords(1000000)), "um milhão ");
  EXPECT_EQ(Cp1252ToUtf8(CardinalWords(1234567)),
            "um milhão duzentos e trinta e quatro mil e quinhentos e sessenta e sete");
  EXPECT_EQ(Cp1252ToUtf8(CardinalWords(50)), "cinqüenta");
  EXPECT_EQ(Cp1252ToUtf8(CardinalWords(999999999999999ULL)).rfind(
                "novecentos e noventa e nove trilhões novecentos e", 0),
            0u);
}

TEST(Ordinal, MasculineFeminineAndLargeValues) {
  EXPECT_EQ(Cp1252ToUtf8(OrdinalWords('m', 121)), "centésimo vigésimo primeiro");
  EXPECT_EQ(Cp1252ToUtf8(OrdinalWords('f', 21)), "vigésima primeira");
  EXPECT_EQ(Cp1252ToUtf8(OrdinalWords('f', 1000)), "milésima");
  EXPECT_EQ(OrdinalWords('m', 0), "zero");
  EXPECT_EQ(OrdinalWords('f', 2000), "dois mil ");
  EXPECT_EQ(Cp1252ToUtf8(OrdinalWords('m', 1999)),
            "milésimo nongentésimo nonagésimo nono");
}

TEST(Numbers, SeparatorsZerosDashesAndSuffixes) {
  size_t pos = 1;
  EXPECT_EQ(Number("1.000 reais", pos), "mil ");
  EXPECT_EQ(pos, 6u);
  pos = 1;
  EXPECT_EQ(Number("1.0000", pos), "um");
  EXPECT_EQ(pos, 2u);
  pos = 1;
  EXPECT_EQ(Number("007", pos), "zero zero sete");
  pos = 1;
  EXPECT_EQ(Number("123-456 x", pos), " um dois três traço quatro cinco seis");
  EXPECT_EQ(pos, 8u);
  pos = 1;
  EXPECT_EQ(Number("2as. x", pos), "segundas");
  EXPECT_EQ(pos, 5u);
  pos = 1;
  EXPECT_EQ(Number("3o. lugar", pos), "terceiro");
  pos = 1;
  EXPECT_EQ(Number("2000º", pos), "dois mil ");
  pos = 1;
  // Sixteen digits: the last one is left for the next number.
  EXPECT_EQ(Number("1000000000000005", pos), "cem trilhões ");
  EXPECT_EQ(pos, 16u);
  pos = 1;
  EXPECT_EQ(Number("05º", pos), "quinto");
  pos = 1;
  EXPECT_EQ(Number("12abc", pos), "doze");
  EXPECT_EQ(pos, 3u);
}

TEST(Normalize, NumbersSignsAndDecimals) {
  EXPECT_EQ(N("-5"), "menos cinco");
  EXPECT_EQ(N("3,14"), "três vírgula quatorze");
  EXPECT_EQ(N("1.5"), "um ponto cinco");
  EXPECT_EQ(N("1.000"), "mil");
  EXPECT_EQ(N("1.000 reais"), "mil reais");
  EXPECT_EQ(N("1.0000"), "um ponto zero zero zero zero");
  EXPECT_EQ(N("2º lugar"), "segundo lugar");
  EXPECT_EQ(N("21ª vez"), "vigésima primeira vez");
  EXPECT_EQ(N("1.234.567,5"),
            "um milhão duzentos e trinta e quatro mil e quinhentos e sessenta e sete "
            "vírgula cinco");
  EXPECT_EQ(N("a - b"), "a , bê");
}

TEST(Normalize, SymbolsPeriodsAndControlCharacters) {
  EXPECT_EQ(Normalize("!"), "exclamação");
  EXPECT_EQ(Normalize("à"), "A grave");
  EXPECT_EQ(Normalize("\x01"), "");
  EXPECT_EQ(N("a.e"), "a ponto e");
  EXPECT_EQ(N("sim... não"), "sim... não");
  EXPECT_EQ(N("sim...."), "sim... .");
  EXPECT_EQ(N("50% & 3"), "cinqüenta porcento é comercial três");
  EXPECT_EQ(N("x=y"), "xis igual ípsilon");
  EXPECT_EQ(N("fim."), "fim.");
  // Line breaks separate words instead of joining them.
  EXPECT_EQ(N("bom\r\ndia\tagora"), "bom dia agora");
  EXPECT_EQ(Cp1252ToUtf8(SymbolName('C')), " sê");
  EXPECT_EQ(Cp1252ToUtf8(SymbolName('J')), "jóta");
  EXPECT_EQ(Cp1252ToUtf8(SymbolName('j')), "jota");
  EXPECT_EQ(Cp1252ToUtf8(SymbolName(0xF7)), "vezes");
  EXPECT_EQ(SymbolName(0xFF), "");
  EXPECT_EQ(SymbolName(0x80), "");
  EXPECT_EQ(Cp1252ToUtf8(SymbolName(0xBA)), "ordinal masculino");
}

TEST(Normalize, ConsonantRunsAndAbbreviations) {
  testkit::TempDir dir;
  std::string file = dir.Write("a.abr", Utf8ToCp1252(
      "; teste\r\n\r\n  av = avenida \r\nDr=doutor\r\ndr=primeiro ganha não\r\nSr=senhor\r\n"
      "BH=Belo Horizonte\r\nsó abreviatura\r\n"));
  ASSERT_TRUE(LoadAbbreviations(file));
  EXPECT_EQ(AbbreviationCount(), 6u);
  EXPECT_EQ(LookupAbbreviation("aV"), "avenida");
  EXPECT_EQ(LookupAbbreviation("DR"), "doutor");
  EXPECT_EQ(LookupAbbreviation("nada"), "");
  EXPECT_EQ(N("Av. principal"), "avenida principal");
  EXPECT_EQ(N("o Dr. Sr. Silva"), "o doutor senhor Silva");
  EXPECT_EQ(N("BH"), "bêagá");
  EXPECT_EQ(N("BH. depois"), "Belo Horizonte depois");
  EXPECT_EQ(N("vi o Dr."), "vi o Dr.");           // no blank after the period
  EXPECT_EQ(N("casa. depois"), "casa. depois");     // not an abbreviation
  EXPECT_EQ(N("PT-BR"), "pêtêtraçobêérre");
  EXPECT_EQ(N("guarda-chuva"), "guarda-chuva");
  EXPECT_FALSE(LoadAbbreviations(dir.path() + "/falta.abr"));
  EXPECT_EQ(AbbreviationCount(), 0u);
}

TEST(Normalize, AbbreviationTableKeepsItsFirstEntries) {
  testkit::TempDir dir;
  std::string text;
  for (int i = 0; i < 2500; ++i) {
    const std::string n = std::to_string(i);
    text.append("ab").append(n).append("=x").append(n).append("\n");
  }
  ASSERT_TRUE(LoadAbbreviations(dir.Write("big.abr", text)));
  EXPECT_EQ(AbbreviationCount(), kMaxAbbreviations);
  EXPECT_EQ(LookupAbbreviation("AB1999"), "x1999");
  EXPECT_EQ(LookupAbbreviation("AB2000"), "");
  ClearAbbreviations();
}
