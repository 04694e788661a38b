// The pieces of the wave output device that do not touch the device: block filling, the
// portions of a file, the RIFF walking of files and images, and the shortening of speech.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/sound/pcm.hpp"

namespace teluma::wave {

constexpr size_t kWaveBlockBytes = 65534;  // one data block of the pool
constexpr size_t kWaveMinBlock = 256;      // a block is never shorter than this
constexpr int32_t kWaveMaxQueued = 4;

// Fills a pool block with length bytes of data (length <= kWaveBlockBytes) and returns the length
// the block is played with (at least kWaveMinBlock). Short 8-bit mono sound is padded with
// silence (128) and its last sample is set to 128 (unless the block is full), so the sound ends
// without a click. Short sound of other formats is padded with the format's silence.
uint32_t FillWaveBlock(uint8_t* block, const uint8_t* data, size_t length,
                       const platform::WaveFormat& format);

// The size of the next portion of a data chunk with remaining bytes: a whole block, except that
// 65278 bytes are taken when a bit more than a block remains, so the last portion is not tiny.
size_t WaveFilePortion(uint64_t remaining);

struct WaveFileHead {
  int32_t rate = 0;
  int16_t bits = 0;
  int16_t channels = 0;
  uint32_t dataLength = 0;  // as the "data" chunk says; the file may hold less
};

// Reads a wave file up to the start of its samples: "RIFF" header, "fmt " chunk right after it,
// then chunks up to "data" (ids in any letter case). The buffer (at least 16 bytes) receives the
// chunk bodies on the way. False when the file is not a wave file as read here.
bool ReadWaveFileHead(std::FILE* file, uint8_t* buffer, size_t bufferSize, WaveFileHead& head);

struct WaveImageSamples {
  int32_t rate = 0;
  int16_t bits = 0;
  int16_t channels = 0;
  size_t offset = 0;
  size_t length = 0;  // clipped to the image
};

// Finds the samples of a wave image: "RIFF" at 0, "fmt " at 12, its length at 16 and body at 20,
// chunks walked from 20 + that length to "data". False when the image does not begin so or has
// no "data" chunk inside it.
bool FindImageSamples(const uint8_t* image, size_t length, WaveImageSamples& samples);

// Shortens a portion of mono speech in place by dropping every other pitch period; returns the
// new length. 16-bit sound is first turned into 8-bit (the result is always 8-bit).
size_t ShortenSpeech(uint8_t* data, size_t length, int16_t bits, int32_t rate);

}  // namespace teluma::wave
