// The wave output device run headless: teluma-play and a probe of tlwav's operations, on the
// virtual clock, read through their output and the transcript.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testkit/testkit.hpp"
#include "testkit/wave.hpp"

using namespace testkit;
using testkit::RunHeadless;
using testkit::RunOptions;

namespace {

// Probe lines without their clocks, and the clocks alone.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

testkit::RunResult Probe(std::vector<std::string> steps, const std::string& keys = "") {
  RunOptions o;
  o.args = std::move(steps);
  o.keys = keys;
  return RunHeadless(PROBE_PATH, o);
}

testkit::RunResult Play(std::vector<std::string> args, const std::string& keys = "") {
  RunOptions o;
  o.args = std::move(args);
  o.keys = keys;
  return RunHeadless(PLAY_PATH, o);
}

long long ExitTime(const testkit::RunResult& r) {
  auto exits = r.Named("EXIT");
  return exits.empty() ? -1 : exits.back().ms;
}

std::vector<uint8_t> Tone16(uint32_t frames, uint16_t channels, int period = 100) {
  std::vector<uint8_t> s;
  for (uint32_t i = 0; i < frames * channels; ++i) {
    const uint32_t frame = i / channels;
    Put16(s, uint16_t(int16_t(frame % period == 0 ? 20000 : (frame % period) * 40)));
  }
  return s;
}

}  // namespace

class SoundFiles : public ::testing::Test {
 protected:
  testkit::TempDir dir;
  std::string Wave(const std::string& name, const std::vector<uint8_t>& bytes) {
    return dir.Write(name, AsString(bytes));
  }
};

TEST_F(SoundFiles, FilesPlayOneAfterTheOtherForTheirWholeLength) {
  auto a = Wave("a.wav", WaveImage(Square8(22050), 11025, 8, 1));     // 2 s
  auto b = Wave("b.wav", WaveImage(Tone16(22050, 1), 22050, 16, 1));  // 1 s
  auto r = Play({a, b});
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  auto plays = r.Named("PLAY");
  ASSERT_EQ(plays.size(), 2u);
  EXPECT_EQ(plays[0].data, a);
  EXPECT_EQ(plays[0].ms, 0);
  EXPECT_EQ(plays[1].data, b);
  EXPECT_EQ(plays[1].ms, 2000);
  EXPECT_EQ(ExitTime(r), 3000);
}

TEST_F(SoundFiles, FastAndShortenChangeHowLongSoundTakes) {
  auto cd = Wave("cd.wav", WaveImage(Tone16(44100, 2), 44100, 16, 2));
  auto fast = Play({"--fast", cd});
  EXPECT_EQ(fast.exitCode, 0);
  EXPECT_EQ(ExitTime(fast), 667);  // 44100 Hz played at 66150 Hz

  // Mono 16-bit speech is shortened to 8-bit and about half its length; stereo never.
  auto mono = Wave("mono.wav", WaveImage(Tone16(22050, 1, 150), 22050, 16, 1));
  auto shortened = Play({"--shorten", mono});
  EXPECT_GT(ExitTime(shortened), 400);
  EXPECT_LT(ExitTime(shortened), 600);
  auto stereo = Wave("stereo.wav", WaveImage(Tone16(22050, 2, 150), 22050, 16, 2));
  EXPECT_EQ(ExitTime(Play({"--shorten", stereo})), 1000);

  // A data chunk a little longer than one block goes in two portions (65278 + 322 bytes):
  // the whole of it plays.
  auto split = Wave("split.wav", WaveImage(Square8(65600), 11025, 8, 1));
  EXPECT_EQ(ExitTime(Play({split})), 5951);
}

TEST_F(SoundFiles, KeyCutsTheSoundAndStaysQueuedSoLaterFilesAreSkipped) {
  auto a = Wave("a.wav", WaveImage(Square8(22050), 11025, 8, 1));
  auto b = Wave("b.wav", WaveImage(Square8(22050), 11025, 8, 1));
  auto r = Play({a, b}, "+500 a\n");
  EXPECT_EQ(r.exitCode, 0);
  auto plays = r.Named("PLAY");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(ExitTime(r), 500);
  EXPECT_TRUE(r.Named("KEY").empty());
}

TEST_F(SoundFiles, UnplayableFilesFailAndBrokenDataPlaysWhatExists) {
  auto notWave = dir.Write("text.wav", "just some text, not a sound at all");
  auto truncated = Wave("cut.wav", WaveImage(Square8(11025), 11025, 8, 1, 1000000));
  auto header = WaveImage(Square8(10), 11025, 8, 1);
  header.resize(36);  // ends before the data chunk
  auto noData = Wave("nodata.wav", header);
  auto r = Play({dir.path() + "/missing.wav", notWave, noData, truncated});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.stderrText.find("missing.wav"), std::string::npos);
  EXPECT_NE(r.stderrText.find("cut.wav"), std::string::npos);
  EXPECT_EQ(r.Named("PLAY").size(), 4u);
  EXPECT_EQ(ExitTime(r), 1000);  // only the truncated file's one second sounded

  auto help = Play({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.stdoutText.find("--shorten"), std::string::npos);
  EXPECT_EQ(Play({"--bogus"}).exitCode, 2);
}

TEST(WaveDevice, BusyUntilTheEndThenTheNextBusyClosesTheDevice) {
  auto r = Probe({"image:1000", "busy", "open", "pause:999", "busy", "pause:1", "open", "busy",
                  "open"});
  EXPECT_EQ(Lines(r.stdoutText),
            (std::vector<std::string>{"image t=0", "busy 1 t=0", "open 4 t=0", "paused t=999",
                                      "busy 1 t=999", "paused t=1000", "open 4 t=1000",
                                      "busy 0 t=1000", "open 0 t=1000"}));
  auto images = r.Named("IMAGE");
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].data, "11025 11025 8 1");
}

TEST(WaveDevice, StopEndsTheSoundAtOnce) {
  auto r = Probe({"image:1000", "pause:300", "stop", "busy", "open", "image:200", "wait"});
  EXPECT_EQ(Lines(r.stdoutText),
            (std::vector<std::string>{"image t=0", "paused t=300", "stopped t=300", "busy 0 t=300",
                                      "open 0 t=300", "image t=300", "idle t=500"}));
}

TEST(WaveDevice, AnotherFormatWaitsForTheSoundBeforeIt) {
  auto r = Probe({"image:1000", "image:1000", "image:500:22050:16:2", "wait"});
  EXPECT_EQ(Lines(r.stdoutText), (std::vector<std::string>{"image t=0", "image t=0",
                                                           "image t=2000", "idle t=2500"}));
  auto sameAgain = Probe({"image:1000", "format:11025:8:1", "format:8000:8:1", "wait"});
  EXPECT_EQ(Lines(sameAgain.stdoutText),
            (std::vector<std::string>{"image t=0", "format 0 t=0", "format 0 t=1000",
                                      "idle t=1000"}));
  EXPECT_EQ(Lines(Probe({"format:11025:24:1"}).stdoutText),
            (std::vector<std::string>{"format 32 t=0"}));
}

TEST(WaveDevice, AtMostFourBlocksAreQueued) {
  // 29723 ms of 8-bit mono at 11025 Hz: six portions of up to 65534 bytes, each block
  // about 5944 ms. The call returns once the sixth is queued, after two blocks came back.
  auto r = Probe({"buffer:29723", "wait"});
  auto lines = Lines(r.stdoutText);
  ASSERT_EQ(lines.size(), 2u);
  const long long returned = std::stoll(lines[0].substr(lines[0].find("t=") + 2));
  EXPECT_EQ(lines[0].substr(0, 8), "buffer 0");
  EXPECT_GE(returned, 11888);
  EXPECT_LE(returned, 11900);
  // The last portion (26 bytes) is played as a block of 256.
  EXPECT_EQ(lines[1], "idle t=29744");
}

TEST(WaveDevice, KeyInterruptionCutsAndLeavesTheKey) {
  auto cut = Probe({"image:1000", "wait", "waiting", "key"}, "+300 a\n");
  EXPECT_EQ(Lines(cut.stdoutText), (std::vector<std::string>{"image t=0", "idle t=300",
                                                            "waiting 1 t=300", "key 97 t=300"}));
  auto kept = Probe({"nokeys", "image:1000", "wait", "key"}, "+300 a\n");
  EXPECT_EQ(Lines(kept.stdoutText),
            (std::vector<std::string>{"image t=0", "idle t=1000", "key 97 t=1000"}));
  // A waiting key skips a file without opening it.
  testkit::TempDir dir;
  auto file = dir.Write("a.wav", AsString(WaveImage(Square8(11025), 11025, 8, 1)));
  auto skipped = Probe({"pause:100", "file:" + file, "key"}, "+50 b\n");
  EXPECT_EQ(Lines(skipped.stdoutText),
            (std::vector<std::string>{"paused t=100", "file 0 t=100", "key 98 t=100"}));
  EXPECT_TRUE(skipped.Named("PLAY").empty());
}

TEST(EffectVoice, FindsFilesWithoutAnExtensionAndRefusesMissingOnes) {
  testkit::TempDir dir;
  dir.Write("ping2.wav", AsString(WaveImage(Square8(1000), 11025, 8, 1)));
  dir.Write("Alarm2.WAV", AsString(WaveImage(Square8(1000), 11025, 8, 1)));
  dir.Write("text.wav", "no sound here");
  auto r = Probe({"effect:" + dir.path() + "/ping2", "effect:" + dir.path() + "/ping2.wav",
                  "effect:" + dir.path() + "/ALARM2", "effect:" + dir.path() + "/absent",
                  "effect:" + dir.path() + "/text"});
  EXPECT_EQ(Lines(r.stdoutText),
            (std::vector<std::string>{"effect 1 t=0", "effect 1 t=0", "effect 1 t=0",
                                      "effect 0 t=0", "effect 0 t=0"}));
}
