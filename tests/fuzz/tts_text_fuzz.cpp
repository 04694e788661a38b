// Fuzz target: any text through the whole front end with the shipped rule files: normalisation,
// tokens with pitch patterns, phonemes and .pho lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tts_pipeline.hpp"

using namespace teluma::tts;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool loaded = [] {
    fuzz::ShippedRules::Get().LoadAll();
    return true;
  }();
  (void)loaded;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  ResetPhoState();
  fuzz::SpeakToPho(text);
  return 0;
}
