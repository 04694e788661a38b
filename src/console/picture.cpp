#include "console/picture.hpp"

#include <fstream>
#include <iterator>

namespace teluma::console {
namespace {

uint32_t U32(const std::vector<uint8_t>& f, size_t at) {
  return f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) | (static_cast<uint32_t>(f[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& f, size_t at) {
  return static_cast<uint16_t>(f[at] | (f[at + 1] << 8));
}

}  // namespace

std::optional<platform::Picture> DecodeBmp(const std::vector<uint8_t>& f) {
  if (f.size() < 54 || U32(f, 14) != 40) return std::nullopt;
  uint32_t dataOffset = U32(f, 10);
  uint16_t bits = U16(f, 28);
  uint32_t compression = U32(f, 30);
  uint32_t usedColours = U32(f, 46) & 0xFFFF;
  // Width and height are taken as their low 16 bits; a height with the top bit set is a
  // top-down image.
  int32_t rawHeight = static_cast<int32_t>(U32(f, 22));
  bool topDown = rawHeight < 0;
  uint32_t width = U32(f, 18) & 0xFFFF;
  // Negated as unsigned: the smallest height has no positive counterpart.
  uint32_t height = (topDown ? 0u - static_cast<uint32_t>(rawHeight)
                             : static_cast<uint32_t>(rawHeight)) & 0xFFFF;
  if (compression != 0 && !(compression == 3 && (bits == 32 || bits == 16))) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  if (width == 0 || height == 0) return std::nullopt;
  // A picture far larger than any screen is refused rather than decoded into gigabytes.
  if (static_cast<uint64_t>(width) * height > (uint64_t{1} << 26)) return std::nullopt;
  std::vector<uint32_t> colours;
  if (bits <= 8) {
    uint32_t n = usedColours ? usedColours : (1u << bits);
    if (54 + static_cast<size_t>(n) * 4 > f.size()) return std::nullopt;
    for (uint32_t i = 0; i < n; ++i) {
      size_t at = 54 + i * 4;
      colours.push_back((f[at + 2] << 16) | (f[at + 1] << 8) | f[at]);
    }
  }
  size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  size_t imageSize = stride * height;
  if (dataOffset > f.size() || f.size() - dataOffset < imageSize) return std::nullopt;
  platform::Picture p;
  p.width = static_cast<int>(width);
  p.height = static_cast<int>(height);
  p.pixels.resize(static_cast<size_t>(width) * height);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = f.data() + dataOffset + stride * (topDown ? y : height - 1 - y);
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t px = 0;
      if (bits >= 24) {
        const uint8_t* q = row + x * (bits / 8);
        px = (q[2] << 16) | (q[1] << 8) | q[0];
      } else {
        uint32_t perByte = 8 / bits;
        uint8_t byte = row[x / perByte];
        uint32_t shift = 8 - bits * (x % perByte + 1);
        uint32_t index = (byte >> shift) & ((1u << bits) - 1);
        px = index < colours.size() ? colours[index] : 0;
      }
      p.pixels[static_cast<size_t>(y) * width + x] = px;
    }
  }
  return p;
}

std::optional<platform::Picture> LoadBmp(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodeBmp(f);
}

}  // namespace teluma::console
