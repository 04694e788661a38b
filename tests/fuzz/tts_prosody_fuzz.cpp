// Fuzz target: the front end's prosody file (portug.pro) and diphone list (portug.dfn), and a
// text spoken over them down to .pho lines. Parts: prosody, diphones, text. Selector bit 0 takes
// the shipped prosody, bit 1 the shipped diphone list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tts_pipeline.hpp"

using namespace teluma::tts;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const bool loaded = [] {
    fuzz::ShippedRules::Get().LoadAll();
    return true;
  }();
  (void)loaded;
  const auto& shipped = fuzz::ShippedRules::Get();
  auto parts = fuzz::Parts(data, size, 3);
  LoadProsody(data[0] & 1 ? shipped.prosody : fuzz::WriteFile("portug.pro", parts[0]));
  if (WordKeyCount() > kMaxWordKeys || PatternRuleCount() > kMaxPatternRules) __builtin_trap();
  LoadDiphones(data[0] & 2 ? shipped.diphones : fuzz::WriteFile("portug.dfn", parts[1]));
  ResetPhoState();
  fuzz::SpeakToPho(parts[2]);
  return 0;
}
