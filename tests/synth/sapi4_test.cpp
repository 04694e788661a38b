// SAPI 4 voices against a private speech service started by each test.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/env.hpp"
#include "platform/headless/headless_env.hpp"

#include "synth/sapi4.hpp"
#include "synth/sapi4_service.hpp"
#include "testkit/speech_service.hpp"

namespace {

platform::headless::HeadlessEnv gHeadless;
platform::ScopedEnv gInstalled(gHeadless);

// Waits, a few seconds at most, while the engine is busy.
bool Idle() {
  for (int i = 0; i < 500 && Sapi4Busy(false); ++i) usleep(10000);
  return !Sapi4Busy(false);
}

bool StartsWith(const std::string& text, const std::string& start) {
  return text.rfind(start, 0) == 0;
}

TEST(Sapi4, ModesByPositionAndTheTextsThatReachTheService) {
  testkit::SpeechService service;
  ASSERT_TRUE(service.Running());
  // Mode 1 is the default module ("outro") with the voice it picks; then the Brazilian voices.
  const std::pair<int, std::string> cases[] = {{0, "outro|7.|"},
                                               {-4, "outro|7.|"},
                                               {2, "gravador|7.|ana|"},
                                               {3, "outro|7.|dora|"},
                                               {99, "gravador|7.|bob|"}};
  size_t n = 0;
  for (const auto& [voice, expected] : cases) {
    ASSERT_TRUE(Sapi4Open(voice, 0, 0, "")) << voice;
    Sapi4Speak("   ");  // nothing at all
    Sapi4Speak(" 7\r\n");
    auto lines = service.WaitForSpoken(++n);
    ASSERT_EQ(lines.size(), n) << voice;
    EXPECT_PRED2(StartsWith, lines.back(), expected) << voice;
    EXPECT_TRUE(Idle());
    Sapi4Close();
  }
  // Windows-1252 arrives as UTF-8; speed and pitch 0 leave the service's own rate and pitch.
  ASSERT_TRUE(Sapi4Open(2, 0, 0, ""));
  Sapi4Speak("a\xE7\xE3o");
  EXPECT_EQ(service.WaitForSpoken(++n).back(), "gravador|a\xC3\xA7\xC3\xA3o|ana|20.00|-30.00");
  Sapi4Close();
  ASSERT_TRUE(Sapi4Open(2, 400, 60, ""));
  Sapi4Speak("r\xE1pido");
  EXPECT_EQ(service.WaitForSpoken(++n).back(), "gravador|r\xC3\xA1pido|ana|100.00|-100.00");
  Sapi4Close();
}

TEST(Sapi4, StopMakesBusyFalseAtOnceAndDropsTheQueue) {
  testkit::SpeechService service(3.0);
  ASSERT_TRUE(Sapi4Open(1, 0, 0, ""));
  Sapi4Speak("um texto comprido");
  Sapi4Speak("e outro na fila");
  EXPECT_TRUE(Sapi4Busy(true));
  service.WaitForSpoken(1);
  Sapi4Stop();
  EXPECT_FALSE(Sapi4Busy(false));
  usleep(300000);  // late notifications of what was cancelled count no more
  EXPECT_FALSE(Sapi4Busy(false));
  EXPECT_EQ(service.Spoken().size(), 1u);
  Sapi4Close();
}

TEST(Sapi4, TextsBeyondTheBufferGoInPiecesCutAtBlanks) {
  std::string text;
  for (int i = 0; text.size() < 70000; ++i) text += "palavra" + std::to_string(i) + ' ';
  text.pop_back();
  testkit::SpeechService service;
  ASSERT_TRUE(Sapi4Open(1, 0, 0, ""));
  Sapi4Speak(text);
  auto lines = service.WaitForSpoken(2);
  ASSERT_EQ(lines.size(), 2u);
  std::string first = lines[0].substr(6, lines[0].find('|', 6) - 6);
  EXPECT_LT(first.size(), 64000u);
  EXPECT_EQ(first + " " + lines[1].substr(6, lines[1].find('|', 6) - 6), text);
  Sapi4Close();
  // A word longer than the buffer is cut where the buffer ends.
  EXPECT_EQ(SpeechPieces("xxxxxxxxxx yyyy yyy", 8),
            (std::vector<std::string_view>{"xxxxxxxx", "xx yyyy", "yyy"}));
}

TEST(Sapi4, TheServiceKilledWhileSpeaking) {
  testkit::SpeechService service(30.0);
  ASSERT_TRUE(Sapi4Open(1, 0, 0, ""));
  Sapi4Speak("fala longa");
  service.WaitForSpoken(1);
  EXPECT_TRUE(Sapi4Busy(false));
  service.Kill();
  EXPECT_TRUE(Idle());
  Sapi4Speak("ninguem ouve");  // no hang, no crash
  EXPECT_FALSE(Sapi4Busy(false));
  Sapi4Close();
  EXPECT_FALSE(Sapi4Open(1, 0, 0, ""));
}

TEST(Sapi4, NoServiceAndNoneThatStarts) {
  testkit::TempDir dir;
  testkit::NoSpeechService(dir.path());
  platform::EnvChoice starting;
  starting.startPrograms = true;  // let it try to start one
  auto startingEnv = std::make_unique<platform::headless::HeadlessEnv>(starting);
  auto startingInstalled = std::make_unique<platform::ScopedEnv>(*startingEnv);
  EXPECT_FALSE(Sapi4Open(1, 0, 0, ""));
  // A starter that never answers is not waited for beyond its second.
  std::string hanging = dir.Write("pendura.sh", "#!/bin/sh\nexec sleep 3\n");
  chmod(hanging.c_str(), 0755);
  setenv("SPEECHD_CMD", hanging.c_str(), 1);
  EXPECT_FALSE(Sapi4Open(2, 0, 0, ""));
  startingInstalled.reset();
  Sapi4Speak("nada");
  EXPECT_FALSE(Sapi4Busy(false));
  Sapi4Close();

  testkit::SpeechService service;
  EXPECT_FALSE(Sapi4Open(1, 0, 0, "saida.wav"));  // the service writes no files
}

TEST(Sapi4, RateAndPitchInTheServiceUnits) {
  EXPECT_EQ(sapi4::ServiceRate(125), -50);
  EXPECT_EQ(sapi4::ServiceRate(-5), -100);
  EXPECT_EQ(sapi4::ServicePitch(180), 50);
  EXPECT_EQ(sapi4::ServicePitch(static_cast<uint16_t>(-20)), 100);  // taken as unsigned
}

}  // namespace
