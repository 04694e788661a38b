// The console module: an 80 x 25 text console shown by the display backend, with its key
// queue, colours, picture, tones, clipboard and the message pumps every wait rests on. The
// program's standard output (Write/WriteLn) and input (ReadLn) go through it.
//
// Positions are 1-based columns and rows. Texts are Windows-1252 bytes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace teluma::console {

// Opens the display at the first output, colour change, clear or key test.
void OpenConsole();
void ClearScreen();
void ClearToLineEnd();
void MoveCursor(int32_t column, int32_t row);  // clamped into the grid
int32_t CursorColumn();
int32_t CursorRow();
void SetForeground(uint8_t colour);  // ignored with "CORESFIXAS" = S
void SetBackground(uint8_t colour);
uint8_t CharAt(int32_t column, int32_t row);  // 0 outside the grid
uint8_t AttrAt(int32_t column, int32_t row);
int32_t ScreenRows();  // rows of the grid
// The current attribute (high nibble background, low nibble text colour), readable and
// writable.
uint8_t& TextAttr();

// The picture: a BMP file with a 40-byte header (system path, mapped).
bool LoadPicture(std::string_view fileName);
void ShowPicture(int32_t x, int32_t y);
void ClearPicture();

// The system beep: the console's bell.
void MessageBeep();

void PumpWindowMessages();
void PumpAllMessages();
void Pause(uint16_t ms);
// Ends the program through the close path (exit code 0 unless SetCloseExitCode chose another).
[[noreturn]] void CloseConsole();
// The exit code of the close path from now on, whether the program or the player closes.
void SetCloseExitCode(int code);

void CurrentDate(uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& weekday);
void CurrentTime(uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& hundredths);

// Keyboard.
bool KeyWaiting();
// Whether the key queue holds a key, without opening the display or handling messages.
bool KeyQueued();
uint8_t WaitForKey();
// Modifier bits (platform::kShift, kCtrl, kAlt) held when the key WaitForKey took last was
// pressed; both codes of a pair carry the same bits.
int ModifiersOfLastKey();
void SetBrailleMode(int mode);
int BrailleMode();
void StartTone(uint16_t hz);
void StopTone();
void CopyToClipboard(std::string_view text);
std::string PasteFromClipboard(size_t size);

// The program's standard output and input.
void Write(std::string_view text);
void WriteLn(std::string_view text = {});
std::string ReadLn();

// The wave device's block-done messages (device, block) are handed to this handler.
void SetWaveDoneHandler(std::function<void(int64_t device, int64_t block)> handler);

// Console settings fixed before the display opens.
struct ConsoleOptions {
  bool checkBreak = true;
  bool checkEof = false;
  bool focusKeys = false;
  bool oemCharset = false;
  bool keepFont = false;    // the font keys of the settings file are not read
  std::string fontFace;     // empty: "FONTE" of the settings file
  int fontHeight = 0;       // 0: the settings file gives it
  int fontWidth = 0;
  int fontWeight = 0;       // non-zero: replaced by "PESOLETRA"
};
ConsoleOptions& ConsoleSettings();

}  // namespace teluma::console
