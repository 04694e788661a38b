// Reading the suite file: where it is found and the "@" expansion.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "speech/tlwin.hpp"
#include "testkit/testkit.hpp"

using namespace teluma;
using namespace teluma::speech;
using namespace teluma::playback;

namespace {

// A Windows folder of its own holding the given TELUMA.INI.
class SuiteFile {
 public:
  explicit SuiteFile(const std::string& contents) {
    dir_.Write("windows/TELUMA.INI", contents);
    setenv("TELUMA_WINDIR", (dir_.path() + "/windows").c_str(), 1);
    setenv("TELUMA_ROOT", dir_.path().c_str(), 1);
  }
  ~SuiteFile() { unsetenv("TELUMA_WINDIR"); }

 private:
  testkit::TempDir dir_;
};

TEST(ReadSuiteSetting, ExpandsAtIntoProgramFolder) {
  SuiteFile ini(
      "[TELUMA]\r\nPGMTELUMA=d:\\suite\r\nPROG.HTM=@\\bin\\nav.exe\r\nSOZINHO=@\r\n"
      "[X]\r\nMEIO=c:\\a@\\b\r\nSEMBARRA=nome@dominio\r\n");
  EXPECT_EQ(ReadSuiteSetting("TELUMA", "PROG.HTM"), "d:\\suite\\bin\\nav.exe");
  EXPECT_EQ(ReadSuiteSetting("", "PROG.HTM"), "d:\\suite\\bin\\nav.exe");  // empty = TELUMA
  EXPECT_EQ(ReadSuiteSetting("TELUMA", "SOZINHO"), "d:\\suite");
  EXPECT_EQ(ReadSuiteSetting("X", "MEIO"), "c:\\ad:\\suite\\b");
  EXPECT_EQ(ReadSuiteSetting("X", "SEMBARRA"), "nome@dominio");  // "@" without "\" stays
  EXPECT_EQ(ReadSuiteSetting("X", "FALTA"), "");
  EXPECT_EQ(ReadSuiteSetting("NENHUMA", "FALTA", "@\\padrao"), "d:\\suite\\padrao");
}

TEST(ReadSuiteInteger, WholeNumbersOnlyElseTheFallback) {
  SuiteFile ini(
      "[SINTETIZADOR]\r\nA= +12 \r\nB=-3\r\nC=1 2\r\nD=7x\r\nE=99999999999\r\nF=\r\n"
      "G=@\r\n");
  EXPECT_EQ(ReadSuiteInteger("SINTETIZADOR", "A", 5), 12);
  EXPECT_EQ(ReadSuiteInteger("SINTETIZADOR", "B", 5), -3);
  EXPECT_EQ(ReadSuiteInteger("SINTETIZADOR", "C", 5), 5);
  EXPECT_EQ(ReadSuiteInteger("SINTETIZADOR", "D", 5), 5);
  EXPECT_EQ(ReadSuiteInteger("SINTETIZADOR", "E", 5), 5);  // out of range
  EXPECT_EQ(ReadSuiteInteger("SINTETIZADOR", "F", 5), 5);
  EXPECT_EQ(ReadSuiteInteger("SINTETIZADOR", "G", 5), 5);  // expanded into a folder
  EXPECT_EQ(ReadSuiteInteger("SINTETIZADOR", "FALTA", -1), -1);

  int32_t value = 0;
  EXPECT_FALSE(ParseSuiteInteger("+", value));
  EXPECT_FALSE(ParseSuiteInteger("\t4", value));  // only blanks are trimmed
  EXPECT_TRUE(ParseSuiteInteger("  2147483647", value));
  EXPECT_EQ(value, 2147483647);
}

TEST(ReadSuiteSetting, EmptyOrSelfReferringProgramFolderMeansStartFolder) {
  {
    SuiteFile ini("[TELUMA]\r\nPGMTELUMA=\r\nK=@\\som\r\n");
    EXPECT_EQ(ReadSuiteSetting("TELUMA", "K"), StartFolder() + "\\som");
  }
  {
    SuiteFile ini("[TELUMA]\r\nPGMTELUMA=@\\x\r\nK=@\r\n");
    EXPECT_EQ(ReadSuiteSetting("TELUMA", "K"), StartFolder());
    EXPECT_EQ(ReadSuiteSetting("TELUMA", "PGMTELUMA"), StartFolder() + "\\x");
  }
}

TEST(ReadSuiteSetting, ChainsThatExpandIntoThemselvesStop) {
  SuiteFile ini("[TELUMA]\r\nPGMTELUMA=c:\\p@\\q\r\nK=@\\z\r\nL=a@\\b@\\c\r\n");
  std::string k = ReadSuiteSetting("TELUMA", "K");
  EXPECT_TRUE(k.starts_with("c:\\p")) << k;
  EXPECT_TRUE(k.ends_with("\\q\\z")) << k;
  EXPECT_LT(k.size(), 300u);
  // Two references are both expanded when the folder does not refer to itself.
  SuiteFile plain("[TELUMA]\r\nPGMTELUMA=c:\\p\r\nL=a@\\b@\\c\r\n");
  EXPECT_EQ(ReadSuiteSetting("TELUMA", "L"), "ac:\\p\\bc:\\p\\c");
}

TEST(ReadSuiteSetting, LongValuesAreCutToTheSystemBuffer) {
  std::string huge(5000, 'x');
  SuiteFile ini("[TELUMA]\r\nPGMTELUMA=" + std::string(400, 'p') + "\r\nK=" + huge +
                "\r\nA=@" + huge + "\r\n");
  EXPECT_EQ(ReadSuiteSetting("TELUMA", "K"), std::string(255, 'x'));
  // The program folder is cut to 255 too; the value after "@" keeps its 254 characters.
  EXPECT_EQ(ReadSuiteSetting("TELUMA", "A"), std::string(255, 'p') + std::string(254, 'x'));
}

TEST(ReadSuiteSetting, MissingFileGivesDefaults) {
  testkit::TempDir empty;
  setenv("TELUMA_WINDIR", empty.path().c_str(), 1);
  EXPECT_EQ(ReadSuiteSetting("TRADUTOR", "SAPI"), "");
  EXPECT_EQ(ReadSuiteSetting("TRADUTOR", "SAPI", "N"), "N");
  EXPECT_EQ(SuiteSettingsFile(), StartFolder() + "\\TELUMA.INI");
  unsetenv("TELUMA_WINDIR");
}

}  // namespace

namespace {

TEST(ChooseHelpProgram, WebDocumentsAndPrograms) {
  SuiteFile ini("[TELUMA]\r\nPGMTELUMA=c:\\suite\r\nPROG.HTM=@\\nav.exe\r\n"
                "PROG.TXT=c:\\ed\\notas.exe\r\n");
  auto web = ChooseHelpProgram("www.site.com.br", "/home/p");
  EXPECT_EQ(web.program, "c:\\suite\\nav.exe");
  EXPECT_EQ(web.parameters, "www.site.com.br");
  EXPECT_EQ(ChooseHelpProgram("https://a.b/c?d", "/x").parameters, "https://a.b/c?d");

  auto txt = ChooseHelpProgram("leia.txt", "/x");
  EXPECT_EQ(txt.program, "c:\\ed\\notas.exe");
  EXPECT_EQ(txt.parameters, "leia.txt");
  // The type is the three characters after the first dot, upper-cased.
  EXPECT_EQ(ChooseHelpProgram("a.TxTo.pdf", "/x").program, "c:\\ed\\notas.exe");
  auto pdf = ChooseHelpProgram("manual.pdf", "/x");
  EXPECT_EQ(pdf.program, "manual.pdf");  // no program: the platform's association
  EXPECT_EQ(pdf.parameters, "");

  EXPECT_EQ(ChooseHelpProgram("jogo.exe", "/home/p").program, "/home/p\\jogo.exe");
  EXPECT_EQ(ChooseHelpProgram("jogo.COM", "c:\\dir\\").program, "c:\\dir\\jogo.COM");
  EXPECT_EQ(ChooseHelpProgram("d:\\x\\jogo.exe", "/home/p").program, "d:\\x\\jogo.exe");
  EXPECT_EQ(ChooseHelpProgram("\\x\\jogo.exe", "/home/p").program, "\\x\\jogo.exe");
  EXPECT_EQ(ChooseHelpProgram("jogo.exe", "/home/p").parameters, "");
}

}  // namespace
