// Decodes what a terminal sends for the keyboard (bytes in UTF-8 with xterm-style escape
// sequences) into key strokes and focus changes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keys.hpp"

namespace teluma::platform::terminal {

struct TerminalInput {
  enum Kind { Key, FocusIn, FocusOut } kind = Key;
  KeyStroke stroke;
  bool operator==(const TerminalInput&) const = default;
};

class KeyDecoder {
 public:
  // Adds bytes; complete keys are appended to out. An unfinished sequence is kept.
  void Feed(std::string_view bytes, std::vector<TerminalInput>& out);
  // True while an escape (or a partial UTF-8 character) waits for more bytes.
  bool Pending() const { return !pending_.empty(); }
  // No more bytes came in time: what is pending is taken as typed (a lone Esc).
  void Flush(std::vector<TerminalInput>& out);

 private:
  // Decodes one item at the start of pending_; returns bytes used, 0 when incomplete.
  size_t DecodeOne(std::string_view s, bool final, std::vector<TerminalInput>& out);
  std::string pending_;
};

}  // namespace teluma::platform::terminal
