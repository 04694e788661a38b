#include "platform/terminal/terminal_backend.hpp"

namespace platform::terminal {

struct TerminalBackend::Impl {};

TerminalBackend::TerminalBackend() : impl_(std::make_unique<Impl>()) {}
TerminalBackend::~TerminalBackend() = default;
bool TerminalBackend::Open(const DisplayConfig&, const GridView&) { return false; }
void TerminalBackend::Close() {}
void TerminalBackend::DrawRun(int, int, int) {}
void TerminalBackend::Repaint() {}
void TerminalBackend::Present() {}
void TerminalBackend::SetCaret(bool, int, int) {}
void TerminalBackend::SetTitle(std::string_view) {}
void TerminalBackend::Beep() {}
void TerminalBackend::SetClipboard(std::string_view t) { DisplayBackend::SetClipboard(t); }

}  // namespace platform::terminal
