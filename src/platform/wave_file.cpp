#include "platform/wave_file.hpp"

namespace teluma::platform {

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
}  // namespace

bool ChunkIdIs(const uint8_t* id, std::string_view expected) {
  for (size_t i = 0; i < 4; ++i) {
    if (Upper(char(id[i])) != Upper(i < expected.size() ? expected[i] : ' ')) return false;
  }
  return true;
}

void PutWaveHeader(uint8_t* header, uint32_t dataLength, int32_t rate, int16_t channels,
                   int16_t bits, uint16_t blockAlign) {
  for (int i = 0; i < 4; ++i) {
    header[i] = uint8_t("RIFF"[i]);
    header[8 + i] = uint8_t("WAVE"[i]);
    header[12 + i] = uint8_t("fmt "[i]);
    header[36 + i] = uint8_t("data"[i]);
  }
  StoreLe32(header + 4, dataLength + 36);
  StoreLe32(header + 16, 16);
  StoreLe16(header + 20, 1);  // PCM
  StoreLe16(header + 22, uint16_t(channels));
  StoreLe32(header + 24, uint32_t(rate));
  StoreLe32(header + 28, uint32_t(int64_t(rate) * channels * bits / 8));
  StoreLe16(header + 32, blockAlign);
  StoreLe16(header + 34, uint16_t(bits));
  StoreLe32(header + 40, dataLength);
}

std::optional<RiffChunk> NextChunk(const uint8_t* image, size_t length, uint64_t& at,
                                   bool padOdd) {
  if (image == nullptr || at > length || length - at < 8) return std::nullopt;
  RiffChunk chunk;
  chunk.head = size_t(at);
  chunk.body = size_t(at + 8);
  chunk.size = LoadLe32(image + at + 4);
  at += 8 + uint64_t(chunk.size) + (padOdd ? chunk.size & 1 : 0);
  return chunk;
}

}  // namespace teluma::platform
