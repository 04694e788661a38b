// Fuzz target: the terminal's key decoder. The bytes are fed in pieces whose sizes come from the
// selector byte, and once a byte at a time: the keys decoded must not depend on how the
// terminal's reads cut the stream.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/terminal/keydecoder.hpp"

using namespace teluma;

using platform::terminal::KeyDecoder;
using platform::terminal::TerminalInput;

namespace {

std::vector<TerminalInput> Decode(std::string_view bytes, size_t piece) {
  KeyDecoder decoder;
  std::vector<TerminalInput> out;
  for (size_t at = 0; at < bytes.size(); at += piece) decoder.Feed(bytes.substr(at, piece), out);
  decoder.Flush(out);
  if (decoder.Pending()) __builtin_trap();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<TerminalInput> whole = Decode(bytes, bytes.size() + 1);
  if (Decode(bytes, 1) != whole) __builtin_trap();
  if (Decode(bytes, 1 + data[0] % 7) != whole) __builtin_trap();
  return 0;
}
