#include "platform/sound/riff.hpp"

namespace teluma::platform {

std::optional<WaveImageInfo> ParseWaveImage(const uint8_t* image, size_t length) {
  if (image == nullptr || length < 12 || !ChunkIdIs(image, "RIFF") ||
      !ChunkIdIs(image + 8, "WAVE")) {
    return std::nullopt;
  }
  std::optional<WaveFormat> format;
  uint64_t at = 12;
  while (const auto chunk = NextChunk(image, length, at, true)) {
    const uint8_t* body = image + chunk->body;
    const size_t available = length - chunk->body;
    if (ChunkIdIs(image + chunk->head, "fmt ")) {
      if (chunk->size < 16 || available < 16) return std::nullopt;
      const uint16_t tag = LoadLe16(body);
      WaveFormat f;
      f.channels = int16_t(LoadLe16(body + 2));
      f.rate = int32_t(LoadLe32(body + 4));
      f.bits = int16_t(LoadLe16(body + 14));
      if ((tag != 1 && tag != 0xFFFE) || !f.Playable()) return std::nullopt;
      format = f;
    } else if (ChunkIdIs(image + chunk->head, "data")) {
      if (!format) return std::nullopt;
      WaveImageInfo info;
      info.format = *format;
      info.dataOffset = chunk->body;
      const size_t bytes = chunk->size < available ? chunk->size : available;
      info.dataLength = bytes - bytes % size_t(format->FrameBytes());
      return info;
    }
  }
  return std::nullopt;
}

}  // namespace teluma::platform
