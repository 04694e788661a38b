// Applying the letter rules: words to phoneme lines, the word driver over a sentence's tokens,
// pauses for punctuation, stress marks and the linking of a final r or s to a vowel.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace teluma::tts {

using PhonemeList = std::vector<std::string>;

bool MatchesRuleAt(std::string_view word, size_t pos, const struct LetterRule& rule);
void WordToPhonemes(std::string_view word, int stress, PhonemeList& list);
PhonemeList TokensToPhonemes(const std::vector<std::string>& tokens);
void PunctuationPause(char mark, PhonemeList& list);
bool IsUnstressedWord(std::string_view word);
void LinkFinalConsonant(PhonemeList& list);

}  // namespace teluma::tts
