#include "tts/uttsProsodia.hpp"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <utility>

#include "platform/cp1252.hpp"
#include "platform/paths.hpp"
#include "tts/uttsPreproc.hpp"
#include "tts/uttsTexto.hpp"

namespace teluma::tts {

namespace {

struct Duration {
  std::string name;
  int ms = 100;
};
struct WordKey {
  std::string word;
  std::string key;
};
struct PatternRule {
  std::string prev, current, next, pattern;
};

std::vector<Duration> gDurations;
std::vector<WordKey> gKeys;
std::vector<PatternRule> gRules;
int gHertz = 230;
std::array<int, 10> gTabHertz = {100, 100, 100, 100, 100, 100, 100, 100, 100, 100};
std::vector<std::string> gDiphones;  // lower case, sorted
std::string gCurrentName;

std::function<void(const std::string&)>& Handler() {
  static std::function<void(const std::string&)> h = [](const std::string& text) {
    std::cerr << platform::Cp1252ToUtf8(text) << std::endl;
  };
  return h;
}

void Show(std::string_view utf8, std::string_view line = {}) {
  Handler()(platform::Utf8ToCp1252(utf8) + std::string(line));
}

// Index of the line that opens a section, or lines.size() when there is none.
size_t FindSection(const std::vector<std::string>& lines, std::string_view utf8Title) {
  const std::string title = platform::Utf8ToCp1252(utf8Title);
  for (size_t i = 0; i < lines.size(); ++i)
    if (TrimText(lines[i]) == title) return i;
  return lines.size();
}

// The lines of a section that carry data.
std::vector<std::string> SectionLines(const std::vector<std::string>& lines, size_t start) {
  std::vector<std::string> out;
  for (size_t i = start + 1; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    if (!l.empty() && l[0] == '[') break;
    if (l.empty() || l[0] == '*' || l[0] == ';') continue;
    out.push_back(l);
  }
  return out;
}

bool ReadDurations(const std::vector<std::string>& section) {
  for (const auto& line : section) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      Show("Configuração da prosódia: fonema errado: ", line);
      return false;
    }
    Duration d;
    d.name = TrimText(line.substr(0, eq)).substr(0, 2);
    long long ms = 0;
    if (ParseInteger(TrimText(line.substr(eq + 1)), ms) && ms >= 0 && ms <= 100000) {
      d.ms = static_cast<int>(ms);
    } else {
      Show("Configuração da prosódia: fonema errado: ", line);
      d.ms = 100;
    }
    // The table holds 100 names; later ones are not kept.
    if (gDurations.size() < kMaxDurations) gDurations.push_back(d);
  }
  return true;
}

bool ReadKeys(const std::vector<std::string>& section) {
  for (const auto& line : section) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      Show("Configuração da prosódia: chave errada: ", line);
      return false;
    }
    WordKey k{AnsiUpper(TrimText(line.substr(0, eq))),
              AnsiUpper(TrimText(line.substr(eq + 1))).substr(0, 2)};
    if (gKeys.size() < kMaxWordKeys) gKeys.push_back(std::move(k));
  }
  std::sort(gKeys.begin(), gKeys.end(),
            [](const WordKey& a, const WordKey& b) { return a.word < b.word; });
  return true;
}

void ReadTabHertz(const std::string& rest) {
  // Digits the line does not give keep the flat level of 100 %.
  gTabHertz.fill(100);
  size_t start = 0;
  for (int digit = 0; digit < 10 && start <= rest.size(); ++digit) {
    size_t comma = rest.find(',', start);
    std::string item = TrimText(rest.substr(start, comma == std::string::npos
                                                       ? std::string::npos
                                                       : comma - start));
    long long v = 0;
    if (ParseInteger(item, v) && v >= 0 && v <= 10000) gTabHertz[digit] = static_cast<int>(v);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

bool ReadPatterns(const std::vector<std::string>& section) {
  for (const auto& raw : section) {
    std::string line = AnsiUpper(raw);
    if (line.rfind("HERTZ=", 0) == 0) {
      long long v = 0;
      if (ParseInteger(TrimText(line.substr(6)), v) && v > 0 && v <= 10000)
        gHertz = static_cast<int>(v);
      continue;
    }
    if (line.rfind("TABHERTZ=", 0) == 0) {
      ReadTabHertz(line.substr(9));
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      Show("Configuração da prosódia: chave errada: ", line);
      return false;
    }
    std::string keys = TrimText(line.substr(0, eq)) + "|||";
    PatternRule r;
    std::string* parts[3] = {&r.prev, &r.current, &r.next};
    size_t start = 0;
    for (auto* part : parts) {
      size_t bar = keys.find('|', start);
      *part = keys.substr(start, bar - start).substr(0, 3);
      start = bar + 1;
    }
    // Patterns are three pitch digits; a short one is completed with the middle level.
    r.pattern = TrimText(line.substr(eq + 1)).substr(0, 3);
    r.pattern.resize(3, '5');
    if (gRules.size() < kMaxPatternRules) gRules.push_back(std::move(r));
  }
  return true;
}

std::string ItemKey(const std::string& item) {
  size_t close = item.find(']');
  return item.size() > 1 && close != std::string::npos ? item.substr(1, close - 1) : "";
}

std::string ItemToken(const std::string& item) {
  size_t close = item.find(']');
  return close != std::string::npos ? item.substr(close + 1) : item;
}

// A scaled duration or frequency as a whole number. Factors come from the command line
// unchecked above zero: a product beyond the range of long long saturates, and one that is
// not a number (an infinite factor times zero) counts as zero.
long long WholePart(double value) {
  constexpr double kLimit = 9e18;
  if (std::isnan(value)) return 0;
  if (value >= kLimit) return static_cast<long long>(kLimit);
  if (value <= -kLimit) return -static_cast<long long>(kLimit);
  return static_cast<long long>(std::trunc(value));
}

std::string PitchPoint(const std::string& pattern, int& phase, bool lastOfWord,
                       double pitchFactor) {
  char digit = 0;
  int position = 0;
  if (phase == 0) { digit = pattern[0]; position = 50; phase = 1; }
  else if (phase == 2) { digit = pattern[1]; position = 80; phase = 3; }
  else if (phase == 3 && lastOfWord) { digit = pattern[2]; position = 50; }
  else return {};
  if (digit < '0' || digit > '9') return {};
  int level = gTabHertz[digit - '0'];
  if (level == 0) return {};
  long long hertz = WholePart(level * pitchFactor * gHertz) / 100;
  return std::to_string(position) + " " + std::to_string(hertz);
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

void CheckDiphone(const std::string& current, std::string& previous,
                  std::vector<std::string>& out) {
  if (current.empty()) return;
  if (!HasDiphone(previous + "-" + current)) {
    if (previous == "r2" && HasDiphone("r2-_")) out.push_back("_ 50");
    else if (HasDiphone(previous + "-y")) out.push_back("y 50");
    else out.push_back("_ 50");
  }
  previous = current;
}

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '2' || c == '@' || c == '_';
}

}  // namespace

void SetProsodyMessageHandler(std::function<void(const std::string&)> handler) {
  Handler() = std::move(handler);
}

bool LoadProsody(const std::string& fileName) {
  gHertz = 230;
  gTabHertz.fill(100);
  gDurations.clear();
  gKeys.clear();
  gRules.clear();
  std::vector<std::string> lines;
  if (!ReadTextLines(fileName, lines)) {
    Show("Configuração da prosódia não foi achada");
    return false;
  }
  size_t at = FindSection(lines, "[DURAÇÃO]");
  if (at == lines.size()) {
    Show("Duração dos difones errada ou ausente");
    return false;
  }
  if (!ReadDurations(SectionLines(lines, at))) return false;
  at = FindSection(lines, "[CHAVES]");
  if (at == lines.size()) {
    Show("Prosódia: palavras chaves ausentes");
    return false;
  }
  if (!ReadKeys(SectionLines(lines, at))) return false;
  at = FindSection(lines, "[PROSÓDIA]");
  if (at == lines.size()) {
    Show("Prosódia: especificações ausentes");
    return false;
  }
  return ReadPatterns(SectionLines(lines, at));
}

bool LoadDiphones(const std::string& fileName) {
  gDiphones.clear();
  std::vector<std::string> lines;
  if (!platform::FileExists(fileName) || !ReadTextLines(fileName, lines)) return false;
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    std::string line = TrimText(*it);
    if (line.empty() || line[0] == '!' || line[0] == '*' || line[0] == ';') continue;
    size_t p = 0;
    while (p < line.size() && IsNameChar(line[p])) ++p;
    std::string first = line.substr(0, p);
    ++p;
    while (p < line.size() && !IsNameChar(line[p])) ++p;
    size_t start = std::min(p, line.size());
    while (p < line.size() && IsNameChar(line[p])) ++p;
    gDiphones.push_back(LowerAscii(first + "-" + line.substr(start, p - start)));
  }
  std::sort(gDiphones.begin(), gDiphones.end());
  return true;
}

void FreeDiphones() { gDiphones.clear(); }

bool HasDiphone(std::string_view pair) {
  return std::binary_search(gDiphones.begin(), gDiphones.end(), LowerAscii(pair));
}

int PhonemeDuration(std::string_view name) {
  for (const auto& d : gDurations)
    if (d.name == name) return d.ms;
  return 100;
}

int BaseHertz() { return gHertz; }
const std::array<int, 10>& PitchTable() { return gTabHertz; }
size_t WordKeyCount() { return gKeys.size(); }
size_t PatternRuleCount() { return gRules.size(); }
size_t DiphoneCount() { return gDiphones.size(); }

std::vector<std::string> TokenizeWithKeys(std::string_view text) {
  std::vector<std::string> items{"[--]"};
  size_t i = 0;
  while (true) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size()) break;
    std::string token, key;
    auto c = static_cast<unsigned char>(text[i]);
    if (c == '.' && i + 1 < text.size() && text[i + 1] == '.') {
      key = ".-";
      token = ".";
      while (i < text.size() && text[i] == '.') ++i;
    } else if (!IsTextLetter(c)) {
      key = std::string(2, static_cast<char>(c));
      token = std::string(1, static_cast<char>(c));
      ++i;
    } else {
      size_t start = i;
      while (i < text.size() && IsTextLetter(static_cast<unsigned char>(text[i]))) ++i;
      token = std::string(text.substr(start, i - start));
      std::string upper = AnsiUpper(token);
      auto it = std::lower_bound(gKeys.begin(), gKeys.end(), upper,
                                 [](const WordKey& k, const std::string& w) { return k.word < w; });
      key = (it != gKeys.end() && it->word == upper) ? it->key : "XX";
    }
    items.push_back("[" + key + "]" + token);
    if (token[0] == '!' || token[0] == '.' || token[0] == '?') items.push_back("[--]");
  }
  return items;
}

std::vector<std::string> AssignPitchPatterns(const std::vector<std::string>& items,
                                             bool useRules) {
  std::vector<std::string> out;
  char carried = '5';
  for (size_t i = 0; i < items.size(); ++i) {
    std::string key = ItemKey(items[i]);
    std::string prev = i > 0 ? ItemKey(items[i - 1]) : "";
    std::string next = i + 1 < items.size() ? ItemKey(items[i + 1]) : "";
    std::string pattern = "555";
    if (useRules) {
      for (const auto& r : gRules) {
        if ((r.prev.empty() || r.prev == prev) && (r.current.empty() || r.current == key) &&
            (r.next.empty() || r.next == next)) {
          pattern = r.pattern;
          break;
        }
      }
    }
    if (pattern[0] == '?') pattern[0] = carried;
    carried = pattern[2];
    out.push_back(pattern + "|" + ItemToken(items[i]));
  }
  return out;
}

void ResetPhoState() { gCurrentName.clear(); }

std::vector<std::string> BuildPhoLines(const std::vector<std::string>& lines,
                                       double durationFactor, double pitchFactor) {
  std::vector<std::string> out;
  int percentage = 100;
  std::string pattern = "555";
  int phase = 0;
  size_t wordLength = 0;
  std::string previous = "_";
  std::string& current = gCurrentName;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    const bool lastOfWord = i + 1 == lines.size() || lines[i + 1].empty();
    if (line.empty()) {
      percentage = 100;
      current.clear();
    } else if (line[0] == ';' && line.size() >= 5 && line[4] == '|') {
      pattern = line.substr(1, 3);
      line.erase(1, 4);
      wordLength = line.size();
      phase = 0;
    } else {
      if (line[0] == '>') {
        line.erase(0, 1);
        percentage = 145;
        if (!line.empty() && line[0] == '\xA8') line.erase(0, 1);
        phase = 2;
      } else if (line[0] == '\xA8') {
        line.erase(0, 1);
        percentage = 100;
      }
      // A mark with no phoneme after it (a stress mark before "&") only keeps its effect.
      if (line.empty()) continue;
      // Long: a pause line may give any number of milliseconds.
      long long base;
      if (line[0] == '_') {
        long long v = 100;
        if (line.size() == 1) base = 100;
        else if (line[1] == ' ') base = ParseInteger(TrimText(line.substr(2)), v) ? v : 100;
        else base = PhonemeDuration(line);
        line = "_";
      } else {
        base = PhonemeDuration(line);
        if (phase < 2) {
          if (wordLength > 13) base = base * 80 / 100;
          else if (wordLength > 9) base = base * 90 / 100;
        }
      }
      current = line;
      long long duration =
          WholePart(static_cast<double>(base) * percentage * durationFactor) / 100;
      line = current + " " + std::to_string(duration);
      std::string pitch = PitchPoint(pattern, phase, lastOfWord, pitchFactor);
      if (!pitch.empty()) line += " " + pitch;
    }
    CheckDiphone(current, previous, out);
    out.push_back(line);
  }
  return out;
}

}  // namespace teluma::tts
