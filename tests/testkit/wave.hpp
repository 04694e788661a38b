// Wave files and images for tests, built byte by byte: a RIFF "WAVE" with a "fmt " chunk and a
// "data" chunk, or any chunks a test wants to get wrong on purpose.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

inline void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += char(uint8_t(v >> (8 * i)));
}
inline void Put16(std::string& out, uint16_t v) {
  out += char(uint8_t(v));
  out += char(uint8_t(v >> 8));
}

// A PCM "fmt " chunk (or one under another id).
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

// A chunk whose length field says size (the body's own length when size is negative).
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

// A plain wave file with a 44-byte header.
inline std::string Wave(const std::string& samples, uint32_t rate = 11025, uint16_t bits = 8,
                        uint16_t channels = 1) {
  return Riff(FmtChunk(rate, bits, channels) + Chunk("data", samples));
}

// count samples of 8-bit silence at rate, with the 44-byte header.
inline std::string SilentWave(uint32_t count, uint32_t rate = 11025) {
  return Wave(std::string(count, '\x80'), rate);
}

inline std::vector<uint8_t> Bytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

// The same as byte vectors, for the wave device's images.
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
  return Bytes(FmtChunk(rate, bits, channels).substr(8));
}

// A 44-byte-header wave image with the given samples (dataSize overrides the chunk length).
inline std::vector<uint8_t> WaveImage(const std::vector<uint8_t>& samples, uint32_t rate,
                                      uint16_t bits, uint16_t channels,
                                      int64_t dataSize = -1) {
  return Bytes(Riff(FmtChunk(rate, bits, channels) + Chunk("data", AsString(samples), dataSize)));
}

// frames of 8-bit sound that is never silent (a square wave).
inline std::vector<uint8_t> Square8(uint32_t frames, uint16_t channels = 1) {
  std::vector<uint8_t> s(size_t(frames) * channels);
  for (size_t i = 0; i < s.size(); ++i) s[i] = (i / channels / 20) % 2 ? 96 : 160;
  return s;
}

}  // namespace testkit
