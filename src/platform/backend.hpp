// The display backends of the console: what a window, a text terminal or nothing at all
// (headless) must do for the console's screen model. The console keeps the grids, the cursor,
// the picture and every rule; a backend only shows cells, the caret and the picture, and turns
// its input into posted messages (platform/keys.hpp).
//
// The program's environment chooses and opens the backend (env.hpp). The terminal and headless
// backends are part of the platform; the window is a library of its own that a program adds
// with an explicit call (window::RegisterWindowBackend) before its console opens.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace teluma::platform {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

// What the console knows when it opens its display.
struct DisplayConfig {
  int columns = 80;
  int rows = 25;
  // Colour of each logical colour 0..15 (the palette after the colour remap; a remapped
  // index above 15 is already black here).
  std::array<Rgb, 16> colours{};
  std::string title;       // Windows-1252
  bool maximized = false;  // "CANTOTELA" other than S
  bool blitScroll = false; // "LENTO"
  // Font settings as read from the settings file (window backend only).
  std::string fontFace;    // Windows-1252, "Lucida Console" by default
  int fontWidth = 0;       // 0: the backend's own choice from the work area
  int fontHeight = 0;
  int fontWeight = 0;      // 0: the face's normal weight
  bool oemCharset = false; // the OEM character set instead of the ANSI one
  int zoom = 2;            // magnifier factor ("AMPLIF"), 1..7
};

// The console's grids, read by a backend when it repaints by itself (expose, resize).
struct GridView {
  int columns = 0;
  int rows = 0;
  const uint8_t* chars = nullptr;  // rows * columns, row-major
  const uint8_t* attrs = nullptr;
};

// A picture in memory: 32-bit pixels 0x00RRGGBB, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;
  virtual const char* Name() const = 0;

  // Opens the display; false when it cannot (the next choice is tried). grid stays valid
  // until Close.
  virtual bool Open(const DisplayConfig& config, const GridView& grid) = 0;
  virtual void Close() = 0;

  // Shows columns [from, to) of row (0-based) as the grid now holds them.
  virtual void DrawRun(int row, int from, int to) = 0;
  // Shows the whole grid again (after a clear, a scroll, an expose).
  virtual void Repaint() = 0;
  // The grid has moved up by one row (the bottom row is new). Backends that can shift their
  // image do so; the default repaints.
  virtual void Scrolled() { Repaint(); }
  // Everything drawn since the last Present becomes visible.
  virtual void Present() {}

  // The caret at a cell (0-based), shown or hidden.
  virtual void SetCaret(bool shown, int column, int row) = 0;
  virtual void SetTitle(std::string_view cp1252Title) {}
  virtual void Beep() {}

  // The picture drawn at pixel (x, y) over the text, or removed (nullptr).
  virtual void ShowPicture(const Picture* picture, int x, int y) {}

  // Clipboard text (Windows-1252). Backends without a system clipboard keep it in process.
  virtual void SetClipboard(std::string_view cp1252Text) {
    clipboard_ = cp1252Text;
    hasClipboard_ = true;
  }
  virtual bool GetClipboard(std::string& cp1252Text) {
    if (!hasClipboard_) return false;
    cp1252Text = clipboard_;
    return true;
  }

  // True when the program's window has the keyboard focus at start.
  virtual bool StartsFocused() const { return true; }

 protected:
  std::string clipboard_;
  bool hasClipboard_ = false;
};

using BackendFactory = std::function<std::unique_ptr<DisplayBackend>()>;

// Adds a backend kept outside the platform library under name ("window").
void RegisterBackend(const std::string& name, BackendFactory factory);
bool BackendRegistered(const std::string& name);
// A new backend of a registered name, or nullptr.
std::unique_ptr<DisplayBackend> MakeRegisteredBackend(const std::string& name);

// True when a graphical display is available (DISPLAY or WAYLAND_DISPLAY set).
bool DisplayAvailable();

}  // namespace teluma::platform
