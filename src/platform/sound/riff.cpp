#include "platform/sound/riff.hpp"

namespace platform {

namespace {

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

}  // namespace

bool ChunkIdIs(const uint8_t* id, std::string_view expected) {
  for (size_t i = 0; i < 4; ++i) {
    if (Upper(char(id[i])) != Upper(i < expected.size() ? expected[i] : ' ')) return false;
  }
  return true;
}

std::optional<WaveImageInfo> ParseWaveImage(const uint8_t* image, size_t length) {
  if (image == nullptr || length < 12 || !ChunkIdIs(image, "RIFF") ||
      !ChunkIdIs(image + 8, "WAVE")) {
    return std::nullopt;
  }
  std::optional<WaveFormat> format;
  size_t at = 12;
  while (length - at >= 8) {
    const uint8_t* chunk = image + at;
    const size_t size = Le32(chunk + 4);
    const size_t body = at + 8;
    const size_t available = length - body;
    if (ChunkIdIs(chunk, "fmt ")) {
      if (size < 16 || available < 16) return std::nullopt;
      const uint16_t tag = Le16(chunk + 8);
      WaveFormat f;
      f.channels = int16_t(Le16(chunk + 10));
      f.rate = int32_t(Le32(chunk + 12));
      f.bits = int16_t(Le16(chunk + 22));
      if ((tag != 1 && tag != 0xFFFE) || !f.Playable()) return std::nullopt;
      format = f;
    } else if (ChunkIdIs(chunk, "data")) {
      if (!format) return std::nullopt;
      WaveImageInfo info;
      info.format = *format;
      info.dataOffset = body;
      const size_t bytes = size < available ? size : available;
      info.dataLength = bytes - bytes % size_t(format->FrameBytes());
      return info;
    }
    if (size >= available) break;
    at = body + size + (size & 1);
  }
  return std::nullopt;
}

}  // namespace platform
