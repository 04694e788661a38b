#include "platform/window/sdl_keys.hpp"

#include "platform/cp1252.hpp"
#include "platform/keys.hpp"

namespace teluma::platform::window {
namespace {
// Keys with a virtual key of their own but no meaning to the console still report one, so that
// releasing them ends a braille chord as the system's punctuation keys do.
constexpr int kOtherKey = 0xBA;
constexpr int kNumpad0 = 0x60;
constexpr int kClear = 0x0C;

// SDL reports the keypad's own codes whatever the Num Lock state; the system gives the
// editing keys when Num Lock is off (or Shift inverts it) and the keypad digits otherwise.
int KeypadKey(SDL_Keycode sym, Uint16 mods) {
  static constexpr int kEditing[10] = {VK_INSERT, VK_END,  VK_DOWN, VK_NEXT, VK_LEFT,
                                       kClear,    VK_RIGHT, VK_HOME, VK_UP,  VK_PRIOR};
  bool digits = (mods & KMOD_NUM) && !(mods & KMOD_SHIFT);
  int n = sym == SDLK_KP_0 ? 0 : (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) ? int(sym - SDLK_KP_1) + 1 : -1;
  if (n >= 0) return digits ? kNumpad0 + n : kEditing[n];
  if (sym == SDLK_KP_PERIOD)
    return digits ? kOtherKey : VK_DELETE;
  return 0;
}
}  // namespace

int ModifierBits(Uint16 mods) {
  int bits = 0;
  if (mods & KMOD_SHIFT) bits |= kShift;
  if (mods & KMOD_CTRL) bits |= kCtrl;
  if (mods & KMOD_LALT) bits |= kAlt;
  return bits;
}

int VirtualKeyOf(SDL_Keycode sym, Uint16 mods) {
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return sym;
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return VK_F1 + (sym - SDLK_F1);
  if (int keypad = KeypadKey(sym, mods)) return keypad;
  switch (sym) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_CANCEL: return VK_CANCEL;
    case SDLK_PAUSE: return (mods & KMOD_CTRL) ? VK_CANCEL : kOtherKey;
    case SDLK_LSHIFT: case SDLK_RSHIFT: case SDLK_LCTRL: case SDLK_RCTRL:
    case SDLK_LALT: case SDLK_RALT: case SDLK_LGUI: case SDLK_RGUI: case SDLK_CAPSLOCK:
    case SDLK_NUMLOCKCLEAR: case SDLK_MODE:
      return 0;
    default:
      return sym > 0 ? kOtherKey : 0;
  }
}

std::vector<Message> KeyDownMessages(const SDL_Keysym& key) {
  std::vector<Message> out;
  int vk = VirtualKeyOf(key.sym, key.mod);
  if (vk == 0) return out;
  int bits = ModifierBits(key.mod);
  bool alt = bits & kAlt, ctrl = bits & kCtrl;
  out.push_back({alt && !ctrl ? MessageKind::SysKeyDown : MessageKind::KeyDown, vk, bits});
  if (alt) return out;
  int ch = -1;
  switch (vk) {
    case VK_RETURN: ch = 13; break;
    case VK_BACK: ch = 8; break;
    case VK_ESCAPE: ch = 27; break;
    case VK_TAB: ch = ctrl ? -1 : 9; break;
    default: break;
  }
  if (ctrl && vk >= 'A' && vk <= 'Z') ch = vk - 'A' + 1;
  if (ctrl && vk == VK_SPACE) ch = ' ';
  if (ctrl && key.sym == SDLK_BACKSLASH) ch = 28;
  if (ctrl && key.sym == SDLK_LEFTBRACKET) ch = 27;
  if (ctrl && key.sym == SDLK_RIGHTBRACKET) ch = 29;
  if (ch >= 0) out.push_back({MessageKind::Char, ch, bits});
  return out;
}

std::vector<Message> KeyUpMessages(const SDL_Keysym& key) {
  int vk = VirtualKeyOf(key.sym, key.mod);
  if (vk == 0) return {};
  return {{MessageKind::KeyUp, vk, ModifierBits(key.mod)}};
}

std::vector<Message> TextMessages(const char* utf8, Uint16 mods) {
  std::vector<Message> out;
  int bits = ModifierBits(mods);
  // With Alt (not AltGr) held the system types nothing: Alt+letter is a command. With Ctrl held
  // the key-down already gave the control character.
  if (bits & (kAlt | kCtrl)) return out;
  for (unsigned char c : Utf8ToCp1252(utf8)) {
    if (c == '?' && std::string(utf8).find('?') == std::string::npos) continue;  // no code
    if (c >= 32) out.push_back({MessageKind::Char, c, bits});
  }
  return out;
}

}  // namespace teluma::platform::window
