// The RIFF/WAVE layout shared by every module that reads or writes wave data: little-endian
// fields, chunk ids, the 44-byte PCM header and the walk from one chunk to the next. Each
// module keeps its own rules on top (where the walk starts, what a usable file is).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace teluma::platform {

inline uint16_t LoadLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t LoadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void StoreLe16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void StoreLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Compares a 4-byte chunk id with an id in any letter case ("fmt ", "data").
bool ChunkIdIs(const uint8_t* id, std::string_view expected);

inline constexpr size_t kWaveHeaderBytes = 44;

// Fills kWaveHeaderBytes at header: "RIFF" with dataLength + 36, "WAVE", a 16-byte PCM "fmt "
// chunk whose byte rate is rate * channels * bits / 8, and the head of the "data" chunk.
// The block alignment is the caller's to give: the speech module writes 1 whatever the format.
void PutWaveHeader(uint8_t* header, uint32_t dataLength, int32_t rate, int16_t channels,
                   int16_t bits, uint16_t blockAlign);

// One chunk of a RIFF image: where its 8-byte head is, where its body starts, and the size
// the head declares (which may run past the end of the image).
struct RiffChunk {
  size_t head = 0;
  size_t body = 0;
  uint32_t size = 0;
};

// The chunk whose head is at `at`, when the whole head lies inside the image; `at` moves on to
// the next head (8 + size bytes on, plus a pad byte after an odd size when padOdd).
std::optional<RiffChunk> NextChunk(const uint8_t* image, size_t length, uint64_t& at,
                                   bool padOdd);

}  // namespace teluma::platform
