// Speech start-up settings, the outside synthesizer path and the starting of programs, run in
// this process over a small tree (headless backend, so waits use the virtual clock).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/env.hpp"
#include "platform/events.hpp"
#include "platform/headless/headless_env.hpp"
#include "platform/paths.hpp"
#include "platform/transcript.hpp"
#include "wave/tlwav.hpp"
#include "speech/tlwin.hpp"
#include "synth/diphone.hpp"
#include "synth/dispatch.hpp"
#include "testkit/speech_service.hpp"
#include "testkit/testkit.hpp"

using namespace teluma;
using namespace teluma::wave;
using namespace teluma::speech;
using namespace teluma::synth;
using namespace teluma::playback;

namespace {

// Every wait of these tests runs on the virtual clock, without a display.
platform::headless::HeadlessEnv gHeadless;
platform::ScopedEnv gInstalled(gHeadless);

// A tree with TELUMA.INI in its Windows folder and a one-unit voice in the default folder.
class Tree {
 public:
  explicit Tree(const std::string& settings) {
    dir_.Write("windows/TELUMA.INI", settings);
    std::string entry(15, '\0');
    entry[0] = 2;
    entry[1] = '$';
    entry[2] = 'A';
    entry[9] = 100;
    dir_.Write("qorbel/som/difones/V.IND", entry);
    dir_.Write("qorbel/som/difones/V.DIF", std::string(100, '\x80'));
    dir_.Write("qorbel/som/difones/regras.rgr", "(A)=a|\r\n");
    dir_.Write("qorbel/som/difones/portug.exc", "\r\n");
    dir_.Write("qorbel/som/letras/_nada.wav", "");
    setenv("TELUMA_ROOT", dir_.path().c_str(), 1);
    setenv("TELUMA_WINDIR", (dir_.path() + "/windows").c_str(), 1);
  }
  ~Tree() {
    unsetenv("TELUMA_WINDIR");
    unsetenv("TELUMA_ROOT");
  }
  const testkit::TempDir& dir() const { return dir_; }

 private:
  testkit::TempDir dir_;
};

TEST(ReadSynthesizerSettings, KeysOfTheSpeedStep) {
  Tree tree(
      "[SINTETIZADOR]\r\nDIFONES2=COMPRIDO99\r\nCORTAFALA2=sim\r\nRAPIDINHO2=n\r\n"
      "PAUSAPONTO2=90\r\nPAUSAVIRG2=abc\r\nPAUSADOISPONTOS2= 7 \r\n"
      "DIFONES4=X\r\nCORTAFALA4=N\r\nRAPIDINHO4=Sim\r\n");
  ReadSynthesizerSettings(2);
  EXPECT_EQ(SpeechSpeed(), 2);
  EXPECT_EQ(DiphoneDatabase(), "COMPRIDO");  // cut to 8 characters
  EXPECT_TRUE(WaveShorten());
  EXPECT_FALSE(WaveFast());
  EXPECT_EQ(PausePeriod(), 90);
  EXPECT_EQ(PauseComma(), 150);  // not a number: the default
  EXPECT_EQ(PauseColon(), 7);

  ReadSynthesizerSettings(4);
  EXPECT_EQ(DiphoneDatabase(), "X");
  EXPECT_FALSE(WaveShorten());
  EXPECT_TRUE(WaveFast());
  EXPECT_EQ(PausePeriod(), 250);
  EXPECT_EQ(PauseColon(), 200);
  SetWaveFast(false);
}

TEST(ReadSynthesizerSettings, TimingKeptInItsRange) {
  Tree tree(
      "[SINTETIZADOR]\r\nPAUSAPONTO2=2147483647\r\nPAUSAVIRG2=-5\r\nPAUSADOISPONTOS2=10000\r\n"
      "CORTEFON2=-400\r\nSOBRAFON2=99999999\r\nINTERPAL2=2147483647\r\n");
  ReadSynthesizerSettings(2);
  EXPECT_EQ(PausePeriod(), kMaxPauseMs);
  EXPECT_EQ(PauseComma(), 0);
  EXPECT_EQ(PauseColon(), 10000);
  DiphoneTimingSettings t = ReadDiphoneTiming(2);
  EXPECT_EQ(t.cut, 0);
  EXPECT_EQ(t.minimum, kMaxUnitSamples);
  EXPECT_EQ(t.wordPause, kMaxWordPauseSamples);
}

// A stand-in outside engine that records how it was opened and what it was given.
struct FakeEngine {
  static inline std::vector<std::string> log;
  static inline int busyCalls = 0;  // answers busy this many more times
  static void Install(SynthSlot slot) {
    SynthEngine e;
    e.open = [](int32_t voice, int32_t speed, int32_t pitch, const std::string& file) {
      log.push_back("open " + std::to_string(voice) + " " + std::to_string(speed) + " " +
                    std::to_string(pitch) + " [" + file + "]");
      return true;
    };
    e.speak = [](std::string_view text) { log.push_back("speak " + std::string(text)); };
    // Like the real engines, a busy answer wakes the waiting loop so that it asks again.
    e.busy = [](bool) {
      if (busyCalls <= 0) return false;
      --busyCalls;
      platform::PostMessage({platform::MessageKind::Wake, 0, 0});
      return true;
    };
    e.stop = [] { log.push_back("stop"); };
    e.close = [] { log.push_back("close"); };
    SetSynthEngine(slot, e);
  }
};

TEST(SpeechStart, OutsideSynthesizerSpeedRuleAndSpeaking) {
  FakeEngine::Install(SynthSlot::Sapi5);
  FakeEngine::Install(SynthSlot::Sapi4);
  {
    Tree tree("[TRADUTOR]\r\nSAPI=Sim\r\nVELOCIDADE=9\r\n[SERVFALA]\r\nVOZ=2\r\n"
              "VELOCIDADE=15\r\nTOM=x\r\nTIPOSAPI=5\r\n[SINTETIZADOR]\r\nDIFONES3=V\r\n");
    FakeEngine::log.clear();
    SpeechStart(0, "c:\\frases");
    EXPECT_EQ(SpeechSpeed(), 3);  // 9 is outside 1-5
    EXPECT_EQ(PhraseFolder(), "c:\\frases\\");
    EXPECT_EQ(LettersFolder(), "c:\\qorbel\\som\\letras\\");
    EXPECT_TRUE(SynthActive());
    EXPECT_EQ(SynthKind(), 5);
    ASSERT_FALSE(FakeEngine::log.empty());
    EXPECT_EQ(FakeEngine::log[0], "open 2 0 0 []");  // speed above 10 becomes 0 for kind 5

    // Phrase keys: "_" keys from the letters folder, others from the phrase folder; characters
    // from the copy of the letters folder the diphone synthesizer read.
    EXPECT_EQ(PhraseFile("LUINIC"), "c:\\frases\\LUINIC.wav");
    EXPECT_EQ(PhraseFile("_MENOS"), "c:\\qorbel\\som\\letras\\_MENOS.wav");
    EXPECT_EQ(CharFile('A'), DiphoneLettersFolder() + "_65.wav");
    EXPECT_EQ(CharFile(255), DiphoneLettersFolder() + "_255.wav");
    EXPECT_TRUE(PhraseExists("_nada"));
    EXPECT_FALSE(PhraseExists("_falta"));
    EXPECT_FALSE(PhraseExists("nada"));

    // Text goes to the engine whole, without waiting; the next phrase waits for it.
    FakeEngine::busyCalls = 0;
    SpeakText("Ol\xE1 123");
    EXPECT_EQ(FakeEngine::log.back(), "speak Ol\xE1 123");
    EXPECT_TRUE(SpeechPending());
    FakeEngine::busyCalls = 3;
    PlayPhrase("_nada");
    EXPECT_EQ(FakeEngine::busyCalls, 0);
    EXPECT_FALSE(SpeechPending());
    SpeechEnd();
    EXPECT_FALSE(SynthActive());
    EXPECT_EQ(FakeEngine::log.back(), "close");
  }
  {
    Tree tree("[TRADUTOR]\r\nSAPI=s\r\n[SERVFALA]\r\nVELOCIDADE=15\r\nTIPOSAPI=4\r\n"
              "[SINTETIZADOR]\r\nDIFONES1=V\r\n");
    FakeEngine::log.clear();
    SpeechStart(1, "");
    EXPECT_EQ(PhraseFolder(), "");
    ASSERT_FALSE(FakeEngine::log.empty());
    EXPECT_EQ(FakeEngine::log[0], "open 0 15 0 []");  // kind 4 keeps its speed
    SpeechEnd();
  }
  {
    Tree tree("[TRADUTOR]\r\nSAPI=Nao\r\n[SERVFALA]\r\nTIPOSAPI=5\r\n[SINTETIZADOR]\r\nDIFONES3=V\r\n");
    FakeEngine::log.clear();
    SpeechStart(0, "x\\");
    EXPECT_FALSE(SynthActive());
    EXPECT_TRUE(FakeEngine::log.empty());
    EXPECT_EQ(PhraseFolder(), "x\\");
    SpeechEnd();
  }
  SetSynthEngine(SynthSlot::Sapi5, BuiltInEngine(SynthSlot::Sapi5));
  SetSynthEngine(SynthSlot::Sapi4, BuiltInEngine(SynthSlot::Sapi4));
}

TEST(SynthDispatch, KindsAndEmptySlots) {
  EXPECT_EQ(SlotOfKind(3), SynthSlot::Koral);
  EXPECT_EQ(SlotOfKind(5), SynthSlot::Sapi5);
  EXPECT_EQ(SlotOfKind(54), SynthSlot::Sapi54);
  for (int kind : {0, 1, 2, 4, 6, 53, -1}) EXPECT_EQ(SlotOfKind(kind), SynthSlot::Sapi4) << kind;
  // Koral (kind 3) and espeak-ng (kinds 5, 54) are built in; without a speech service the
  // open of kind 4 fails but still records the kind.
  testkit::TempDir nowhere;
  testkit::NoSpeechService(nowhere.path());
  for (int kind : {4}) {
    EXPECT_FALSE(SynthOpen(0, 0, 0, kind, ""));
    EXPECT_EQ(SynthKind(), kind);
    EXPECT_FALSE(SynthBusy(false));
    SynthStop();
    SynthClose();
  }
  // The wake message only makes a waiting loop look again.
  platform::Message m;
  while (platform::PeekMessage(m)) {
  }
  PostWakeMessage();
  ASSERT_TRUE(platform::PeekMessage(m));
  EXPECT_EQ(m.kind, platform::MessageKind::Wake);
  EXPECT_EQ(m.a, 2980);
}

// Waits (a little, at most a few seconds) for a file a started program writes.
std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && !platform::FileExists(path); ++i) usleep(10000);
  usleep(20000);
  return testkit::ReadFile(path);
}

TEST(OpenHelpPage, StartsProgramsWithoutAShell) {
  Tree tree("");
  std::string out = tree.dir().path() + "/args.txt";
  std::string script = tree.dir().Write(
      "bin/mostra.sh", "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > " + out + "\n");
  chmod(script.c_str(), 0755);
  tree.dir().Write("windows/TELUMA.INI", "[TELUMA]\r\nPROG.TXT=" + script + "\r\nPROG.HTM=" +
                                              script + "\r\n");

  platform::EnvChoice allowed;
  allowed.startPrograms = true;
  auto starting = std::make_unique<platform::headless::HeadlessEnv>(allowed);
  auto startingInstalled = std::make_unique<platform::ScopedEnv>(*starting);
  OpenHelpPage("a;touch${IFS}pwned.txt");
  EXPECT_EQ(WaitForFile(out), "[a;touch${IFS}pwned.txt]");
  EXPECT_FALSE(platform::FileExists("pwned.txt"));

  std::remove(out.c_str());
  OpenHelpPage("www.exemplo.com.br/$(id)");
  EXPECT_EQ(WaitForFile(out), "[www.exemplo.com.br/$(id)]");

  // A program named by an absolute path runs itself, without parameters.
  std::remove(out.c_str());
  std::string exe = tree.dir().Write(
      "jogo.exe", "#!/bin/sh\necho rodou > " + out + "\n");
  chmod(exe.c_str(), 0755);
  OpenHelpPage(exe);
  EXPECT_EQ(WaitForFile(out), "rodou\n");

  // Without the permission the headless backend starts nothing and only records the choice.
  std::remove(out.c_str());
  startingInstalled.reset();
  std::string transcript = tree.dir().path() + "/transcript.txt";
  platform::Transcript::Get().Reopen(transcript);
  OpenHelpPage("leia.txt");
  platform::Transcript::Get().Reopen("");
  usleep(300000);
  EXPECT_FALSE(platform::FileExists(out));
  EXPECT_NE(testkit::ReadFile(transcript).find("OPEN \"" + script + "\" \"leia.txt\""),
            std::string::npos)
      << testkit::ReadFile(transcript);
}

}  // namespace
