// The front end speaking through the engine of kind 5 in programs run headless: espeak-ng
// renders into the virtual sink, so the clock of the transcript tells how long it spoke.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "testkit/testkit.hpp"
#include "testkit/wave.hpp"

namespace {

using testkit::RunResult;

const char* kLong = "Olá, você está a bordo do Albatrossia e terá de conduzir a nave em segurança.";

// A tree with a one-unit diphone voice, a recording "_x" and the outside engine turned on.
class Tree {
 public:
  explicit Tree(const std::string& servfala = "TIPOSAPI=5\r\n") {
    dir_.Write("windows/TELUMA.INI", "[TRADUTOR]\r\nSAPI=S\r\nVELOCIDADE=2\r\n[SERVFALA]\r\n" +
                                         servfala + "[SINTETIZADOR]\r\nDIFONES2=VOZ\r\n");
    std::string entry(15, '\0');
    entry[0] = 2;
    entry[1] = '$';
    entry[2] = 'A';
    entry[9] = 100;
    dir_.Write("qorbel/som/difones/VOZ.IND", entry);
    dir_.Write("qorbel/som/difones/VOZ.DIF", std::string(100, '\x80'));
    std::string rules;
    for (char c = 'A'; c <= 'Z'; ++c) rules += std::string("(") + c + ")=" + char(c + 32) + "|\r\n";
    dir_.Write("qorbel/som/difones/regras.rgr", rules);
    dir_.Write("qorbel/som/difones/portug.exc", "\r\n");
    dir_.Write("qorbel/som/letras/_x.wav", testkit::SilentWave(1103));
  }

  RunResult Run(const std::string& program, const std::vector<std::string>& args,
                const std::string& keys = {},
                const std::map<std::string, std::string>& env = {}) const {
    testkit::RunOptions options;
    options.args = args;
    options.keys = keys;
    options.env = {{"TELUMA_ROOT", dir_.path()}, {"TELUMA_WINDIR", dir_.path() + "/windows"}};
    options.env.insert(env.begin(), env.end());
    options.workDir = dir_.path();
    return testkit::RunHeadless(program, options);
  }
  const testkit::TempDir& dir() const { return dir_; }

 private:
  testkit::TempDir dir_;
};

long long TimeOf(const RunResult& r, const std::string& event) {
  auto events = r.Named(event);
  return events.empty() ? -1 : events.front().ms;
}

long long ExitTime(const RunResult& r) {
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  auto exits = r.Named("EXIT");
  return exits.empty() ? -1 : exits.back().ms;
}

}  // namespace

TEST(OutsideVoiceScenario, TextsGoToTheEngineAndTheNextSoundWaitsForIt) {
  Tree tree;
  auto r = tree.Run(VOICES_PROBE, {"say:Um texto.", "say:", "say:Outro texto.", "phrase:_x"});
  auto synth = r.Named("SYNTH");
  ASSERT_EQ(synth.size(), 3u);
  EXPECT_EQ(testkit::Unquote(synth[0].data), "Um texto.");
  EXPECT_EQ(testkit::Unquote(synth[1].data), "");  // spoken as a blank, busy for a moment
  EXPECT_EQ(testkit::Unquote(synth[2].data), "Outro texto.");
  EXPECT_EQ(synth[0].ms, 0);
  EXPECT_GT(synth[1].ms, 500);  // after the first text has sounded
  EXPECT_GT(synth[2].ms, synth[1].ms);
  EXPECT_GT(TimeOf(r, "PLAY"), synth[2].ms + 500);
  EXPECT_TRUE(r.Named("DIPHONE").empty());
  EXPECT_GE(ExitTime(r), TimeOf(r, "PLAY") + 100);  // the recording's 100 ms
}

TEST(OutsideVoiceScenario, AKeyStopsTheEngine) {
  Tree tree;
  const long long whole = ExitTime(tree.Run(TELUMA_SAY, {kLong}));
  EXPECT_GT(whole, 3000);
  auto r = tree.Run(TELUMA_SAY, {kLong}, "+400 a\n");
  const long long stop = TimeOf(r, "STOP");
  EXPECT_GE(stop, 400);
  EXPECT_LT(stop, 470);  // silent at once; the stop's blank and 50 ms pause
  EXPECT_LT(ExitTime(r), 600);
  ASSERT_EQ(r.Named("KEY").size(), 1u);
}

TEST(OutsideVoiceScenario, SpeedsAsSoundLength) {
  auto length = [](const std::string& servfala) {
    Tree tree(servfala);
    return ExitTime(tree.Run(TELUMA_SAY, {kLong}));
  };
  const long long normal = length("TIPOSAPI=5\r\nVOZ=1\r\nVELOCIDADE=0\r\n");
  EXPECT_EQ(length("TIPOSAPI=5\r\nVOZ=1\r\nVELOCIDADE=11\r\n"), normal);  // above 10: 0
  EXPECT_GT(length("TIPOSAPI=5\r\nVOZ=1\r\nVELOCIDADE=-10\r\n"), normal * 3 / 2);
  EXPECT_LT(length("TIPOSAPI=54\r\nVOZ=1\r\nVELOCIDADE=10\r\n"), normal * 2 / 3);
  EXPECT_EQ(length("TIPOSAPI=54\r\nVOZ=999\r\nVELOCIDADE=10\r\n"), normal);  // first voice, rate 0
}
