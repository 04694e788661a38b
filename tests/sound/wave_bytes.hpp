// Building wave files and images for the sound tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

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

inline std::vector<uint8_t> FmtBody(uint32_t rate, uint16_t bits, uint16_t channels) {
  std::vector<uint8_t> b;
  const uint16_t align = uint16_t(channels * (bits / 8));
  Put16(b, 1);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * align);
  Put16(b, align);
  Put16(b, bits);
  return b;
}

// A 44-byte-header wave image with the given samples (dataSize overrides the chunk length).
inline std::vector<uint8_t> WaveImage(const std::vector<uint8_t>& samples, uint32_t rate,
                                      uint16_t bits, uint16_t channels,
                                      int64_t dataSize = -1) {
  std::vector<uint8_t> out;
  PutId(out, "RIFF");
  Put32(out, uint32_t(36 + samples.size()));
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, 16);
  const auto fmt = FmtBody(rate, bits, channels);
  out.insert(out.end(), fmt.begin(), fmt.end());
  PutId(out, "data");
  Put32(out, dataSize < 0 ? uint32_t(samples.size()) : uint32_t(dataSize));
  out.insert(out.end(), samples.begin(), samples.end());
  return out;
}

// seconds of 8-bit silence-free sound (a square wave) at rate.
inline std::vector<uint8_t> Square8(uint32_t frames, uint16_t channels = 1) {
  std::vector<uint8_t> s(size_t(frames) * channels);
  for (size_t i = 0; i < s.size(); ++i) s[i] = (i / channels / 20) % 2 ? 96 : 160;
  return s;
}

inline std::string AsString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace soundtest
