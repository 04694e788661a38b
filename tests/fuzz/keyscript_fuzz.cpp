// Fuzz target: the headless backend's key script, and its single key items.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/headless/keyscript.hpp"

using namespace teluma;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto script = platform::headless::ParseKeyScript(text);
  for (const auto& line : script.lines)
    if (line.delayMs < 0) __builtin_trap();
  std::vector<platform::KeyStroke> strokes;
  platform::headless::ParseKeyItem(text.substr(0, 64), strokes);
  return 0;
}
