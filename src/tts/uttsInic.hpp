// Loading the letter-to-sound rules of the Portuguese front end.
#pragma once
#include <array>
#include <memory>
#include <string>

namespace teluma::tts {

constexpr size_t kContextCapacity = 5;
constexpr size_t kMatchCapacity = 5;
constexpr size_t kOutputCapacity = 20;
constexpr size_t kOutputUsed = 11;

struct LetterRule {
  std::string left;
  std::string match;
  std::string right;
  std::string output;
  std::unique_ptr<LetterRule> next;
};

// Rule list of a character code 32..255 (nullptr below 32 or when the list is empty).
const LetterRule* RulesFor(unsigned char code);

// Parses one rule line; false when the line is no rule (a comment or an empty match part).
bool ParseRuleLine(const std::string& line, LetterRule& rule);

bool LoadLetterRules(const std::string& fileName);
void FreeLetterRules();
size_t LetterRuleCount();

// Letter rules, then (only when they loaded) the exceptions.
bool LoadPortugueseRules(const std::string& letterRules, const std::string& exceptions);

}  // namespace teluma::tts
