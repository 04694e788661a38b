// Fuzz target: the front end's abbreviation file (portug.abr) and the normalisation of a text
// over it. Parts: abbreviations, text. Selector bit 0 takes the shipped file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tts_pipeline.hpp"

using namespace teluma::tts;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const auto& shipped = fuzz::ShippedRules::Get();
  auto parts = fuzz::Parts(data, size, 2);
  std::string file = data[0] & 1 ? shipped.abbreviations : fuzz::WriteFile("portug.abr", parts[0]);
  if (!LoadAbbreviations(file)) __builtin_trap();
  if (AbbreviationCount() > kMaxAbbreviations) __builtin_trap();
  NormalizeText(parts[1]);
  LookupAbbreviation(parts[1]);
  return 0;
}
