#include "tts/uttsInic.hpp"

#include <vector>

#include "tts/uttsExcessoes.hpp"
#include "tts/uttsTexto.hpp"

namespace teluma::tts {

namespace {

constexpr int kFirstCode = 32;
struct RuleList {
  std::unique_ptr<LetterRule> head;
  LetterRule* tail = nullptr;
};
std::array<RuleList, 256 - kFirstCode> gLists;
size_t gCount = 0;

void Append(std::unique_ptr<LetterRule> rule) {
  auto& list = gLists[static_cast<unsigned char>(rule->match[0]) - kFirstCode];
  LetterRule* raw = rule.get();
  if (list.tail) list.tail->next = std::move(rule);
  else list.head = std::move(rule);
  list.tail = raw;
  ++gCount;
}

}  // namespace

const LetterRule* RulesFor(unsigned char code) {
  return code < kFirstCode ? nullptr : gLists[code - kFirstCode].head.get();
}

bool ParseRuleLine(const std::string& line, LetterRule& rule) {
  rule.left.clear(); rule.match.clear(); rule.right.clear(); rule.output.clear();
  if (!line.empty() && line[0] == ';') return false;
  size_t open = line.find('(');
  if (open == std::string::npos) {
    rule.left = line.substr(0, kContextCapacity);
    return false;  // no match part: nothing the matcher could consume
  }
  rule.left = line.substr(0, open).substr(0, kContextCapacity);
  size_t close = line.find(')', open + 1);
  if (close != std::string::npos) {
    rule.match = line.substr(open + 1, close - open - 1).substr(0, kMatchCapacity);
    size_t eq = line.find('=', close + 1);
    if (eq != std::string::npos) {
      rule.right = line.substr(close + 1, eq - close - 1).substr(0, kContextCapacity);
      size_t bar = line.find('|', eq + 1);
      rule.output = line.substr(eq + 1, bar == std::string::npos ? std::string::npos
                                                                  : bar - eq - 1)
                        .substr(0, kOutputCapacity);
    } else {
      rule.right = line.substr(close + 1).substr(0, kContextCapacity);
    }
  } else {
    rule.match = line.substr(open + 1).substr(0, kMatchCapacity);
  }
  // A rule must consume at least one letter, or the matcher would never move on.
  return !rule.match.empty() && static_cast<unsigned char>(rule.match[0]) >= kFirstCode;
}

bool LoadLetterRules(const std::string& fileName) {
  FreeLetterRules();
  std::vector<std::string> lines;
  if (!ReadTextLines(fileName, lines)) return false;
  for (const auto& line : lines) {
    auto rule = std::make_unique<LetterRule>();
    if (ParseRuleLine(line, *rule)) Append(std::move(rule));
  }
  return true;
}

void FreeLetterRules() {
  for (auto& list : gLists) {
    // Unlink iteratively so that a long list does not recurse through its destructors.
    auto node = std::move(list.head);
    while (node) node = std::move(node->next);
    list.tail = nullptr;
  }
  gCount = 0;
}

size_t LetterRuleCount() { return gCount; }

bool LoadPortugueseRules(const std::string& letterRules, const std::string& exceptions) {
  ClearExceptions();
  if (!LoadLetterRules(letterRules)) return false;
  return LoadExceptionList(exceptions);
}

}  // namespace teluma::tts
