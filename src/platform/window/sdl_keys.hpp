// SDL keyboard events turned into the console's key messages, as the system's window would
// send them: key down (or system key down with Alt), the character, key up.
#pragma once
#include <SDL.h>

#include <string>
#include <vector>

#include "platform/events.hpp"

namespace teluma::platform::window {

// The virtual key of an SDL key, 0 for keys the console never looks at.
int VirtualKeyOf(SDL_Keycode sym, Uint16 mods);

// Our modifier bits from SDL's: the left Alt is Alt; the right Alt is AltGr, which types
// characters on Brazilian and other layouts and is therefore not Alt.
int ModifierBits(Uint16 mods);

// Messages for a key going down: KeyDown or SysKeyDown, plus the characters that SDL does not
// deliver as text (Enter, Backspace, Esc, Tab, Ctrl+letter and Ctrl+\ [ ]).
std::vector<Message> KeyDownMessages(const SDL_Keysym& key);
std::vector<Message> KeyUpMessages(const SDL_Keysym& key);

// Characters of a text-input event (UTF-8) as Windows-1252 Char messages; characters without
// a Windows-1252 code are dropped.
std::vector<Message> TextMessages(const char* utf8, Uint16 mods);

}  // namespace teluma::platform::window
