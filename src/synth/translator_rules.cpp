// The rule file: parsing, the per-character rule lists and the context matching.
#include <array>
#include <fstream>

#include "platform/paths.hpp"
#include "synth/translator.hpp"

namespace teluma::synth {

namespace translator {
namespace {

constexpr int kFirstListed = 32;
constexpr int kLastListed = 95;

std::vector<Rule> rules;
std::array<int, kLastListed - kFirstListed + 1> heads;
bool headsReady = false;

void ClearLists() {
  rules.clear();
  heads.fill(-1);
  headsReady = true;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Upper(c);
  return out;
}

// Takes the text up to the delimiter; false (and the rest consumed) when it is missing.
bool TakeField(std::string_view& rest, char delimiter, size_t maximum, std::string& field) {
  size_t at = rest.find(delimiter);
  if (at == std::string_view::npos) {
    rest = {};
    return false;
  }
  field = std::string(rest.substr(0, std::min(at, maximum)));
  rest.remove_prefix(at + 1);
  return true;
}

bool IsBackVowel(char c) { return c == 'A' || c == 'O' || c == 'a' || c == 'o'; }
bool IsFrontVowel(char c) { return c == 'E' || c == 'I' || c == 'e' || c == 'i'; }

// Matches the left context scanning leftwards from position j (0-based, may be -1).
bool MatchLeft(const std::string& word, const VowelRuns& runs, const std::string& context,
               int j) {
  for (int k = static_cast<int>(context.size()) - 1; k >= 0; --k) {
    char s = context[k];
    switch (s) {
      case '#':
        if (j < 0 || runs.leftEnd[j] == j) return false;
        j = runs.leftEnd[j];
        break;
      case '%':
        if (j >= 0) return false;
        break;
      case ']':
        if (j >= 0 && IsBackVowel(word[j])) {
          --j;
        } else if (j >= 1 && IsAccentMark(word[j]) && IsBackVowel(word[j - 1])) {
          j -= 2;
        } else {
          return false;
        }
        break;
      case '_':
        if (j < 0) break;
        if (IsVowel(word[j])) {
          --j;
        } else if (j >= 1 && IsAccentMark(word[j]) && IsVowel(word[j - 1])) {
          j -= 2;
        } else {
          return false;
        }
        break;
      case '|': {
        if (j < 0) return false;
        char c = Upper(word[j]);
        if (c != 'N' && c != 'R' && c != 'S') return false;
        --j;
        break;
      }
      default:
        if (j < 0 || Upper(word[j]) != Upper(s)) return false;
        --j;
    }
  }
  return true;
}

// Matches the right context scanning rightwards from position q.
bool MatchRight(const std::string& word, const VowelRuns& runs, const std::string& context,
                size_t q) {
  const size_t n = word.size();
  for (char s : context) {
    switch (s) {
      case '#':
        if (q >= n || runs.rightEnd[q] == q) return false;
        q = runs.rightEnd[q];
        break;
      case '%':
        if (q < n) return false;
        break;
      case '&': {
        if (q >= n) return false;
        char c = Upper(word[q]);
        if (c != 'L' && c != 'M' && c != 'N' && c != 'R' && c != 'Z') return false;
        ++q;
        break;
      }
      case '*': {
        if (q >= n || !IsConsonant(word[q])) return false;
        char c = Upper(word[q]);
        if (c == 'R' || c == 'L') return false;
        break;
      }
      case '+':
        if (q >= n || !IsFrontVowel(word[q])) return false;
        ++q;
        if (q < n && IsAccentMark(word[q])) ++q;
        break;
      case '[':
        if (q < n && (!IsConsonant(word[q]) || Upper(word[q]) == 'H')) return false;
        break;
      case '\\':
        if (q < n && Upper(word[q]) == 'S') ++q;
        break;
      default:
        if (q >= n || Upper(word[q]) != Upper(s)) return false;
        ++q;
    }
  }
  return true;
}

bool TargetAt(const std::string& word, const std::string& target, size_t p) {
  if (target.empty() || p + target.size() > word.size()) return false;
  for (size_t k = 0; k < target.size(); ++k)
    if (Upper(word[p + k]) != target[k]) return false;
  return true;
}

}  // namespace

Rule ParseRuleLine(std::string_view line) {
  Rule rule;
  std::string_view rest = line;
  if (!TakeField(rest, '(', kMaxContext, rule.left)) return rule;
  if (!TakeField(rest, ')', kMaxTarget, rule.target)) return rule;
  rule.target = Upper(rule.target);
  if (!TakeField(rest, '=', kMaxContext, rule.right)) return rule;
  TakeField(rest, '|', kMaxReplacement, rule.replacement);
  return rule;
}

size_t RuleCount() { return rules.size(); }

std::vector<Rule> RulesOf(char first) {
  std::vector<Rule> out;
  int c = static_cast<unsigned char>(Upper(first));
  if (!headsReady || c < kFirstListed || c > kLastListed) return out;
  for (int i = heads[c - kFirstListed]; i >= 0; i = rules[i].next) out.push_back(rules[i]);
  return out;
}

void FindVowelRuns(const std::string& word, VowelRuns& runs) {
  const size_t n = word.size();
  auto inRun = [&](size_t i) { return IsVowel(word[i]) || IsAccentMark(word[i]); };
  runs.leftEnd.resize(n);
  runs.rightEnd.resize(n);
  bool previousInRun = false;
  for (size_t j = 0; j < n; ++j) {
    const int self = static_cast<int>(j);
    const bool in = inRun(j);
    if (!in)
      runs.leftEnd[j] = self;
    else
      runs.leftEnd[j] = previousInRun ? runs.leftEnd[j - 1] : self - 1;
    previousInRun = in;
  }
  // leftEnd[q] == q marks a position outside every run.
  auto outside = [&](size_t q) { return runs.leftEnd[q] == static_cast<int>(q); };
  for (size_t q = n; q-- > 0;) {
    if (outside(q))
      runs.rightEnd[q] = q;
    else
      runs.rightEnd[q] = (q + 1 < n && !outside(q + 1)) ? runs.rightEnd[q + 1] : q + 1;
  }
}

const Rule* FindRule(const std::string& word, const VowelRuns& runs, size_t p) {
  if (!headsReady) return nullptr;
  int c = static_cast<unsigned char>(Upper(word[p]));
  if (c < kFirstListed || c > kLastListed) return nullptr;
  for (int i = heads[c - kFirstListed]; i >= 0; i = rules[i].next) {
    const Rule& r = rules[i];
    if (TargetAt(word, r.target, p) && MatchLeft(word, runs, r.left, static_cast<int>(p) - 1) &&
        MatchRight(word, runs, r.right, p + r.target.size()))
      return &r;
  }
  return nullptr;
}

const Rule* FindRule(const std::string& word, size_t p) {
  VowelRuns runs;
  FindVowelRuns(word, runs);
  return FindRule(word, runs, p);
}

}  // namespace translator

using namespace translator;

void FreeRules() {
  rules.clear();
  rules.shrink_to_fit();
  heads.fill(-1);
  headsReady = true;
}

bool LoadRules(std::string_view fileName) {
  ClearLists();
  std::ifstream in(platform::MapPath(fileName), std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Rule rule = ParseRuleLine(line);
    if (rule.target.empty()) continue;
    int c = static_cast<unsigned char>(rule.target[0]);
    if (c < kFirstListed || c > kLastListed) continue;
    int index = static_cast<int>(rules.size());
    int& head = heads[c - kFirstListed];
    // A list that exists already continues behind the rule read just before: rules of one
    // character are expected to stand together in the file.
    if (head < 0)
      head = index;
    else
      rules.back().next = index;
    rules.push_back(std::move(rule));
  }
  return true;
}

}  // namespace teluma::synth
