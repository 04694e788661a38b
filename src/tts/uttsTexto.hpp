// Small text helpers shared by the modules of the Portuguese front end: the Windows ANSI case
// rules of Windows-1252, trimming, and reading a text file into lines.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace teluma::tts {

unsigned char AnsiUpperChar(unsigned char c);
unsigned char AnsiLowerChar(unsigned char c);
std::string AnsiUpper(std::string_view text);
std::string AnsiLower(std::string_view text);

// Removes every character at or below the blank from both ends.
std::string TrimText(std::string_view text);

// Reads a text file into lines (ends of line: CR LF, LF or CR). False when it cannot be read.
bool ReadTextLines(const std::string& fileName, std::vector<std::string>& lines);

// Parses a whole text as a decimal integer (optional sign); false for anything else.
bool ParseInteger(std::string_view text, long long& value);

}  // namespace teluma::tts
