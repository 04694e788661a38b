// Fuzz target: bad index bytes, wave files and phonetic texts never crash the synthesizer.
// The first byte chooses how the rest is split among an index, a wave file and a phonetic text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "synth/diphone.hpp"
#include "synth/diphone_store.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 2) return 0;
  std::string input(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  size_t a = input.size() * (bytes[0] & 0x0F) / 16;
  size_t b = a + (input.size() - a) * (bytes[0] >> 4) / 16;
  std::string index = input.substr(0, a), wave = input.substr(a, b - a), text = input.substr(b);

  diphone::DiphoneIndex parsed;
  parsed.Assign(index);
  diphone::IndexEntry entry;
  parsed.Find(text.substr(0, 8), entry);
  for (size_t i = 0; i < parsed.Count(); ++i) parsed.At(i);
  diphone::WaveData data;
  diphone::FindWaveData(wave, data);
  diphone::WaveSamplesAs8BitMono(wave);

  // Units whose name hashes odd are found, so the decomposition paths run too.
  SetDiphoneLookupOverride([](std::string_view name) {
    size_t h = 0;
    for (char c : name) h = h * 31 + static_cast<unsigned char>(c);
    return name.size() <= 8 && (h & 1);
  });
  SetDiphonePlayer([](const uint8_t*, size_t) {}, [] { return false; });
  DiphoneSpeak(text, bytes[0] & 1);
  DiphoneSpeak(text, false);
  return 0;
}
