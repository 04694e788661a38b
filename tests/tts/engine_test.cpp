// The Portuguese engine against the stand-in voice library: opening with its defaults and
// failures, file mode, and how the sound is cut into images for the wave device.
#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "testkit/koral_tree.hpp"
#include "platform/paths.hpp"
#include "wave/tlwav.hpp"
#include "tts/minireg.hpp"
#include "tts/uttsExcessoes.hpp"
#include "tts/uttsKoral.hpp"
#include "tts/uttsPreproc.hpp"
#include "tts/uttsProsodia.hpp"
#include "tts/uttsPortug.hpp"

namespace {

using koraltest::Tree;

bool OpenIn(const Tree& tree, const std::string& database = "br4") {
  auto f = [&](const char* ext) { return tree.Path(std::string("qorbel/koraltts/portug.") + ext); };
  return TtsOpen(database, f("nrl"), f("exc"), f("abr"), f("pro"), f("dfn"));
}

// The samples the stand-in gives for a text: 16 per millisecond of every line but those of
// the phoneme left out.
long ExpectedBytes(const std::string& text, const std::string& leftOut = "") {
  long bytes = 0;
  for (const auto& line : BuildPhoLines(
           TokensToPhonemes(AssignPitchPatterns(TokenizeWithKeys(NormalizeText(text)), true)), 1.0,
           1.0)) {
    std::istringstream in(line);
    std::string name;
    int ms = 0;
    if (line.empty() || line[0] == ';' || !(in >> name >> ms) || name == leftOut) continue;
    bytes += 32L * ms;
  }
  return bytes;
}

long Sum(const std::vector<long>& v) { return std::accumulate(v.begin(), v.end(), 0L); }

TEST(TtsOpen, DatabasePathFromTheRegistry) {
  Tree tree(false);
  // No registry entry: the bare name goes to the library (and is not found here).
  EXPECT_FALSE(OpenIn(tree, ""));
  EXPECT_EQ(koraltest::InitPath(), "br4");
  EXPECT_NE(TtsLastError(), "");

  // An empty entry means the default file; the key name is matched in any case.
  tree.Register("software\\tcts\\MBROLA\\databases\\BR4", "\"\"");
  EXPECT_TRUE(OpenIn(tree, "br4"));
  EXPECT_EQ(koraltest::InitPath(), tree.Path("qorbel/koraltts/br4"));
  TtsClose();

  tree.Write("Fala/voz", "x");
  tree.Register("SOFTWARE\\TCTS\\Mbrola\\databases\\br4", "\"C:\\\\Fala\\\\voz\"");
  EXPECT_TRUE(OpenIn(tree, ""));
  EXPECT_EQ(koraltest::InitPath(), tree.Path("Fala/voz"));
  TtsClose();
}

TEST(ReadRegistryString, StringValuesOnly) {
  Tree tree;
  tree.Write("windows/a.reg",
             "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Teste]\r\n"
             "@=\"padr\xE3o\"\r\n\"Nome\"=\"com \\\"aspas\\\" e \\\\barra\"\r\n"
             "\"Numero\"=dword:00000010\r\n\"Aberta\"=\"sem fim\r\n");
  std::string value = "antes";
  EXPECT_FALSE(ReadRegistryString(kHkeyLocalMachine, "SOFTWARE\\Teste\\Numero", value));
  EXPECT_FALSE(ReadRegistryString(kHkeyLocalMachine, "SOFTWARE\\Teste\\Aberta", value));
  EXPECT_FALSE(ReadRegistryString(kHkeyLocalMachine, "SOFTWARE\\Outra\\", value));
  EXPECT_FALSE(ReadRegistryString(kHkeyLocalMachine, "semBarra", value));
  EXPECT_EQ(value, "antes");
  EXPECT_TRUE(ReadRegistryString(kHkeyLocalMachine, "software\\teste\\NOME", value));
  EXPECT_EQ(value, "com \"aspas\" e \\barra");
  EXPECT_TRUE(ReadRegistryString(kHkeyLocalMachine, "SOFTWARE\\Teste\\", value));
  EXPECT_EQ(value, "padr\xE3o");
}

TEST(TtsOpen, EachRuleFileHasItsMessage) {
  Tree tree;
  const std::string k = tree.Path("qorbel/koraltts/portug.");
  const std::string none = tree.Path("nada");
  const int closes = koraltest::Closes();
  // Without letter rules the exceptions are not read at all.
  EXPECT_FALSE(TtsOpen("", none, k + "exc", k + "abr", k + "pro", k + "dfn"));
  EXPECT_EQ(TtsLastError(), "Erro na base de dados de portugu\xEAs");
  EXPECT_EQ(ExceptionCount(), 0u);
  EXPECT_EQ(koraltest::Closes(), closes + 1);  // the library is not kept for a failed open
  EXPECT_FALSE(TtsOpen("", k + "nrl", k + "exc", none, k + "pro", k + "dfn"));
  EXPECT_EQ(TtsLastError(), "Erro no arquivo de abreviaturas");
  EXPECT_FALSE(TtsOpen("", k + "nrl", k + "exc", k + "abr", none, k + "dfn"));
  EXPECT_EQ(TtsLastError(), "Erro no arquivo de pros\xF3" "dia");
  EXPECT_FALSE(TtsOpen("", k + "nrl", k + "exc", k + "abr", k + "pro", none));
  EXPECT_EQ(TtsLastError(), "Erro no arquivo de pros\xF3" "dia");
  TtsSetOutputFile(tree.Path("sem/pasta/saida.wav"));
  EXPECT_FALSE(OpenIn(tree));
  EXPECT_EQ(TtsLastError(), "Arquivo de sa\xED" "da n\xE3o pode ser criado");
  TtsSetOutputFile("");
  TtsClose();
}

TEST(TtsSpeak, FileModeWritesEverythingAndCorrectsTheHeader) {
  Tree tree;
  const std::string out = tree.Path("fala.wav");
  TtsSetOutputFile(out);
  ASSERT_TRUE(OpenIn(tree));
  TtsSetFactors(1.0, 1.0);
  const std::string text = "Ol\xE1, piloto. A altura inicial \xE9 de 500 metros.";
  const long expected = ExpectedBytes(text);
  EXPECT_TRUE(TtsSpeak(text));
  EXPECT_TRUE(TtsSpeak("  \t "));
  EXPECT_FALSE(TtsBusy());
  TtsStop();
  TtsClose();
  TtsSetOutputFile("");
  EXPECT_TRUE(tree.Images().empty());

  std::string wave = testkit::ReadFile(out);
  ASSERT_GT(wave.size(), 44u);
  auto u32 = [&](size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(wave[at + size_t(i)]);
    return v;
  };
  EXPECT_EQ(wave.substr(0, 4) + wave.substr(8, 8) + wave.substr(36, 4), "RIFFWAVEfmt data");
  EXPECT_EQ(u32(40), wave.size() - 44);
  EXPECT_EQ(u32(4), u32(40) + 36);
  EXPECT_EQ(u32(24), 16000u);
  EXPECT_EQ(u32(28), 32000u);
  EXPECT_EQ(long(u32(40)), expected);
}

TEST(TtsSpeak, ShortLastImageIsPaddedAndLongReadsStartANewImage) {
  Tree tree;
  ASSERT_TRUE(OpenIn(tree));
  koraltest::LineSamples({50});
  SetWaveFast(true);
  SetWaveShorten(true);
  EXPECT_TRUE(TtsSpeak("sim"));
  // The device's speed tricks are off while the engine plays and back afterwards.
  EXPECT_TRUE(WaveFast() && WaveShorten());
  SetWaveFast(false);
  SetWaveShorten(false);
  EXPECT_EQ(tree.Images(), std::vector<long>({256}));

  // 200 bytes, then a line of 20000 samples read as 16000 + 4000.
  koraltest::LineSamples({100, 20000});
  EXPECT_TRUE(TtsSpeak("sim"));
  EXPECT_EQ(tree.Images(), std::vector<long>({256, 200, 32000, 8000}));
  TtsStop();
  TtsClose();
}

TEST(TtsSpeak, ALibraryErrorLosesOnlyItsLine) {
  Tree tree;
  ASSERT_TRUE(OpenIn(tree));
  const std::string text = "Ol\xE1, piloto. A altura inicial \xE9 de 500 metros.";
  koraltest::FailOn("l");
  EXPECT_FALSE(TtsSpeak(text));
  auto images = tree.Images();
  EXPECT_EQ(Sum(images), ExpectedBytes(text, "l"));
  EXPECT_GE(images.size(), 3u);
  for (long bytes : images) EXPECT_LE(bytes, 32000);
  EXPECT_LT(ExpectedBytes(text, "l"), ExpectedBytes(text));
  koraltest::FailOn("");
  TtsStop();
  TtsClose();
}

}  // namespace
