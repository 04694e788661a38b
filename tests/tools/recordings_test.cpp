// The data tree holds every recording the programs can ask for, each in the format its reader
// expects.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>

#include "game/messages.hpp"
#include "numbers/tllenum.hpp"
#include "platform/paths.hpp"
#include "platform/profile.hpp"
#include "testkit/testkit.hpp"
#include "tts/uttsPreproc.hpp"

namespace {

struct WaveInfo {
  bool valid = false;
  int channels = 0, rate = 0, bits = 0;
  uint32_t dataBytes = 0;
};

uint32_t Le(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
  return v;
}

// Reads the plain 44-byte header our recordings carry.
WaveInfo ReadWave(const std::string& path) {
  WaveInfo w;
  std::string b = testkit::ReadFile(path);
  if (b.size() < 44 || b.compare(0, 4, "RIFF") || b.compare(8, 8, "WAVEfmt ") ||
      b.compare(36, 4, "data"))
    return w;
  w.channels = Le(b, 22, 2);
  w.rate = Le(b, 24, 4);
  w.bits = Le(b, 34, 2);
  w.dataBytes = Le(b, 40, 4);
  w.valid = Le(b, 20, 2) == 1 && w.dataBytes + 44 == b.size() && w.dataBytes > 0;
  return w;
}

std::string Letters() { return testkit::DataRoot() + "/qorbel/som/letras/"; }
std::string Game() { return testkit::DataRoot() + "/qorbel/som/moondrop/"; }

// Prefix and number joined without the operator+ overload that trips a false warning of GCC 12.
std::string Named(const char* prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

void ExpectLetterRecording(const std::string& name) {
  WaveInfo w = ReadWave(Letters() + name + ".wav");
  EXPECT_TRUE(w.valid) << name;
  EXPECT_EQ(w.channels, 1) << name;
  EXPECT_EQ(w.rate, 11025) << name;
  EXPECT_EQ(w.bits, 8) << name;
}

// The file a number word is played from: "_" + word cut to eight characters, without tildes,
// and "dezessete" as "dezeset".
std::string NumberWordFile(std::string word) {
  for (auto [from, to] : {std::pair{"\xE3", "a"}, std::pair{"\xF5", "o"}})
    for (size_t p; (p = word.find(from)) != std::string::npos;) word.replace(p, 1, to);
  if (word == "dezessete") word = "dezeset";
  return ("_" + word).substr(0, 8);
}

}  // namespace

TEST(DataTree, EveryNumberWordIsAShortEightBitRecording) {
  std::set<std::string> words;
  auto collect = [&](int64_t n) {
    std::string text = NumberToWords(n);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find(' ', start);
      if (end == std::string::npos) end = text.size();
      if (end > start) words.insert(text.substr(start, end - start));
      start = end + 1;
    }
  };
  for (int64_t n = 0; n < 2000; ++n) collect(n);
  for (int64_t n : {1000000LL, 2000000LL, 1000000000LL, 2000000000LL, 2147483647LL}) collect(n);
  words.insert("uma");
  words.insert("duas");
  for (const auto& word : words) {
    std::string file = NumberWordFile(word);
    ExpectLetterRecording(file);
    EXPECT_LE(ReadWave(Letters() + file + ".wav").dataBytes, 30000u) << file;
  }
  for (const char* big : {"_trilhao", "_trilhoe", "_bilhao", "_bilhoes", "_milhao", "_milhoes"})
    ExpectLetterRecording(big);
}

TEST(DataTree, CharactersTimeDateEditorAndDialTonesAreRecorded) {
  for (int code = 33; code < 256; ++code)
    if (!SymbolName(static_cast<unsigned char>(code)).empty())
      ExpectLetterRecording(Named("_", code));
  for (const char* key :
       {"_MENOS", "_hora", "_horas", "_minuto", "_minutos", "_primeir", "_de", "_e", "_Domingo",
        "_Segunda", "_Terca", "_Quarta", "_Quinta", "_Sexta", "_Sabado", "_Janeiro", "_Feverei",
        "_Marco", "_Abril", "_Maio", "_Junho", "_Julho", "_Agosto", "_Setembr", "_Outubro",
        "_Novembr", "_Dezembr", "_DEL", "_APFCPO", "_APICPO", "_CPOAPA", "_FALACI", "_FALDLG",
        "_VELOC"})
    ExpectLetterRecording(key);
  for (char c = 'a'; c <= 'z'; ++c) {
    ExpectLetterRecording(Named("_FON", c));
    ExpectLetterRecording(Named("_FON", c - 'a' + 'A'));
  }
  for (char c : std::string("0123456789X#")) {
    std::string name = "dtmf_";
    name += c;
    ExpectLetterRecording(name);
  }
}

TEST(DataTree, GameHasEveryMessagePhraseEffectAndItsPicture) {
  for (const auto& entry : MessageCatalogue())
    EXPECT_TRUE(ReadWave(Game() + std::string(entry.key) + ".wav").valid) << entry.key;
  for (auto key : PhrasesWithoutText())
    EXPECT_TRUE(ReadWave(Game() + std::string(key) + ".wav").valid) << key;
  for (auto name : SoundEffectNames()) {
    std::string file(name);
    // The sound call finds a name without an extension with ".wav" added.
    if (file.find('.') == std::string::npos) file += ".wav";
    EXPECT_TRUE(ReadWave(Game() + file).valid) << name;
  }
  std::string bmp = testkit::ReadFile(Game() + "foguete.bmp");
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(Le(bmp, 14, 4), 40u);
}

TEST(DataTree, ShippedSettingsNameFoldersThatExist) {
  setenv("TELUMA_ROOT", testkit::DataRoot().c_str(), 1);
  setenv("TELUMA_WINDIR", (testkit::DataRoot() + "/windows").c_str(), 1);
  auto read = [](const char* section, const char* key) {
    return platform::GetPrivateProfileString(section, key, "", 256, "TELUMA.INI");
  };
  EXPECT_TRUE(platform::DirExists(platform::MapPath(read("TRADUTOR", "DIRLETRAS"))));
  EXPECT_TRUE(platform::DirExists(platform::MapPath(read("MOONDROP", "DIRMOONDROP"))));
  EXPECT_TRUE(platform::FileExists(platform::MapPath(read("MOONDROP", "IMAGEM"))));
  EXPECT_EQ(read("TRADUTOR", "VELOCIDADE"), "3");
  // The Koral engine speaks texts without recordings; its rule folder is shipped.
  EXPECT_EQ(read("TRADUTOR", "SAPI"), "S");
  EXPECT_EQ(read("SERVFALA", "TIPOSAPI"), "3");
  EXPECT_TRUE(platform::FileExists(platform::MapPath(read("KORALTTS", "DIR") + "portug.nrl")));
  for (int step = 1; step <= 5; ++step)
    EXPECT_FALSE(read("SINTETIZADOR", ("DIFONES" + std::to_string(step)).c_str()).empty());
  unsetenv("TELUMA_WINDIR");
}
