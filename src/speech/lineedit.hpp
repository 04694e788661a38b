// Spoken key and line input: a key read with its spoken echo, and the one-line field editor for
// blind users (every movement says what it reached, every deletion what it deleted).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace teluma::speech {

// Takes and drops every queued key.
void FlushKeys();

// Waits for the end of speech, then for one key, and says it (and writes it on standard
// output) unless it is a control code or a focus code (222, 223). F8 says the time and keeps
// waiting. Returns the key code; for a two-code key the result is 0 and secondCode holds the
// second code (secondCode is 0 otherwise).
uint8_t WaitKeySpoken(uint8_t& secondCode);
uint8_t WaitKeySpoken();

// Edits a line at the cursor (maximum length 255, width 79 - cursor column). Esc blanks the
// typed text on the screen and gives "". A line end follows on standard output.
std::string ReadLineSpoken();

// The field editor. text is edited in place and comes back without trailing blanks; column and
// row (1-based) place the field, width is its visible part and maxLength its length (at most
// 2048). Returns the last key code: 9, 10, 13, 27 for Tab, Ctrl+Enter, Enter, Esc, or the second
// code of the extended key that ended editing (0x68 for Alt+F1, 0x66 for Ctrl+F9, ...).
uint8_t EditLine(std::string& text, int32_t column, int32_t row, bool editable, int32_t width,
                 int32_t maxLength);

// The cursor position (1-based, within the field) when the last EditLine returned.
int32_t& EditCursorPosition();

// Plays the touch tone of each "#", "*" and digit of text ("dtmf_" + character, "*" as "X",
// from the letters folder), 100 ms apart; "," pauses a second; other characters are skipped.
void PlayDialTones(std::string_view text);

}  // namespace teluma::speech
