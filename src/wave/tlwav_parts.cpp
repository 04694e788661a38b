#include "wave/tlwav_parts.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/sound/riff.hpp"
#include "platform/wave_file.hpp"

namespace teluma::wave {

namespace {

using platform::LoadLe32;
int16_t Le16(const uint8_t* p) { return int16_t(platform::LoadLe16(p)); }

bool ReadExactly(std::FILE* file, uint8_t* into, size_t count) {
  return std::fread(into, 1, count, file) == count;
}

// Reads and drops count bytes through the buffer; false on a short read.
bool SkipBody(std::FILE* file, uint8_t* buffer, size_t bufferSize, uint64_t count) {
  while (count > 0) {
    const size_t part = size_t(std::min<uint64_t>(count, bufferSize));
    if (!ReadExactly(file, buffer, part)) return false;
    count -= part;
  }
  return true;
}

// Position of the largest sample in first .. last (inclusive, clipped to the data); the first
// one on ties.
size_t PeakIn(const uint8_t* data, size_t length, size_t first, size_t last) {
  last = std::min(last, length - 1);
  size_t best = std::min(first, last);
  for (size_t i = best + 1; i <= last; ++i) {
    if (data[i] > data[best]) best = i;
  }
  return best;
}

}  // namespace

uint32_t FillWaveBlock(uint8_t* block, const uint8_t* data, size_t length,
                       const platform::WaveFormat& format) {
  length = std::min(length, kWaveBlockBytes);
  const bool eightBitMono = format.bits == 8 && format.channels == 1;
  if (length < kWaveMinBlock) {
    std::memset(block + length, format.bits == 8 ? 128 : 0, kWaveMinBlock - length);
  }
  if (length > 0) std::memcpy(block, data, length);
  if (eightBitMono && length != kWaveBlockBytes && length > 0) block[length - 1] = 128;
  return uint32_t(std::max(length, kWaveMinBlock));
}

size_t WaveFilePortion(uint64_t remaining) {
  if (remaining > kWaveBlockBytes && remaining < kWaveBlockBytes + 256) return 65278;
  return size_t(std::min<uint64_t>(remaining, kWaveBlockBytes));
}

bool ReadWaveFileHead(std::FILE* file, uint8_t* buffer, size_t bufferSize, WaveFileHead& head) {
  uint8_t chunk[12];
  if (!ReadExactly(file, chunk, 12) || !platform::ChunkIdIs(chunk, "RIFF")) return false;
  if (!ReadExactly(file, chunk, 8) || !platform::ChunkIdIs(chunk, "fmt ")) return false;
  // The body must hold the fields read from it, and fit the buffer it is read into.
  const uint32_t formatLength = LoadLe32(chunk + 4);
  if (formatLength < 16 || formatLength > bufferSize) return false;
  if (!ReadExactly(file, buffer, formatLength)) return false;
  head.channels = Le16(buffer + 2);
  head.rate = int32_t(LoadLe32(buffer + 4));
  head.bits = Le16(buffer + 14);
  for (;;) {
    if (!ReadExactly(file, chunk, 8)) return false;
    const uint32_t size = LoadLe32(chunk + 4);
    if (platform::ChunkIdIs(chunk, "data")) {
      head.dataLength = size;
      return true;
    }
    if (!SkipBody(file, buffer, bufferSize, size)) return false;
  }
}

bool FindImageSamples(const uint8_t* image, size_t length, WaveImageSamples& samples) {
  if (image == nullptr || length < 36 || !platform::ChunkIdIs(image, "RIFF") ||
      !platform::ChunkIdIs(image + 12, "fmt ")) {
    return false;
  }
  const uint64_t formatLength = LoadLe32(image + 16);
  samples.channels = Le16(image + 22);
  samples.rate = int32_t(LoadLe32(image + 24));
  samples.bits = Le16(image + 34);
  uint64_t at = 20 + formatLength;
  while (const auto chunk = platform::NextChunk(image, length, at, false)) {
    if (platform::ChunkIdIs(image + chunk->head, "data")) {
      samples.offset = chunk->body;
      samples.length = std::min<size_t>(chunk->size, length - samples.offset);
      return true;
    }
  }
  return false;
}

size_t ShortenSpeech(uint8_t* data, size_t length, int16_t bits, int32_t rate) {
  if (bits == 16) {
    length /= 2;
    for (size_t i = 0; i < length; ++i) data[i] = uint8_t(data[2 * i + 1] ^ 0x80);
  }
  if (length < 1000) return length;
  const size_t start = rate == 11025 ? 200 : 800;
  const size_t gap = rate == 11025 ? 80 : 320;
  const size_t window = rate == 11025 ? 50 : 200;

  size_t p = PeakIn(data, length, start, start + gap + window);
  size_t w = p;
  while (p + 2 * (gap + window) < length) {
    const size_t a = PeakIn(data, length, p + gap, p + gap + window);
    const size_t b = PeakIn(data, length, a + gap, a + gap + window);
    std::memmove(data + w, data + a, b - a + 1);
    w += b - a + 1;
    p = b;
  }
  // Finish on a sample near silence rather than cutting a period off.
  while (p < length && std::abs(int(data[w]) - 128) > 20) data[w++] = data[p++];
  return w;
}

}  // namespace teluma::wave
