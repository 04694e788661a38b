// Fuzz target: the front end's letter rules (portug.nrl) and exceptions (portug.exc), and a text
// spoken over them. Parts: letter rules, exceptions, text. Selector bit 0 takes the shipped
// letter rules (the shipped exceptions are too long to read for every input: the text target
// speaks over them).
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
  std::string letters = data[0] & 1 ? shipped.letters : fuzz::WriteFile("portug.nrl", parts[0]);
  if (!LoadLetterRules(letters)) __builtin_trap();
  if (!LoadExceptionList(fuzz::WriteFile("portug.exc", parts[1]))) __builtin_trap();
  fuzz::SpeakToPho(parts[2]);
  return 0;
}
