// Real key presses through the X server (XTest) with Brazilian keys in the keymap: dead keys,
// Ç and the keypad must reach the console as the characters and keys a player typed.
#include <gtest/gtest.h>

#include "platform/events.hpp"
#include "platform/keys.hpp"
#include "platform/window/window_backend.hpp"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <stdlib.h>

#include <array>
#include <vector>

// The XTest header is not installed, only the library.
extern "C" int XTestFakeKeyEvent(Display*, unsigned int keycode, int isPress, unsigned long delay);

using namespace platform;

TEST(WindowXKeyboard, DeadKeysCedillaAndKeypadFromRealKeyPresses) {
  std::array<uint8_t, 80 * 25> chars{}, attrs{};
  chars.fill(' ');
  attrs.fill(0x0F);
  DisplayConfig config;
  config.title = "teclado";
  config.fontHeight = 20;
  config.fontWidth = 10;
  Display* d = XOpenDisplay(nullptr);
  if (!d) GTEST_SKIP() << "no X server (CTest runs this program once more under xvfb-run)";
  // The Brazilian keys where the keyboard has them: ´ ` on AD11, Ç on AC10, ~ ^ on AC11.
  KeySym acute[2] = {XK_dead_acute, XK_dead_grave}, cedilla[2] = {XK_ccedilla, XK_Ccedilla},
         tilde[2] = {XK_dead_tilde, XK_dead_circumflex};
  XChangeKeyboardMapping(d, 34, 2, acute, 1);
  XChangeKeyboardMapping(d, 47, 2, cedilla, 1);
  XChangeKeyboardMapping(d, 48, 2, tilde, 1);
  XSync(d, False);
  window::WindowBackend w;
  ASSERT_TRUE(w.Open(config, GridView{80, 25, chars.data(), attrs.data()}));
  // No window manager: the keyboard goes to the window under the pointer.
  XWarpPointer(d, 0, DefaultRootWindow(d), 0, 0, 0, 0, 50, 50);
  XSync(d, False);
  Sleep(200);
  auto tap = [&](KeySym sym, bool shift = false) {
    KeyCode key = XKeysymToKeycode(d, sym), shiftKey = XKeysymToKeycode(d, XK_Shift_L);
    ASSERT_NE(key, 0);
    if (shift) XTestFakeKeyEvent(d, shiftKey, 1, 0);
    XTestFakeKeyEvent(d, key, 1, 0);
    XTestFakeKeyEvent(d, key, 0, 0);
    if (shift) XTestFakeKeyEvent(d, shiftKey, 0, 0);
    XSync(d, False);
  };
  tap(XK_dead_acute), tap(XK_e);         // é
  tap(XK_ccedilla);                      // ç
  tap(XK_dead_tilde), tap(XK_a);         // ã
  tap(XK_dead_acute, true), tap(XK_a);   // ` then a: à
  tap(XK_dead_tilde, true), tap(XK_o);   // ^ then o: ô
  tap(XK_KP_Up);                         // keypad 8 without Num Lock: Up
  std::vector<int64_t> typed;
  bool up = false;
  Message m;
  for (int i = 0; i < 300 && !up; ++i) {
    while (PeekMessage(m)) {
      if (m.kind == MessageKind::Char) typed.push_back(m.a);
      up |= m.kind == MessageKind::KeyDown && m.a == VK_UP;
    }
    Sleep(10);
  }
  EXPECT_EQ(typed, (std::vector<int64_t>{0xE9, 0xE7, 0xE3, 0xE0, 0xF4}));
  EXPECT_TRUE(up);
  w.Close();
  XCloseDisplay(d);
}
