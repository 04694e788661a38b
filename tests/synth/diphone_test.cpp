// The diphone synthesizer on a small database made here: each unit is filled with its own byte
// value, so the sound it produces reads back as a list of (value, length) runs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <utility>

#include "platform/transcript.hpp"
#include "synth/diphone.hpp"
#include "synth/diphone_store.hpp"
#include "testkit/testkit.hpp"

using ::testing::ElementsAre;
using ::testing::Pair;

namespace {

struct Unit {
  uint16_t length;
  uint8_t value;
};

std::string Wave8(const std::string& samples) {
  uint8_t header[44];
  diphone::WriteWaveHeader(header, static_cast<uint32_t>(samples.size()), 11025, 1, 8);
  return std::string(reinterpret_cast<char*>(header), 44) + samples;
}

class DiphoneTest : public ::testing::Test {
 protected:
  testkit::FixedSeed seed{7};
  void SetUp() override {
    setenv("TELUMA_ROOT", dir.path().c_str(), 1);
    setenv("TELUMA_WINDIR", (dir.path() + "/windows").c_str(), 1);
    dir.Write("windows/TELUMA.INI",
              "[TRADUTOR]\r\nDIRLETRAS=c:\\Letras\r\nDIRDIFONES=c:\\difones\r\n");
    dir.Write("letras/_44.wav", Wave8(std::string(50, '\x2c')));
    dir.Write("letras/_98.wav", Wave8(std::string(70, '\x30')));
    dir.Write("difones/regras.rgr", "(A)=a|\r\n");
    dir.Write("difones/portug.exc", "");
    WriteDatabase({{"$KA", {1000, 10}},   {"$A", {500, 11}},     {"$S", {200, 12}},
                   {"$AW", {600, 13}},    {"$ECIRC", {700, 14}}, {"$ACIRC", {800, 15}},
                   {"$NN", {450, 16}},    {"$RR", {300, 17}},    {"$KACIRC", {900, 18}},
                   {"$AOTIL", {650, 19}}, {"$KAZA", {1200, 20}}, {"$K", {100, 21}},
                   {"$KAZAKAZ", {100, 22}}});
    DiphoneDatabase() = "TESTE";
    SetDiphoneTiming(400, 0, 100);
    SetDiphonePlayer(
        [this](const uint8_t* image, size_t length) {
          images.emplace_back(reinterpret_cast<const char*>(image), length);
        },
        [] { return false; });
    SetDiphoneUnitObserver([this](std::string_view name, int depth, DiphoneUnitResult r) {
      if (depth == 0 && (r == DiphoneUnitResult::Found || r == DiphoneUnitResult::Missing))
        asked.emplace_back(name);
      if (r == DiphoneUnitResult::Noise) noisy.emplace_back(name);
    });
  }

  void TearDown() override {
    DiphoneClose();
    SetDiphonePlayer({}, {});
    SetDiphoneUnitObserver({});
    DiphoneDatabase() = "DIFONES2";
  }

  void WriteDatabase(const std::map<std::string, Unit>& units, size_t dataShortBy = 0) {
    std::string index, data;
    for (const auto& [name, unit] : units) {  // std::map keeps byte order
      index += diphone::EncodeIndexEntry(
          {name, unit.length, static_cast<uint32_t>(data.size())});
      data += std::string(unit.length, static_cast<char>(unit.value));
    }
    data.resize(data.size() - dataShortBy);
    dir.Write("difones/TESTE.IND", index);
    dir.Write("difones/TESTE.DIF", data);
  }

  // The samples of every played block, joined.
  std::string Samples() const {
    std::string out;
    for (const auto& image : images) out += image.substr(44);
    return out;
  }

  // The samples as runs of equal bytes; noise bytes (88..167) are counted as value 1, and so
  // is 128 (silence) unless silence is asked for.
  std::vector<std::pair<int, size_t>> Runs(bool silence = true) const {
    std::vector<std::pair<int, size_t>> runs;
    for (unsigned char c : Samples()) {
      int v = (c >= 88 && c <= 167 && (c != 128 || !silence)) ? 1 : c;
      if (runs.empty() || runs.back().first != v)
        runs.emplace_back(v, 1);
      else
        ++runs.back().second;
    }
    return runs;
  }

  std::vector<std::string> Speak(std::string_view phonetic, bool keep = false) {
    asked.clear();
    noisy.clear();
    images.clear();
    DiphoneSpeak(phonetic, keep);
    return asked;
  }

  testkit::TempDir dir;
  std::vector<std::string> images;
  std::vector<std::string> asked;
  std::vector<std::string> noisy;
};

TEST_F(DiphoneTest, OpenReportsWhatIsMissing) {
  EXPECT_EQ(DiphoneOpen(), 0);
  EXPECT_TRUE(DiphoneIsOpen());
  EXPECT_EQ(DiphoneLettersFolder(), "c:\\Letras\\");
  EXPECT_EQ(DiphoneFolder(), "c:\\difones\\");
  DiphoneClose();
  DiphoneClose();  // safe twice
  EXPECT_FALSE(DiphoneIsOpen());

  DiphoneDatabase() = "NENHUM";
  EXPECT_EQ(DiphoneOpen(), 1);
  DiphoneDatabase() = "TESTE";

  std::remove((dir.path() + "/difones/TESTE.DIF").c_str());
  EXPECT_EQ(DiphoneOpen(), 1);
  WriteDatabase({{"$KA", {10, 1}}});

  std::remove((dir.path() + "/difones/regras.rgr").c_str());
  EXPECT_EQ(DiphoneOpen(), 2);
  dir.Write("difones/regras.rgr", "(A)=a|\r\n");
  std::remove((dir.path() + "/difones/portug.exc").c_str());
  EXPECT_EQ(DiphoneOpen(), 2);
  dir.Write("difones/portug.exc", "");

  dir.Write("windows/TELUMA.INI", "[TRADUTOR]\r\nDIRLETRAS=c:\\nada\r\n");
  EXPECT_EQ(DiphoneOpen(), 1);
  // Defaults: c:\qorbel\som\letras and c:\qorbel\som\difones.
  dir.Write("windows/TELUMA.INI", "");
  dir.Write("qorbel/som/letras/x", "");
  dir.Write("qorbel/som/difones/regras.rgr", "");
  dir.Write("qorbel/som/difones/portug.exc", "");
  dir.Write("qorbel/som/difones/TESTE.IND", "");
  dir.Write("qorbel/som/difones/TESTE.DIF", "");
  EXPECT_EQ(DiphoneOpen(), 0);
  EXPECT_EQ(DiphoneLettersFolder(), "c:\\qorbel\\som\\letras\\");
}

TEST_F(DiphoneTest, StressDecidesTheUnitCut) {
  ASSERT_EQ(DiphoneOpen(), 0);
  Speak("[ka]");  // unstressed: 1000 - 400
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 600)));
  Speak("[kA]");  // stressed: full length
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 1000)));
  Speak("[kA ka]");  // the stress ends with its syllable
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 1600)));
  Speak("[k]");  // names under 3 characters are never cut
  EXPECT_THAT(Runs(), ElementsAre(Pair(21, 100)));

  SetDiphoneTiming(900, 300, 0);
  Speak("[ka]");  // below the minimum: the minimum
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 300)));
  SetDiphoneTiming(900, 2000, 0);
  Speak("[ka]");  // a unit shorter than the minimum keeps its length
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 1000)));
}

TEST_F(DiphoneTest, PausesAndPunctuation) {
  ASSERT_EQ(DiphoneOpen(), 0);
  Speak("");
  EXPECT_TRUE(images.empty());

  Speak("_,");
  EXPECT_THAT(Runs(), ElementsAre(Pair(128, 4000)));
  Speak("_, _. _; _:");
  EXPECT_THAT(Runs(), ElementsAre(Pair(128, 4000 + 8000 + 6000 + 8000)));
  EXPECT_TRUE(asked.empty());
  Speak("_,", true);  // kept: the recording of the comma
  EXPECT_THAT(Runs(), ElementsAre(Pair(0x2c, 50)));
  EXPECT_THAT(asked, ElementsAre("_44"));

  SetDiphoneTiming(0, 0, 150);  // words end at "]"; blanks join units without a pause
  Speak("[kA]kA");
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 1000), Pair(128, 100), Pair(10, 1000)));
  Speak("[kA] kA");
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 1000), Pair(128, 100), Pair(10, 1000)));
  Speak("kA kA");
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 2000)));
  SetDiphoneTiming(0, 0, 99);
  Speak("[kA]kA");
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 2000)));
}

TEST_F(DiphoneTest, SegmentsSplitIntoSyllables) {
  ASSERT_EQ(DiphoneOpen(), 0);
  EXPECT_THAT(Speak("[ska]"), ElementsAre("$s", "$ka"));
  EXPECT_THAT(Speak("[karr]"), ElementsAre("$ka", "$rr"));
  EXPECT_THAT(Speak("[kas]"), ElementsAre("$ka", "$s"));
  EXPECT_THAT(Speak("[as]"), ElementsAre("$a", "$s"));
  EXPECT_THAT(Speak("[kaw]"), ElementsAre("$ka", "$aw"));
  EXPECT_THAT(Speak("[ke^]"), ElementsAre("$keCIRC"));
  EXPECT_THAT(Speak("[ka~o]"), ElementsAre("$kaCIRC", "$aoTIL"));
  EXPECT_THAT(Speak("[e^w]"), ElementsAre("$ewCIRC"));
  EXPECT_THAT(Speak("[nha]"), ElementsAre("$nha"));
  EXPECT_THAT(Speak("[tchi]"), ElementsAre("$tchi"));
  // "/" joins units into one token while it holds at most 8 characters.
  EXPECT_THAT(Speak("[ka/za]"), ElementsAre("$kaza"));
  EXPECT_THAT(Speak("[kazakaza/ka]"), ElementsAre("$kazakazaka"));
  EXPECT_THAT(Speak("[kazakazak/a]"), ElementsAre("$kazakaza", "$k", "$a"));
  // "_" escapes a character, which plays as its recording.
  EXPECT_THAT(Speak("[ /_b]"), ElementsAre("_98"));
  EXPECT_THAT(Runs(), ElementsAre(Pair(0x30, 70)));
  EXPECT_THAT(Speak("|"), ElementsAre("_84"));
}

TEST_F(DiphoneTest, MissingUnitsDecomposeOrBecomeNoise) {
  ASSERT_EQ(DiphoneOpen(), 0);
  SetDiphoneTiming(0, 0, 0);
  // $KE is missing: $K at 0.9 and $E, which is missing and short: noise.
  Speak("[kE]");
  EXPECT_THAT(Runs(false), ElementsAre(Pair(21, 90), Pair(1, 300)));
  EXPECT_THAT(noisy, ElementsAre("$E"));
  // CIRC: $K + $ACIRC; TIL: the rest + CIRC at full length, then $NN at 0.9.
  Speak("[KA^]");
  EXPECT_THAT(Runs(), ElementsAre(Pair(18, 900)));
  Speak("[ke^]");
  EXPECT_THAT(Runs(), ElementsAre(Pair(21, 90), Pair(14, 700)));
  SetDiphoneTiming(50, 0, 0);
  Speak("[a~]");
  EXPECT_THAT(Runs(), ElementsAre(Pair(15, 720), Pair(16, 360)));
  // Names longer than 8 characters are never found.
  Speak("[kazakazA]");
  EXPECT_THAT(Runs(), ElementsAre(Pair(22, 90), Pair(11, 500)));
  // A consonant ending that is not found is dropped, with no noise.
  Speak("[kozA]");
  EXPECT_THAT(Runs(), ElementsAre(Pair(11, 500)));
  EXPECT_TRUE(noisy.empty());
  // A word whose units are all missing: a burst of noise per short unit.
  Speak("[pe]");
  EXPECT_THAT(noisy, ElementsAre("$p", "$e"));
  EXPECT_THAT(Runs(false), ElementsAre(Pair(1, 600)));
  Speak("[pet]");
  EXPECT_THAT(noisy, ElementsAre("$p", "$e", "$t"));
}

TEST_F(DiphoneTest, LongTextsFlushFullBlocks) {
  ASSERT_EQ(DiphoneOpen(), 0);
  SetDiphoneTiming(0, 0, 0);
  std::string text;
  for (int i = 0; i < 100; ++i) text += "kA/zA ";  // 100 x 1200 bytes
  Speak(text);
  ASSERT_GE(images.size(), 2u);
  size_t total = 0;
  for (const auto& image : images) {
    ASSERT_LT(image.size(), 64000u);
    diphone::WaveData wave;
    ASSERT_TRUE(diphone::FindWaveData(image, wave));
    EXPECT_EQ(wave.size, image.size() - 44);
    EXPECT_EQ(wave.bits, 8);
    EXPECT_EQ(wave.rate, 11025);
    total += wave.size;
  }
  EXPECT_EQ(total, 120000u);
}

TEST_F(DiphoneTest, BadDatabasesNeverCrash) {
  // Data file shorter than the index says: what is there is played.
  WriteDatabase({{"$KA", {1000, 10}}, {"$ZA", {1000, 11}}}, 500);
  ASSERT_EQ(DiphoneOpen(), 0);
  Speak("[kA zA]");
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 1000), Pair(11, 500)));
  DiphoneClose();

  // Truncated index (a partial entry) and entries with bad lengths and huge offsets.
  std::string index = diphone::EncodeIndexEntry({"$KA", 60000, 0}) +
                      diphone::EncodeIndexEntry({"$ZA", 100, 0xFFFFFF00u}) +
                      diphone::EncodeIndexEntry({"$ZE", 100, 0});
  index[30] = 40;  // name length beyond 8
  dir.Write("difones/TESTE.IND", index + "\x03$ZI");
  dir.Write("difones/TESTE.DIF", std::string(100, '\x0a'));
  ASSERT_EQ(DiphoneOpen(), 0);
  Speak("[kA zA kA]");
  EXPECT_THAT(Runs(), ElementsAre(Pair(10, 200)));
  DiphoneClose();

  // Unsorted index: lookups may miss, nothing worse.
  dir.Write("difones/TESTE.IND", diphone::EncodeIndexEntry({"$ZA", 10, 0}) +
                                     diphone::EncodeIndexEntry({"$KA", 10, 0}) +
                                     diphone::EncodeIndexEntry({"$A", 10, 0}));
  ASSERT_EQ(DiphoneOpen(), 0);
  Speak("[kA zA a]");
  EXPECT_LE(Samples().size(), 30u + 3 * 300u);

  // Recordings that are not wave files, or lie about their data size.
  dir.Write("letras/_44.wav", "RIFF....WAVEfmt ");
  dir.Write("letras/_98.wav", Wave8(std::string(10, '\x30')).replace(40, 4, "\xff\xff\xff\x7f"));
  Speak("_, _b", true);
  EXPECT_THAT(Runs(), ElementsAre(Pair(0x30, 10)));
}

TEST_F(DiphoneTest, TranscriptNamesThePhoneticText) {
  std::string path = dir.path() + "/transcript.txt";
  platform::Transcript::Get().Reopen(path);
  Speak("[ka]");
  platform::Transcript::Get().Reopen("");
  testkit::RunResult run;
  testkit::ParseTranscript(testkit::ReadFile(path), run);
  ASSERT_EQ(run.Named("DIPHONE").size(), 1u);
  EXPECT_EQ(run.Named("DIPHONE")[0].data, "\"[ka]\"");
}

TEST(DiphoneStore, IndexOrderAndWaveChunks) {
  EXPECT_TRUE(diphone::UnitNameLess("$A", "$AW"));
  EXPECT_TRUE(diphone::UnitNameLess("$Z", "_1"));
  EXPECT_TRUE(diphone::UnitNameLess("$Z", "\xC0"));
  EXPECT_FALSE(diphone::UnitNameLess("$A", "$A"));

  // Extra chunks before "data" are skipped, identifiers are case-blind.
  std::string wave = Wave8("abcd");
  wave.insert(36, std::string("LIST\x03\0\0\0xyz\0", 12));
  wave.replace(0, 4, "riff");
  diphone::WaveData data;
  ASSERT_TRUE(diphone::FindWaveData(wave, data));
  EXPECT_EQ(wave.substr(data.offset, data.size), "abcd");
  EXPECT_FALSE(diphone::FindWaveData("RIFF", data));
  EXPECT_FALSE(diphone::FindWaveData(wave.substr(0, 44), data));

  // 16-bit stereo at 22050 becomes 8-bit mono at 11025.
  std::string pcm;
  for (int i = 0; i < 100; ++i) pcm += std::string("\x00\x40\x00\x40", 4);  // +0.5 both sides
  uint8_t header[44];
  diphone::WriteWaveHeader(header, static_cast<uint32_t>(pcm.size()), 22050, 2, 16);
  std::string converted =
      diphone::WaveSamplesAs8BitMono(std::string(reinterpret_cast<char*>(header), 44) + pcm);
  ASSERT_EQ(converted.size(), 50u);
  EXPECT_EQ(static_cast<uint8_t>(converted[10]), 128 + 64);
}

}  // namespace
