// Reading RIFF/WAVE images for the effect voice: the format and where the samples are.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/sound/pcm.hpp"
#include "platform/wave_file.hpp"

namespace teluma::platform {

struct WaveImageInfo {
  WaveFormat format;
  size_t dataOffset = 0;
  size_t dataLength = 0;  // clipped to the bytes the image really holds, whole frames only
};

// Walks the chunks of a RIFF/WAVE image (word-aligned, as the format says). Nothing when the
// image is not a playable PCM wave image: no "RIFF"/"WAVE" mark, no or short "fmt " chunk, a
// format other than 8/16-bit PCM with 1 or 2 channels, or no "data" chunk. Chunk sizes that
// run past the end are clipped, never trusted.
std::optional<WaveImageInfo> ParseWaveImage(const uint8_t* image, size_t length);

}  // namespace teluma::platform
