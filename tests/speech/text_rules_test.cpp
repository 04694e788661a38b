// The run-by-run walk of speaking text, upper-casing and wave headers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "speech/tlwin.hpp"

using namespace teluma;
using namespace teluma::speech;
using namespace teluma::playback;

namespace {

// Records what the walk asks for, one line per action.
struct Recorder {
  std::vector<std::string> log;
  bool stopFlag = false;
  int keyAfter = -1;  // a key "arrives" after this many actions

  void Add(std::string line) {
    log.push_back(std::move(line));
  }
  bool Key() const { return keyAfter >= 0 && static_cast<int>(log.size()) >= keyAfter; }

  SpeakActions Actions() {
    SpeakActions a;
    a.keyWaiting = [this] { return Key(); };
    a.stopped = [this] { return stopFlag; };
    a.stop = [this] { stopFlag = true; Add("stop"); };
    a.phrase = [this](std::string_view k) { Add("phrase " + std::string(k)); };
    a.spell = [this](std::string_view t) { Add("spell " + std::string(t)); };
    a.number = [this](int32_t n) { Add("number " + std::to_string(n)); };
    a.words = [this](std::string_view t) { Add("words [" + std::string(t) + "]"); };
    a.punctuation = [this](std::string_view t) { Add("punct " + std::string(1, t[0])); };
    a.character = [this](uint8_t c) { Add("char " + std::string(1, static_cast<char>(c))); };
    a.click = [this] { Add("click"); };
    return a;
  }
};

std::vector<std::string> Walk(std::string_view text) {
  Recorder r;
  SpeakRuns(text, r.Actions());
  return r.log;
}

using Log = std::vector<std::string>;

TEST(SpeakRuns, DigitRuns) {
  EXPECT_EQ(Walk("100"), (Log{"number 100", "words [ ]"}));
  EXPECT_EQ(Walk("007"), (Log{"phrase _zero", "phrase _zero", "number 7", "words [ ]"}));
  EXPECT_EQ(Walk("-5"), (Log{"phrase _MENOS", "number 5", "words [ ]"}));
  EXPECT_EQ(Walk("5-3"), (Log{"spell 5-3", "words [ ]"}));
  EXPECT_EQ(Walk("999999"), (Log{"number 999999", "words [ ]"}));
  EXPECT_EQ(Walk("1234567"), (Log{"spell 1234567", "words [ ]"}));
  // Zeros inside a run belong to the number; a run after zeros starts fresh.
  EXPECT_EQ(Walk("1050"), (Log{"number 1050", "words [ ]"}));
  EXPECT_EQ(Walk("00"), (Log{"phrase _zero", "phrase _zero", "words [ ]"}));
}

TEST(SpeakRuns, WordRuns) {
  // "Olá mundo!" in Windows-1252: one run of two words, then "!" as a character.
  EXPECT_EQ(Walk("Ol\xE1 mundo!"), (Log{"words [Ol\xE1 mundo]", "char !", "words [ ]"}));
  EXPECT_EQ(Walk("www"), (Log{"spell www"}));
  EXPECT_EQ(Walk("a www"), (Log{"words [a www ]"}));
  EXPECT_EQ(Walk("WwW.x"), (Log{"spell WwW", "punct .", "words [x ]"}));
  EXPECT_EQ(Walk("guarda-chuva"), (Log{"words [guarda]", "words [chuva ]"}));
  // A hyphen before a digit or a blank is not part of a word.
  EXPECT_EQ(Walk("a-5"), (Log{"words [a]", "phrase _MENOS", "number 5", "words [ ]"}));
  EXPECT_EQ(Walk("a - b"), (Log{"words [a ]", "punct -", "words [ b ]"}));
}

TEST(SpeakRuns, PunctuationAndOtherCharacters) {
  EXPECT_EQ(Walk("Fim. Sim"), (Log{"words [Fim]", "punct .", "words [ Sim ]"}));
  EXPECT_EQ(Walk("a,b;c:(d)"), (Log{"words [a]", "punct ,", "words [b]", "punct ;",
                                    "words [c]", "punct :", "punct (", "words [d]",
                                    "punct )", "words [ ]"}));
  EXPECT_EQ(Walk("http://x"), (Log{"words [http]", "spell :", "char /", "char /",
                                   "words [x ]"}));
  EXPECT_EQ(Walk("\t#"), (Log{"char #", "words [ ]"}));
  EXPECT_EQ(Walk("-x"), (Log{"char -", "words [x ]"}));
  EXPECT_EQ(Walk(""), (Log{"words [ ]"}));
}

TEST(SpeakRuns, RepeatsBeyondTheThirdClick) {
  EXPECT_EQ(Walk("-----"), (Log{"punct -", "punct -", "punct -", "punct -", "click",
                                "words [ ]"}));
  EXPECT_EQ(Walk("#######"), (Log{"char #", "char #", "char #", "char #", "click", "click",
                                  "click", "words [ ]"}));
  // Another character resets the count.
  EXPECT_EQ(Walk("##!##"), (Log{"char #", "char #", "char !", "char #", "char #",
                                "words [ ]"}));
}

TEST(SpeakRuns, KeysAndTheStopFlagEndTheWalk) {
  Recorder r;
  r.keyAfter = 2;
  SpeakRuns("um, dois, tres", r.Actions());
  EXPECT_EQ(r.log, (Log{"words [um]", "punct ,", "stop"}));

  Recorder s;
  SpeakActions a = s.Actions();
  a.words = [&s](std::string_view t) {
    s.Add("words [" + std::string(t) + "]");
    s.stopFlag = true;  // a key stopped speech while the words sounded
  };
  SpeakRuns("um, dois", a);
  EXPECT_EQ(s.log, (Log{"words [um]"}));
}

TEST(UpperText, LettersAndAccentedLetters) {
  EXPECT_EQ(UpperText("a\xE7\xE3o"), "A\xC7\xC3O");  // ação
  EXPECT_EQ(UpperText("\xE0\xFE\xFF"), "\xC0\xDE\xDF");
  EXPECT_EQ(UpperText("Z9 -\xDF\xB5"), "Z9 -\xDF\xB5");  // nothing else changes
}

TEST(MakeWaveHeader, FieldsAndTemplate) {
  uint8_t h[44];
  MakeWaveHeader(h, 1000, 11025, 1, 8);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h), 4), "RIFF");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 8), 8), "WAVEfmt ");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 36), 4), "data");
  auto u32 = [&](int at) { return h[at] | h[at + 1] << 8 | h[at + 2] << 16 | h[at + 3] << 24; };
  auto u16 = [&](int at) { return h[at] | h[at + 1] << 8; };
  EXPECT_EQ(u32(4), 1036);
  EXPECT_EQ(u32(16), 16);
  EXPECT_EQ(u16(20), 1);
  EXPECT_EQ(u16(22), 1);
  EXPECT_EQ(u32(24), 11025);
  EXPECT_EQ(u32(28), 11025);
  EXPECT_EQ(u16(32), 1);
  EXPECT_EQ(u16(34), 8);
  EXPECT_EQ(u32(40), 1000);
  MakeWaveHeader(h, 8, 16000, 2, 16);
  EXPECT_EQ(u32(28), 64000);
  EXPECT_EQ(u16(32), 1);  // stays 1 whatever the format
  EXPECT_EQ(u16(22), 2);
  EXPECT_EQ(u16(34), 16);
}

}  // namespace
