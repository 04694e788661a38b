// Speaking a text run by run (teluma-say and the probe over a tree of their own): zeros, digit
// runs, words, punctuation with its pauses, repeats, the "://" rule, keys, and the small
// operations around it.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <string>

#include "testkit/speech_tree.hpp"

namespace conformance {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// What teluma-say made heard, without the text it was given.
Lines SayHeard(const Tree& tree, const std::string& text) {
  const auto run = tree.Say(text);
  EXPECT_EQ(run.exitCode, 0) << text << run.stderrText;
  return Heard(run, false);
}

size_t CountOf(const Lines& lines, const std::string& what) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), what));
}

size_t Diphones(const Lines& lines) {
  return static_cast<size_t>(std::count_if(
      lines.begin(), lines.end(), [](const std::string& s) { return s.starts_with("dip:"); }));
}

TEST(SpeakTextDigits, ZerosRunsSignsAndTheSevenDigitRule) {
  Tree tree;
  EXPECT_THAT(SayHeard(tree, "007"), ElementsAre("_zero", "_zero", Joined({"_sete"})));
  EXPECT_THAT(SayHeard(tree, "100"), ElementsAre(Joined({"_cem"})));
  // Zeros inside a number belong to it; zeros after a non-digit start their own "_zero"s.
  EXPECT_THAT(SayHeard(tree, "2005"), ElementsAre(Joined({"_dois", "_mil", "_e", "_cinco"})));
  EXPECT_THAT(SayHeard(tree, "-5"), ElementsAre("_MENOS", Joined({"_cinco"})));
  EXPECT_THAT(SayHeard(tree, "5-3"), ElementsAre("_53", "_45", "_51"));
  EXPECT_THAT(SayHeard(tree, "12-0"), ElementsAre("_49", "_50", "_45", "_48"));
  EXPECT_THAT(SayHeard(tree, "1234567"),
              ElementsAre("_49", "_50", "_51", "_52", "_53", "_54", "_55"));
  EXPECT_THAT(SayHeard(tree, "123456"),
              ElementsAre(Joined({"_cento", "_e", "_vinte", "_e", "_tres", "_mil", "_e",
                                  "_quatroc", "_e", "_cinquen", "_e", "_seis"})));
  // A digit run ends at the first other character; a blank is nothing.
  EXPECT_THAT(SayHeard(tree, "17 16"), ElementsAre(Joined({"_dezeset"}), Joined({"_dezesse"})));
}

TEST(SpeakTextWords, RunsWwwAndHyphenatedWords) {
  Tree tree;
  // Two words reach the synthesizer as one run, then "!" is its letter recording.
  Lines said = SayHeard(tree, "Ol\xC3\xA1 mundo!");
  ASSERT_GE(said.size(), 2u);
  EXPECT_EQ(Diphones(said), 1u);
  EXPECT_TRUE(said[0].starts_with("dip:"));
  EXPECT_NE(said[0].find('m'), std::string::npos) << said[0];
  EXPECT_EQ(said.back(), "_33");

  EXPECT_THAT(SayHeard(tree, "www"), ElementsAre("_119", "_119", "_119"));
  said = SayHeard(tree, "WwW.x");
  EXPECT_EQ(CountOf(said, "_87") + CountOf(said, "_119"), 3u);
  EXPECT_EQ(CountOf(said, "_46"), 1u);
  // Also after a comma or a hyphen, whose blank begins the run.
  said = SayHeard(tree, "ver, www.x - www");
  EXPECT_EQ(CountOf(said, "_119"), 6u);
  EXPECT_EQ(CountOf(said, "_32"), 0u);
  // A longer word starting with www is a word like any other.
  EXPECT_EQ(CountOf(SayHeard(tree, "wwwx"), "_119"), 0u);

  said = SayHeard(tree, "guarda-chuva");
  EXPECT_EQ(Diphones(said), 2u);
  EXPECT_EQ(CountOf(said, "_45"), 0u);
  // A hyphen before a digit or a blank is not part of a word.
  said = SayHeard(tree, "tem -5");
  EXPECT_THAT(said, ElementsAre(::testing::StartsWith("dip:"), "_MENOS", Joined({"_cinco"})));
  // Other characters are their recordings; a tab says nothing.
  said = SayHeard(tree, "a#b\tc");
  EXPECT_EQ(CountOf(said, "_35"), 1u);
  EXPECT_EQ(CountOf(said, "_9"), 0u);
}

TEST(SpeakTextPunctuation, RecordingsAndPauses) {
  Tree tree;  // pauses of step 2: period 400, comma 300, colon 500
  auto gapAfter = [&](const std::string& text, const std::string& recording) -> long long {
    const auto run = tree.Say(text);
    const auto* mark = First(run, "PLAY", recording + ".wav");
    if (!mark) return -1;
    for (const auto& e : run.events)
      if ((e.name == "DIPHONE" || e.name == "IMAGE" || e.name == "PLAY") && e.ms > mark->ms)
        return e.ms - mark->ms;
    return -2;
  };
  // Each recording lasts 10 ms; the pause follows it.
  long long gap = gapAfter("Fim. Sim", "_46");
  EXPECT_GE(gap, 400);
  EXPECT_LT(gap, 450);
  gap = gapAfter("um, dois", "_44");
  EXPECT_GE(gap, 300);
  EXPECT_LT(gap, 350);
  gap = gapAfter("um: dois", "_58");
  EXPECT_GE(gap, 500);
  EXPECT_LT(gap, 550);
  gap = gapAfter("(um)", "_40");
  EXPECT_GE(gap, 500);
  gap = gapAfter("um - dois", "_45");
  EXPECT_GE(gap, 300);
  EXPECT_LT(gap, 350);
  // Without a blank after it, a full stop is its recording only (once), with no pause.
  const Lines said = SayHeard(tree, "a.b");
  EXPECT_EQ(CountOf(said, "_46"), 1u);
  gap = gapAfter("a.b", "_46");
  EXPECT_LT(gap, 50);
  // "://" spells its colon: no colon pause.
  EXPECT_THAT(SayHeard(tree, "http://x"),
              ElementsAre(::testing::StartsWith("dip:"), "_58", "_47", "_47",
                          ::testing::StartsWith("dip:")));
  gap = gapAfter("http://x", "_58");
  EXPECT_LT(gap, 50);
}

TEST(SpeakTextPunctuation, RepeatsBecomeClicks) {
  Tree tree;
  EXPECT_THAT(SayHeard(tree, "-----"), ElementsAre("_45", "_45", "_45", "_45", "click"));
  EXPECT_THAT(SayHeard(tree, "!!!!!!"),
              ElementsAre("_33", "_33", "_33", "_33", "click", "click"));
  // Words between do not reset the count of the previous character.
  EXPECT_EQ(CountOf(SayHeard(tree, "a!b!c!d!e!"), "click"), 1u);
  // A different character does.
  EXPECT_EQ(CountOf(SayHeard(tree, "!!!?!!!"), "click"), 0u);
}

TEST(SpeakTextKeys, AKeyStopsAtOnceAndStaysForTheCaller) {
  Tree tree;
  std::string text;
  for (int i = 0; i < 30; ++i) text += "100, 5. guarda-chuva! ";
  const auto run = tree.Say(text, "+700 x\n");
  ASSERT_EQ(run.exitCode, 0);
  const auto* stop = First(run, "STOP");
  ASSERT_NE(stop, nullptr);
  EXPECT_GE(stop->ms, 700);
  EXPECT_LT(stop->ms, 760);
  for (const auto& e : run.events)
    if (e.name == "PLAY" || e.name == "IMAGE" || e.name == "DIPHONE") {
      EXPECT_LE(e.ms, stop->ms) << e.name << " " << e.data;
    }
  // teluma-say takes the key only after speaking ended.
  ASSERT_EQ(run.Named("KEY").size(), 1u);
  EXPECT_EQ(run.Named("KEY")[0].data, "120");
}

TEST(SpeakWriteAndFriends, WritesSpeaksSpellsAndSignals) {
  Tree tree;
  auto run = tree.Probe({"speaknumber", "-5"});
  EXPECT_EQ(run.Output(), "-5");
  EXPECT_THAT(Heard(run), ElementsAre("speak:-5", "_MENOS", Joined({"_cinco"}), "result:done"));

  run = tree.Probe({"writeln", "7"});
  EXPECT_EQ(run.Output(), "7\r\n");
  EXPECT_THAT(Heard(run, false), ElementsAre(Joined({"_sete"}), "result:done"));

  EXPECT_THAT(Heard(tree.Probe({"spell", "a 1"})), ElementsAre("_97", "_32", "_49", "result:done"));
  EXPECT_THAT(Heard(tree.Probe({"beep"})), ElementsAre("beep", "result:done"));
  EXPECT_THAT(Heard(tree.Probe({"click"})), ElementsAre("click", "result:done"));

  EXPECT_THAT(Results(tree.Probe({"upper", "a\xC3\xA7\xC3\xA3o z\xC3\xBF\xC3\xB7\xC3\x97"})),
              ElementsAre("A\xC3\x87\xC3\x83O Z\xC3\x9F\xC3\x97\xC3\x97"));
}

TEST(MakeWaveHeader, FieldsAndFixedBlockAlignment) {
  Tree tree;
  // 100 bytes of 8-bit mono at 11025 per second.
  EXPECT_THAT(Results(tree.Probe({"--nostart", "header", "100", "11025", "1", "8"})),
              ElementsAre("52494646"  "88000000" "57415645" "666d7420" "10000000" "0100" "0100"
                          "112b0000" "112b0000" "0100" "0800" "64617461" "64000000"));
  // 16-bit stereo at 22050: 88200 bytes per second, block alignment still 1.
  EXPECT_THAT(Results(tree.Probe({"--nostart", "header", "8", "22050", "2", "16"})),
              ElementsAre("52494646" "2c000000" "57415645" "666d7420" "10000000" "0100" "0200"
                          "22560000" "88580100" "0100" "1000" "64617461" "08000000"));
}

}  // namespace
}  // namespace conformance
