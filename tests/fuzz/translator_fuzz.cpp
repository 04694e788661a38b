// Fuzz target: the letter-to-sound translator's rule file and exception file, and the
// translation of a text over them. Parts: rules, exceptions, text. Selector bit 0 takes the
// shipped rules instead of the first part, bit 1 the shipped exceptions instead of the second,
// so that texts also meet real files.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.hpp"
#include "synth/translator.hpp"

using namespace teluma;
using namespace teluma::synth;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const std::string shippedRules = fuzz::ShippedFile("difones/regras.rgr", "shipped.rgr");
  static const std::string shippedExceptions =
      fuzz::ShippedFile("difones/portug.exc", "shipped.exc");
  auto parts = fuzz::Parts(data, size, 3);
  std::string rules = data[0] & 1 ? shippedRules : fuzz::WriteFile("regras.rgr", parts[0]);
  std::string exceptions =
      data[0] & 2 ? shippedExceptions : fuzz::WriteFile("portug.exc", parts[1]);
  if (!LoadRules(rules) || !LoadExceptions(exceptions)) __builtin_trap();
  TranslateText(parts[2]);
  FreeRules();
  return 0;
}
