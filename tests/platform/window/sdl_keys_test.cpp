// SDL key events reach the console as the system's window messages would.
#include <gtest/gtest.h>

#include "platform/keys.hpp"
#include "platform/window/sdl_keys.hpp"

using namespace platform;
using namespace platform::window;

namespace {
SDL_Keysym Key(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  SDL_Keysym k{};
  k.sym = sym;
  k.mod = mod;
  return k;
}
std::vector<std::pair<MessageKind, int64_t>> Kinds(const std::vector<Message>& m) {
  std::vector<std::pair<MessageKind, int64_t>> out;
  for (auto& x : m) out.push_back({x.kind, x.a});
  return out;
}
using P = std::pair<MessageKind, int64_t>;
}  // namespace

TEST(WindowKeys, CursorFunctionAndControlKeys) {
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_UP))), (std::vector<P>{{MessageKind::KeyDown, VK_UP}}));
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_F12))), (std::vector<P>{{MessageKind::KeyDown, VK_F12}}));
  // Enter, Backspace and Esc type their character; Ctrl+letter types 1..26; Ctrl+\ types 28.
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_RETURN, KMOD_LCTRL))),
            (std::vector<P>{{MessageKind::KeyDown, VK_RETURN}, {MessageKind::Char, 13}}));
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_c, KMOD_LCTRL))),
            (std::vector<P>{{MessageKind::KeyDown, 'C'}, {MessageKind::Char, 3}}));
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_BACKSLASH, KMOD_RCTRL)))[1], (P{MessageKind::Char, 28}));
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_PAUSE, KMOD_LCTRL)))[0], (P{MessageKind::KeyDown, VK_CANCEL}));
  // Plain letters type through text input, not here; modifiers alone give nothing.
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_a))), (std::vector<P>{{MessageKind::KeyDown, 'A'}}));
  EXPECT_TRUE(KeyDownMessages(Key(SDLK_LSHIFT)).empty());
  // Ctrl+Space types a blank; text that SDL may still report with Ctrl is not typed twice.
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_SPACE, KMOD_LCTRL)))[1], (P{MessageKind::Char, ' '}));
  EXPECT_TRUE(TextMessages(" ", KMOD_LCTRL).empty());
}

TEST(WindowKeys, LeftAltIsAltButAltGrTypes) {
  auto alt = KeyDownMessages(Key(SDLK_x, KMOD_LALT));
  ASSERT_EQ(alt.size(), 1u);
  EXPECT_EQ(alt[0].kind, MessageKind::SysKeyDown);
  EXPECT_EQ(alt[0].b, kAlt);
  EXPECT_EQ(KeyDownMessages(Key(SDLK_F11, KMOD_LALT | KMOD_LCTRL))[0].kind, MessageKind::KeyDown);
  EXPECT_TRUE(TextMessages("x", KMOD_LALT).empty());
  auto altgr = TextMessages("\xC2\xB0", KMOD_RALT);  // AltGr+/ on a Brazilian layout: degree
  ASSERT_EQ(altgr.size(), 1u);
  EXPECT_EQ(altgr[0].a, 0xB0);
}

TEST(WindowKeys, TextInputArrivesAsWindows1252AndKeyUpsEndChords) {
  auto text = TextMessages("ção€", KMOD_NONE);
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(text[0].a, 0xE7);
  EXPECT_EQ(text[3].a, 0x80);
  EXPECT_TRUE(TextMessages("漢", KMOD_NONE).empty());
  EXPECT_EQ(Kinds(KeyUpMessages(Key(SDLK_f))), (std::vector<P>{{MessageKind::KeyUp, 'F'}}));
  // A punctuation key still reports its release, which ends a braille chord.
  EXPECT_EQ(KeyUpMessages(Key(SDLK_COMMA)).size(), 1u);
}

TEST(WindowKeys, KeypadGivesEditingKeysWithoutNumLockAndDigitsWithIt) {
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_KP_8))), (std::vector<P>{{MessageKind::KeyDown, VK_UP}}));
  EXPECT_EQ(KeyDownMessages(Key(SDLK_KP_0))[0].a, VK_INSERT);
  EXPECT_EQ(KeyDownMessages(Key(SDLK_KP_9))[0].a, VK_PRIOR);
  EXPECT_EQ(KeyDownMessages(Key(SDLK_KP_PERIOD))[0].a, VK_DELETE);
  // With Num Lock the digits type through text input and the key is no arrow; Shift inverts.
  EXPECT_NE(KeyDownMessages(Key(SDLK_KP_8, KMOD_NUM))[0].a, VK_UP);
  EXPECT_NE(KeyDownMessages(Key(SDLK_KP_PERIOD, KMOD_NUM))[0].a, VK_DELETE);
  EXPECT_EQ(KeyDownMessages(Key(SDLK_KP_4, KMOD_NUM | KMOD_LSHIFT))[0].a, VK_LEFT);
  EXPECT_EQ(Kinds(KeyDownMessages(Key(SDLK_KP_ENTER, KMOD_NUM))),
            (std::vector<P>{{MessageKind::KeyDown, VK_RETURN}, {MessageKind::Char, 13}}));
  EXPECT_EQ(KeyUpMessages(Key(SDLK_KP_2))[0].a, VK_DOWN);
}
