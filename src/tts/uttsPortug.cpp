#include "tts/uttsPortug.hpp"

#include "tts/uttsExcessoes.hpp"
#include "tts/uttsInic.hpp"
#include "tts/uttsTexto.hpp"
#include "tts/uttsTonica.hpp"

namespace teluma::tts {

namespace {

bool InList(unsigned char c, std::string_view members) {
  return members.find(static_cast<char>(c)) != std::string_view::npos;
}

const std::string_view kVowels =
    "AEIOUaeiou\xC0\xC1\xC2\xC3\xC9\xCA\xCC\xCD\xD3\xD4\xD5\xD9\xDA\xDC"
    "\xE0\xE1\xE2\xE3\xE9\xEA\xEC\xED\xF3\xF4\xF5\xF9\xFA\xFC";
const std::string_view kFrontVowels = "EIei\xC9\xCD\xE9\xED";
const std::string_view kBackVowels = "AOao\xC1\xC2\xD3\xD4\xE1\xE2\xF3\xF4";
const std::string_view kLiquidsNasals = "LMNRZlmnrz";
const std::string_view kNRS = "NRSnrs";

bool IsVowel(unsigned char c) { return InList(c, kVowels); }

bool IsConsonant(unsigned char c) {
  unsigned char u = (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
  if (u >= 'B' && u <= 'Z') return u != 'E' && u != 'I' && u != 'O' && u != 'U';
  return InList(c, "\xC7\xD1\xE7\xF1");
}

unsigned char Fold(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// Letters are addressed 1..n; 0 and n + 1 lie outside the word.
struct Word {
  std::string_view text;
  long n() const { return static_cast<long>(text.size()); }
  bool Inside(long p) const { return p >= 1 && p <= n(); }
  unsigned char At(long p) const { return static_cast<unsigned char>(text[p - 1]); }
};

bool RightContextMatches(const Word& w, long p, std::string_view pattern) {
  for (char sym : pattern) {
    switch (sym) {
      case '#':
        if (!w.Inside(p) || !IsVowel(w.At(p))) return false;
        ++p;
        break;
      case '+':
        if (!w.Inside(p) || !InList(w.At(p), kFrontVowels)) return false;
        ++p;
        break;
      case '&':
        if (!w.Inside(p) || !InList(w.At(p), kLiquidsNasals)) return false;
        ++p;
        break;
      case '\\':
        if (w.Inside(p) && (w.At(p) == 'S' || w.At(p) == 's')) ++p;
        break;
      case '*': {
        if (!w.Inside(p)) return false;
        unsigned char c = w.At(p);
        if (!IsConsonant(c) || InList(c, "LRlr")) return false;
        break;
      }
      case '[':
        if (w.Inside(p) && (!IsConsonant(w.At(p)) || InList(w.At(p), "Hh"))) return false;
        break;
      case '%':
        if (p != w.n() + 1) return false;
        break;
      default:
        if (!w.Inside(p) || Fold(w.At(p)) != static_cast<unsigned char>(sym)) return false;
        ++p;
    }
  }
  return true;
}

bool LeftContextMatches(const Word& w, long p, std::string_view pattern) {
  for (auto it = pattern.rbegin(); it != pattern.rend(); ++it) {
    char sym = *it;
    switch (sym) {
      case '#':
        if (!w.Inside(p) || !IsVowel(w.At(p))) return false;
        --p;
        break;
      case '%':
        if (p != 0) return false;
        break;
      case ']':
        if (!w.Inside(p) || !InList(w.At(p), kBackVowels)) return false;
        --p;
        break;
      case '_':
        if (p == 0) break;
        if (!w.Inside(p) || !IsVowel(w.At(p))) return false;
        --p;
        break;
      case '|':
        if (!w.Inside(p) || !InList(w.At(p), kNRS)) return false;
        --p;
        break;
      default:
        if (!w.Inside(p) || Fold(w.At(p)) != static_cast<unsigned char>(sym)) return false;
        --p;
    }
  }
  return true;
}

bool IsPunctuation(unsigned char c) {
  return InList(c, " !(),.:;?");
}

}  // namespace

bool MatchesRuleAt(std::string_view text, size_t pos, const LetterRule& rule) {
  Word w{text};
  const long p = static_cast<long>(pos);
  const long m = static_cast<long>(rule.match.size());
  for (long k = 0; k < m; ++k) {
    if (!w.Inside(p + k) || Fold(w.At(p + k)) != static_cast<unsigned char>(rule.match[k]))
      return false;
  }
  return LeftContextMatches(w, p - 1, rule.left) && RightContextMatches(w, p + m, rule.right);
}

void WordToPhonemes(std::string_view word, int stress, PhonemeList& list) {
  if (stress < 1) stress = 9999;
  std::string current;
  size_t pos = 1;
  while (pos <= word.size()) {
    const LetterRule* rule = RulesFor(static_cast<unsigned char>(word[pos - 1]));
    while (rule && !MatchesRuleAt(word, pos, *rule)) rule = rule->next.get();
    if (!rule) {
      ++pos;
      continue;
    }
    std::string_view out = std::string_view(rule->output).substr(0, kOutputUsed);
    for (char c : out) {
      if (static_cast<int>(pos) >= stress) {
        current += '>';
        stress = 255;
      }
      if (c == '&') {
        list.push_back(current);
        current.clear();
      } else {
        current += c;
      }
    }
    if (!out.empty()) {
      list.push_back(current);
      current.clear();
    }
    pos += rule->match.size();
  }
  list.push_back(current);
}

void PunctuationPause(char mark, PhonemeList& list) {
  if (mark == ' ' || !IsPunctuation(static_cast<unsigned char>(mark))) return;
  list.push_back(std::string("_") + mark);
}

bool IsUnstressedWord(std::string_view w) {
  if (w.size() < 3) return true;
  for (std::string_view f : {"POR", "DAS", "DOS", "COM", "N\xC3O", "SIM"})
    if (w == f) return true;
  return false;
}

PhonemeList TokensToPhonemes(const std::vector<std::string>& tokens) {
  PhonemeList list;
  for (const auto& token : tokens) {
    list.push_back(";" + token);
    std::string t = token.size() > 4 ? AnsiUpper(std::string_view(token).substr(4)) : "";
    if (t.empty()) {
      list.push_back("__");
      list.push_back("");
    } else if (IsPunctuation(static_cast<unsigned char>(t[0]))) {
      PunctuationPause(t[0], list);
    } else {
      ApplyExceptions(t);
      int stress = IsUnstressedWord(t) ? 0 : FindStress(t);
      WordToPhonemes(t, stress, list);
    }
  }
  list.push_back("__");
  LinkFinalConsonant(list);
  return list;
}

void LinkFinalConsonant(PhonemeList& list) {
  // Stress (">") and lengthening ("¨") marks in front of the first phoneme do not hide its vowel.
  auto stripMarks = [](std::string_view s) {
    while (!s.empty() && (s[0] == '>' || s[0] == '\xA8')) s.remove_prefix(1);
    return s;
  };
  for (size_t i = 3; i + 1 < list.size(); ++i) {
    if (list[i].empty() || list[i][0] != ';') continue;
    std::string_view first = stripMarks(list[i + 1]);
    if (!first.empty() && InList(static_cast<unsigned char>(first[0]), "aeiouwy")) {
      std::string& last = list[i - 2];
      std::string_view bare = stripMarks(last);
      std::string marks = last.substr(0, last.size() - bare.size());
      if (bare == "r2") last = marks + "r";
      else if (bare == "s2") last = marks + "z";
    }
    ++i;  // the line after a comment is a phoneme, never examined as a comment
  }
}

}  // namespace teluma::tts
