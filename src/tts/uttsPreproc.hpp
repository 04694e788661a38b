// Text normalisation of the Portuguese front end: numbers, ordinals, symbols, spelled consonant
// runs and abbreviations become plain Portuguese words. Positions are 1-based, as in the text
// model of the front end; texts are Windows-1252 bytes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace teluma::tts {

bool IsTextLetter(unsigned char c);     // letter class L
bool IsTextConsonant(unsigned char c);  // consonant class C
bool IsKeptMark(unsigned char c);       // blank ! ( ) , . : ; ?

std::string SymbolName(unsigned char code);
std::string CardinalWords(uint64_t value);
std::string GroupWords(std::string_view digits);  // three digit characters
std::string OrdinalWords(char gender, uint64_t value);
std::string NumberWords(std::string_view text, size_t& pos);
std::string ReadWord(std::string_view text, size_t& pos);
std::string NormalizeText(std::string_view text);

// Abbreviations (read with a period in the text).
constexpr size_t kMaxAbbreviations = 2000;
bool LoadAbbreviations(const std::string& fileName);
std::string LookupAbbreviation(std::string_view word);
void ClearAbbreviations();
size_t AbbreviationCount();

}  // namespace teluma::tts
