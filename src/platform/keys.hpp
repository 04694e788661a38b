// Backend-neutral key strokes: the system's virtual-key codes and the messages a key press
// gives (key down or system key down, the character, key up), as the window would send them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/events.hpp"

namespace teluma::platform {

enum VirtualKey : int {
  VK_CANCEL = 0x03,
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_F1 = 0x70,
  VK_F11 = 0x7A,
  VK_F12 = 0x7B,
  VK_OEM_4 = 0xDB,  // [ {
  VK_OEM_5 = 0xDC,  // \ |
  VK_OEM_6 = 0xDD,  // ] }
};

// One key press: virtual key (0 when the character has no key of its own), the character it
// types (-1 for none; Windows-1252 code) and the modifier bits (kShift, kCtrl, kAlt).
struct KeyStroke {
  KeyStroke() = default;
  KeyStroke(int vk_, int ch_, int mods_) : vk(vk_), ch(ch_), mods(mods_) {}
  int vk = 0;
  int ch = -1;
  int mods = 0;
  // Keys pressed together with this one and released after all went down (a braille chord):
  // each as a stroke of its own without modifiers.
  std::vector<KeyStroke> together;
  bool operator==(const KeyStroke&) const = default;
};

// A stroke for a typed Windows-1252 character (letters and digits get their key).
KeyStroke CharStroke(uint8_t c, int mods = 0);

// A stroke for a named key ("Enter", "F5", "PgUp", "Space", case-blind) with modifiers;
// false when the name is unknown. The character follows the system: Ctrl+letter types
// 1..26, Enter/Backspace keep 13/8 (the console turns them into 10/127 with Ctrl), Alt
// without Ctrl types nothing.
bool NamedStroke(std::string_view name, int mods, KeyStroke& out);

// Fills in the character a stroke types under its modifiers (see NamedStroke).
KeyStroke WithModifiers(KeyStroke stroke);

// The messages of one stroke, in order: key down (system key down with Alt and without Ctrl),
// the character, key up; for a chord every key goes down (with its character) before the
// first comes up.
std::vector<Message> StrokeMessages(const KeyStroke& stroke);

// Posts them.
void PostStroke(const KeyStroke& stroke);

}  // namespace teluma::platform
