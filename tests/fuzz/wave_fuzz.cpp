// libFuzzer target for the readers of wave files and images (built with clang only):
// whatever the bytes, the readers stay inside them and report samples inside them.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/sound/riff.hpp"
#include "wave/tlwav_parts.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (auto info = platform::ParseWaveImage(data, size)) {
    if (info->dataOffset + info->dataLength > size) std::abort();
  }
  WaveImageSamples samples;
  if (FindImageSamples(data, size, samples) && samples.offset + samples.length > size) std::abort();

  if (std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size ? size : 1, "rb")) {
    std::vector<uint8_t> buffer(kWaveBlockBytes);
    WaveFileHead head;
    ReadWaveFileHead(file, buffer.data(), buffer.size(), head);
    std::fclose(file);
  }
  if (size >= 2) {
    std::vector<uint8_t> copy(data, data + size);
    const int32_t rate = data[0] & 1 ? 11025 : 22050;
    const int16_t bits = data[1] & 1 ? 16 : 8;
    if (ShortenSpeech(copy.data(), copy.size(), bits, rate) > copy.size()) std::abort();
  }
  return 0;
}
