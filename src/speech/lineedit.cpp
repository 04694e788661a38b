// Spoken key input, the spoken line read at the cursor, and the touch tones of a text.
#include <algorithm>
#include <string>

#include "console/TlCrt.hpp"
#include "numbers/tlHora.hpp"
#include "platform/events.hpp"
#include "speech/lineedit.hpp"
#include "speech/lineedit_keys.hpp"
#include "wave/tlwav.hpp"
#include "speech/tlwin.hpp"

using namespace teluma::console;
using namespace teluma::numbers;
using namespace teluma::wave;
using namespace teluma::playback;

namespace teluma::speech {

namespace {

constexpr uint8_t kF8 = 0x42;
constexpr uint8_t kFocusGained = 222, kFocusLost = 223;

void WaitWhileSpeaking() {
  while (SpeechBusy()) platform::WaitMessage();
}

}  // namespace

int32_t& EditCursorPosition() {
  static int32_t position = 1;
  return position;
}

void FlushKeys() {
  while (KeyWaiting()) WaitForKey();
}

uint8_t WaitKeySpoken(uint8_t& secondCode) {
  for (;;) {
    WaitWhileSpeaking();
    uint8_t key = WaitForKey();
    secondCode = 0;
    if (key == 0) {
      secondCode = WaitForKey();
      if (secondCode == 16 || secondCode == 17 || secondCode == 18) key = WaitForKey();
    }
    if (key == 0 && secondCode == kF8) {
      SpeakCurrentTime();
      continue;
    }
    if (key != kFocusGained && key != kFocusLost && key >= 32) {
      SpeakChar(key);
      const char c = static_cast<char>(key);
      Write(std::string_view(&c, 1));
    }
    return key;
  }
}

uint8_t WaitKeySpoken() {
  uint8_t secondCode = 0;
  return WaitKeySpoken(secondCode);
}

std::string ReadLineSpoken() {
  const int32_t column = CursorColumn(), row = CursorRow();
  const int32_t width = std::max(0, 79 - column);
  std::string line;
  if (EditLine(line, column, row, true, width, 255) == 27) {
    MoveCursor(column, row);
    Write(std::string(width, ' '));
    line.clear();
  }
  WriteLn();
  return line;
}

void PlayDialTones(std::string_view text) {
  const bool fast = WaveFast();
  SetWaveFast(false);
  for (char c : text) {
    if (c == ',') {
      Pause(1000);
    } else if (c == '#' || c == '*' || (c >= '0' && c <= '9')) {
      WavePlayFile(LettersFolder() + "dtmf_" + (c == '*' ? 'X' : c) + ".wav");
      WaitWhileSpeaking();
      Pause(100);
    }
  }
  SetWaveFast(fast);
}

KeyModifiers HeldModifiers() {
  const int mods = ModifiersOfLastKey();
  return {(mods & platform::kShift) != 0, (mods & platform::kAlt) != 0};
}

}  // namespace teluma::speech
