// Letter-to-sound translator: Portuguese text (Windows-1252) to the phonetic text that the
// diphone synthesizer speaks. Words are mapped to plain letters with accent marks, replaced
// from an exception list, stress-marked by upper case and rewritten by context rules read
// from a rule file.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace teluma::synth {

// Reads the rule file (system path or host path). Resets all rule lists first. False when the
// file cannot be opened.
bool LoadRules(std::string_view fileName);

// Reads the exception file and replaces the exception list. False when the file cannot be
// opened.
bool LoadExceptions(std::string_view fileName);

// Frees all rules (the exception list stays until the next LoadExceptions).
void FreeRules();

// The phonetic text of a text: one "[...]" group per word.
std::string TranslateText(std::string_view text);

// The diphone folder as the synthesizer's open reads it: key "DIRDIFONES" of section
// "TRADUTOR" in TELUMA.INI (default "c:\qorbel\som\difones"), with a trailing "\".
std::string TranslatorFolder();

// Loads "regras.rgr" and "portug.exc" from a folder (system path ending in "\" or "/").
// False when either file cannot be loaded.
bool LoadTranslatorFiles(std::string_view folder);

// The pieces of the translator, reachable for tests and the data tools.
namespace translator {

inline constexpr size_t kMaxContext = 5;
inline constexpr size_t kMaxTarget = 5;
inline constexpr size_t kMaxReplacement = 11;
inline constexpr size_t kMaxExceptions = 15000;
inline constexpr size_t kMaxExceptionLine = 255;

struct Rule {
  std::string left;         // context before the target
  std::string target;       // upper case
  std::string right;        // context after the target
  std::string replacement;  // phonetic units
  int next = -1;            // index of the next rule of the same list
};

// One rule line parsed; fields cut to their maximum lengths, missing delimiters leave the
// field and the ones after it empty.
Rule ParseRuleLine(std::string_view line);

// Number of rules and exceptions loaded.
size_t RuleCount();
size_t ExceptionCount();

// The rules of one character's list, in list order.
std::vector<Rule> RulesOf(char first);

// Where the run of vowels and accent marks through each position of a word ends on either
// side, so that a context's "#" steps over a whole run at once and a word is translated in
// time linear in its length.
struct VowelRuns {
  std::vector<int> leftEnd;      // leftEnd[j]: the position before the run holding j, or j
  std::vector<size_t> rightEnd;  // rightEnd[q]: the position after the run holding q, or q
};
void FindVowelRuns(const std::string& word, VowelRuns& runs);

// The first rule of the list of word[p] that applies at p, or null.
const Rule* FindRule(const std::string& word, size_t p);
const Rule* FindRule(const std::string& word, const VowelRuns& runs, size_t p);

// Step 1 of the translation: accented and special characters to plain letters and marks.
std::string MapCharacters(std::string_view text);

// Looks the word up among the exceptions, stripping a final "s"/"m" run for the search.
std::string LookUpException(const std::string& word);

// Marks the stressed vowel by upper case, scanning from the end of the word.
void MarkStress(std::string& word);

// Rule translation of one word: "[" + units joined by "/" + "]".
std::string TranslateWord(const std::string& word);

// Character classes of the translator.
bool IsVowel(char c);
bool IsConsonant(char c);
bool IsAccentMark(char c);
bool IsWordCharacter(char c);

}  // namespace translator

}  // namespace teluma::synth
