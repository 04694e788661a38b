// The device-free pieces of the wave output: block filling, file portions, RIFF walking of
// files and images, and the shortening of speech.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/sound/riff.hpp"
#include "wave/tlwav_parts.hpp"
#include "testkit/wave.hpp"

using namespace testkit;

namespace {

// A file holding bytes, read back through stdio as WavePlayFile reads.
struct MemFile {
  explicit MemFile(const std::vector<uint8_t>& bytes) : file(std::tmpfile()) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
  }
  ~MemFile() { std::fclose(file); }
  std::FILE* file;
};

bool ReadHead(const std::vector<uint8_t>& bytes, WaveFileHead& head) {
  MemFile f(bytes);
  std::vector<uint8_t> buffer(kWaveBlockBytes);
  return ReadWaveFileHead(f.file, buffer.data(), buffer.size(), head);
}

// A pulse train: baseline samples with a peak every period samples, the first at offset.
std::vector<uint8_t> Pulses(size_t length, size_t period, size_t offset, uint8_t baseline) {
  std::vector<uint8_t> s(length, baseline);
  for (size_t i = offset; i < length; i += period) s[i] = 200;
  return s;
}

}  // namespace

TEST(WaveBlocks, ShortSoundIsPaddedAndEndsOnSilence) {
  std::vector<uint8_t> block(kWaveBlockBytes, 7);
  std::vector<uint8_t> data(100, 200);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), 100, {11025, 8, 1}), 256u);
  EXPECT_EQ(block[0], 200);
  EXPECT_EQ(block[98], 200);
  EXPECT_EQ(block[99], 128);  // the end sample
  for (size_t i = 100; i < 256; ++i) ASSERT_EQ(block[i], 128) << i;
  EXPECT_EQ(block[256], 7);

  // Longer 8-bit mono: no padding, but the end sample.
  std::vector<uint8_t> longer(300, 200);
  EXPECT_EQ(FillWaveBlock(block.data(), longer.data(), 300, {11025, 8, 1}), 300u);
  EXPECT_EQ(block[298], 200);
  EXPECT_EQ(block[299], 128);

  // A full block keeps its last sample: the sound goes on in the next block.
  std::vector<uint8_t> full(kWaveBlockBytes, 200);
  EXPECT_EQ(FillWaveBlock(block.data(), full.data(), full.size(), {11025, 8, 1}), kWaveBlockBytes);
  EXPECT_EQ(block[kWaveBlockBytes - 1], 200);
}

TEST(WaveBlocks, OtherFormatsArePaddedWithTheirSilenceAndKeepTheirEnd) {
  std::vector<uint8_t> block(kWaveBlockBytes, 7);
  std::vector<uint8_t> data(100, 200);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), 100, {22050, 16, 1}), 256u);
  EXPECT_EQ(block[99], 200);
  EXPECT_EQ(block[100], 0);
  EXPECT_EQ(block[255], 0);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), 100, {11025, 8, 2}), 256u);
  EXPECT_EQ(block[99], 200);
  EXPECT_EQ(block[100], 128);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), 0, {11025, 8, 1}), 256u);
  EXPECT_EQ(block[0], 128);
}

TEST(WaveBlocks, FilePortionsAvoidATinyLastBlock) {
  EXPECT_EQ(WaveFilePortion(100), 100u);
  EXPECT_EQ(WaveFilePortion(65534), 65534u);
  EXPECT_EQ(WaveFilePortion(65535), 65278u);
  EXPECT_EQ(WaveFilePortion(65600), 65278u);
  EXPECT_EQ(WaveFilePortion(65600 - 65278), 322u);
  EXPECT_EQ(WaveFilePortion(65789), 65278u);
  EXPECT_EQ(WaveFilePortion(65790), 65534u);
  EXPECT_EQ(WaveFilePortion(uint64_t(1) << 32), 65534u);
}

TEST(WaveFileHead, ReadsFormatAndFindsDataWithAnyLetterCase) {
  auto image = WaveImage(Square8(1000), 22050, 16, 2);
  WaveFileHead head;
  ASSERT_TRUE(ReadHead(image, head));
  EXPECT_EQ(head.rate, 22050);
  EXPECT_EQ(head.bits, 16);
  EXPECT_EQ(head.channels, 2);
  EXPECT_EQ(head.dataLength, 1000u);

  // Lower-case ids and a chunk between fmt and data.
  std::vector<uint8_t> odd;
  PutId(odd, "riff");
  Put32(odd, 0);
  PutId(odd, "wave");
  PutId(odd, "FMT ");
  Put32(odd, 18);
  auto fmt = FmtBody(11025, 8, 1);
  odd.insert(odd.end(), fmt.begin(), fmt.end());
  Put16(odd, 0);
  PutId(odd, "LIST");
  Put32(odd, 5);
  odd.insert(odd.end(), {1, 2, 3, 4, 5});
  PutId(odd, "Data");
  Put32(odd, 3);
  odd.insert(odd.end(), {10, 20, 30});
  ASSERT_TRUE(ReadHead(odd, head));
  EXPECT_EQ(head.rate, 11025);
  EXPECT_EQ(head.dataLength, 3u);
}

TEST(WaveFileHead, RefusesMalformedFilesWithoutCrashing) {
  const auto good = WaveImage(Square8(100), 11025, 8, 1);
  WaveFileHead head;
  // Truncated at every length inside the header.
  for (size_t n = 0; n < 44; ++n) {
    EXPECT_FALSE(ReadHead(std::vector<uint8_t>(good.begin(), good.begin() + n), head)) << n;
  }
  auto notRiff = good;
  notRiff[0] = 'X';
  EXPECT_FALSE(ReadHead(notRiff, head));
  // fmt must follow the RIFF header directly.
  auto noFmt = good;
  noFmt[12] = 'L';
  EXPECT_FALSE(ReadHead(noFmt, head));
  // A format body too short for its fields, or larger than anything readable.
  auto shortFmt = good;
  shortFmt[16] = 8;
  EXPECT_FALSE(ReadHead(shortFmt, head));
  auto hugeFmt = good;
  hugeFmt[16] = hugeFmt[17] = hugeFmt[18] = hugeFmt[19] = 0xFF;
  EXPECT_FALSE(ReadHead(hugeFmt, head));
  // No data chunk: a chunk whose size runs past the end.
  auto noData = good;
  std::copy_n("JUNK", 4, noData.begin() + 36);
  noData[40] = noData[41] = noData[42] = noData[43] = 0xFF;
  EXPECT_FALSE(ReadHead(noData, head));
  // A data chunk claiming more than the file holds is still found (playing stops at the end).
  auto longData = WaveImage(Square8(100), 11025, 8, 1, 0xFFFFFFFF);
  ASSERT_TRUE(ReadHead(longData, head));
  EXPECT_EQ(head.dataLength, 0xFFFFFFFFu);
}

TEST(WaveImageSamples, FollowsTheFixedLayoutAndClipsToTheImage) {
  auto image = WaveImage(Square8(500), 11025, 8, 1);
  WaveImageSamples s;
  ASSERT_TRUE(FindImageSamples(image.data(), image.size(), s));
  EXPECT_EQ(s.offset, 44u);
  EXPECT_EQ(s.length, 500u);
  EXPECT_EQ(s.rate, 11025);
  EXPECT_EQ(s.bits, 8);
  EXPECT_EQ(s.channels, 1);

  auto tooLong = WaveImage(Square8(500), 11025, 8, 1, 100000);
  ASSERT_TRUE(FindImageSamples(tooLong.data(), tooLong.size(), s));
  EXPECT_EQ(s.length, 500u);

  auto noFmtAt12 = image;
  noFmtAt12[12] = 'x';
  EXPECT_FALSE(FindImageSamples(noFmtAt12.data(), noFmtAt12.size(), s));
  auto hugeChunk = image;
  std::copy_n("JUNK", 4, hugeChunk.begin() + 36);
  hugeChunk[40] = hugeChunk[41] = hugeChunk[42] = hugeChunk[43] = 0xFF;
  EXPECT_FALSE(FindImageSamples(hugeChunk.data(), hugeChunk.size(), s));
  auto hugeFmt = image;
  hugeFmt[16] = hugeFmt[17] = hugeFmt[18] = hugeFmt[19] = 0xFF;
  EXPECT_FALSE(FindImageSamples(hugeFmt.data(), hugeFmt.size(), s));
  for (size_t n = 0; n < 44; ++n) EXPECT_FALSE(FindImageSamples(image.data(), n, s)) << n;
  EXPECT_FALSE(FindImageSamples(nullptr, 100, s));
}

TEST(EffectImage, WalksWordAlignedChunksAndRefusesWhatItCannotPlay) {
  auto image = WaveImage(Square8(501), 11025, 8, 1);
  auto info = platform::ParseWaveImage(image.data(), image.size());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->dataOffset, 44u);
  EXPECT_EQ(info->dataLength, 501u);

  // An odd-sized chunk before the data is followed by a pad byte.
  std::vector<uint8_t> padded(image.begin(), image.begin() + 36);
  PutId(padded, "note");
  Put32(padded, 3);
  padded.insert(padded.end(), {1, 2, 3, 0});
  padded.insert(padded.end(), image.begin() + 36, image.end());
  info = platform::ParseWaveImage(padded.data(), padded.size());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->dataOffset, 56u);

  // 16-bit stereo data is clipped to whole frames inside the image.
  auto stereo = WaveImage(std::vector<uint8_t>(10, 0), 44100, 16, 2, 1000);
  info = platform::ParseWaveImage(stereo.data(), stereo.size());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->dataLength, 8u);

  auto bits24 = WaveImage(Square8(300), 11025, 24, 1);
  EXPECT_FALSE(platform::ParseWaveImage(bits24.data(), bits24.size()));
  auto sixChannels = WaveImage(Square8(300), 11025, 8, 6);
  EXPECT_FALSE(platform::ParseWaveImage(sixChannels.data(), sixChannels.size()));
  auto notWave = image;
  notWave[8] = 'X';
  EXPECT_FALSE(platform::ParseWaveImage(notWave.data(), notWave.size()));
  for (size_t n = 0; n < 44; ++n) EXPECT_FALSE(platform::ParseWaveImage(image.data(), n)) << n;
}

TEST(ShortenSpeech, KeepsEveryOtherPeriodAt11025) {
  // Peaks every 100 samples from 210: the search starts at the peak at 210, then each step
  // keeps the stretch from one peak to the next (101 samples) and drops the following one.
  auto s = Pulses(2000, 100, 10, 128);
  const size_t n = ShortenSpeech(s.data(), s.size(), 8, 11025);
  EXPECT_EQ(n, 210u + 8 * 101);
  for (size_t i = 0; i < 210; ++i) ASSERT_EQ(s[i], i % 100 == 10 ? 200 : 128) << i;
  // Kept stretches begin and end on peaks.
  for (size_t k = 0; k < 8; ++k) {
    EXPECT_EQ(s[210 + k * 101], 200) << k;
    EXPECT_EQ(s[210 + k * 101 + 100], 200) << k;
    EXPECT_EQ(s[210 + k * 101 + 50], 128) << k;
  }
}

TEST(ShortenSpeech, TailRuleCopiesOnUntilNearSilence) {
  // A baseline far from 128: the tail is copied to the end of the portion.
  auto loud = Pulses(2000, 100, 10, 60);
  EXPECT_EQ(ShortenSpeech(loud.data(), loud.size(), 8, 11025), 1018u + (2000 - 1810));
  // The larger parameters at other rates: peaks every 400 samples.
  auto wide = Pulses(8000, 400, 40, 128);
  const size_t n = ShortenSpeech(wide.data(), wide.size(), 8, 22050);
  EXPECT_GT(n, 8000u / 2);
  EXPECT_LT(n, 8000u * 6 / 10);
  EXPECT_EQ(wide[840], 200);
}

TEST(ShortenSpeech, SixteenBitTurnsIntoEightBitAndShortPortionsStay) {
  std::vector<uint8_t> s16;
  for (int16_t v : {int16_t(0x1234), int16_t(-1), int16_t(0), int16_t(-32768)}) {
    Put16(s16, uint16_t(v));
  }
  EXPECT_EQ(ShortenSpeech(s16.data(), s16.size(), 16, 11025), 4u);
  EXPECT_EQ(s16[0], 0x92);
  EXPECT_EQ(s16[1], 0x7F);
  EXPECT_EQ(s16[2], 0x80);
  EXPECT_EQ(s16[3], 0x00);

  auto small = Pulses(999, 100, 10, 128);
  const auto copy = small;
  EXPECT_EQ(ShortenSpeech(small.data(), small.size(), 8, 11025), 999u);
  EXPECT_EQ(small, copy);

  // 16-bit speech comes out as 8-bit and at most about half as long.
  std::vector<uint8_t> speech;
  for (int i = 0; i < 22050; ++i) Put16(speech, uint16_t(int16_t(i % 180 == 0 ? 20000 : 0)));
  const size_t n = ShortenSpeech(speech.data(), speech.size(), 16, 22050);
  EXPECT_LT(n, 22050u * 6 / 10);
  EXPECT_GT(n, 22050u * 4 / 10);
}
