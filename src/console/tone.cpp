#include "console/tone.hpp"

#include <cstring>

namespace teluma::console {
namespace {

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}
void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}

}  // namespace

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
  std::memcpy(&image[0], "RIFF", 4);
  Put32(image, 4, end + 36);
  std::memcpy(&image[8], "WAVEfmt ", 8);
  Put32(image, 16, 16);
  Put16(image, 20, 1);  // PCM
  Put16(image, 22, 1);  // mono
  Put32(image, 24, kRate);
  Put32(image, 28, kRate);
  Put16(image, 32, 1);
  Put16(image, 34, 8);
  std::memcpy(&image[36], "data", 4);
  Put32(image, 40, end);
  return image;
}

}  // namespace teluma::console
