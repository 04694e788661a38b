// teluma-say run headless over a small data tree made here: which recordings, sound images
// and phonetic texts the speaking of a text produces, and that bad settings and recordings
// never stop it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testkit/testkit.hpp"
#include "testkit/wave.hpp"

namespace {

using testkit::Event;
using testkit::RunResult;

// A PCM wave file of n 8-bit mono samples at 11025 per second.
std::string Wave(size_t samples) { return testkit::SilentWave(static_cast<uint32_t>(samples)); }

// Number words with distinct lengths, so an IMAGE event tells which words were joined.
const std::vector<std::pair<std::string, size_t>> kNumberWords = {
    {"_zero", 1000}, {"_um", 1100}, {"_dois", 1200}, {"_tres", 1300}, {"_cinco", 1500},
    {"_sete", 1700}, {"_cem", 2000}, {"_e", 300},  {"_mil", 2100}, {"_vinte", 2200}};

// The default folders of the recordings and the voice.
const std::string kLetters = "qorbel/som/letras/";
const std::string kVoice = "qorbel/som/difones/";

const std::string kSettings =
    "[TRADUTOR]\r\nSAPI=N\r\nVELOCIDADE=2\r\n[SINTETIZADOR]\r\nDIFONES2=VOZ\r\n"
    "PAUSAPONTO2=400\r\nPAUSAVIRG2=300\r\n";

// Settings plus the recordings and a one-unit voice database; extra lines go into the file.
class SayTree {
 public:
  explicit SayTree(const std::string& settings = kSettings, bool withVoice = true) {
    dir_.Write("windows/TELUMA.INI", settings);
    for (const auto& [name, samples] : kNumberWords) dir_.Write(kLetters + name + ".wav", Wave(samples));
    for (const char* c : {"_33", "_44", "_45", "_46", "_49", "_51", "_53", "_119", "_MENOS"})
      dir_.Write(kLetters + c + ".wav", Wave(110));
    if (withVoice) {
      std::string entry(15, '\0');
      entry[0] = 2;
      entry[1] = '$';
      entry[2] = 'A';
      entry[9] = 100;  // 100 bytes at offset 0
      dir_.Write(kVoice + "VOZ.IND", entry);
      dir_.Write(kVoice + "VOZ.DIF", std::string(100, '\x80'));
      std::string rules;
      for (char c = 'A'; c <= 'Z'; ++c) rules += std::string("(") + c + ")=" + char(c + 32) + "|\r\n";
      dir_.Write(kVoice + "regras.rgr", rules);
      dir_.Write(kVoice + "portug.exc", "\r\n");
    }
  }

  RunResult Say(const std::vector<std::string>& args, const std::string& keys = {}) const {
    testkit::RunOptions options;
    options.args = args;
    options.keys = keys;
    options.env = {{"TELUMA_ROOT", dir_.path()}, {"TELUMA_WINDIR", dir_.path() + "/windows"}};
    options.workDir = dir_.path();
    return testkit::RunHeadless(TELUMA_SAY_PROGRAM, options);
  }

  const testkit::TempDir& dir() const { return dir_; }

 private:
  testkit::TempDir dir_;
};

// The sounds of a run in order: "PLAY <file>" for recordings (folder dropped), "IMAGE <bytes>"
// for images, "DIPHONE" for each phonetic text.
std::vector<std::string> Sounds(const RunResult& r) {
  std::vector<std::string> out;
  for (const Event& e : r.events) {
    if (e.name == "PLAY") {
      std::string file = e.data;
      size_t slash = file.find_last_of("\\/");
      if (slash != std::string::npos) file = file.substr(slash + 1);
      if (!file.empty() && file.back() == '"') file.pop_back();
      out.push_back("PLAY " + file);
    } else if (e.name == "IMAGE") {
      out.push_back("IMAGE " + e.data.substr(0, e.data.find_first_of(" ,")));
    } else if (e.name == "DIPHONE") {
      out.push_back("DIPHONE");
    }
  }
  return out;
}

std::string Bytes(std::initializer_list<size_t> samples) {
  size_t n = 0;
  for (size_t s : samples) n += s;
  return "IMAGE " + std::to_string(n);
}

const Event* Find(const RunResult& r, const std::string& name, const std::string& part = {}) {
  for (const Event& e : r.events)
    if (e.name == name && e.data.find(part) != std::string::npos) return &e;
  return nullptr;
}

using Lines = std::vector<std::string>;

TEST(TelumaSay, ZerosDigitRunsAndSigns) {
  SayTree tree;
  RunResult r = tree.Say({"007"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(Sounds(r), (Lines{"PLAY _zero.wav", "PLAY _zero.wav", Bytes({1700})}));
  ASSERT_NE(Find(r, "SPEAK"), nullptr);
  EXPECT_EQ(testkit::Unquote(Find(r, "SPEAK")->data), "007");

  EXPECT_EQ(Sounds(tree.Say({"100"})), (Lines{Bytes({2000})}));
  EXPECT_EQ(Sounds(tree.Say({"-5"})), (Lines{"PLAY _MENOS.wav", Bytes({1500})}));
  EXPECT_EQ(Sounds(tree.Say({"5-3"})), (Lines{"PLAY _53.wav", "PLAY _45.wav", "PLAY _51.wav"}));
  EXPECT_EQ(Sounds(tree.Say({"1111111"})), Lines(7, "PLAY _49.wav"));
  // Six digits are a number: 111111 is cento e onze mil e cento e onze; only _e and _mil
  // are among the recordings here.
  EXPECT_EQ(Sounds(tree.Say({"111111"})), (Lines{Bytes({300, 2100, 300, 300})}));
}

TEST(TelumaSay, WordsHyphensAndWww) {
  SayTree tree;
  RunResult r = tree.Say({"Olá mundo!"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto diphones = r.Named("DIPHONE");
  ASSERT_GE(diphones.size(), 1u);
  // The two words reach the synthesizer together, then "!" is its letter recording.
  EXPECT_EQ(Sounds(r).at(0), "DIPHONE");
  EXPECT_NE(std::find(Sounds(r).begin(), Sounds(r).end(), "PLAY _33.wav"), Sounds(r).end());
  EXPECT_EQ(testkit::Unquote(r.Named("SPEAK").at(0).data), "Olá mundo!");

  RunResult hyphen = tree.Say({"guarda-chuva"});
  auto s = Sounds(hyphen);
  EXPECT_EQ(std::count(s.begin(), s.end(), "DIPHONE"), 2);
  EXPECT_EQ(std::count(s.begin(), s.end(), "PLAY _45.wav"), 0);

  auto www = Sounds(tree.Say({"www"}));
  EXPECT_EQ(std::count(www.begin(), www.end(), "PLAY _119.wav"), 3);
  EXPECT_EQ(std::count(www.begin(), www.end(), "DIPHONE"), 0);
}

TEST(TelumaSay, PunctuationPausesAndTheClick) {
  SayTree tree;
  RunResult r = tree.Say({"Fim. Sim"});
  ASSERT_EQ(r.exitCode, 0);
  const Event* dot = Find(r, "PLAY", "_46.wav");
  ASSERT_NE(dot, nullptr);
  auto diphones = r.Named("DIPHONE");
  ASSERT_EQ(diphones.size(), 2u);
  // The recording of "." (10 ms) and then the 400 ms pause of PAUSAPONTO2.
  EXPECT_GE(diphones[1].ms - dot->ms, 400);

  RunResult hyphens = tree.Say({"-----"});
  // Four hyphens are punctuation (their recording), the fifth is the click.
  EXPECT_EQ(Sounds(hyphens), (Lines{"PLAY _45.wav", "PLAY _45.wav", "PLAY _45.wav",
                                    "PLAY _45.wav", Bytes({256})}));
}

TEST(TelumaSay, AKeyStopsSpeakingAtOnce) {
  SayTree tree;
  std::string text;
  for (int i = 0; i < 40; ++i) text += "100, 5. ";
  RunResult r = tree.Say({text}, "+500 a\n");
  ASSERT_EQ(r.exitCode, 0);
  const Event* stop = Find(r, "STOP");
  ASSERT_NE(stop, nullptr);
  EXPECT_GE(stop->ms, 500);
  EXPECT_LT(stop->ms - 500, 50);
  // Nothing more is heard after the stop.
  for (const Event& e : r.events) {
    if (e.name == "PLAY" || e.name == "IMAGE") {
      EXPECT_LE(e.ms, stop->ms) << e.name << e.data;
    }
  }
  const Event* exit = Find(r, "EXIT");
  ASSERT_NE(exit, nullptr);
  EXPECT_LT(exit->ms - 500, 50);
  // The key was left in the queue for whoever reads keys next.
  auto keys = r.Named("KEY");
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].data, "97");
}

TEST(TelumaSay, BadSettingsFallBackToDefaults) {
  // Non-numeric speed: step 3, whose keys are missing, so the pauses are the defaults.
  SayTree tree(
      "[TRADUTOR]\r\nVELOCIDADE=abc\r\n[SINTETIZADOR]\r\nDIFONES3=VOZ\r\nPAUSAVIRG3=abc\r\n"
      "[TELUMA]\r\nPGMTELUMA=c:\\p@\\q\r\nX=@\\y\r\n");
  RunResult r = tree.Say({"5, 7"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto images = r.Named("IMAGE");
  ASSERT_EQ(images.size(), 2u);
  const Event* comma = Find(r, "PLAY", "_44.wav");
  ASSERT_NE(comma, nullptr);
  EXPECT_GE(images[1].ms - comma->ms, 150);
  EXPECT_LT(images[1].ms - comma->ms, 300);  // not the 300 ms of step 2

  SayTree longValues("[TRADUTOR]\r\nDIRLETRAS=" + std::string(5000, 'x') +
                     "\r\nVELOCIDADE=2\r\n[SINTETIZADOR]\r\nDIFONES2=" + std::string(5000, 'V') +
                     "\r\n");
  // The voice named by the long value (cut to "VVVVVVVV") does not exist: the start-up error,
  // not a crash.
  EXPECT_EQ(longValues.Say({"5"}).exitCode, 1);
}

// Huge pauses in the settings are cut to their ranges: a comma pause of at most 10 s, and a
// word pause of at most 10 s of samples instead of days of silence.
TEST(TelumaSay, HugeTimingSettingsAreCut) {
  SayTree tree(
      "[TRADUTOR]\r\nSAPI=N\r\nVELOCIDADE=2\r\n[SINTETIZADOR]\r\nDIFONES2=VOZ\r\n"
      "PAUSAVIRG2=2147483647\r\nINTERPAL2=2147483647\r\n");
  RunResult r = tree.Say({"a a, 5"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  size_t silence = 0;
  for (const Event& e : r.events)
    if (e.name == "IMAGE") silence += std::stoul(e.data);
  EXPECT_GE(silence, 110250u);
  EXPECT_LT(silence, 2 * 110250u);
  const Event* comma = Find(r, "PLAY", "_44.wav");
  ASSERT_NE(comma, nullptr);
  const Event* five = Find(r, "IMAGE", "1500");
  ASSERT_NE(five, nullptr);
  EXPECT_GE(five->ms - comma->ms, 9000);
  EXPECT_LE(five->ms - comma->ms, 10500);
}

TEST(TelumaSay, BadRecordingsAreSilent) {
  SayTree tree;
  tree.dir().Write(kLetters + "_zero.wav", "isto nao e um arquivo de som");
  tree.dir().Write(kLetters + "_33.wav", Wave(500).substr(0, 30));
  tree.dir().Write(kLetters + "_sete.wav", Wave(1700).substr(0, 200));
  RunResult r = tree.Say({"007!"});
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_NE(Find(r, "EXIT"), nullptr);
}

TEST(TelumaSay, VoiceThatCannotStartEndsWithTwoLines) {
  SayTree tree(kSettings, false);
  RunResult r = tree.Say({"ola"});
  std::string out = r.Output();
  EXPECT_NE(out.find("Erro de inicialização: 1"), std::string::npos) << out;
  EXPECT_NE(out.find("Banco de dados de voz: VOZ"), std::string::npos) << out;
  EXPECT_NE(out.find("Arquivo de configuração usado: " + tree.dir().path() + "/windows/TELUMA.INI."),
            std::string::npos)
      << out;
  EXPECT_EQ(Find(r, "DIPHONE"), nullptr);
  EXPECT_EQ(r.exitCode, 1);
}

// Without TELUMA.INI the voice cannot start: the two lines, where the file was looked for, and
// a failing exit code however the wait for Enter ends.
TEST(TelumaSay, MissingSettingsFileIsNamedAndFails) {
  SayTree tree;
  std::remove((tree.dir().path() + "/windows/TELUMA.INI").c_str());
  for (const std::string keys : {"", "Enter\n"}) {
    RunResult r = tree.Say({"ola"}, keys);
    std::string out = r.Output();
    EXPECT_NE(out.find("Erro de inicialização: 1\r\nBanco de dados de voz: \r\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("O arquivo de configuração TELUMA.INI não foi encontrado: procurado em " +
                       tree.dir().path() + "/windows e em " + tree.dir().path() + "."),
              std::string::npos)
        << out;
    EXPECT_EQ(r.exitCode, 1);
  }
}

TEST(TelumaSay, SettingsFromTheStartFolderWhenTheWindowsFolderHasNone) {
  SayTree tree;
  std::string ini = testkit::ReadFile(tree.dir().path() + "/windows/TELUMA.INI");
  tree.dir().Write("TELUMA.INI", ini);
  tree.dir().Write("windows/TELUMA.INI.old", ini);
  std::remove((tree.dir().path() + "/windows/TELUMA.INI").c_str());
  // The voice of step 2 ("DIFONES2") opens, so the start folder's file was read.
  RunResult r = tree.Say({"-5"});
  EXPECT_EQ(r.Output().find("Erro"), std::string::npos) << r.Output();
  EXPECT_EQ(Sounds(r), (Lines{"PLAY _MENOS.wav", Bytes({1500})}));
}

}  // namespace
