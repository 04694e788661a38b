// The recording tool's sound processing: what it trims, how loud it makes things, and that the
// files it writes are what the players' programs read.
#include <gtest/gtest.h>

#include <cmath>

#include "recordings/picture.hpp"
#include "recordings/sound.hpp"
#include "testkit/testkit.hpp"

using recordings::Sound;

namespace {
Sound SineWithSilence(double amplitude) {
  Sound s;
  s.rate = 22050;
  s.samples.assign(22050, 0.0f);  // 1 s of silence around 0.5 s of tone
  for (size_t i = 5512; i < 5512 + 11025; ++i)
    s.samples[i] = static_cast<float>(amplitude * std::sin(2 * M_PI * 440 * i / 22050.0));
  return s;
}
}  // namespace

TEST(RecordingSound, TrimKeepsTheToneAndASmallMargin) {
  Sound s = SineWithSilence(0.5);
  recordings::TrimSilence(s, 0.01f, 0.01);
  EXPECT_NEAR(s.Seconds(), 0.52, 0.01);
  Sound quiet;
  quiet.samples.assign(1000, 0.0f);
  recordings::TrimSilence(quiet);
  EXPECT_TRUE(quiet.samples.empty());
}

TEST(RecordingSound, LoudnessIsMeasuredOnSoundNotPausesAndPeaksAreLimited) {
  Sound a = SineWithSilence(0.1), b = SineWithSilence(0.8);
  // A sine of amplitude A has an RMS of A / sqrt(2): the silence must not lower the figure.
  EXPECT_NEAR(recordings::ActiveLoudnessDb(a), 20 * std::log10(0.1 / std::sqrt(2.0)), 0.5);
  recordings::NormalizeLoudness(a, -18);
  recordings::NormalizeLoudness(b, -18);
  EXPECT_NEAR(recordings::ActiveLoudnessDb(a), -18, 0.2);
  EXPECT_NEAR(recordings::ActiveLoudnessDb(b), -18, 0.2);
  recordings::NormalizeLoudness(b, 0);  // would need a peak of 1.41: held at the limit
  float peak = 0;
  for (float v : b.samples) peak = std::max(peak, std::fabs(v));
  EXPECT_LE(peak, 0.971f);
}

TEST(RecordingSound, ResampledEightBitWaveHasTheHeaderNumberWordsNeed) {
  Sound s = recordings::Resample(SineWithSilence(0.5), 11025);
  EXPECT_EQ(s.samples.size(), 11025u);
  testkit::TempDir dir;
  std::string path = dir.path() + "/x.wav";
  ASSERT_TRUE(recordings::WriteWave(path, s, 8));
  std::string b = testkit::ReadFile(path);
  ASSERT_EQ(b.size(), 44u + 11025u);
  EXPECT_EQ(b.substr(0, 4), "RIFF");
  EXPECT_EQ(b.substr(36, 4), "data");
  EXPECT_EQ(static_cast<uint8_t>(b[44]), 128);  // silence is the middle value
  EXPECT_FALSE(recordings::WriteWave(dir.path() + "/nao/existe/x.wav", s, 8));
}

TEST(RecordingPicture, RocketIsABottomUpBmpWithTheFortyByteHeader) {
  testkit::TempDir dir;
  std::string path = dir.path() + "/foguete.bmp";
  ASSERT_TRUE(recordings::WriteRocketPicture(path));
  std::string b = testkit::ReadFile(path);
  auto le = [&](size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
  };
  EXPECT_EQ(le(14), 40u);
  uint32_t w = le(18), h = le(22), rowBytes = (w * 3 + 3) / 4 * 4;
  EXPECT_EQ(b.size(), le(10) + rowBytes * h);
  EXPECT_EQ(b[28], 24);
}
