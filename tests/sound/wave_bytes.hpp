// Building wave files and images for the sound tests: byte vectors over the test kit's
// wave builders.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "../testkit/wave.hpp"  // also built into the probe, outside the test kit

namespace soundtest {

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
inline void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void PutId(std::vector<uint8_t>& out, const char* id) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(id[i]));
}

inline std::string AsString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// The body of a PCM "fmt " chunk.
inline std::vector<uint8_t> FmtBody(uint32_t rate, uint16_t bits, uint16_t channels) {
  return testkit::Bytes(testkit::FmtChunk(rate, bits, channels).substr(8));
}

// A 44-byte-header wave image with the given samples (dataSize overrides the chunk length).
inline std::vector<uint8_t> WaveImage(const std::vector<uint8_t>& samples, uint32_t rate,
                                      uint16_t bits, uint16_t channels,
                                      int64_t dataSize = -1) {
  return testkit::Bytes(testkit::Riff(testkit::FmtChunk(rate, bits, channels) +
                                      testkit::Chunk("data", AsString(samples), dataSize)));
}

// seconds of 8-bit silence-free sound (a square wave) at rate.
inline std::vector<uint8_t> Square8(uint32_t frames, uint16_t channels = 1) {
  std::vector<uint8_t> s(size_t(frames) * channels);
  for (size_t i = 0; i < s.size(); ++i) s[i] = (i / channels / 20) % 2 ? 96 : 160;
  return s;
}

}  // namespace soundtest
