// From text to phonetic text: character mapping, words, exceptions, stress and rules.
#include <array>
#include <initializer_list>

#include "synth/translator.hpp"

namespace teluma::synth {

namespace translator {
namespace {

// Replacement of the codes 128 ... 255 (code page 850 and Windows-1252 positions of the
// accented letters): the plain letter and the mark of its accent; the cedilla becomes "ss".
const std::array<const char*, 128> kHighTable = [] {
  std::array<const char*, 128> t{};
  for (auto& e : t) e = "";
  auto set = [&t](std::initializer_list<int> codes, const char* text) {
    for (int c : codes) t[c - 128] = text;
  };
  set({128, 135, 199, 231}, "ss");
  set({129, 154}, "u\"");
  set({130, 144, 201, 233}, "e'");
  set({131, 194, 226}, "a^");
  set({132, 142, 195, 196, 227, 228}, "a~");
  set({133, 192, 224}, "a`");
  set({134, 143, 160, 193, 225}, "a'");
  set({136, 202, 234}, "e^");
  set({137, 203, 235}, "e\"");
  set({138, 200, 232}, "e`");
  set({139, 207, 239}, "i\"");
  set({140, 206, 238}, "i^");
  set({141, 204, 236}, "i`");
  set({145, 198, 230}, "ae");
  set({146}, "-");
  set({147, 212, 244}, "o^");
  set({148, 153, 213, 245}, "o~");
  set({149, 210, 214, 242, 246}, "o`");
  set({150, 219, 251}, "u^");
  set({151, 217, 249}, "u`");
  set({152}, "y-");
  set({161, 205, 237}, "i'");
  set({162, 211, 243}, "o'");
  set({163, 218, 250}, "u'");
  set({164, 165, 209, 241}, "nh");
  set({167}, "\xA7");
  set({168, 191}, "?");
  set({171}, "\xAA");
  set({173}, "!");
  set({174, 175}, "\"");
  set({187}, "\xBA");
  set({197, 229}, "a");
  set({215, 247}, "x");
  set({216, 248}, "0");
  set({220, 252}, "u");
  return t;
}();

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
bool IsPunctuation(char c) {
  return c == ' ' || c == '!' || c == ',' || c == '.' || c == ':' || c == ';' || c == '?';
}
bool IsUpperVowel(char c) { return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U'; }

struct Word {
  std::string text;
  int vowels = 0;
  bool accented = false;
};

// Takes the word at p (0-based) and moves p behind it; false when only blanks are left.
bool TakeWord(const std::string& text, size_t& p, Word& word) {
  while (p < text.size() && text[p] == ' ') ++p;
  if (p >= text.size()) return false;
  word = Word{};
  char c = Lower(text[p]);
  if (!IsLetter(c)) {
    word.text.assign(1, c);
    ++p;
    return true;
  }
  while (p < text.size() && IsWordCharacter(text[p])) {
    char w = Lower(text[p++]);
    if (IsVowel(w)) ++word.vowels;
    if (IsAccentMark(w) && w != '"') word.accented = true;
    word.text += w;
  }
  return true;
}

bool IsSpelled(const std::string& word) {
  if (!word.empty() && word[0] == '\x01') return true;
  for (char c : word)
    if (!IsConsonant(c) && !IsPunctuation(c)) return false;
  return true;
}

std::string Spell(const std::string& word) {
  std::string out;
  for (char c : word) {
    out += "[ /_";
    out += c;
    out += ']';
  }
  return out;
}

bool NeedsStress(const Word& word) {
  if (word.accented) return false;
  if (word.vowels >= 2) return true;
  return word.vowels == 1 && !word.text.empty() && word.text.back() == 'l';
}

bool OneOf(char c, const char* set) {
  for (; *set; ++set)
    if (c == *set) return true;
  return false;
}

}  // namespace

bool IsVowel(char c) { return OneOf(c, "AEIOUaeiou"); }
bool IsConsonant(char c) { return IsLetter(c) && !IsVowel(c); }
bool IsAccentMark(char c) { return OneOf(c, "\"'^`~"); }
bool IsWordCharacter(char c) { return IsLetter(c) || IsAccentMark(c); }

std::string MapCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const unsigned char code = static_cast<unsigned char>(c);
    const bool letterBefore = i > 0 && IsLetter(text[i - 1]);
    const bool letterAfter = i + 1 < text.size() && IsLetter(text[i + 1]);
    std::string_view produced;
    if ((c == 'W' || c == 'w') && (letterBefore || letterAfter)) {
      produced = "u";
    } else if ((c == 'Y' || c == 'y') && (letterBefore || letterAfter)) {
      produced = "i";
    } else if (c == '\'' && i > 0 && (text[i - 1] == 'd' || text[i - 1] == 'D')) {
      continue;
    } else if (code < 32) {
      produced = "";
    } else if (code >= 128) {
      produced = kHighTable[code - 128];
    } else {
      produced = std::string_view(&text[i], 1);
    }
    // A character that stands for nothing still separates words, as the byte 1 that is
    // then spelled.
    if (produced.empty())
      out += " \x01 ";
    else
      out += produced;
  }
  return out;
}

void MarkStress(std::string& word) {
  const int n = static_cast<int>(word.size());
  auto at = [&](int i) { return (i >= 0 && i < n) ? word[i] : '\0'; };
  auto mark = [&](int i) {
    if (i >= 0 && i < n) word[i] = Upper(word[i]);
  };
  int state = 0;
  for (int i = n - 1; i >= 0; --i) {
    const char c = word[i];
    switch (state) {
      case 0:
        if (OneOf(c, "aeo")) state = 5;
        else if (OneOf(c, "iu")) state = 3;
        else if (OneOf(c, "lnrxz")) state = 1;
        else if (c == 'm') state = 2;
        else if (c == 's') state = 4;
        break;
      case 1:
        if (IsVowel(c)) state = 6;
        break;
      case 2:
        if (OneOf(c, "ae")) state = 5;
        else if (OneOf(c, "iu")) state = 3;
        else if (c == 'o') state = 6;
        break;
      case 3:
        if (IsConsonant(c) || (c == 'u' && OneOf(at(i - 1), "gq")))
          state = 7;
        else
          state = 6;
        break;
      case 4:
        if (OneOf(c, "aeo")) state = 5;
        else if (OneOf(c, "iu")) state = 3;
        break;
      case 5:
        if (OneOf(c, "aeo")) state = 6;
        else if (OneOf(c, "iu")) state = 8;
        break;
      case 8: {
        const char two = at(i + 2), three = at(i + 3);
        const bool pairHolds = (two == 'n' && three == 'h') || (two == 'r' && three == 'r');
        const bool closed = OneOf(two, "lmnrz") &&
                            (pairHolds || (IsConsonant(three) && three != 'h'));
        if (IsConsonant(c) || (c == 'u' && OneOf(at(i - 1), "gq")) ||
            closed)
          state = 7;
        else
          state = 6;
        break;
      }
      case 6:
        mark(i + 1);
        return;
      case 7:
        mark(i + 2);
        return;
    }
  }
  // A mark decided while looking at the first character is made as well.
  if (state == 6) mark(0);
  if (state == 7) mark(1);
}

std::string TranslateWord(const std::string& word) {
  std::string out = "[";
  const size_t length = word.size();
  // Kept between words so that ordinary text allocates nothing per word.
  static VowelRuns runs;
  FindVowelRuns(word, runs);
  size_t p = 0;
  while (p < length) {
    std::string units = " /_";
    units += Upper(word[p]);
    size_t step = 1;
    if (const Rule* rule = FindRule(word, runs, p)) {
      units = rule->replacement;
      step = rule->target.size();
    }
    if (IsUpperVowel(word[p])) {
      for (char& u : units)
        if (IsVowel(u)) {
          u = Upper(u);
          break;
        }
    }
    out += units;
    p += step;
    if (p < length) out += '/';
  }
  out += ']';
  return out;
}

}  // namespace translator

using namespace translator;

std::string TranslateText(std::string_view text) {
  const std::string mapped = MapCharacters(text);
  std::string result;
  size_t p = 0;
  Word word;
  while (TakeWord(mapped, p, word)) {
    std::string spoken = LookUpException(word.text);
    if (NeedsStress(word)) MarkStress(spoken);
    result += IsSpelled(spoken) ? Spell(spoken) : TranslateWord(spoken);
  }
  return result;
}

}  // namespace teluma::synth
