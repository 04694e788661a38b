// Number words: the pure half of tllenum (no sound), so that it can be checked on its own.
#include <algorithm>
#include <array>

#include "numbers/tllenum.hpp"

namespace teluma::numbers {

namespace {

constexpr std::array<const char*, 10> kUnits{"zero", "um",   "dois", "tres", "quatro",
                                             "cinco", "seis", "sete", "oito", "nove"};
constexpr std::array<const char*, 10> kTeens{"dez",       "onze",      "doze",    "treze",
                                             "quatorze",  "quinze",    "dezesseis",
                                             "dezessete", "dezoito",   "dezenove"};
constexpr std::array<const char*, 10> kTens{"",         "",          "vinte",   "trinta",
                                            "quarenta", "cinquenta", "sessenta", "setenta",
                                            "oitenta",  "noventa"};
constexpr std::array<const char*, 10> kHundreds{"",           "cento",     "duzentos",
                                                "trezentos",  "quatrocentos", "quinhentos",
                                                "seiscentos", "setecentos",   "oitocentos",
                                                "novecentos"};

// Scale words of the five groups, most significant first; each ends in a blank.
struct Scale {
  const char* singular;
  const char* plural;
};
constexpr std::array<Scale, 5> kScales{{{"trilh\xE3o ", "trilh\xF5" "es "},
                                        {"bilh\xE3o ", "bilh\xF5" "es "},
                                        {"milh\xE3o ", "milh\xF5" "es "},
                                        {"mil ", "mil "},
                                        {"", ""}}};

constexpr int64_t kLargest = 999'999'999'999'999;

int DigitValue(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

}  // namespace

std::string GroupToWords(std::string_view digits) {
  std::string padded(3 - std::min<size_t>(digits.size(), 3), '0');
  padded += digits.substr(digits.size() > 3 ? digits.size() - 3 : 0);
  const int d1 = DigitValue(padded[0]), d2 = DigitValue(padded[1]), d3 = DigitValue(padded[2]);

  if (d1 == 0 && d2 == 0 && d3 == 0) return "";
  if (d1 == 1 && d2 == 0 && d3 == 0) return "cem";
  std::string words;
  if (d1 != 0) {
    words = kHundreds[d1];
    if (d2 == 0 && d3 == 0) return words;
    words += " e ";
  }
  if (d2 == 1) return words + kTeens[d3];
  if (d2 >= 2) {
    words += kTens[d2];
    if (d3 == 0) return words;
    words += " e ";
  }
  if (d3 >= 1) words += kUnits[d3];
  return words;
}

std::string NumberToWords(int64_t n) {
  if (n < 0 || n > kLargest) return "";
  if (n == 0) return "zero";

  std::string digits = std::to_string(n);
  digits.insert(0, 15 - digits.size(), '0');

  std::array<std::string, 5> parts;
  int last = -1;
  for (int i = 0; i < 5; ++i) {
    const std::string_view group = std::string_view(digits).substr(i * 3, 3);
    parts[i] = GroupToWords(group);
    if (parts[i].empty()) continue;
    last = i;
    if (*kScales[i].singular)
      parts[i] += std::string(" ") + (group == "001" ? kScales[i].singular : kScales[i].plural);
  }

  // Parts before the last end in their scale word's blank and follow each other directly;
  // "e " comes only before the last non-empty part.
  std::string result;
  const char* connector = "";
  for (int i = 0; i <= last; ++i) {
    if (parts[i].empty()) continue;
    result += i == last ? connector + parts[i] : parts[i];
    connector = "e ";
  }

  // One thousand is "mil", while one million keeps its "um".
  if (result.starts_with("um mil") && !result.starts_with("um milh")) result.erase(0, 3);
  return result;
}

std::string NumberWordFile(std::string_view word, bool feminineLast) {
  std::string w;
  for (char c : word) {
    if (c == '\xE3') c = 'a';
    else if (c == '\xF5') c = 'o';
    w += c;
  }
  if (w == "dezessete") w = "dezeset";
  std::string name = ("_" + w).substr(0, 8);
  if (feminineLast) {
    if (name == "_um") name = "_uma";
    else if (name == "_dois") name = "_duas";
  }
  return name;
}

}  // namespace teluma::numbers
