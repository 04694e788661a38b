#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/cp1252.hpp"
#include "platform/paths.hpp"
#include "platform/profile.hpp"
#include "platform/text_case.hpp"
#include "platform/transcript.hpp"
#include "testkit/testkit.hpp"

using namespace teluma;

using namespace platform;

TEST(Cp1252, RoundTripsEveryByte) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\xE9"), "é");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "€");
  EXPECT_EQ(Utf8ToCp1252("ação"), "a\xE7\xE3o");
  EXPECT_EQ(Utf8ToCp1252("漢"), "?");
  // A lone Latin-1 byte is not valid UTF-8 and is kept as it is.
  EXPECT_EQ(Utf8ToCp1252("\xE9t\xE9"), "\xE9t\xE9");
}

TEST(UpperCp1252, AsciiLettersAndTheHighHalf) {
  // The division sign and y with diaeresis move as the system moves them; sharp s and the
  // letters below 224 (s caron) stay.
  const int cases[][2] = {{'a', 'A'}, {'z', 'Z'},   {'{', '{'},   {'@', '@'},  {0xE7, 0xC7},
                          {0xF7, 0xD7}, {0xFF, 0xDF}, {0xDF, 0xDF}, {0x9A, 0x9A}};
  for (const auto& c : cases) EXPECT_EQ(UpperCp1252(uint8_t(c[0])), c[1]) << c[0];
}

TEST(Profile, MatchesCaseBlindFirstWinsAndTrims) {
  std::string ini =
      "; comentário\r\n[Video]\r\n  corletra =  \"14\"  \r\ncorletra=3\r\n"
      "[TRADUTOR]\nDIRLETRAS = c:\\qorbel\\som\\letras\\\nVAZIO=\n[ video ]\nLENTO='S'\n";
  std::string v;
  ASSERT_TRUE(FindProfileValue(ini, "VIDEO", "CORLETRA", v));
  EXPECT_EQ(v, "14");
  ASSERT_TRUE(FindProfileValue(ini, "tradutor", "dirletras", v));
  EXPECT_EQ(v, "c:\\qorbel\\som\\letras\\");
  ASSERT_TRUE(FindProfileValue(ini, "TRADUTOR", "VAZIO", v));
  EXPECT_EQ(v, "");
  ASSERT_TRUE(FindProfileValue(ini, "VIDEO", "LENTO", v));
  EXPECT_EQ(v, "S");
  EXPECT_FALSE(FindProfileValue(ini, "VIDEO", "DIRLETRAS", v));
  EXPECT_FALSE(FindProfileValue(ini, "NADA", "CORLETRA", v));
}

// CR alone and CR LF end a line as LF does: a file saved with CR line ends, and a stray CR
// left by pasted text inside a CR LF file.
TEST(Profile, CrLfAndLoneCrEachEndALine) {
  testkit::TempDir dir;
  const std::string crOnly = dir.Write(
      "cr.ini", "[section1]\rname1=val1\rname2=\"val2\"\rname3 = a \r[section2]\rname1=b\r");
  auto read = [&](const char* key, size_t size) {
    return GetPrivateProfileString("section1", key, "padrao", size, crOnly);
  };
  EXPECT_EQ(read("name1", 80), "val1");
  EXPECT_EQ(read("name2", 80), "val2");
  EXPECT_EQ(read("name3", 80), "a");
  EXPECT_EQ(read("NAME1", 80), "val1");
  EXPECT_EQ(read("name1", 4), "val");
  EXPECT_EQ(read("name1", 5), "val1");
  EXPECT_EQ(read("falta", 80), "padrao");
  EXPECT_EQ(GetPrivateProfileString("SECTION2", "name1", "", 80, crOnly), "b");

  std::string v;
  const std::string mixed = "[SERVFALA]\r\nVOZ=3\rTOM=5\r\nVELOCIDADE=7\r\n";
  ASSERT_TRUE(FindProfileValue(mixed, "SERVFALA", "VOZ", v));
  EXPECT_EQ(v, "3");
  ASSERT_TRUE(FindProfileValue(mixed, "SERVFALA", "TOM", v));
  EXPECT_EQ(v, "5");
  ASSERT_TRUE(FindProfileValue(mixed, "SERVFALA", "VELOCIDADE", v));
  EXPECT_EQ(v, "7");
}

TEST(Profile, ReadsFromWindowsFolderWithDefaultsAndBufferCut) {
  testkit::TempDir dir;
  dir.Write("windows/teluma.ini", "[MOONDROP]\nDIRMOONDROP=c:\\qorbel\\som\\moondrop\\\n");
  setenv("TELUMA_ROOT", dir.path().c_str(), 1);
  setenv("TELUMA_WINDIR", (dir.path() + "/windows").c_str(), 1);
  EXPECT_EQ(GetPrivateProfileString("MOONDROP", "DIRMOONDROP", "x", 80, "TELUMA.INI"),
            "c:\\qorbel\\som\\moondrop\\");
  EXPECT_EQ(GetPrivateProfileString("MOONDROP", "DIRMOONDROP", "x", 5, "TELUMA.INI"), "c:\\q");
  EXPECT_EQ(GetPrivateProfileString("MOONDROP", "FALTA", "abc  ", 80, "TELUMA.INI"), "abc");
  EXPECT_EQ(GetPrivateProfileString("A", "B", "abc", 80, "naoexiste.ini"), "abc");
  EXPECT_EQ(GetPrivateProfileString("A", "B", "abc", 0, "naoexiste.ini"), "");
  unsetenv("TELUMA_WINDIR");
}

TEST(Paths, MapsDrivesBackslashesAndLetterCase) {
  testkit::TempDir dir;
  dir.Write("QORBEL/Som/Letras/_65.WAV", "x");
  setenv("TELUMA_ROOT", dir.path().c_str(), 1);
  EXPECT_EQ(MapPath("c:\\qorbel\\som\\letras\\_65.wav"),
            dir.path() + "/QORBEL/Som/Letras/_65.WAV");
  EXPECT_EQ(MapPath("\\qorbel\\som"), dir.path() + "/QORBEL/Som");
  EXPECT_TRUE(FileExists(MapPath("C:\\QORBEL\\SOM\\LETRAS\\_65.wav")));
  // A missing file keeps the part that could not be found as it was written.
  EXPECT_EQ(MapPath("c:\\qorbel\\som\\nada\\x.wav"), dir.path() + "/QORBEL/Som/nada/x.wav");
  EXPECT_EQ(JoinPath("a/", "/b"), "a/b");
}

TEST(Transcript, QuotesWithTheContractEscapes) {
  EXPECT_EQ(Transcript::Quote("a\"b\\c\r\n\t\xE9"), "\"a\\\"b\\\\c\\r\\n\\t\xC3\xA9\"");
  testkit::TempDir dir;
  auto& t = Transcript::Get();
  t.Reopen(dir.path() + "/t.txt");
  t.SetClock([] { return int64_t{1234}; });
  t.TextEvent("OUT", "Ol\xE1\r\n");
  t.Event("EXIT", "0");
  t.Reopen("");
  EXPECT_EQ(testkit::ReadFile(dir.path() + "/t.txt"), "1234 OUT \"Ol\xC3\xA1\\r\\n\"\n1234 EXIT 0\n");
}
