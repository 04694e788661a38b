// Unit names to the voice's phonemes, and the inventory of units the translator's rules ask
// for.
#include <algorithm>
#include <cstring>

#include "diphones/units.hpp"
#include "synth/diphone.hpp"
#include "synth/translator.hpp"

using namespace teluma::synth;

namespace teluma::tools::diphones {
namespace {

// Consonant letters of the phonetic text (upper case, as unit names hold them) and the
// voice's phonemes for them, longest first so that digraphs win.
struct Letter {
  const char* letters;
  const char* onset;  // before a vowel
  const char* coda;   // after the last vowel
};
constexpr Letter kConsonants[] = {
    {"TCH", "tS", "tS"}, {"DJ", "dZ", "dZ"}, {"NH", "n^", "n^"}, {"LH", "l^", "l^"},
    {"RR", "x", "x"},    {"KS", "ks", "ks"}, {"NN", "N", "N"},   {"B", "b", "b"},
    {"C", "k", "k"},     {"D", "d", "d"},    {"F", "f", "f"},    {"G", "g", "g"},
    {"J", "Z", "Z"},     {"K", "k", "k"},    {"L", "l", "U"},    {"M", "m", "N"},
    {"N", "n", "N"},     {"P", "p", "p"},    {"Q", "k", "k"},    {"R", "*", "r"},
    {"S", "s", "s"},     {"T", "t", "t"},    {"V", "v", "v"},    {"X", "S", "S"},
    {"Z", "z", "s"},     {"H", "", ""},
};

bool IsVowel(char c) { return c && std::strchr("AEIOU", c); }

// Vowel phonemes: plain, closed (CIRC) and nasal (TIL).
const char* Vowel(char v, int mark) {
  switch (v) {
    case 'A': return mark == 0 ? "a" : mark == 1 ? "&" : "&~";
    case 'E': return mark == 0 ? "E" : mark == 1 ? "e" : "e~";
    case 'I': return mark == 2 ? "iN" : "i";
    case 'O': return mark == 0 ? "O" : mark == 1 ? "o" : "o~";
    default: return mark == 2 ? "u~" : "u";
  }
}

const char* Glide(char g, bool beforeVowel, bool nasal) {
  bool front = g == 'Y' || g == 'I' || g == 'E';
  if (beforeVowel) return front ? "j" : "w";
  if (nasal) return front ? "j~" : "U~";
  return front ? "I" : "U";
}

}  // namespace

// Nasal diphthongs as the voice says them in mão, mãe, bem, põe, muito.
constexpr std::pair<const char*, const char*> kNasalDiphthongs[] = {
    {"AWTIL", "'&U~"}, {"AYTIL", "'&~y"}, {"EYTIL", "'eIN"},
    {"OYTIL", "'o~j"}, {"UYTIL", "'u~I"}, {"OWTIL", "'o~U~"}};

std::string UnitPhonemes(std::string_view name) {
  if (name.size() < 2 || name[0] != '$') return {};
  std::string_view body = name.substr(1);
  for (const auto& [letters, phonemes] : kNasalDiphthongs)
    if (body == letters) return phonemes;
  int mark = 0;
  if (body.size() > 4 && body.substr(body.size() - 4) == "CIRC") {
    mark = 1;
    body.remove_suffix(4);
  } else if (body.size() > 3 && body.substr(body.size() - 3) == "TIL") {
    mark = 2;
    body.remove_suffix(3);
  }
  // Where the vowels are: the mark belongs to the last vowel; a second vowel right after the
  // marked one is said as a glide (the nasal diphthongs "ão", "õe", "ãe").
  size_t lastVowel = std::string_view::npos;
  for (size_t i = 0; i < body.size(); ++i)
    if (IsVowel(body[i]) || body[i] == 'W' || body[i] == 'Y') lastVowel = i;
  size_t nucleus = lastVowel;
  if (mark != 0 && lastVowel != std::string_view::npos && lastVowel > 0 &&
      IsVowel(body[lastVowel - 1]))
    nucleus = lastVowel - 1;
  if (mark != 0 && (nucleus == std::string_view::npos || !IsVowel(body[nucleus]))) return {};

  std::string out;
  bool stressed = false;
  for (size_t i = 0; i < body.size();) {
    char c = body[i];
    bool nextIsVowel = i + 1 < body.size() && IsVowel(body[i + 1]);
    if (c == 'W' || c == 'Y' || (IsVowel(c) && mark != 0 && i == nucleus + 1 && i != nucleus)) {
      bool before = nextIsVowel && !(mark != 0 && i == nucleus + 1);
      out += Glide(c, before, mark == 2 && i == nucleus + 1);
      ++i;
      continue;
    }
    if (IsVowel(c)) {
      if (!stressed) out += '\'';
      stressed = true;
      out += Vowel(c, i == nucleus ? mark : 0);
      ++i;
      continue;
    }
    const Letter* match = nullptr;
    for (const Letter& letter : kConsonants) {
      size_t n = std::strlen(letter.letters);
      if (body.substr(i, n) == letter.letters) {
        match = &letter;
        break;
      }
    }
    if (!match) return {};
    // A consonant alone is a syllable's end (coda s, r) or a cluster's head.
    bool coda = lastVowel == std::string_view::npos || i > lastVowel;
    out += coda ? match->coda : match->onset;
    i += std::strlen(match->letters);
  }
  return out;
}

std::vector<std::string> BaseUnits() {
  std::vector<std::string> units = {"$NN", "$W", "$Y"};
  for (char v : std::string("AEIOU")) {
    units.push_back(std::string("$") + v);
    units.push_back(std::string("$") + v + "CIRC");
    units.push_back(std::string("$") + v + "TIL");
  }
  for (const Letter& letter : kConsonants)
    if (*letter.onset) units.push_back(std::string("$") + letter.letters);
  return units;
}

std::vector<std::string> WordRuns(std::string_view text) {
  std::vector<std::string> runs;
  std::string run;
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    bool word = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 128 || u == ' ';
    if (word) {
      run += c;
    } else {
      if (run.find_first_not_of(' ') != std::string::npos) runs.push_back(run);
      run.clear();
    }
  }
  if (run.find_first_not_of(' ') != std::string::npos) runs.push_back(run);
  return runs;
}

void CollectUnits(const std::vector<std::string>& texts, Inventory& inventory, bool phonetic) {
  SetDiphoneLookupOverride([](std::string_view name) {
    return name.size() <= 8 && !UnitPhonemes(name).empty();
  });
  SetDiphoneUnitObserver([&](std::string_view name, int, DiphoneUnitResult result) {
    if (result == DiphoneUnitResult::Found && !name.empty() && name[0] == '$') {
      std::string upper(name);
      for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      ++inventory.units[upper];
    }
  });
  SetDiphonePlayer([](const uint8_t*, size_t) {}, [] { return false; });
  for (const std::string& text : texts) {
    if (phonetic)
      DiphoneSpeak(text, false);
    else
      for (const std::string& run : WordRuns(text)) DiphoneSpeak(TranslateText(run), false);
    ++inventory.texts;
  }
  SetDiphoneLookupOverride({});
  SetDiphoneUnitObserver({});
  SetDiphonePlayer({}, {});
}

}  // namespace teluma::tools::diphones
