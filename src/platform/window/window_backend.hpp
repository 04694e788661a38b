// The graphical console window on SDL2: the grid drawn with a fixed-pitch font found by
// fontconfig, the caret, the picture, the right-button magnifier, keyboard and clipboard.
//
// SDL's window lives on a thread of its own. The program thread hands it snapshots of the grid
// at every Present; the window thread draws the cells that changed and posts keyboard, focus
// and close messages to the program's event queue. Nothing else crosses between the two.
#pragma once
#include <SDL_events.h>

#include <memory>

#include "platform/backend.hpp"

namespace teluma::platform::window {

class WindowBackend : public DisplayBackend {
 public:
  WindowBackend();
  ~WindowBackend() override;
  const char* Name() const override { return "window"; }
  bool Open(const DisplayConfig& config, const GridView& grid) override;
  void Close() override;
  void DrawRun(int row, int from, int to) override;
  void Repaint() override;
  void Present() override;
  void SetCaret(bool shown, int column, int row) override;
  void SetTitle(std::string_view cp1252Title) override;
  void Beep() override;
  void ShowPicture(const Picture* picture, int x, int y) override;
  void SetClipboard(std::string_view cp1252Text) override;
  bool GetClipboard(std::string& cp1252Text) override;

  // For tests and measurements: waits until the last Present is on the screen, and reads a
  // pixel of the window image at (x, y) relative to the grid's top-left corner.
  void WaitPresented();
  bool ReadPixel(int x, int y, Rgb& colour);
  int CellWidth() const;
  int CellHeight() const;
  // Feeds an event to the window thread as if SDL had delivered it.
  void Inject(const SDL_Event& event);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Makes the window a display the program's environment can choose ("window").
void RegisterWindowBackend();

}  // namespace teluma::platform::window
