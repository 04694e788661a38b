// Small wave files for the tests, built byte by byte.
#pragma once
#include <cstdint>
#include <string>

namespace conformance {

inline void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += char(uint8_t(v >> (8 * i)));
}
inline void Put16(std::string& out, uint16_t v) {
  out += char(uint8_t(v));
  out += char(uint8_t(v >> 8));
}

inline std::string FmtChunk(uint32_t rate, uint16_t bits, uint16_t channels,
                            const char* id = "fmt ") {
  std::string c = id;
  Put32(c, 16);
  const uint16_t align = uint16_t(channels * (bits / 8));
  Put16(c, 1);
  Put16(c, channels);
  Put32(c, rate);
  Put32(c, rate * align);
  Put16(c, align);
  Put16(c, bits);
  return c;
}

inline std::string Chunk(const char* id, const std::string& body, int64_t size = -1) {
  std::string c = id;
  Put32(c, size < 0 ? uint32_t(body.size()) : uint32_t(size));
  return c + body;
}

// "RIFF" + length + "WAVE" + the chunks given.
inline std::string Riff(const std::string& chunks, const char* mark = "RIFF") {
  std::string r = mark;
  Put32(r, uint32_t(4 + chunks.size()));
  return r + "WAVE" + chunks;
}

inline std::string Wave(const std::string& samples, uint32_t rate = 11025, uint16_t bits = 8,
                        uint16_t channels = 1) {
  return Riff(FmtChunk(rate, bits, channels) + Chunk("data", samples));
}

}  // namespace conformance
