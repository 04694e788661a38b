// The engines of kinds 5 and 54 in this process, on the virtual clock: the voice list, the rate
// scale, wave file output, the first voice for a number out of range, and a close that lets a
// long text finish.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/env.hpp"
#include "platform/events.hpp"
#include "platform/headless/headless_env.hpp"
#include "platform/wave_file.hpp"
#include "synth/dispatch.hpp"
#include "synth/sapi5.hpp"
#include "synth/voices.hpp"
#include "testkit/testkit.hpp"

namespace {

// Each test runs headless in an environment of its own: the virtual clock from 0, the virtual
// sink.
struct OutsideVoices : ::testing::Test {
  platform::headless::HeadlessEnv env;
  platform::ScopedEnv installed{env};
};
using Sapi5Engine = OutsideVoices;

const char* kText = "A altura inicial \xE9 de mil metros.";  // Windows-1252

// Bytes of sound the engine of kind writes for the text with this voice number and speed.
// The file must be a complete 16-bit mono wave file.
uint32_t SpokenBytes(int32_t kind, int32_t voice, int32_t speed, std::string* voiceName = nullptr,
                     int32_t* rate = nullptr) {
  testkit::TempDir dir;
  setenv("TELUMA_ROOT", dir.path().c_str(), 1);
  EXPECT_TRUE(SynthOpen(voice, speed, 0, kind, "c:\\fala.wav"));
  if (voiceName) *voiceName = Sapi5VoiceName(kind);
  if (rate) *rate = Sapi5Rate(kind);
  SynthSpeak(kText);
  SynthClose();
  const std::string wave = testkit::ReadFile(dir.path() + "/fala.wav");
  if (wave.size() < platform::kWaveHeaderBytes) {
    ADD_FAILURE() << "no wave file";
    return 0;
  }
  const auto* h = reinterpret_cast<const uint8_t*>(wave.data());
  EXPECT_EQ(wave.substr(0, 4), "RIFF");
  EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(platform::LoadLe16(h + 22), 1);        // mono
  EXPECT_EQ(platform::LoadLe32(h + 24), 22050u);   // espeak-ng's rate
  EXPECT_EQ(platform::LoadLe16(h + 34), 16);
  EXPECT_EQ(platform::LoadLe32(h + 40), wave.size() - 44);
  EXPECT_EQ(platform::LoadLe32(h + 4), wave.size() - 8);
  return platform::LoadLe32(h + 40);
}

}  // namespace

TEST_F(OutsideVoices, PortugueseVoicesFirstAndTheRateScale) {
  auto voice = voices::Voice::Create();
  ASSERT_TRUE(voice) << "espeak-ng must start";
  const voices::VoiceTokens tokens = voice->GetVoices("", "");
  ASSERT_GT(tokens.Count(), 2);
  EXPECT_EQ(tokens.Item(0)->language, "pt-br");
  EXPECT_EQ(tokens.Item(1)->language.substr(0, 2), "pt");
  EXPECT_EQ(tokens.Item(tokens.Count()), nullptr);
  EXPECT_EQ(voice->GetVoices("Gender=Female", "").Count(), 0);

  EXPECT_EQ(voices::WordsPerMinute(-10), 80);  // 58 clamped
  EXPECT_EQ(voices::WordsPerMinute(0), 175);
  EXPECT_EQ(voices::WordsPerMinute(5), 303);
  EXPECT_EQ(voices::WordsPerMinute(10), 450);  // 525 clamped
  EXPECT_TRUE(voice->SetRate(-10));
  EXPECT_FALSE(voice->SetRate(11));
  EXPECT_EQ(voice->Rate(), -10);
}

TEST_F(Sapi5Engine, RatesVoiceNumbersAndFileOutput) {
  std::string name;
  int32_t rate = -1;
  const uint32_t normal = SpokenBytes(5, 1, 0, &name, &rate);
  EXPECT_EQ(name, "roa/pt-BR");
  EXPECT_LT(SpokenBytes(5, 1, 10), normal * 2 / 3);

  // Voice 0 or one past the count: the first voice at rate 0, whatever speed was asked.
  auto voice = voices::Voice::Create();
  const int32_t count = voice->GetVoices("", "").Count();
  for (int32_t number : {0, count + 1}) {
    // (the engine carries a few samples over from one text to the next)
    EXPECT_NEAR(SpokenBytes(54, number, 10, &name, &rate), normal, normal / 100) << number;
    EXPECT_EQ(name, "roa/pt-BR");
    EXPECT_EQ(rate, 0);
  }
  SpokenBytes(5, 2, 3, &name, &rate);
  EXPECT_NE(name, "roa/pt-BR");
  EXPECT_EQ(rate, 3);
  // A rate the voice refuses leaves its own.
  SpokenBytes(5, 1, -11, &name, &rate);
  EXPECT_EQ(rate, 0);

  // A file that cannot be made: the open fails.
  EXPECT_FALSE(SynthOpen(1, 0, 0, 5, "c:\\no\\such\\folder\\fala.wav"));
  SynthClose();
}

TEST_F(Sapi5Engine, SpeaksOnTheClockAndCloseLetsALongTextFinish) {
  ASSERT_TRUE(SynthOpen(1, 0, 0, 5, ""));
  EXPECT_EQ(platform::NowMs(), 0);
  SynthSpeak(kText);
  EXPECT_TRUE(SynthBusy(false));
  EXPECT_EQ(platform::NowMs(), 20);  // one 20 ms wait on the speak-complete event
  int64_t end = 0;
  while (SynthBusy(false)) end = platform::NowMs();
  EXPECT_GT(end, 1500);

  // An empty text speaks a blank: busy for a moment.
  const int64_t before = platform::NowMs();
  SynthSpeak("");
  while (SynthBusy(false)) {
  }
  EXPECT_GT(platform::NowMs(), before);

  // Stopping: silence at once, after the 50 ms pause.
  SynthSpeak(kText);
  const int64_t stopAt = platform::NowMs();
  SynthStop();
  EXPECT_FALSE(SynthBusy(false));
  EXPECT_LT(platform::NowMs() - stopAt, 100);

  // Closing waits for the whole text.
  SynthSpeak(kText);
  const int64_t closeAt = platform::NowMs();
  SynthClose();
  EXPECT_GE(platform::NowMs() - closeAt, end - 20);
  EXPECT_FALSE(SynthBusy(false));
}
