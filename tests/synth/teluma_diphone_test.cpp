// teluma-diphone run headless on a small data tree made here: the settings of each speed step
// choose the database and the timing, and -w writes exactly what the synthesizer produced.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "synth/diphone_store.hpp"
#include "testkit/testkit.hpp"

namespace {

class TelumaDiphone : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.Write("windows/TELUMA.INI",
               "[TRADUTOR]\r\nVELOCIDADE=3\r\nDIRLETRAS=c:\\som\\letras\\\r\n"
               "DIRDIFONES=c:\\som\\difones\r\n"
               "[SINTETIZADOR]\r\nDIFONES2=LENTO\r\nCORTEFON2=100\r\nSOBRAFON2=x\r\nINTERPAL2=250\r\n"
               "DIFONES3=NORMAL\r\nCORTEFON3=400\r\nSOBRAFON3=0\r\nINTERPAL3=100\r\n");
    tree.Write("som/letras/_98.wav", std::string(44, '\0'));
    // c -> k, a -> a, s -> z between vowels; "casa" is stressed on its first a.
    tree.Write("som/difones/regras.rgr", "(C)=k|\r\n(A)=a|\r\n#(S)#=z|\r\n(S)=s|\r\n(W)=w|\r\n");
    tree.Write("som/difones/portug.exc", "sal=sAw\r\n");
    Database("LENTO", {{"$AW", 400, 22}, {"$KAZA", 3000, 20}, {"$SA", 900, 21}});
    Database("NORMAL", {{"$AW", 300, 12}, {"$KAZA", 2000, 10}, {"$SA", 800, 11}});
  }

  void Database(const std::string& name, const std::vector<diphone::IndexEntry>& units) {
    std::string index, data;
    for (const auto& unit : units) {  // given in index order
      index += diphone::EncodeIndexEntry(
          {unit.name, unit.length, static_cast<uint32_t>(data.size())});
      data += std::string(unit.length, static_cast<char>(unit.offset));  // offset = fill byte
    }
    tree.Write("som/difones/" + name + ".IND", index);
    tree.Write("som/difones/" + name + ".DIF", data);
  }

  testkit::RunResult Run(std::vector<std::string> args, const std::string& input = {}) {
    testkit::RunOptions options;
    options.args = std::move(args);
    options.stdinText = input;
    options.env = {{"TELUMA_ROOT", tree.path()}, {"TELUMA_WINDIR", tree.path() + "/windows"}};
    return testkit::RunHeadless(TELUMA_DIPHONE_PROGRAM, options);
  }

  testkit::TempDir tree;
};

TEST_F(TelumaDiphone, PrintsThePhoneticText) {
  auto run = Run({"--phonetic", "casa", "sal"});
  EXPECT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_EQ(run.stdoutText, "[k/A/z/a][s/A/w]\n");
  // From standard input, UTF-8: the accented letter reaches the rules as a plain letter and
  // its mark (no rule for the mark: it is spelled out as its recording).
  run = Run({"--phonetic"}, "cás\n");
  EXPECT_EQ(run.stdoutText, "[k/a/ /_'/s]\n");
  // Another rule folder.
  testkit::TempDir other;
  other.Write("regras.rgr", "(C)=tch|\r\n");
  other.Write("portug.exc", "");
  run = Run({"--phonetic", "--rules", other.path(), "c"});
  EXPECT_EQ(run.stdoutText, "[ /_c]\n");
  run = Run({"--phonetic", "--rules", other.path(), "ca"});
  EXPECT_EQ(run.stdoutText, "[tch/ /_A]\n");
}

TEST_F(TelumaDiphone, WritesTheSamplesOfTheSpeedStep) {
  std::string wave = tree.path() + "/out.wav";
  auto run = Run({"-w", wave, "casa sal"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_EQ(run.stdoutText, "");
  std::string file = testkit::ReadFile(wave);
  diphone::WaveData data;
  ASSERT_TRUE(diphone::FindWaveData(file, data));
  EXPECT_EQ(data.offset, 44u);
  EXPECT_EQ(data.bits, 8);
  EXPECT_EQ(data.channels, 1);
  EXPECT_EQ(data.rate, 11025);
  // Step 3: $KAZA stressed at full length, the word pause of 100, then sAw (exception) as
  // $SA at 0.6 and $AW.
  EXPECT_EQ(file.substr(44), std::string(2000, '\x0a') + std::string(100, '\x80') +
                                 std::string(480, '\x0b') + std::string(300, '\x0c'));
  ASSERT_EQ(run.Named("DIPHONE").size(), 1u);
  EXPECT_EQ(run.Named("DIPHONE")[0].data, "\"[k/A/z/a][s/A/w]\"");

  // Step 2: its own database and timing; a minimum that is not a number counts as 0.
  run = Run({"--speed", "2", "-w", wave, "casa", "sal"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_EQ(testkit::ReadFile(wave).substr(44), std::string(3000, '\x14') +
                                                    std::string(200, '\x80') +
                                                    std::string(540, '\x15') +
                                                    std::string(400, '\x16'));
}

TEST_F(TelumaDiphone, ReportsFailures) {
  auto run = Run({"--speed", "4", "-w", tree.path() + "/x.wav", "casa"});
  EXPECT_EQ(run.exitCode, 1);  // DIFONES4 is missing: no database
  EXPECT_THAT(run.stderrText, ::testing::HasSubstr("Banco de dados de voz:"));
  run = Run({"--speed", "9", "casa"});
  EXPECT_EQ(run.exitCode, 2);
  run = Run({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.stdoutText, ::testing::HasSubstr("--phonetic"));
  run = Run({"--version"});
  EXPECT_THAT(run.stdoutText, ::testing::StartsWith("teluma-diphone "));
}

}  // namespace
