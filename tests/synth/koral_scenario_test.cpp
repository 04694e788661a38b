// The game and the koral command with the Koral engine, run headless over the stand-in voice
// library (LD_LIBRARY_PATH finds it before the real one).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/cp1252.hpp"
#include "testkit/testkit.hpp"

namespace fs = std::filesystem;

using testkit::DataFile;

namespace {

// A game tree with the shipped settings, SAPI = S and kind 3, the engine's rule files and a
// registry naming the voice database; an empty diphone voice for the built-in speech.
class KoralGame {
 public:
  // With realVoice the build's voice library and database speak instead of the stand-in.
  explicit KoralGame(bool realVoice = false) : realVoice_(realVoice) {
    // The shipped settings with the engine chosen, whatever they choose themselves.
    dir_.Write("windows/TELUMA.INI", "[TRADUTOR]\r\nSAPI=S\r\n[SERVFALA]\r\nTIPOSAPI=3\r\n\r\n" +
                                         DataFile("windows/TELUMA.INI"));
    dir_.Write("windows/voz.reg",
               "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\TCTS\\Mbrola\\databases\\br4]\r\n"
               "@=\"c:\\\\qorbel\\\\koraltts\\\\br4\"\r\n");
    dir_.Write("qorbel/lunardif.ini", "30\r\n100\r\n30\r\n20\r\n*\r\n");
    fs::create_directories(dir_.path() + "/qorbel/som/moondrop");
    fs::create_directories(dir_.path() + "/qorbel/som/letras");
    for (const char* rules : {"regras.rgr", "portug.exc"})
      dir_.Write(std::string("qorbel/som/difones/") + rules, DataFile(std::string("difones/") + rules));
    for (int speed = 1; speed <= 5; ++speed)
      for (const char* extension : {".IND", ".DIF"})
        dir_.Write("qorbel/som/difones/DIFONES" + std::to_string(speed) + extension, "");
    for (const char* ext : {"nrl", "exc", "abr", "pro", "dfn"}) {
      std::string name = std::string("portug.") + ext;
      dir_.Write("qorbel/koraltts/" + name,
                 testkit::ReadFile(testkit::DataRoot() + "/qorbel/koraltts/" + name));
    }
    if (realVoice)
      fs::create_symlink(testkit::DataRoot() + "/qorbel/koraltts/br4",
                         dir_.path() + "/qorbel/koraltts/br4");
    else
      dir_.Write("qorbel/koraltts/br4", "voz");
  }
  void RemoveDatabase() const { fs::remove(dir_.path() + "/qorbel/koraltts/br4"); }
  std::string Root() const { return dir_.path(); }

  testkit::RunResult Play(const std::string& keys) const {
    testkit::RunOptions options;
    options.keys = keys;
    options.workDir = dir_.path() + "/qorbel";
    options.env = {{"TELUMA_ROOT", dir_.path()},
                   {"TELUMA_WINDIR", dir_.path() + "/windows"},
                   {"TELUMA_SEED", "1"}};
    if (!realVoice_) options.env["LD_LIBRARY_PATH"] = FAKE_VOICE_DIR;
    return testkit::RunHeadless(testkit::BuildDir() + "/src/apps/moondrop", options);
  }

 private:
  testkit::TempDir dir_;
  bool realVoice_;
};

bool RealVoiceBuilt() {
  return fs::exists(testkit::BuildDir() + "/lib/libteluma-mbrola.so") &&
         fs::exists(testkit::DataRoot() + "/qorbel/koraltts/br4");
}

// Index of the first event named name with the given (unquoted) text at or after from; -1.
int Find(const testkit::RunResult& r, const std::string& name, const std::string& text,
         size_t from = 0) {
  for (size_t i = from; i < r.events.size(); ++i)
    if (r.events[i].name == name && testkit::Unquote(r.events[i].data) == text) return int(i);
  return -1;
}

// Bytes of the 16000 Hz images from event from up to the next SYNTH event.
long ImageBytesAfter(const testkit::RunResult& r, size_t from) {
  long bytes = 0;
  for (size_t i = from + 1; i < r.events.size() && r.events[i].name != "SYNTH"; ++i)
    if (r.events[i].name == "IMAGE" && r.events[i].data.find(" 16000 16 1") != std::string::npos)
      bytes += std::stol(r.events[i].data);
  return bytes;
}

TEST(KoralGame, TextsWithoutRecordingsAreSpokenByTheEngine) {
  for (bool real : {false, true}) {
    if (real && !RealVoiceBuilt()) continue;
    SCOPED_TRACE(real ? "real voice" : "stand-in voice");
    KoralGame game(real);
    auto r = game.Play("n\nn\nEnter\n1\nEnter\n\"Ana Maria\" Enter\nEsc\nn\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.Named("DIPHONE").empty());
    int greeting = Find(r, "SYNTH", "Benvindo ao jogo de Alunisagem!");
    ASSERT_NE(greeting, -1);
    EXPECT_GT(ImageBytesAfter(r, size_t(greeting)), 32000);
    // The pilot's name in the table is spoken by the engine as well.
    int pilot = -1;
    for (size_t i = 0; i < r.events.size() && pilot < 0; ++i)
      if (r.events[i].name == "SYNTH" && testkit::Unquote(r.events[i].data).rfind("Ana Maria", 0) == 0)
        pilot = int(i);
    ASSERT_NE(pilot, -1);
    EXPECT_GT(ImageBytesAfter(r, size_t(pilot)), 0);
    EXPECT_NE(Find(r, "SYNTH", "Tchau..."), -1);
  }
}

TEST(KoralGame, AKeyCutsTheEngineShort) {
  KoralGame game;
  // Keys cut speech short outside the opening greeting and the flight: a key 300 ms into the
  // table's help text stops its sound.
  auto r = game.Play("n\ns\n+300 Esc\nn\n");
  int help = Find(r, "SYNTH", "Use as setas para conhecer os ases pilotos e sua pontua\xC3\xA7\xC3\xA3o");
  ASSERT_NE(help, -1);
  const long soundMs = ImageBytesAfter(r, size_t(help)) / 32;
  EXPECT_GT(soundMs, 1000);
  int stop = help + 1;
  while (stop < int(r.events.size()) && r.events[size_t(stop)].name != "STOP") ++stop;
  ASSERT_LT(stop, int(r.events.size()));
  EXPECT_LT(r.events[size_t(stop)].ms - r.events[size_t(help)].ms, soundMs / 2);
}

TEST(KoralGame, WithoutTheDatabaseTheBuiltInSpeechSpeaks) {
  KoralGame game;
  game.RemoveDatabase();
  auto r = game.Play("n\nn\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.Named("SYNTH").empty());
  EXPECT_FALSE(r.Named("DIPHONE").empty());
  EXPECT_NE(Find(r, "SPEAK", "Tchau..."), -1);
}

testkit::RunResult RunKoral(const std::string& root, const std::string& voiceDir,
                           std::vector<std::string> args) {
  testkit::RunOptions options;
  options.args = std::move(args);
  options.env = {{"TELUMA_ROOT", root}, {"TELUMA_WINDIR", root + "/windows"},
                 {"LD_LIBRARY_PATH", voiceDir}};
  return testkit::RunHeadless(testkit::BuildDir() + "/src/apps/koral", options);
}

uint32_t U32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(bytes[at + size_t(i)]);
  return v;
}

// koral -w against a voice library: a valid header and as many samples as the MBROLA lines ask
// for, within one per phoneme.
void CheckWaveFile(const std::string& root, const std::string& voiceDir) {
  const std::string text = "Ol\xC3\xA1, piloto! A altura inicial \xC3\xA9 de 1500 metros.";
  const std::string out = root + "/fala.wav";
  auto r = RunKoral(root, voiceDir, {"-w", out, text});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto pho = RunKoral(root, voiceDir, {"--pho", text});
  long ms = 0, phonemes = 0;
  std::istringstream lines(pho.stdoutText);
  for (std::string line, name; std::getline(lines, line);) {
    std::istringstream in(line);
    int d = 0;
    if (!line.empty() && line[0] != ';' && in >> name >> d) ms += d, ++phonemes;
  }
  std::string wave = testkit::ReadFile(out);
  ASSERT_GT(wave.size(), 44u);
  EXPECT_EQ(wave.substr(0, 4) + wave.substr(8, 8) + wave.substr(36, 4), "RIFFWAVEfmt data");
  EXPECT_EQ(U32(wave, 4), wave.size() - 8);
  EXPECT_EQ(U32(wave, 40), wave.size() - 44);
  EXPECT_EQ(U32(wave, 24), 16000u);
  EXPECT_EQ(U32(wave, 32), 16u << 16 | 2u);  // block align 2, 16 bits
  const long samples = long(wave.size() - 44) / 2;
  EXPECT_NEAR(samples, ms * 16, phonemes);
  int loudest = 0;
  for (size_t i = 44; i + 1 < wave.size(); i += 2)
    loudest = std::max(loudest, std::abs(int(int16_t(uint16_t(uint8_t(wave[i]) | uint8_t(wave[i + 1]) << 8)))));
  EXPECT_GT(loudest, 0);
}

TEST(KoralCommand, WritesTheSpokenTextToAWaveFile) {
  KoralGame tree;
  CheckWaveFile(tree.Root(), FAKE_VOICE_DIR);
  // The real voice of the build, when it is there.
  const std::string real = testkit::BuildDir() + "/lib";
  if (fs::exists(real + "/libteluma-mbrola.so") &&
      fs::exists(testkit::DataRoot() + "/qorbel/koraltts/br4"))
    CheckWaveFile(testkit::DataRoot(), real);
}

}  // namespace
