// The diphone synthesizer on a small database made here. Every unit is filled with a byte of
// its own, so the sound reads back as runs of (value, length): which units were taken, in which
// order, and how much of each after the cut and the factors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include "synth/diphone.hpp"
#include "synth/diphone_store.hpp"
#include "testkit/testkit.hpp"
#include "testkit/wave.hpp"

namespace {

using Runs = std::vector<std::pair<int, size_t>>;

struct Unit {
  uint16_t length;
  uint8_t value;
};

const std::map<std::string, Unit> kUnits = {
    {"$A", {500, 11}},     {"$AOTIL", {170, 28}}, {"$AW", {600, 13}},   {"$ECIRC", {700, 14}},
    {"$EOCIRC", {160, 27}}, {"$K", {100, 21}},    {"$KA", {1000, 10}},  {"$KACIRC", {900, 15}},
    {"$KAZAKAZ", {300, 22}}, {"$KE", {190, 30}},  {"$KI", {200, 31}},   {"$NHA", {150, 26}},
    {"$NN", {450, 16}},    {"$P", {130, 24}},     {"$RA", {140, 25}},   {"$RR", {300, 17}},
    {"$S", {200, 12}},     {"$TCHA", {180, 29}},  {"$YY", {31977, 41}}, {"$ZZ", {31978, 40}}};

std::string IndexOf(const std::map<std::string, Unit>& units, std::string& data) {
  std::string index;
  for (const auto& [name, unit] : units) {  // a map is in byte order
    index += diphone::EncodeIndexEntry({name, unit.length, uint32_t(data.size())});
    data += std::string(unit.length, char(unit.value));
  }
  return index;
}

void WriteVoice(const testkit::TempDir& dir, const std::string& ini) {
  dir.Write("windows/TELUMA.INI", ini);
  std::string data;
  dir.Write("difones/TESTE.IND", IndexOf(kUnits, data));
  dir.Write("difones/TESTE.DIF", data);
  dir.Write("difones/regras.rgr", "(K)=k|\n(A)=a|\n(E)=e|\n");
  dir.Write("difones/portug.exc", "");
  dir.Write("letras/_44.wav", testkit::Wave(std::string(50, char(44))));
  dir.Write("letras/_98.wav", testkit::Wave(std::string(70, char(48))));
  dir.Write("letras/_84.wav", testkit::Wave(std::string(40, char(50))));
}

const char* kIni =
    "[TRADUTOR]\r\nDIRLETRAS=c:\\letras\r\nDIRDIFONES=c:\\difones\r\n"
    "[SINTETIZADOR]\r\nDIFONES3=TESTE\r\nCORTEFON3=100\r\nSOBRAFON3=0\r\nINTERPAL3=100\r\n";

class Synth : public ::testing::Test {
 protected:
  testkit::FixedSeed seed{3};
  void SetUp() override {
    setenv("TELUMA_ROOT", dir.path().c_str(), 1);
    setenv("TELUMA_WINDIR", (dir.path() + "/windows").c_str(), 1);
    WriteVoice(dir, kIni);
    DiphoneDatabase() = "TESTE";
    SetDiphoneTiming(100, 0, 100);
    SetDiphonePlayer(
        [this](const uint8_t* image, size_t length) {
          images.emplace_back(reinterpret_cast<const char*>(image), length);
        },
        [] { return false; });
    ASSERT_EQ(DiphoneOpen(), 0);
  }
  void TearDown() override {
    DiphoneClose();
    SetDiphonePlayer({}, {});
    DiphoneDatabase() = "DIFONES2";
    SetDiphoneTiming(400, 0, 100);
  }

  std::string Samples() const {
    std::string out;
    for (const auto& image : images) out += image.substr(44);
    return out;
  }
  Runs Speak(std::string_view phonetic, bool keep = false) {
    images.clear();
    DiphoneSpeak(phonetic, keep);
    Runs runs;
    for (unsigned char c : Samples()) {
      if (runs.empty() || runs.back().first != c)
        runs.emplace_back(c, 1);
      else
        ++runs.back().second;
    }
    return runs;
  }

  testkit::TempDir dir;
  std::vector<std::string> images;
};

}  // namespace

TEST_F(Synth, TokensStressAndWordPauses) {
  EXPECT_EQ(Speak(""), Runs{});
  EXPECT_EQ(images.size(), 0u);
  EXPECT_EQ(Speak("[ka]"), (Runs{{10, 900}}));  // unstressed: cut by 100
  EXPECT_EQ(Speak("[kA]"), (Runs{{10, 1000}}));
  EXPECT_EQ(Speak("[k/a]"), (Runs{{10, 900}}));
  // A stressed syllable leaves the state at 0; "[" brings back 1. Blanks add no pause.
  EXPECT_EQ(Speak("[kA ke]"), (Runs{{10, 1000}, {30, 90}}));
  EXPECT_EQ(Speak("[ka kE]"), (Runs{{10, 900}, {30, 190}}));
  EXPECT_EQ(Speak("[ka][ke]"), (Runs{{10, 900}, {128, 100}, {30, 90}}));
  EXPECT_EQ(Speak("[ka] [ke]"), (Runs{{10, 900}, {128, 100}, {30, 90}}));
  SetDiphoneTiming(100, 0, 150);
  EXPECT_EQ(Speak("[ka][ke]"), (Runs{{10, 900}, {128, 100}, {30, 90}}));
  SetDiphoneTiming(100, 0, 99);
  EXPECT_EQ(Speak("[ka][ke]"), (Runs{{10, 900}, {30, 90}}));
}

TEST_F(Synth, SlashesJoinUnitsUpToNineCharacters) {
  // "kazakaza" (8) still takes the next unit; "$KAZAKAZAKA" is missing and decomposes.
  EXPECT_EQ(Speak("[kaza/kaza/ka]"), (Runs{{11, 500}}));
  // With more than 8 the token ends at the "/" and a word pause follows.
  EXPECT_EQ(Speak("[kaza/kaza/ka/ke]"), (Runs{{11, 500}, {128, 100}, {30, 90}}));
  // A name of nine characters is never found, though its first eight are a unit.
  EXPECT_EQ(Speak("[kazakaza]"), (Runs{{22, 180}, {11, 500}}));
}

TEST_F(Synth, RecordingsAndPunctuation) {
  EXPECT_EQ(Speak("[ /_b]"), (Runs{{48, 70}}));
  EXPECT_EQ(Speak("[|]"), (Runs{{50, 40}}));  // "_TRACO": the recording of its "T"
  EXPECT_EQ(Speak("[ /_,]"), (Runs{{128, 4000}}));
  EXPECT_EQ(Speak("[ /_,]", true), (Runs{{44, 50}}));
  EXPECT_EQ(Speak("[ /_.]"), (Runs{{128, 8000}}));
  EXPECT_EQ(Speak("[ /_;]"), (Runs{{128, 6000}}));
  EXPECT_EQ(Speak("[ /_:]"), (Runs{{128, 8000}}));
  EXPECT_EQ(Speak("[ /_!]"), Runs{});  // "_33" missing: nothing
  EXPECT_EQ(Speak("[ /_s]"), Runs{});  // "_s" stays one syllable
}

TEST_F(Synth, SegmentRulesInOrder) {
  EXPECT_EQ(Speak("[pra]"), (Runs{{24, 130}, {25, 40}}));
  EXPECT_EQ(Speak("[nha]"), (Runs{{26, 50}}));
  EXPECT_EQ(Speak("[tcha]"), (Runs{{29, 80}}));
  EXPECT_EQ(Speak("[karr]"), (Runs{{10, 900}, {17, 200}}));
  EXPECT_EQ(Speak("[kas]"), (Runs{{10, 900}, {12, 200}}));
  EXPECT_EQ(Speak("[kaw]"), (Runs{{10, 540}, {13, 500}}));
  EXPECT_EQ(Speak("[ka~o]"), (Runs{{15, 480}, {28, 70}}));
  EXPECT_EQ(Speak("[ke^o]"), (Runs{{21, 54}, {14, 360}, {27, 60}}));
  EXPECT_EQ(Speak("[a~o]"), (Runs{{28, 70}}));
  EXPECT_EQ(Speak("[as]"), (Runs{{11, 350}, {12, 200}}));
}

TEST_F(Synth, SyllablesAndDecomposition) {
  EXPECT_EQ(Speak("[ke^ka]"), (Runs{{21, 90}, {14, 600}, {10, 900}}));
  // Nasal vowels: the closed vowel at full length (stress 2) and the nasal closure at 0.9.
  EXPECT_EQ(Speak("[kA~]"), (Runs{{15, 810}, {16, 315}}));
  EXPECT_EQ(Speak("[ki~]"), (Runs{{31, 90}, {16, 315}}));
  // The inner factors 0.6 are not multiplied by the outer one, and inside a segment spoken
  // at 0.6 the nasal closure still takes 0.9: "ka~a" (0.6) -> "$KACIRC" (0.6) and
  // "$AATIL" -> "$AACIRC" (0.54) -> "$A" (0.486), then "$NN" (0.9).
  EXPECT_EQ(Speak("[ka~aw]"), (Runs{{15, 480}, {11, 243}, {16, 315}, {13, 500}}));
  // Tokens keep 40 characters, syllables 12, unit names 12: "$" + 11 "a" falls apart into
  // eleven "$A" at factors 0.9^10 ... 1.
  EXPECT_EQ(Speak("[" + std::string(60, 'a') + "]"), (Runs{{11, 3428}}));
  // Missing units of one or two characters become 300 bytes of noise.
  const Runs noise = Speak("[x]");
  ASSERT_EQ(Samples().size(), 300u);
  for (unsigned char c : Samples()) {
    EXPECT_GE(c, 88);
    EXPECT_LE(c, 167);
  }
  EXPECT_GT(noise.size(), 10u);
}

TEST_F(Synth, UnitMinimum) {
  SetDiphoneTiming(100, 950, 100);
  EXPECT_EQ(Speak("[ka]"), (Runs{{10, 950}}));
  EXPECT_EQ(Speak("[rr]"), (Runs{{17, 300}}));  // shorter than the minimum: whole
  EXPECT_EQ(Speak("[a]"), (Runs{{11, 500}}));   // two characters: never cut
  SetDiphoneTiming(2000, 0, 100);
  EXPECT_EQ(Speak("[ka]"), Runs{});
}

TEST_F(Synth, BlocksAreFlushedWhenTheyWouldReach64000Bytes) {
  SetDiphoneTiming(0, 0, 100);
  Speak("[zz zz]");
  ASSERT_EQ(images.size(), 2u);  // 44 + 2 x 31978 reaches 64,000
  EXPECT_EQ(images[0].size(), 44u + 31978);
  EXPECT_EQ(images[1].size(), 44u + 31978);
  Speak("[yy yy]");
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].size(), 44u + 2 * 31977);
  // Each block carries its own header.
  EXPECT_EQ(images[0].substr(0, 4), "RIFF");
  EXPECT_EQ(uint8_t(images[0][40]) | uint8_t(images[0][41]) << 8, 2 * 31977);
}

TEST(SynthIndex, BisectionFindsEverySortedEntry) {
  // Byte order: "~" sorts after letters, "_" after "Z", high bytes last.
  std::vector<std::string> names = {"$", "$A", "$AB", "$ABCDEFG", "$A~", "$B",
                                    "A", "AZ", "Z",   "_44",      "\x80X", "\xFF"};
  std::string index;
  for (size_t i = 0; i < names.size(); ++i)
    index += diphone::EncodeIndexEntry({names[i], uint16_t(i + 1), uint32_t(100 * i)});
  diphone::DiphoneIndex idx;
  idx.Assign(index + "partial");
  EXPECT_EQ(idx.Count(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    diphone::IndexEntry e;
    ASSERT_TRUE(idx.Find(names[i], e)) << names[i];
    EXPECT_EQ(e.length, i + 1);
    EXPECT_EQ(e.offset, 100 * i);
  }
  diphone::IndexEntry e;
  EXPECT_FALSE(idx.Find("$AA", e));
  EXPECT_FALSE(idx.Find("$ABCDEFGH", e));
  EXPECT_FALSE(idx.Find("", e));
  // Unsorted: lookups may miss, never fail otherwise.
  std::string reversed;
  for (size_t i = names.size(); i-- > 0;)
    reversed += diphone::EncodeIndexEntry({names[i], 1, 0});
  idx.Assign(reversed);
  for (const auto& n : names) idx.Find(n, e);
}

TEST(SynthOpen, CodesForMissingPieces) {
  testkit::TempDir dir;
  setenv("TELUMA_ROOT", dir.path().c_str(), 1);
  setenv("TELUMA_WINDIR", (dir.path() + "/windows").c_str(), 1);
  DiphoneDatabase() = "TESTE";
  auto openWith = [&](const std::string& remove) {
    testkit::TempDir fresh;
    setenv("TELUMA_ROOT", fresh.path().c_str(), 1);
    setenv("TELUMA_WINDIR", (fresh.path() + "/windows").c_str(), 1);
    WriteVoice(fresh, kIni);
    if (!remove.empty()) std::filesystem::remove_all(fresh.path() + "/" + remove);
    const int code = DiphoneOpen();
    DiphoneClose();
    return code;
  };
  EXPECT_EQ(openWith(""), 0);
  EXPECT_EQ(openWith("letras"), 1);
  EXPECT_EQ(openWith("difones"), 1);
  EXPECT_EQ(openWith("difones/TESTE.IND"), 1);
  EXPECT_EQ(openWith("difones/TESTE.DIF"), 1);
  EXPECT_EQ(openWith("difones/regras.rgr"), 2);
  EXPECT_EQ(openWith("difones/portug.exc"), 2);

  // Without keys the folders are c:\qorbel\som\letras and ...\difones.
  testkit::TempDir plain;
  setenv("TELUMA_ROOT", plain.path().c_str(), 1);
  setenv("TELUMA_WINDIR", (plain.path() + "/windows").c_str(), 1);
  plain.Write("windows/TELUMA.INI", "[TRADUTOR]\r\n");
  plain.Write("qorbel/som/letras/x", "");
  std::string data;
  plain.Write("qorbel/som/difones/TESTE.IND", IndexOf(kUnits, data));
  plain.Write("qorbel/som/difones/TESTE.DIF", data);
  plain.Write("qorbel/som/difones/regras.rgr", "");
  plain.Write("qorbel/som/difones/portug.exc", "");
  EXPECT_EQ(DiphoneOpen(), 0);
  EXPECT_EQ(DiphoneLettersFolder(), "c:\\qorbel\\som\\letras\\");
  EXPECT_EQ(DiphoneFolder(), "c:\\qorbel\\som\\difones\\");
  DiphoneClose();
  DiphoneClose();  // safe twice
  DiphoneDatabase() = "DIFONES2";
}

TEST(SynthProgram, WritesExactlyTheSamplesOfTheText) {
  testkit::TempDir dir;
  WriteVoice(dir, kIni);
  testkit::RunOptions o;
  o.env = {{"TELUMA_ROOT", dir.path()}, {"TELUMA_WINDIR", dir.path() + "/windows"}};
  const std::string out = dir.path() + "/out.wav";
  o.args = {"-w", out, "ka", "ke"};
  auto r = testkit::RunHeadless(DIPHONE_PROGRAM, o);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.stdoutText, "");
  std::string want = "RIFF";
  const uint32_t data = 900 + 100 + 90;
  testkit::Put32(want, 36 + data);
  want += "WAVEfmt ";
  testkit::Put32(want, 16);
  testkit::Put16(want, 1);
  testkit::Put16(want, 1);
  testkit::Put32(want, 11025);
  testkit::Put32(want, 11025);
  testkit::Put16(want, 1);
  testkit::Put16(want, 8);
  want += "data";
  testkit::Put32(want, data);
  want += std::string(900, char(10)) + std::string(100, char(128)) + std::string(90, char(30));
  EXPECT_EQ(testkit::ReadFile(out), want);

  o.args = {"--phonetic", "ka", "ke"};
  r = testkit::RunHeadless(DIPHONE_PROGRAM, o);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.stdoutText, "[k/a][k/e]\n");

  // Text from standard input, UTF-8 in and out; no rule for "P" or the accent mark.
  o.args = {"--phonetic"};
  o.stdinText = "p\xC3\xA9\n";
  r = testkit::RunHeadless(DIPHONE_PROGRAM, o);
  EXPECT_EQ(r.stdoutText, "[ /_P/e/ /_']\n");

  // Noise ("$E" is missing) is the same for the same TELUMA_SEED, so files can be compared.
  o.args = {"-w", out, "e"};
  o.env["TELUMA_SEED"] = "5";
  ASSERT_EQ(testkit::RunHeadless(DIPHONE_PROGRAM, o).exitCode, 0);
  const std::string first = testkit::ReadFile(out);
  EXPECT_EQ(first.size(), 44u + 300);
  testkit::RunHeadless(DIPHONE_PROGRAM, o);
  EXPECT_EQ(testkit::ReadFile(out), first);
  o.env["TELUMA_SEED"] = "6";
  testkit::RunHeadless(DIPHONE_PROGRAM, o);
  EXPECT_NE(testkit::ReadFile(out), first);

  o.args = {"--speed", "2", "-w", out, "ka"};  // no DIFONES2 database here
  r = testkit::RunHeadless(DIPHONE_PROGRAM, o);
  EXPECT_NE(r.exitCode, 0);
}
