// The Koral engine of the dispatch: its settings, the factors it hands on, and a key that cuts
// the sound.
#include <gtest/gtest.h>

#include "console/TlCrt.hpp"
#include "testkit/koral_tree.hpp"
#include "wave/tlwav.hpp"
#include "synth/dispatch.hpp"
#include "synth/koral.hpp"
#include "tts/uttsKoral.hpp"

namespace {

using koraltest::Tree;

TEST(KoralReadSettings, DefaultsRegistryAndFolder) {
  Tree tree(false);
  KoralReadSettings();
  const KoralSettings& s = KoralCurrentSettings();
  EXPECT_EQ(s.database, "br4");
  EXPECT_EQ(s.letterRules, "\\qorbel\\koraltts\\portug.nrl");
  EXPECT_EQ(s.exceptions, "\\qorbel\\koraltts\\portug.exc");
  EXPECT_EQ(s.abbreviations, "\\qorbel\\koraltts\\portug.abr");
  EXPECT_EQ(s.prosody, "\\qorbel\\koraltts\\portug.pro");
  EXPECT_EQ(s.definitions, "\\qorbel\\koraltts\\portug.dfn");

  // The registry names the database file: its folder holds the rules.
  tree.Register("SOFTWARE\\TCTS\\Mbrola\\databases\\BR4", "\"C:\\\\Fala\\\\br4\"");
  KoralReadSettings();
  EXPECT_EQ(KoralCurrentSettings().folder, "C:\\Fala\\");

  tree.Write("windows/TELUMA.INI", "[KORALTTS]\r\nMBROLA_DB=br3\r\nDIR=c:\\regras\r\nBASE=pt\r\n");
  KoralReadSettings();
  EXPECT_EQ(s.database, "br3");
  EXPECT_EQ(s.letterRules, "c:\\regras\\pt.nrl");
  EXPECT_EQ(s.definitions, "c:\\regras\\pt.dfn");
}

TEST(KoralOpen, FactorsFromSpeedAndPitchEvenWhenTheOpenFails) {
  Tree tree(false);
  KoralReadSettings();
  EXPECT_FALSE(KoralOpen(1, 3, 0, ""));  // no registry entry: "br4" in the current folder
  EXPECT_DOUBLE_EQ(TtsDurationFactor(), 0.6);
  EXPECT_DOUBLE_EQ(TtsPitchFactor(), 1.0);
  tree.Register("SOFTWARE\\TCTS\\Mbrola\\databases\\br4", "\"c:\\\\qorbel\\\\koraltts\\\\br4\"");
  EXPECT_TRUE(KoralOpen(9, 10, 11, ""));  // the voice number plays no part
  EXPECT_NEAR(TtsDurationFactor(), 0.8 - 10 / 15.0, 1e-12);
  EXPECT_DOUBLE_EQ(TtsPitchFactor(), 2.0);
  KoralClose();
}

TEST(KoralBusy, AKeyStopsTheSound) {
  Tree tree;
  KoralReadSettings();
  ASSERT_TRUE(SynthOpen(0, 0, 0, 3, ""));
  SetWaveKeyInterrupt(false);  // as in flight: only the engine's own key test cuts it
  SynthSpeak("A altura inicial \xE9 de quinhentos metros.");
  EXPECT_TRUE(SynthBusy(false));
  platform::PostMessage({platform::MessageKind::Char, 'x', 0});
  EXPECT_FALSE(SynthBusy(false));
  EXPECT_FALSE(WaveBusy());
  WaitForKey();
  SetWaveKeyInterrupt(true);
  SynthClose();
}

TEST(TtsSpeak, AWaitingKeyEndsTheSynthesis) {
  Tree tree;
  KoralReadSettings();
  ASSERT_TRUE(KoralOpen(0, 0, 0, ""));
  platform::PostMessage({platform::MessageKind::Char, 'x', 0});
  EXPECT_TRUE(TtsSpeak("A altura inicial \xE9 de quinhentos metros."));
  EXPECT_TRUE(tree.Images().empty());
  WaitForKey();
  KoralClose();
}

}  // namespace
