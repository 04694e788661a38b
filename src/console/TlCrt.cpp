#include "console/TlCrt.hpp"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <optional>

#include "console/keyboard.hpp"
#include "console/picture.hpp"
#include "console/screen.hpp"
#include "console/settings.hpp"
#include "console/tone.hpp"
#include "platform/backend.hpp"
#include "platform/cp1252.hpp"
#include "platform/env.hpp"
#include "platform/events.hpp"
#include "platform/headless/headless_backend.hpp"
#include "platform/lifecycle.hpp"
#include "platform/paths.hpp"
#include "platform/sound.hpp"
#include "platform/transcript.hpp"
#include "platform/window/window_backend.hpp"

namespace teluma::console {

using teluma::console::Keyboard;
using teluma::console::Screen;

namespace {

struct Console : teluma::console::ScreenPainter {
  Screen screen;
  Keyboard keyboard;
  ConsoleOptions options;
  teluma::console::ConsoleSetup setup;
  std::unique_ptr<platform::DisplayBackend> backend;
  int lastKeyMods = 0;  // modifier bits of the key WaitForKey took last
  bool open = false;
  bool closing = false;
  int closeExitCode = 0;
  bool waiting = false;
  bool caretShown = false;
  bool toneOn = false;
  std::optional<platform::Picture> picture;
  int pictureX = 0, pictureY = 0;
  std::function<void(int64_t, int64_t)> waveDone;
  std::string title;

  void PaintRun(int row, int from, int to) override {
    if (backend) backend->DrawRun(row, from, to);
  }
  void Scrolled() override {
    if (backend) backend->Scrolled();
  }
  void Beep() override {
    platform::Transcript::Get().Event("BEEP");
    if (backend) backend->Beep();
  }
};

Console& C() {
  static Console* console = new Console;  // kept for the exit procedure and the final screen
  return *console;
}

std::string ProgramTitle() {
  char path[80] = {};
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  return platform::Utf8ToCp1252(std::string(path, static_cast<size_t>(n)));
}

void Caret(bool shown) {
  auto& c = C();
  c.caretShown = shown;
  if (c.backend) {
    c.backend->SetCaret(shown, std::min<int>(c.screen.column, Screen::kColumns - 1), c.screen.row);
    c.backend->Present();
  }
}

// Ends the program at once with code 255 (Ctrl+Break, the quit message).
[[noreturn]] void Break() {
  if (C().caretShown) Caret(false);
  platform::ExitProgram(255);
}

void Dispatch(const platform::Message& m) {
  auto& c = C();
  using K = platform::MessageKind;
  switch (m.kind) {
    case K::KeyDown: c.keyboard.KeyDown(static_cast<int>(m.a), static_cast<int>(m.b)); break;
    case K::SysKeyDown: c.keyboard.SysKeyDown(static_cast<int>(m.a), static_cast<int>(m.b)); break;
    case K::KeyUp: c.keyboard.KeyUp(static_cast<int>(m.a), static_cast<int>(m.b)); break;
    case K::Char: c.keyboard.Char(static_cast<int>(m.a), static_cast<int>(m.b)); break;
    case K::FocusGained:
      c.keyboard.Focus(true);
      if (c.waiting) Caret(true);
      break;
    case K::FocusLost:
      if (c.waiting) Caret(false);
      c.keyboard.Focus(false);
      break;
    case K::Paint:
      if (c.backend) {
        c.backend->Repaint();
        if (c.picture) c.backend->ShowPicture(&*c.picture, c.pictureX, c.pictureY);
        c.backend->Present();
      }
      break;
    case K::Close: CloseConsole();
    case K::Quit: Break();
    case K::WaveDone:
      if (c.waveDone) c.waveDone(m.a, m.b);
      break;
    default: break;
  }
}

void ExitProcedure() {
  auto& c = C();
  StopTone();
  if (c.backend) {
    c.keyboard.checkBreak = false;
    c.backend->SetCaret(false, 0, 0);
    // After the close path the window is gone; otherwise it stays with this title.
    if (!c.closing) c.backend->SetTitle("Programa terminado");
    c.backend->Present();
    c.backend->Close();
  }
  // Later exit procedures may still write: into the grid only, no display opens any more.
  c.backend = std::make_unique<platform::headless::HeadlessBackend>();
  c.open = true;
}

// The final screen rows of the transcript.
void FinalReport() {
  auto& t = platform::Transcript::Get();
  if (!t.Enabled()) return;
  auto& s = C().screen;
  t.Event("SCREEN");
  for (int r = 0; r < Screen::kRows; ++r) {
    std::string row(reinterpret_cast<const char*>(s.Chars()) + r * Screen::kColumns, Screen::kColumns);
    t.RawLine("| " + platform::Cp1252ToUtf8(row));
  }
  t.Event("ATTR");
  static const char* hex = "0123456789ABCDEF";
  for (int r = 0; r < Screen::kRows; ++r) {
    std::string line = "| ";
    for (int col = 0; col < Screen::kColumns; ++col) {
      uint8_t a = s.AttrAt(col, r);
      line += hex[a >> 4];
      line += hex[a & 15];
    }
    t.RawLine(line);
  }
}

struct Startup {
  Startup() {
    auto& c = C();
    c.keyboard.onBreak = [] { Break(); };
    c.keyboard.onSetBrailleMode = [](int mode) { SetBrailleMode(mode); };
    c.title = ProgramTitle();
    platform::AddExitProcedure(ExitProcedure);
    platform::AddFinalReport(FinalReport);
  }
} startup;

}  // namespace

ConsoleOptions& ConsoleSettings() { return C().options; }

void OpenConsole() {
  auto& c = C();
  if (c.open || c.closing) return;
  c.open = true;
  c.setup = teluma::console::ReadConsoleSetup({c.options.keepFont, c.options.fontFace,
                                               c.options.fontWidth, c.options.fontHeight,
                                               c.options.fontWeight});
  c.keyboard.checkBreak = c.options.checkBreak;
  c.keyboard.focusKeys = c.options.focusKeys;
  // The cursor may have been placed before the display opened: it stays where it is.
  int32_t column = c.screen.column, row = c.screen.row;
  c.screen.Reset(c.setup.attr);
  c.screen.column = column;
  c.screen.row = row;
  platform::DisplayConfig config;
  config.columns = Screen::kColumns;
  config.rows = Screen::kRows;
  config.colours = teluma::console::RemappedColours(c.setup.remap);
  config.title = c.title;
  config.maximized = c.setup.maximized;
  config.blitScroll = c.setup.blitScroll;
  config.fontFace = c.setup.fontFace;
  config.fontWidth = c.setup.fontWidth;
  config.fontHeight = c.setup.fontHeight;
  config.fontWeight = c.setup.fontWeight;
  config.oemCharset = c.options.oemCharset;
  config.zoom = c.setup.zoom;
  platform::GridView grid{Screen::kColumns, Screen::kRows, c.screen.Chars(), c.screen.Attrs()};
  // The window is a display of its own library: the console offers it before the choice.
  platform::window::RegisterWindowBackend();
  c.backend = platform::Env::Default().OpenDisplay(config, grid);
  c.keyboard.focused = c.backend->StartsFocused();
  c.backend->Repaint();
  c.backend->Present();
  SetBrailleMode(c.setup.brailleMode);
}

void ClearScreen() {
  OpenConsole();
  auto& c = C();
  c.screen.Clear();
  c.backend->Repaint();
  if (c.picture) c.backend->ShowPicture(&*c.picture, c.pictureX, c.pictureY);
  c.backend->Present();
}

void ClearToLineEnd() {
  OpenConsole();
  auto& c = C();
  c.screen.ClearToLineEnd();
  c.backend->DrawRun(c.screen.row, std::min<int>(c.screen.column, Screen::kColumns), Screen::kColumns);
  c.backend->Present();
}

void MoveCursor(int32_t column, int32_t row) {
  auto& c = C();
  c.screen.MoveCursor(static_cast<int32_t>(std::clamp<int64_t>(int64_t{column} - 1, INT32_MIN, INT32_MAX)),
                      static_cast<int32_t>(std::clamp<int64_t>(int64_t{row} - 1, INT32_MIN, INT32_MAX)));
  if (c.caretShown) Caret(true);
}

int32_t CursorColumn() { return C().screen.column + 1; }
int32_t CursorRow() { return C().screen.row + 1; }

void SetForeground(uint8_t colour) {
  OpenConsole();
  auto& c = C();
  if (!c.setup.coloursFixed) c.screen.attr = static_cast<uint8_t>((c.screen.attr & 0xF0) | (colour & 0x0F));
}

void SetBackground(uint8_t colour) {
  OpenConsole();
  auto& c = C();
  if (!c.setup.coloursFixed) c.screen.attr = static_cast<uint8_t>((c.screen.attr & 0x0F) | (colour << 4));
}

uint8_t CharAt(int32_t column, int32_t row) {
  if (column < 1 || column > Screen::kColumns || row < 1 || row > Screen::kRows) return 0;
  return C().screen.CharAt(column - 1, row - 1);
}

uint8_t AttrAt(int32_t column, int32_t row) {
  if (column < 1 || column > Screen::kColumns || row < 1 || row > Screen::kRows) return 0;
  return C().screen.AttrAt(column - 1, row - 1);
}

int32_t ScreenRows() { return Screen::kRows; }

uint8_t& TextAttr() { return C().screen.attr; }

bool LoadPicture(std::string_view fileName) {
  auto loaded = teluma::console::LoadBmp(platform::MapPath(fileName));
  if (!loaded) return false;
  auto& c = C();
  c.picture = std::move(*loaded);
  c.pictureX = c.pictureY = 0;
  return true;
}

void ShowPicture(int32_t x, int32_t y) {
  auto& c = C();
  if (!c.picture) return;
  c.pictureX = x;
  c.pictureY = y;
  OpenConsole();
  c.backend->ShowPicture(&*c.picture, x, y);
  c.backend->Present();
}

void ClearPicture() {
  auto& c = C();
  c.picture.reset();
  if (c.backend) {
    c.backend->ShowPicture(nullptr, 0, 0);
    c.backend->Repaint();
    c.backend->Present();
  }
  PumpAllMessages();
}

void PumpWindowMessages() {
  platform::Message m;
  while (platform::PeekMessage(m)) Dispatch(m);
}

void PumpAllMessages() { PumpWindowMessages(); }

void MessageBeep() { C().Beep(); }

void Pause(uint16_t ms) {
  platform::Sleep(ms);
  PumpAllMessages();
  PumpWindowMessages();
}

void CloseConsole() {
  auto& c = C();
  if (c.open) {
    c.keyboard.queue.Clear();
    c.closing = true;
  }
  platform::ExitProgram(c.closeExitCode);
}

void SetCloseExitCode(int code) { C().closeExitCode = code; }

namespace {

std::tm WallTime(int& milliseconds) {
  // Start of the program on the wall clock plus the program's clock, so that the virtual
  // clock of the headless backend moves the date and time too.
  static const auto start = std::chrono::system_clock::now() - std::chrono::milliseconds(platform::NowMs());
  auto now = start + std::chrono::milliseconds(platform::NowMs());
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  milliseconds = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

}  // namespace

void CurrentDate(uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& weekday) {
  int ms;
  std::tm tm = WallTime(ms);
  year = static_cast<uint16_t>(tm.tm_year + 1900);
  month = static_cast<uint16_t>(tm.tm_mon + 1);
  day = static_cast<uint16_t>(tm.tm_mday);
  weekday = static_cast<uint16_t>(tm.tm_wday);
}

void CurrentTime(uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& hundredths) {
  int ms;
  std::tm tm = WallTime(ms);
  hour = static_cast<uint16_t>(tm.tm_hour);
  minute = static_cast<uint16_t>(tm.tm_min);
  second = static_cast<uint16_t>(tm.tm_sec);
  hundredths = static_cast<uint16_t>(ms / 10);
}

bool KeyWaiting() {
  OpenConsole();
  PumpAllMessages();
  return !C().keyboard.queue.Empty();
}

bool KeyQueued() { return !C().keyboard.queue.Empty(); }

uint8_t WaitForKey() {
  auto& c = C();
  if (!KeyWaiting()) {
    c.waiting = true;
    platform::SetWaitingForKey(true);
    if (c.keyboard.focused) Caret(true);
    do {
      platform::WaitMessage();
    } while (!KeyWaiting());
    if (c.keyboard.focused) Caret(false);
    platform::SetWaitingForKey(false);
    c.waiting = false;
  }
  uint8_t code = c.keyboard.queue.Take(&c.lastKeyMods);
  platform::Transcript::Get().Event("KEY", std::to_string(code));
  return code;
}

int ModifiersOfLastKey() { return C().lastKeyMods; }

int BrailleMode() { return C().keyboard.brailleMode; }

static void Signal(uint16_t hz) {
  StartTone(hz);
  Pause(200);
  StopTone();
}

void SetBrailleMode(int mode) {
  auto& c = C();
  if (mode > 2) mode = 1;
  if (mode < 0) mode = 0;
  if (mode == 0) {
    c.keyboard.ClearChord();
    if (c.keyboard.brailleMode != 0) Signal(100);
  } else {
    Signal(800);
    Signal(mode == 1 ? 1600 : 400);
  }
  c.keyboard.brailleMode = mode;
}

void StartTone(uint16_t hz) {
  StopTone();
  if (hz == 0) return;  // no period fits: nothing to play
  platform::PlayEffectImage(teluma::console::BuildToneImage(hz), true);
  C().toneOn = true;
  platform::Transcript::Get().Event("TONE", std::to_string(hz));
}

void StopTone() {
  auto& c = C();
  if (!c.toneOn) return;
  c.toneOn = false;
  platform::StopEffect();
  platform::Transcript::Get().Event("TONE", "off");
}

void CopyToClipboard(std::string_view text) {
  OpenConsole();
  text = text.substr(0, text.find('\0'));
  C().backend->SetClipboard(text);
}

std::string PasteFromClipboard(size_t size) {
  if (size == 0) return "";
  OpenConsole();
  std::string text;
  if (!C().backend->GetClipboard(text)) return "";
  text = text.substr(0, text.find('\0'));
  if (text.size() > size - 1) text.resize(size - 1);
  return text;
}

void Write(std::string_view text) {
  OpenConsole();
  auto& c = C();
  // The output device's buffer holds 128 characters; each full buffer and the rest at the end
  // of the call are written as they come.
  constexpr size_t kBuffer = 128;
  do {
    std::string_view part = text.substr(0, kBuffer);
    text.remove_prefix(part.size());
    c.screen.Write(part, c);
    // An empty write writes no characters: no event, but the key test still pumps.
    if (!part.empty()) platform::Transcript::Get().TextEvent("OUT", part);
    if (c.caretShown) Caret(true);
    c.backend->Present();
    KeyWaiting();
  } while (!text.empty());
}

void WriteLn(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  Write(line);
}

namespace {

// What the input device echoes goes to the screen, and to the transcript as any output does.
void Echo(std::string_view text) {
  auto& c = C();
  c.screen.Write(text, c);
  platform::Transcript::Get().TextEvent("OUT", text);
  c.backend->Present();
}

}  // namespace

std::string ReadLn() {
  OpenConsole();
  auto& c = C();
  constexpr size_t kBuffer = 128;
  std::string line;
  for (;;) {
    uint8_t k = WaitForKey();
    if (k == 13) break;
    if (k == 26 && c.options.checkEof) return line;
    if (k == 8) {
      if (!line.empty()) {
        line.pop_back();
        Echo("\b");
      }
    } else if (k >= 32 && line.size() < kBuffer - 2) {
      line += static_cast<char>(k);
      Echo(std::string(1, static_cast<char>(k)));
    }
  }
  Echo("\r\n");
  return line;
}

void SetWaveDoneHandler(std::function<void(int64_t device, int64_t block)> handler) {
  C().waveDone = std::move(handler);
}

}  // namespace teluma::console
