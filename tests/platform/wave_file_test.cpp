// The shared wave layout: the PCM header and the walk over chunks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/wave_file.hpp"

using namespace teluma;

namespace {

using platform::NextChunk;
using namespace std::string_literals;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(PutWaveHeader, FieldsForAStereoSixteenBitHeader) {
  uint8_t h[platform::kWaveHeaderBytes];
  platform::PutWaveHeader(h, 1000, 22050, 2, 16, 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h), 4), "RIFF");
  EXPECT_EQ(platform::LoadLe32(h + 4), 1036u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 8), 8), "WAVEfmt ");
  EXPECT_EQ(platform::LoadLe32(h + 16), 16u);
  EXPECT_EQ(platform::LoadLe16(h + 20), 1);  // PCM
  EXPECT_EQ(platform::LoadLe16(h + 22), 2);
  EXPECT_EQ(platform::LoadLe32(h + 24), 22050u);
  EXPECT_EQ(platform::LoadLe32(h + 28), 88200u);
  EXPECT_EQ(platform::LoadLe16(h + 32), 4);
  EXPECT_EQ(platform::LoadLe16(h + 34), 16);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 36), 4), "data");
  EXPECT_EQ(platform::LoadLe32(h + 40), 1000u);

  // The caller's alignment is written as given, and the byte rate does not overflow 32 bits
  // on the way.
  platform::PutWaveHeader(h, 0, 768000, 2, 16, 1);
  EXPECT_EQ(platform::LoadLe16(h + 32), 1);
  EXPECT_EQ(platform::LoadLe32(h + 28), 3072000u);
}

TEST(NextChunk, WalksWithOrWithoutThePadByte) {
  // "ab  " with an odd 3-byte body and its pad byte, then "data" with 2 bytes.
  const auto image = Bytes("ab  \x03\0\0\0xyz\0data\x02\0\0\0qq"s);
  uint64_t at = 0;
  auto first = NextChunk(image.data(), image.size(), at, true);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->head, 0u);
  EXPECT_EQ(first->body, 8u);
  EXPECT_EQ(first->size, 3u);
  auto second = NextChunk(image.data(), image.size(), at, true);
  ASSERT_TRUE(second);
  EXPECT_TRUE(platform::ChunkIdIs(image.data() + second->head, "DATA"));
  EXPECT_EQ(second->body, 20u);
  EXPECT_FALSE(NextChunk(image.data(), image.size(), at, true));

  // Without padding the second head is read one byte early, and is not "data".
  at = 0;
  NextChunk(image.data(), image.size(), at, false);
  auto unpadded = NextChunk(image.data(), image.size(), at, false);
  ASSERT_TRUE(unpadded);
  EXPECT_FALSE(platform::ChunkIdIs(image.data() + unpadded->head, "data"));
}

TEST(NextChunk, HeadsThatDoNotFitEndTheWalk) {
  // A size running far past the end: the chunk is given, the next position lies outside.
  const auto image = Bytes("big \xFF\xFF\xFF\xFFrest"s);
  uint64_t at = 0;
  auto chunk = NextChunk(image.data(), image.size(), at, true);
  ASSERT_TRUE(chunk);
  EXPECT_EQ(chunk->size, 0xFFFFFFFFu);
  EXPECT_GT(at, image.size());
  EXPECT_FALSE(NextChunk(image.data(), image.size(), at, true));

  uint64_t tooLate = 5;  // only 7 bytes left of a 12-byte image
  EXPECT_FALSE(NextChunk(image.data(), image.size(), tooLate, true));
  uint64_t start = 0;
  EXPECT_FALSE(NextChunk(nullptr, 0, start, true));
}

}  // namespace
