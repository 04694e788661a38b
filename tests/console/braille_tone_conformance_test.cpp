// Braille chord entry of modes 1 and 2, the mode signals and the tone image.
#include <gtest/gtest.h>

#include <cstring>

#include "console/tone.hpp"
#include "testkit/console_probe_run.hpp"

using conrev::Keys;
using conrev::Probe;
using conrev::RunProbe;

namespace {

std::string Tones(const testkit::RunResult& r, bool withTime = false) {
  std::string out;
  for (const auto& e : r.Named("TONE")) {
    if (!out.empty()) out += ' ';
    if (withTime) out += std::to_string(e.ms) + ":";
    out += e.data;
  }
  return out;
}

uint32_t Le32(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | v[at + 1] << 8 | v[at + 2] << 16 | static_cast<uint32_t>(v[at + 3]) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& v, size_t at) { return static_cast<uint16_t>(v[at] | v[at + 1] << 8); }

}  // namespace

TEST(Braille, ModeOneChords) {
  auto r = RunProbe({{"wait", "br:1", "keys:40"},
                "Chord+fd Space Chord+Space+fdk a f j Enter 1 Chord+fdsjkl Ctrl+f Ctrl+Space x\n"});
  // b; blank; space + dots 1 2 5 ("h") is 8; a letter that is no chord key is a blank; F alone
  // is dot 1 (a), J dot 4 (^); keys outside the chord set type as always; with Ctrl they are no
  // chord keys, and a blank typed with Ctrl is dropped like every blank of this mode.
  EXPECT_EQ(Keys(r), "98 32 8 32 97 94 13 49 233 6 32");
  EXPECT_EQ(Tones(r, true), "0:800 200:off 200:1600 400:off");
}

TEST(Braille, ModeTwoSignRules) {
  auto r = RunProbe({{"wait", "br:2", "keys:40"},
                "Chord+jl f\n"                          // capital sign, a: A
                "Chord+jl Chord+jl f Chord+fd\n"        // caps lock: A B
                "Chord+Space f\n"                       // a chord with the space bar ends it
                "Chord+sjkl f Chord+fd Chord+djk s k f\n"  // number sign: 1 2 0 . then ~ ends it
                "Chord+sjkl f Space f\n"});             // the space bar ends number mode
  EXPECT_EQ(Keys(r), "65 65 66 32 97 49 50 48 46 126 97 49 32 97");
  EXPECT_EQ(Tones(r), "800 off 400 off");
}

TEST(Braille, ModeSignalsAndHotKeys) {
  // Mode 3 is mode 1; mode 0 sounds only when leaving another mode.
  auto r = RunProbe({{"pause:1000", "br:3", "br:0", "br:0", "br:2"}});
  EXPECT_EQ(Tones(r, true),
            "1000:800 1200:off 1200:1600 1400:off 1400:100 1600:off "
            "1600:800 1800:off 1800:400 2000:off");
  // Ctrl+Alt+F11 steps 0, 1, 2, 1; Ctrl+Alt+F12 goes back to 0. Neither queues a code.
  auto hot = RunProbe({{"keys:3"}, "Ctrl+Alt+F11 Ctrl+Alt+F11 Ctrl+Alt+F11 Alt+Ctrl+F12 f\n"});
  EXPECT_EQ(Tones(hot), "800 off 1600 off 800 off 400 off 800 off 1600 off 100 off");
  EXPECT_EQ(Keys(hot), "102");
  // The mode of the settings file sounds its signal when the console opens: code AND 3.
  auto ini = RunProbe({{"w:x"}, "", "[BRAILLE]\r\nMODO=S\r\n"});
  EXPECT_EQ(Tones(ini, true), "0:800 200:off 200:1600 400:off");
  auto two = RunProbe({{"w:x"}, "", "[BRAILLE]\r\nMODO=2\r\n"});
  EXPECT_EQ(Tones(two), "800 off 400 off");
  auto none = RunProbe({{"w:x"}, "", "[BRAILLE]\r\nMODO=x\r\n"});
  EXPECT_EQ(Tones(none), "");
}

TEST(Tone, StartAndStopOnTheVirtualClock) {
  auto r = RunProbe({{"pause:30", "tone:440", "pause:70", "tone:880", "pause:5", "notone", "notone"}});
  EXPECT_EQ(Tones(r, true), "30:440 100:off 100:880 105:off");
}

TEST(Tone, SquareWaveImageByteForByte) {
  for (uint16_t f : {1, 100, 400, 440, 800, 1000, 1600, 5000, 7000, 11025}) {
    SCOPED_TRACE(f);
    const uint32_t p = 11025 / f;
    std::vector<int> expected(11025, -1);  // -1: not part of any period
    uint32_t firstFree = 0;
    for (uint32_t k = 0;; ++k) {
      uint32_t start = static_cast<uint32_t>(uint64_t{k} * 11025 / f);
      if (start > 11025 - p) break;
      for (uint32_t i = 0; i < p; ++i) expected[start + i] = i < p / 2 ? 96 : 160;
      firstFree = start + p;
    }
    expected[firstFree - 1] = 128;
    auto image = teluma::console::BuildToneImage(f);
    ASSERT_GE(image.size(), 44u + firstFree);
    EXPECT_EQ(std::memcmp(image.data(), "RIFF", 4), 0);
    EXPECT_EQ(Le32(image, 4), firstFree + 36);
    EXPECT_EQ(std::memcmp(image.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(Le32(image, 16), 16u);
    EXPECT_EQ(Le16(image, 20), 1);
    EXPECT_EQ(Le16(image, 22), 1);
    EXPECT_EQ(Le32(image, 24), 11025u);
    EXPECT_EQ(Le32(image, 28), 11025u);
    EXPECT_EQ(Le16(image, 32), 1);
    EXPECT_EQ(Le16(image, 34), 8);
    EXPECT_EQ(std::memcmp(image.data() + 36, "data", 4), 0);
    EXPECT_EQ(Le32(image, 40), firstFree);
    int mismatches = 0;
    for (uint32_t i = 0; i < firstFree; ++i) {
      // Samples between periods are not part of the wave; they hold the middle level.
      int want = expected[i] < 0 ? 128 : expected[i];
      if (image[44 + i] != want && ++mismatches < 5) ADD_FAILURE() << "sample " << i << ": " << int(image[44 + i]);
    }
    EXPECT_EQ(mismatches, 0);
  }
  // 800 Hz: periods of 13 samples (6 low, 7 high) starting at 0, 13, 27, ...; the last sample
  // of the last period is the middle level.
  auto image = teluma::console::BuildToneImage(800);
  EXPECT_EQ(image[44 + 0], 96);
  EXPECT_EQ(image[44 + 5], 96);
  EXPECT_EQ(image[44 + 6], 160);
  EXPECT_EQ(image[44 + 12], 160);
  EXPECT_EQ(image[44 + 13], 96);
  EXPECT_EQ(image[44 + 27], 96);
  EXPECT_EQ(Le32(image, 40), 11024u);  // the last period starts at 11011
}
