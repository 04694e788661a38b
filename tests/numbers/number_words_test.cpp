// Number words checked against a reading built the other way round: from the value by
// division, with the Portuguese rules spelt out separately from the program's tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numbers/tlHora.hpp"
#include "numbers/tllenum.hpp"

using namespace teluma;
using namespace teluma::numbers;

namespace {

// Reference reading of 0..999.
std::string ReadBelowThousand(int n) {
  static const char* const ones[] = {"",     "um",   "dois",  "tres", "quatro",
                                     "cinco", "seis", "sete", "oito", "nove",
                                     "dez",   "onze", "doze", "treze", "quatorze",
                                     "quinze", "dezesseis", "dezessete", "dezoito", "dezenove"};
  static const char* const tens[] = {"", "", "vinte", "trinta", "quarenta", "cinquenta",
                                     "sessenta", "setenta", "oitenta", "noventa"};
  static const char* const hundreds[] = {"", "cento", "duzentos", "trezentos", "quatrocentos",
                                         "quinhentos", "seiscentos", "setecentos",
                                         "oitocentos", "novecentos"};
  if (n == 100) return "cem";
  std::vector<std::string> pieces;
  if (n / 100) pieces.push_back(hundreds[n / 100]);
  int rest = n % 100;
  if (rest >= 20) {
    pieces.push_back(tens[rest / 10]);
    if (rest % 10) pieces.push_back(ones[rest % 10]);
  } else if (rest > 0) {
    pieces.push_back(ones[rest]);
  }
  std::string out;
  for (size_t i = 0; i < pieces.size(); ++i) out += (i ? " e " : "") + pieces[i];
  return out;
}

// Reference reading of a whole number: groups of thousands from the top, each followed by its
// scale word and a blank, "e " only before the last group that is not zero, and "mil" alone
// for one thousand at the start.
std::string ReadNumber(long long n) {
  if (n == 0) return "zero";
  struct Scale { long long size; const char* one; const char* many; };
  const Scale scales[] = {{1000000000000LL, "trilh\xE3o", "trilh\xF5" "es"},
                          {1000000000LL, "bilh\xE3o", "bilh\xF5" "es"},
                          {1000000LL, "milh\xE3o", "milh\xF5" "es"},
                          {1000LL, "mil", "mil"},
                          {1LL, nullptr, nullptr}};
  std::vector<std::string> parts;
  for (const Scale& s : scales) {
    int group = static_cast<int>(n / s.size % 1000);
    if (group == 0) continue;
    std::string part = ReadBelowThousand(group);
    if (s.one) part += std::string(" ") + (group == 1 ? s.one : s.many) + " ";
    parts.push_back(part);
  }
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i)
    out += (i + 1 == parts.size() && i > 0 ? "e " : "") + parts[i];
  if (n / 1000 % 1000 == 1 && n < 1000000) out.erase(0, 3);
  return out;
}

TEST(NumberWords, EveryValueUpToOneMillion) {
  int mismatches = 0;
  for (long long n = 0; n <= 1000000; ++n) {
    const std::string got = NumberToWords(n);
    const std::string want = ReadNumber(n);
    if (got != want && ++mismatches <= 10) ADD_FAILURE() << n << ": '" << got << "' vs '" << want << "'";
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(NumberWords, LargeValues) {
  for (long long n : {1000001LL, 1001000LL, 1200300LL, 2500000LL, 3000000LL, 999999999LL,
                      1000000000LL, 1000000001LL, 2000000000LL, 2147483647LL,
                      1000000000000LL, 999999999999999LL, 123456789012345LL})
    EXPECT_EQ(NumberToWords(n), ReadNumber(n)) << n;

  // Readings written out by hand.
  EXPECT_EQ(NumberToWords(1), "um");
  EXPECT_EQ(NumberToWords(1000), "mil ");
  EXPECT_EQ(NumberToWords(1500), "mil e quinhentos");
  EXPECT_EQ(NumberToWords(2001), "dois mil e um");
  EXPECT_EQ(NumberToWords(1550), "mil e quinhentos e cinquenta");
  EXPECT_EQ(NumberToWords(1000000), "um milh\xE3o ");
  EXPECT_EQ(NumberToWords(1200300), "um milh\xE3o duzentos mil e trezentos");
  EXPECT_EQ(NumberToWords(2500000), "dois milh\xF5" "es e quinhentos mil ");
  EXPECT_EQ(NumberToWords(3000000), "tres milh\xF5" "es ");
  EXPECT_EQ(NumberToWords(2147483647),
            "dois bilh\xF5" "es cento e quarenta e sete milh\xF5" "es quatrocentos e oitenta e "
            "tres mil e seiscentos e quarenta e sete");
  // One million one thousand keeps the inner "um mil": only a leading one thousand is "mil".
  EXPECT_EQ(NumberToWords(1001000), "um milh\xE3o e um mil ");

  EXPECT_EQ(NumberToWords(-1), "");
  EXPECT_EQ(NumberToWords(1000000000000000LL), "");
}

TEST(NumberWords, Groups) {
  EXPECT_EQ(GroupToWords("000"), "");
  EXPECT_EQ(GroupToWords("100"), "cem");
  EXPECT_EQ(GroupToWords("021"), "vinte e um");
  EXPECT_EQ(GroupToWords("101"), "cento e um");
  EXPECT_EQ(GroupToWords("110"), "cento e dez");
  EXPECT_EQ(GroupToWords("200"), "duzentos");
  EXPECT_EQ(GroupToWords("007"), "sete");
  EXPECT_EQ(GroupToWords("917"), "novecentos e dezessete");
  // Short texts are read as padded on the left.
  EXPECT_EQ(GroupToWords("7"), "sete");
  EXPECT_EQ(GroupToWords(""), "");
}

TEST(NumberWords, RecordingNames) {
  EXPECT_EQ(NumberWordFile("dezessete", false), "_dezeset");
  EXPECT_EQ(NumberWordFile("dezesseis", false), "_dezesse");
  EXPECT_EQ(NumberWordFile("quatorze", false), "_quatorz");
  EXPECT_EQ(NumberWordFile("milh\xE3o", false), "_milhao");
  EXPECT_EQ(NumberWordFile("milh\xF5" "es", false), "_milhoes");
  EXPECT_EQ(NumberWordFile("trilh\xF5" "es", false), "_trilhoe");
  EXPECT_EQ(NumberWordFile("quatrocentos", false), "_quatroc");
  // Only "um" and "dois" have feminine recordings.
  EXPECT_EQ(NumberWordFile("um", true), "_uma");
  EXPECT_EQ(NumberWordFile("dois", true), "_duas");
  EXPECT_EQ(NumberWordFile("doze", true), "_doze");
  EXPECT_EQ(NumberWordFile("um", false), "_um");
}

TEST(Weekday, KnownDates) {
  EXPECT_EQ(WeekdayOf(1, 1, 1970), 4);
  EXPECT_EQ(WeekdayOf(29, 2, 2000), 2);
  EXPECT_EQ(WeekdayOf(1, 3, 2010), 1);
  EXPECT_EQ(WeekdayOf(1, 3, 1900), 4);
  EXPECT_EQ(WeekdayOf(28, 2, 2100), 0);
  EXPECT_EQ(WeekdayOf(1, 1, 1600), 6);
  EXPECT_EQ(WeekdayOf(1, 1, 1), 1);
}

}  // namespace
