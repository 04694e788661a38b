// The console in its window: SDL key events reach the key queue as the system's codes,
// braille chords are made of key downs and ups, and Ctrl+Break ends the program with 255.
// Runs on a virtual X server.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "console/TlCrt.hpp"
#include "platform/env.hpp"
#include "platform/real_env.hpp"
#include "testkit/testkit.hpp"

namespace {

void Key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  SDL_PushEvent(&e);
}

class ConsoleWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static testkit::TempDir dir;  // no TELUMA.INI: the console's defaults
    setenv("TELUMA_ROOT", dir.path().c_str(), 1);
    setenv("TELUMA_WINDIR", dir.path().c_str(), 1);
    platform::EnvChoice window;
    window.backend = "window";
    static platform::RealEnv env(window);
    static platform::ScopedEnv installed(env);
    alarm(60);  // a key that never arrives fails the run instead of hanging it
  }
};

}  // namespace

TEST_F(ConsoleWindow, CursorKeysAndCharactersReachTheQueue) {
  OpenConsole();
  Key(SDL_KEYDOWN, SDLK_UP);
  Key(SDL_KEYUP, SDLK_UP);
  EXPECT_EQ(WaitForKey(), 0);
  EXPECT_EQ(WaitForKey(), 72);
  Key(SDL_KEYDOWN, SDLK_UP, KMOD_LCTRL);
  EXPECT_EQ(WaitForKey(), 0);
  EXPECT_EQ(WaitForKey(), 0x71);
  Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LCTRL);
  EXPECT_EQ(WaitForKey(), 10);
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  std::snprintf(text.text.text, sizeof text.text.text, "%s", "ç");
  SDL_PushEvent(&text);
  EXPECT_EQ(WaitForKey(), 0xE7);
}

TEST_F(ConsoleWindow, BrailleChordsAreMadeOfKeyDownsAndUps) {
  OpenConsole();
  SetBrailleMode(1);
  // F and D together, released in any order: dots 1 and 2, "b".
  Key(SDL_KEYDOWN, SDLK_f);
  Key(SDL_KEYDOWN, SDLK_d);
  Key(SDL_KEYUP, SDLK_f);
  Key(SDL_KEYUP, SDLK_d);
  EXPECT_EQ(WaitForKey(), 'b');
  // Space with dots 1 2 5 ("h") gives 8.
  Key(SDL_KEYDOWN, SDLK_SPACE);
  Key(SDL_KEYDOWN, SDLK_f);
  Key(SDL_KEYDOWN, SDLK_d);
  Key(SDL_KEYDOWN, SDLK_k);
  Key(SDL_KEYUP, SDLK_k);
  Key(SDL_KEYUP, SDLK_d);
  Key(SDL_KEYUP, SDLK_f);
  Key(SDL_KEYUP, SDLK_SPACE);
  EXPECT_EQ(WaitForKey(), 8);
  SetBrailleMode(0);
}

TEST_F(ConsoleWindow, CtrlBreakEndsWith255) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        OpenConsole();
        Key(SDL_KEYDOWN, SDLK_PAUSE, KMOD_LCTRL);
        WaitForKey();
        std::exit(0);
      },
      testing::ExitedWithCode(255), "");
}
