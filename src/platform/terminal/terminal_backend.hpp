// The text terminal the program was started in: raw keyboard, the grid drawn with 24-bit
// colour escapes, escape sequences decoded into key messages by a reader thread.
#pragma once
#include <memory>

#include "platform/backend.hpp"

namespace teluma::platform::terminal {

class TerminalBackend : public DisplayBackend {
 public:
  // requested: TELUMA_BACKEND names the terminal, so it opens even when neither standard input
  // nor standard output is a terminal.
  explicit TerminalBackend(bool requested = false);
  ~TerminalBackend() override;
  const char* Name() const override { return "terminal"; }
  bool Open(const DisplayConfig& config, const GridView& grid) override;
  void Close() override;
  void DrawRun(int row, int from, int to) override;
  void Repaint() override;
  void Scrolled() override;
  void Present() override;
  void SetCaret(bool shown, int column, int row) override;
  void SetTitle(std::string_view cp1252Title) override;
  void Beep() override;
  void SetClipboard(std::string_view cp1252Text) override;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
  bool requested_;
};

}  // namespace teluma::platform::terminal
