#include "console/tone.hpp"

#include "platform/wave_file.hpp"

namespace teluma::console {

std::vector<uint8_t> BuildToneImage(uint16_t hz) {
  constexpr uint32_t kRate = 11025;
  if (hz == 0) hz = 1;
  // Samples between the periods (when the period does not divide the second) stay at the
  // middle level, as does the tail after the last whole period.
  std::vector<uint8_t> image(44 + kRate, 128);
  uint32_t p = kRate / hz;
  uint32_t end = 0;
  for (uint32_t k = 0;; ++k) {
    uint32_t start = static_cast<uint32_t>(static_cast<uint64_t>(k) * kRate / hz);
    if (start > kRate - p) break;
    for (uint32_t i = 0; i < p; ++i) image[44 + start + i] = i < p / 2 ? 96 : 160;
    end = start + p;
    if (p == 0 && start >= kRate) break;
  }
  if (end > 0) image[44 + end - 1] = 128;
  platform::PutWaveHeader(image.data(), end, kRate, 1, 8, 1);
  return image;
}

}  // namespace teluma::console
