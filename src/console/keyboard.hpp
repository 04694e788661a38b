// The console's keyboard: the 64-code key queue, the key handlers over key events (key down,
// system key down, character, key up, focus), the translation and Alt tables, and the braille
// chord entry of modes 1 and 2 with the sign rules.
#pragma once
#include <array>
#include <cstdint>
#include <functional>

namespace teluma::console {

class KeyQueue {
 public:
  static constexpr int kCapacity = 64;
  int Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  // Adds one code when there is room; false when it was dropped. mods are the modifier bits
  // held when the key was pressed (the line editor asks for them).
  bool Push(uint8_t code, int mods = 0);
  // Adds 0 and code when two places are free.
  bool PushPair(uint8_t code, int mods = 0);
  uint8_t Take(int* mods = nullptr);  // the first code (0 when empty)
  void Clear() { count_ = 0; }

 private:
  std::array<uint8_t, kCapacity> codes_{};
  std::array<uint8_t, kCapacity> mods_{};
  int count_ = 0;
};

// The braille cell of dot bits 0..63 (dot 1 = 1 ... dot 6 = 32), Windows-1252.
uint8_t BrailleCell(int dots);

constexpr uint8_t kNoCharacter = 0xFE;

class Keyboard {
 public:
  KeyQueue queue;
  int brailleMode = 0;
  bool checkBreak = true;
  bool focusKeys = false;
  bool focused = true;

  // What the keys ask of the console (set by the console; tests record them).
  std::function<void()> onBreak;              // Ctrl+Break: end with code 255
  std::function<void(int)> onSetBrailleMode;  // Ctrl+Alt+F11 / F12

  void KeyDown(int vk, int mods);
  void SysKeyDown(int vk, int mods);
  void KeyUp(int vk, int mods);
  void Char(int code, int mods);
  void Focus(bool gained);

  // Chord state back to nothing (mode 0).
  void ClearChord();

  // The state of the chord entry, for tests.
  int chord = 0, held = 0;
  bool capitalNext = false, capsLock = false, numberMode = false;

 private:
  uint8_t SignRules(uint8_t c);
};

// The two codes of a key of the translation table: plain and with Ctrl (0 when the virtual key
// has none).
bool TranslateKey(int vk, bool ctrl, bool shift, uint8_t& code);

}  // namespace teluma::console
