// Conversion between the program's Windows-1252 byte strings and UTF-8, used only at the edges
// (terminal, transcript, font rendering, espeak-ng, command-line arguments).
#pragma once
#include <string>
#include <string_view>

namespace teluma::platform {

// Windows-1252 bytes to UTF-8. The five undefined codes (81, 8D, 8F, 90, 9D) map to the C1
// control of the same number, so that the conversion is lossless.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252. Characters without a Windows-1252 code become '?'; malformed bytes
// are taken as Windows-1252 already (text typed in a Latin-1 terminal keeps working).
std::string Utf8ToCp1252(std::string_view text);

// The Unicode code point of one Windows-1252 byte.
char32_t Cp1252ToUnicode(unsigned char c);

// The Windows-1252 byte of a code point, or -1 when it has none.
int UnicodeToCp1252(char32_t cp);

}  // namespace teluma::platform
