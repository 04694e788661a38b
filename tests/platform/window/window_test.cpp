// The window draws the console's cells in their colours, shows the picture, and turns SDL
// events into the console's messages. Runs on a virtual X server.
#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include "platform/events.hpp"
#include "platform/keys.hpp"
#include "platform/window/window_backend.hpp"

using namespace teluma;

using namespace platform;

namespace {

struct Grid {
  std::array<uint8_t, 80 * 25> chars{}, attrs{};
  Grid() {
    chars.fill(' ');
    attrs.fill(0x0F);
  }
  GridView View() { return GridView{80, 25, chars.data(), attrs.data()}; }
};

DisplayConfig Config() {
  DisplayConfig c;
  const Rgb palette[16] = {{0, 0, 0},       {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
                           {255, 0, 0},     {142, 0, 142},   {68, 34, 34},    {192, 192, 192},
                           {128, 128, 128}, {128, 128, 255}, {128, 255, 128}, {128, 255, 255},
                           {255, 128, 128}, {255, 128, 255}, {255, 255, 0},   {255, 255, 255}};
  for (int i = 0; i < 16; ++i) c.colours[i] = palette[i];
  c.title = "teste";
  c.fontHeight = 20;
  c.fontWidth = 10;
  return c;
}

bool Same(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Waits for the next message from the window thread (with a bound: a broken window must fail
// the test, not hang it).
bool NextMessage(Message& m) {
  for (int i = 0; i < 200; ++i) {
    if (PeekMessage(m)) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

// A window open on a grid, with the messages of its opening already taken.
class OpenWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.Open(Config(), grid.View()));
    Message opening;
    while (PeekMessage(opening)) {
    }
  }
  Grid grid;
  window::WindowBackend w;
};

TEST(Window, CellsAreDrawnInTheirColoursAndOnlyChangedCellsMove) {
  Grid grid;
  window::WindowBackend w;
  ASSERT_TRUE(w.Open(Config(), grid.View()));
  EXPECT_EQ(w.CellWidth(), 10);
  EXPECT_EQ(w.CellHeight(), 20);
  // Yellow on blue at column 3, row 2; a full block (code 219 is Û in Windows-1252, so use
  // a blank run) shows the background.
  for (int col = 2; col < 6; ++col) grid.attrs[2 * 80 + col] = 0x1E;
  grid.chars[2 * 80 + 3] = 'M';
  w.Present();
  Rgb c;
  ASSERT_TRUE(w.ReadPixel(2 * 10 + 1, 2 * 20 + 1, c));
  EXPECT_TRUE(Same(c, Rgb{0, 0, 255}));
  // Somewhere inside the M the text colour shows.
  bool yellow = false;
  for (int y = 2 * 20; y < 3 * 20 && !yellow; ++y)
    for (int x = 30; x < 40 && !yellow; ++x)
      if (w.ReadPixel(x, y, c) && c.r > 200 && c.g > 200 && c.b < 80) yellow = true;
  EXPECT_TRUE(yellow);
  // Cells left alone keep the black background of attribute 0F.
  ASSERT_TRUE(w.ReadPixel(70 * 10 + 5, 20 * 20 + 5, c));
  EXPECT_TRUE(Same(c, Rgb{0, 0, 0}));
  // A later change repaints that cell.
  grid.attrs[20 * 80 + 70] = 0x40;
  w.Present();
  ASSERT_TRUE(w.ReadPixel(70 * 10 + 5, 20 * 20 + 5, c));
  EXPECT_TRUE(Same(c, Rgb{255, 0, 0}));
  w.Close();
}

TEST(Window, PictureIsDrawnOverTheTextAndRemoved) {
  Grid grid;
  window::WindowBackend w;
  ASSERT_TRUE(w.Open(Config(), grid.View()));
  Picture p;
  p.width = 4;
  p.height = 3;
  p.pixels.assign(12, 0x00FF00);
  p.pixels[0] = 0xFF0000;  // top-left pixel red
  w.ShowPicture(&p, 650, 10);
  w.Present();
  Rgb c;
  ASSERT_TRUE(w.ReadPixel(650, 10, c));
  EXPECT_TRUE(Same(c, Rgb{255, 0, 0}));
  ASSERT_TRUE(w.ReadPixel(653, 12, c));
  EXPECT_TRUE(Same(c, Rgb{0, 255, 0}));
  w.ShowPicture(nullptr, 0, 0);
  w.Present();
  ASSERT_TRUE(w.ReadPixel(650, 10, c));
  EXPECT_TRUE(Same(c, Rgb{0, 0, 0}));
  w.Close();
}

TEST_F(OpenWindow, KeyboardEventsBecomeConsoleMessages) {
  Message m;
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_UP;
  w.Inject(e);
  e = SDL_Event{};
  e.type = SDL_TEXTINPUT;
  std::snprintf(e.text.text, sizeof e.text.text, "%s", "é");
  w.Inject(e);
  bool sawUp = false, sawChar = false;
  for (int i = 0; i < 6 && NextMessage(m); ++i) {
    if (m.kind == MessageKind::KeyDown && m.a == VK_UP) sawUp = true;
    if (m.kind == MessageKind::Char && m.a == 0xE9) sawChar = true;
    if (sawUp && sawChar) break;
  }
  EXPECT_TRUE(sawUp);
  EXPECT_TRUE(sawChar);
  e = SDL_Event{};
  e.type = SDL_QUIT;
  w.Inject(e);
  bool closed = false;
  for (int i = 0; i < 6 && NextMessage(m); ++i)
    if (m.kind == MessageKind::Close) closed = true;
  EXPECT_TRUE(closed);
  w.Close();
}

TEST(Window, EachNewPictureIsShownEvenWhenFramesComeFasterThanTheWindowDraws) {
  Grid grid;
  window::WindowBackend w;
  ASSERT_TRUE(w.Open(Config(), grid.View()));
  Picture p;
  p.width = 2;
  p.height = 2;
  const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
  Rgb c;
  for (int round = 0; round < 20; ++round) {
    // Pictures replaced one after another; only the last one must be on the screen.
    p.pixels.assign(4, colours[round % 4]);
    w.ShowPicture(&p, 100, 100);
    w.Present();
    p.pixels.assign(4, colours[(round + 1) % 4]);
    w.ShowPicture(&p, 100, 100);
    w.Present();
    ASSERT_TRUE(w.ReadPixel(101, 101, c));
    uint32_t want = colours[(round + 1) % 4];
    ASSERT_TRUE(Same(c, Rgb{uint8_t(want >> 16), uint8_t(want >> 8), uint8_t(want)})) << "round " << round;
  }
  w.Close();
}

TEST(Window, OpensAgainAfterClosingAndWhileOpen) {
  Grid grid;
  window::WindowBackend w;
  ASSERT_TRUE(w.Open(Config(), grid.View()));
  w.Close();
  ASSERT_TRUE(w.Open(Config(), grid.View()));
  ASSERT_TRUE(w.Open(Config(), grid.View()));  // the first window makes way for the second
  grid.attrs[0] = 0x20;
  w.Present();
  Rgb c;
  ASSERT_TRUE(w.ReadPixel(5, 5, c));
  EXPECT_TRUE(Same(c, Rgb{0, 255, 0}));
  w.Close();
}

TEST_F(OpenWindow, KeysAreHandledAtOnceNotAtTheNextIdleTick) {
  Message m;
  // Ten keys one after another, each waited for: the window thread idles a quarter of a
  // second between checks, so a key that does not wake it shows as seconds here.
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_DOWN;
    w.Inject(e);
    bool seen = false;
    while (!seen && NextMessage(m)) seen = m.kind == MessageKind::KeyDown && m.a == VK_DOWN;
    ASSERT_TRUE(seen);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  w.Close();
  Rgb c;
  EXPECT_FALSE(w.ReadPixel(0, 0, c));  // a closed window answers at once
}

TEST_F(OpenWindow, AltLeftDownWhenTheFocusGoesDoesNotSwallowLaterTyping) {
  Message m;
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_LALT;
  w.Inject(e);
  e = SDL_Event{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  w.Inject(e);
  e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  w.Inject(e);
  e = SDL_Event{};
  e.type = SDL_TEXTINPUT;
  std::snprintf(e.text.text, sizeof e.text.text, "%s", "a");
  w.Inject(e);
  bool typed = false, lost = false, gained = false;
  while (!typed && NextMessage(m)) {
    lost |= m.kind == MessageKind::FocusLost;
    gained |= m.kind == MessageKind::FocusGained;
    typed = m.kind == MessageKind::Char && m.a == 'a';
  }
  EXPECT_TRUE(lost && gained);
  EXPECT_TRUE(typed);
  w.Close();
}

TEST(Window, HugeFontSizesAreCutDownToAGridThatStillOpens) {
  Grid grid;
  for (int size : {100000, 3000, 400, 1}) {
    DisplayConfig config = Config();
    config.fontHeight = size;
    config.fontWidth = size / 2;
    window::WindowBackend w;
    ASSERT_TRUE(w.Open(config, grid.View())) << size;
    EXPECT_LE(w.CellWidth() * 80, 4096);
    EXPECT_LE(w.CellHeight() * 25, 4096);
    EXPECT_GE(w.CellHeight(), 1);
    grid.attrs[0] = 0x40;
    w.Present();
    Rgb c;
    ASSERT_TRUE(w.ReadPixel(0, 0, c)) << size;
    EXPECT_TRUE(Same(c, Rgb{255, 0, 0})) << size;
    w.Close();
  }
}
