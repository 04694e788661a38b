// The wave output device: block filling, file portions, RIFF walking of files and images, the
// shortening of speech on constructed signals, and teluma-play run headless on the virtual
// clock (the time a sound takes tells how many bytes reached the device and at which rate).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "wave/tlwav_parts.hpp"
#include "testkit/testkit.hpp"
#include "testkit/wave.hpp"

using namespace testkit;

namespace {

bool FileHead(const std::string& bytes, WaveFileHead& head) {
  std::string copy = bytes.empty() ? std::string(1, '\0') : bytes;
  std::FILE* f = fmemopen(copy.data(), bytes.size(), "rb");
  if (f == nullptr) return false;
  std::vector<uint8_t> buffer(kWaveBlockBytes);
  const bool ok = ReadWaveFileHead(f, buffer.data(), buffer.size(), head);
  std::fclose(f);
  return ok;
}

bool FileHead(const std::string& bytes) {
  WaveFileHead head;
  return FileHead(bytes, head);
}

bool ImageSamples(const std::string& bytes, WaveImageSamples& s) {
  return FindImageSamples(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), s);
}

}  // namespace

TEST(WaveBlocks, ShortEightBitMonoIsPaddedWithSilenceAndEndsOn128) {
  const platform::WaveFormat mono8{11025, 8, 1};
  std::vector<uint8_t> block(kWaveBlockBytes, 7);
  std::vector<uint8_t> data(100, 200);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), data.size(), mono8), 256u);
  for (size_t i = 0; i < 99; ++i) ASSERT_EQ(block[i], 200) << i;
  for (size_t i = 99; i < 256; ++i) ASSERT_EQ(block[i], 128) << i;

  // Long enough: no padding, but the last sample still becomes 128.
  data.assign(300, 200);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), data.size(), mono8), 300u);
  EXPECT_EQ(block[298], 200);
  EXPECT_EQ(block[299], 128);

  // A full block keeps its last sample.
  data.assign(kWaveBlockBytes, 200);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), data.size(), mono8), kWaveBlockBytes);
  EXPECT_EQ(block[kWaveBlockBytes - 1], 200);

  // The end sample is for 8-bit mono only; other formats still play at least 256 bytes.
  data.assign(300, 200);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), data.size(), {11025, 16, 1}), 300u);
  EXPECT_EQ(block[299], 200);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), data.size(), {11025, 8, 2}), 300u);
  EXPECT_EQ(block[299], 200);
  data.assign(10, 200);
  EXPECT_EQ(FillWaveBlock(block.data(), data.data(), data.size(), {11025, 16, 1}), 256u);
}

TEST(WaveFiles, HeadersAreWalkedCaseBlindUpToData) {
  WaveFileHead head;
  const std::string samples(300, 'x');
  ASSERT_TRUE(FileHead(Wave(samples, 22050, 16, 2), head));
  EXPECT_EQ(head.rate, 22050);
  EXPECT_EQ(head.bits, 16);
  EXPECT_EQ(head.channels, 2);
  EXPECT_EQ(head.dataLength, 300u);

  // Ids in any case, other chunks skipped, the WAVE mark and the format tag not examined.
  std::string fmt = FmtChunk(8000, 8, 1, "FMT ");
  fmt[8] = 3;  // format tag
  std::string file = Riff(fmt + Chunk("LIST", std::string(77, 'l')) + Chunk("DaTa", samples),
                          "riff");
  file.replace(8, 4, "JUNK");
  ASSERT_TRUE(FileHead(file, head));
  EXPECT_EQ(head.rate, 8000);
  EXPECT_EQ(head.dataLength, 300u);
}

TEST(WaveFiles, MalformedFilesAreRefused) {
  const std::string good = Wave(std::string(300, 'x'));
  EXPECT_FALSE(FileHead(""));
  EXPECT_FALSE(FileHead(good.substr(0, 11)));                        // short RIFF header
  EXPECT_FALSE(FileHead("RIFX" + good.substr(4)));                   // not RIFF
  EXPECT_FALSE(FileHead(good.substr(0, 18)));                        // short fmt header
  EXPECT_FALSE(FileHead(good.substr(0, 30)));                        // short fmt body
  EXPECT_FALSE(FileHead(Riff(Chunk("LIST", "abcd") + FmtChunk(11025, 8, 1) +
                             Chunk("data", "abc"))));                // fmt not first
  EXPECT_FALSE(FileHead(Riff(FmtChunk(11025, 8, 1))));                // no data chunk
  EXPECT_FALSE(FileHead(Riff(FmtChunk(11025, 8, 1) + Chunk("LIST", "ab", 0x7FFFFFF0))));
  EXPECT_FALSE(FileHead(Riff(FmtChunk(11025, 8, 1) + "da")));         // partial chunk header
  // A data chunk that says more than the file holds is found; reading it comes up short.
  WaveFileHead head;
  EXPECT_TRUE(FileHead(Riff(FmtChunk(11025, 8, 1) + Chunk("data", "abc", 0xFFFFFFFF)), head));
  EXPECT_EQ(head.dataLength, 0xFFFFFFFFu);
}

TEST(WaveImages, FormatAtFixedPlacesAndChunksWalkedToData) {
  WaveImageSamples s;
  const std::string samples(500, 'x');
  ASSERT_TRUE(ImageSamples(Wave(samples, 16000, 16, 1), s));
  EXPECT_EQ(s.rate, 16000);
  EXPECT_EQ(s.bits, 16);
  EXPECT_EQ(s.channels, 1);
  EXPECT_EQ(s.offset, 44u);
  EXPECT_EQ(s.length, 500u);

  // A longer fmt chunk moves the walk; chunks before data are stepped over; ids case-blind.
  std::string fmt = FmtChunk(11025, 8, 1, "fMt ");
  fmt.replace(4, 4, std::string("\x14\0\0\0", 4));
  fmt += "pppp";
  ASSERT_TRUE(ImageSamples(Riff(fmt + Chunk("fact", "1234") + Chunk("DATA", samples)), s));
  EXPECT_EQ(s.offset, 12u + 8 + 20 + 12 + 8);
  EXPECT_EQ(s.length, 500u);

  // Sizes past the end are clipped to the image.
  ASSERT_TRUE(ImageSamples(Riff(FmtChunk(11025, 8, 1) + Chunk("data", samples, 100000)), s));
  EXPECT_EQ(s.length, 500u);

  EXPECT_FALSE(ImageSamples("RIFX" + Wave(samples).substr(4), s));
  EXPECT_FALSE(ImageSamples(Riff(Chunk("LIST", "abcd") + FmtChunk(11025, 8, 1) +
                                 Chunk("data", samples)), s));
  EXPECT_FALSE(ImageSamples(Riff(FmtChunk(11025, 8, 1) + Chunk("LIST", "ab", 0x7FFFFFF0)), s));
  EXPECT_FALSE(ImageSamples(Wave(samples).substr(0, 20), s));
}

// 11025 samples per second: start 200, gap 80, window 50. Peaks are placed by hand so each
// step of the walk is known: first peak 250, then (350, 450), (560, 650), (750, 850).
TEST(WaveShortening, KeepsEveryOtherPeriodBetweenPeaks) {
  std::vector<uint8_t> s(1000, 128);
  for (size_t i = 0; i < s.size(); ++i) s[i] = uint8_t(120 + i % 7);  // quiet, traceable
  s[150] = 250;              // outside the first window: ignored
  s[250] = 190;              // first peak: everything before it stays
  s[350] = 190;              // a: ties go to the first
  s[370] = 190;
  s[450] = 180;              // b
  s[560] = 170;
  s[650] = 175;
  s[750] = 185;
  s[850] = 160;
  s[851] = 150;
  s[852] = 140;
  s[543] = 100;  // far from 128 where the writing ends: the tail rule copies on from p
  s[544] = 100;
  const std::vector<uint8_t> original = s;

  const size_t length = ShortenSpeech(s.data(), s.size(), 8, 11025);
  ASSERT_EQ(length, 545u);
  for (size_t i = 0; i < 250; ++i) ASSERT_EQ(s[i], original[i]) << i;
  for (size_t i = 0; i <= 100; ++i) ASSERT_EQ(s[250 + i], original[350 + i]) << i;
  for (size_t i = 0; i <= 90; ++i) ASSERT_EQ(s[351 + i], original[560 + i]) << i;
  for (size_t i = 0; i <= 100; ++i) ASSERT_EQ(s[442 + i], original[750 + i]) << i;
  // Tail: the sample at w is tested before it is overwritten; p starts on the last peak.
  EXPECT_EQ(s[543], 160);
  EXPECT_EQ(s[544], 150);
}

TEST(WaveShortening, ShortAndSixteenBitPortions) {
  // Below 1000 bytes nothing is dropped.
  std::vector<uint8_t> s(999, 128);
  s[300] = 255;
  EXPECT_EQ(ShortenSpeech(s.data(), s.size(), 8, 11025), 999u);

  // 16-bit: the high byte with its top bit inverted, half as long.
  std::vector<uint8_t> w;
  for (int v : {0x1234, -2, 0x7FFF, -32768, 0}) {
    w.push_back(uint8_t(v & 0xFF));
    w.push_back(uint8_t((v >> 8) & 0xFF));
  }
  w.push_back(0x55);  // odd last byte: dropped with the halving
  ASSERT_EQ(ShortenSpeech(w.data(), w.size(), 16, 11025), 5u);
  EXPECT_EQ(w[0], 0x92);
  EXPECT_EQ(w[1], 0x7F);
  EXPECT_EQ(w[2], 0xFF);
  EXPECT_EQ(w[3], 0x00);
  EXPECT_EQ(w[4], 0x80);

  // Any other rate: start 800, gap 320, window 200; the first peak is looked for in
  // 800 ... 1320 only.
  std::vector<uint8_t> r(1400, 128);
  r[700] = 250;
  r[1300] = 200;
  const std::vector<uint8_t> before = r;
  // No period follows; the tail rule copies the loud peak onto itself and stops after it.
  EXPECT_EQ(ShortenSpeech(r.data(), r.size(), 8, 22050), 1301u);
  for (size_t i = 0; i < 1300; ++i) ASSERT_EQ(r[i], before[i]) << i;
}

// ---- teluma-play on the virtual clock ----

class PlayScenario : public ::testing::Test {
 protected:
  std::string File(const std::string& name, const std::string& bytes) {
    return dir.Write(name, bytes);
  }
  testkit::RunResult Play(std::vector<std::string> args, const std::string& keys = "") {
    testkit::RunOptions o;
    o.args = std::move(args);
    o.keys = keys;
    return testkit::RunHeadless(PLAY_PROGRAM, o);
  }
  static long long ExitAt(const testkit::RunResult& r) {
    auto e = r.Named("EXIT");
    return e.empty() ? -1 : e.back().ms;
  }
  testkit::TempDir dir;
};

TEST_F(PlayScenario, ShortSoundPlaysAWholeMinimumBlock) {
  auto r = Play({File("short.wav", Wave(std::string(100, 'x')))});
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_NEAR(ExitAt(r), 23, 2);  // 256 bytes at 11025/s, not 100
}

TEST_F(PlayScenario, FastRateIsOneAndAHalfTimes) {
  const std::string second = Wave(std::string(44100, 'x'), 44100);
  auto normal = Play({File("a.wav", second)});
  EXPECT_NEAR(ExitAt(normal), 1000, 2);
  auto fast = Play({"--fast", File("a.wav", second)});
  EXPECT_NEAR(ExitAt(fast), 667, 2);  // 66150 samples per second
}

TEST_F(PlayScenario, DataJustOverABlockIsSplitWithoutATinyTail) {
  // 65278 + 322 bytes; 65534 + 66 would pad the tail to 256 and take 17 ms longer.
  auto r = Play({File("long.wav", Wave(std::string(65600, 'x')))});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NEAR(ExitAt(r), 5950, 3);
}

TEST_F(PlayScenario, ShortenedSpeechIsShorterOnlyWhenMono) {
  std::string speech;
  for (int i = 0; i < 11025; ++i) speech += char(i % 100 == 0 ? 250 : 128 + (i % 100) / 10);
  auto plain = Play({File("s.wav", Wave(speech))});
  auto shortened = Play({"--shorten", File("s.wav", Wave(speech))});
  EXPECT_NEAR(ExitAt(plain), 1000, 2);
  EXPECT_LT(ExitAt(shortened), 600);
  EXPECT_GT(ExitAt(shortened), 400);
  // 16-bit mono speech is sent as 8-bit and shortened the same way.
  std::string wide;
  for (unsigned char c : speech) Put16(wide, uint16_t(int16_t((int(c) - 128) * 256)));
  auto wideShortened = Play({"--shorten", File("w.wav", Wave(wide, 11025, 16))});
  EXPECT_EQ(ExitAt(wideShortened), ExitAt(shortened));
  std::string stereo;
  for (char c : speech) stereo += std::string(2, c);
  auto twoChannels = Play({"--shorten", File("st.wav", Wave(stereo, 11025, 8, 2))});
  EXPECT_NEAR(ExitAt(twoChannels), 1000, 2);
}

TEST_F(PlayScenario, FailuresGiveTheirResults) {
  auto missing = Play({dir.path() + "/none.wav"});
  EXPECT_EQ(missing.exitCode, 1);
  auto noData = Play({File("nodata.wav", Riff(FmtChunk(11025, 8, 1)))});
  EXPECT_EQ(noData.exitCode, 1);
  // A format the device cannot play gives the device's code (32), and the next file plays.
  auto badFormat = Play({File("bad.wav", Wave(std::string(100, 'x'), 11025, 12)),
                         File("ok.wav", Wave(std::string(11025, 'x')))});
  EXPECT_EQ(badFormat.exitCode, 1);
  EXPECT_NE(badFormat.stderrText.find(" 32 "), std::string::npos) << badFormat.stderrText;
  EXPECT_NEAR(ExitAt(badFormat), 1000, 2);
  // The data chunk says more than the file holds: what is there plays, then the read fails.
  auto cut = Play({File("cut.wav", Riff(FmtChunk(11025, 8, 1) +
                                        Chunk("data", std::string(11025, 'x'), 22050)))});
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_NEAR(ExitAt(cut), 1000, 2);
}

TEST_F(PlayScenario, AKeyCutsTheSoundAndSkipsTheNext) {
  const std::string second = Wave(std::string(11025, 'x'));
  auto r = Play({File("a.wav", second), File("b.wav", second)}, "+100 a\n");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NEAR(ExitAt(r), 100, 5);
  EXPECT_EQ(r.Named("PLAY").size(), 1u);
}
