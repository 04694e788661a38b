// The voice library through its C interface, loaded by name with the run-time loader as the
// engine loads it, speaking with the database of the data tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/dynlib.hpp"
#include "testkit/testkit.hpp"
#include "voice/teluma_mbrola.h"
#include "voice/voice_database.hpp"

using namespace teluma;
using namespace teluma::voice;

namespace {

struct Mbrola {
  platform::LibraryHandle lib = platform::LoadLibrary(MBR_LIBRARY_NAME);
  template <typename F>
  F Get(const char* name) {
    F f = platform::GetProc<F>(lib, name);
    if (!f) ADD_FAILURE() << "sem " << name;
    return f;
  }
  decltype(&init_MBR) init = Get<decltype(&init_MBR)>("init_MBR");
  decltype(&write_MBR) write = Get<decltype(&write_MBR)>("write_MBR");
  decltype(&flush_MBR) flush = Get<decltype(&flush_MBR)>("flush_MBR");
  decltype(&read_MBR) read = Get<decltype(&read_MBR)>("read_MBR");
  decltype(&reset_MBR) reset = Get<decltype(&reset_MBR)>("reset_MBR");
  decltype(&close_MBR) close = Get<decltype(&close_MBR)>("close_MBR");
  decltype(&lastError_MBR) lastError = Get<decltype(&lastError_MBR)>("lastError_MBR");
  decltype(&lastErrorStr_MBR) lastErrorStr = Get<decltype(&lastErrorStr_MBR)>("lastErrorStr_MBR");
  decltype(&setNoError_MBR) setNoError = Get<decltype(&setNoError_MBR)>("setNoError_MBR");

  static Mbrola& Open(const std::string& database = testkit::DataRoot() + "/qorbel/koraltts/br4") {
    static Mbrola m;
    // Without the library every call below would go through a null pointer: the test fails
    // with a message instead of taking the whole program down.
    if (!m.init || !m.write || !m.flush || !m.read || !m.reset || !m.close || !m.lastError ||
        !m.lastErrorStr || !m.setNoError)
      throw std::runtime_error(std::string("biblioteca de voz não carregada: ") + MBR_LIBRARY_NAME);
    EXPECT_EQ(m.init(database.c_str()), 0) << m.Error();
    m.setNoError(0);
    return m;
  }
  std::string Error() {
    char text[300] = {};
    lastErrorStr(text, sizeof text);
    return text;
  }
  std::vector<int16_t> ReadAll(int capacity = 16000) {
    std::vector<int16_t> out, chunk(static_cast<size_t>(capacity));
    for (int got; (got = read(chunk.data(), capacity)) > 0;) out.insert(out.end(), chunk.begin(), chunk.begin() + got);
    return out;
  }
  std::vector<int16_t> Speak(const std::string& lines, int capacity = 16000) {
    reset();
    write(lines.c_str());
    flush();
    return ReadAll(capacity);
  }
};

// Pitch by normalised autocorrelation: the shortest lag that correlates nearly as well as the
// best one (so not a multiple of the period), refined by a parabola.
double MeasurePitch(const std::vector<int16_t>& s, size_t from, size_t length) {
  auto corr = [&](int lag) {
    double xy = 0, xx = 0, yy = 0;
    for (size_t i = from; i < from + length; ++i) {
      double x = s[i], y = s[i + static_cast<size_t>(lag)];
      xy += x * y, xx += x * x, yy += y * y;
    }
    return xy / std::sqrt(xx * yy + 1);
  };
  std::vector<double> c;
  for (int lag = 0; lag <= 16000 / 60; ++lag) c.push_back(lag < 16000 / 500 ? -1 : corr(lag));
  double top = *std::max_element(c.begin(), c.end());
  size_t lag = 16000 / 500;
  while (c[lag] < 0.85 * top) ++lag;
  while (lag + 1 < c.size() && c[lag + 1] > c[lag]) ++lag;
  double l = c[lag - 1], m = c[lag], r = lag + 1 < c.size() ? c[lag + 1] : m;
  double shift = (l - 2 * m + r) != 0 ? 0.5 * (l - r) / (l - 2 * m + r) : 0;
  return 16000.0 / (static_cast<double>(lag) + shift);
}

TEST(Voice, EveryPhonemeLastsItsDurationToTheSampleOverALongText) {
  Mbrola& m = Mbrola::Open();
  const char* names[] = {"a", "k", "i", "s2", "_", "l", "an", "wn", "tS", "E"};
  std::string text = "; duracoes com fracoes\r\n";
  double total = 0;
  for (int i = 0; i < 200; ++i) {
    double ms = 20 + (i * 37 % 130) + (i % 7) * 0.13;  // fractions of a sample add up
    total += ms;
    text += std::string(names[i % 10]) + " " + std::to_string(ms) + " 50 " + std::to_string(150 + i % 90) + "\r\n";
  }
  EXPECT_EQ(m.Speak(text).size(), static_cast<size_t>(std::llround(total * 16)));
  EXPECT_EQ(m.lastError(), 0) << m.Error();
}

TEST(Voice, PitchFollowsRisingAndFallingTargetsInEveryVoicedPhoneme) {
  Mbrola& m = Mbrola::Open();
  struct P { const char* name; double ms, hz; };
  std::vector<P> text = {{"m", 90, 170}, {"a", 160, 190}, {"n", 90, 215}, {"e", 160, 240},
                         {"l", 90, 265}, {"o", 160, 250}, {"m", 90, 225}, {"i", 160, 200},
                         {"an", 160, 180}, {"u", 160, 160}};
  std::string lines = "_ 60\n";
  for (const P& p : text) lines += std::string(p.name) + " " + std::to_string(p.ms) + " 50 " + std::to_string(p.hz) + "\n";
  lines += "_ 60\n";
  std::vector<int16_t> s = m.Speak(lines);
  double start = 60;
  for (size_t i = 0; i < text.size(); ++i) {
    // The middle half of the phoneme; the contour is a straight line there, so its mean is the
    // value at the middle.
    double from = start + text[i].ms * 0.25, to = start + text[i].ms * 0.75;
    double mid = (from + to) / 2;
    const P* a = &text[i];
    const P* b = mid < start + text[i].ms / 2 ? (i ? &text[i - 1] : a) : (i + 1 < text.size() ? &text[i + 1] : a);
    double ta = start + a->ms / 2;
    double tb = b == a ? ta : b < a ? start - b->ms / 2 : start + a->ms + b->ms / 2;
    double expected = tb == ta ? a->hz : a->hz + (b->hz - a->hz) * (mid - ta) / (tb - ta);
    double measured = MeasurePitch(s, static_cast<size_t>(from * 16), static_cast<size_t>((to - from) * 16));
    EXPECT_NEAR(measured, expected, expected * 0.03) << text[i].name << " no fonema " << i;
    start += text[i].ms;
  }
}

TEST(Voice, PauseIsSilenceAndResetForgetsTheOldText) {
  Mbrola& m = Mbrola::Open();
  std::vector<int16_t> s = m.Speak("a 100 50 200\n_ 300\na 100 50 200\n");
  ASSERT_EQ(s.size(), 500u * 16);
  EXPECT_GT(*std::max_element(s.begin(), s.begin() + 1600), 1000);
  // The middle of the pause: the vowel's decay and the next onset stay within 30 ms of it.
  EXPECT_TRUE(std::all_of(s.begin() + 130 * 16, s.begin() + 370 * 16, [](int16_t v) { return v == 0; }));

  std::vector<int16_t> fresh = m.Speak("o 120 50 210\nk 60\no 120\n");
  m.reset();
  m.write("a 200 50 300\nS 100\ni 200 50 120\nm 80");
  std::vector<int16_t> part = m.ReadAll();
  EXPECT_GT(part.size(), 0u) << "som antes do fim do texto";
  m.reset();
  m.write("o 120 50 210\nk 60\no 120\n");
  m.flush();
  EXPECT_EQ(m.ReadAll(), fresh);
}

TEST(Voice, ReadsOfAnyCapacityGiveTheSameSamples) {
  Mbrola& m = Mbrola::Open();
  const std::string text = "_ 50\nb 70 50 190\nO 140 20 230 80 200\nL 80\n@ 120 50 180\n_ 40\n";
  std::vector<int16_t> big = m.Speak(text, 16000);
  EXPECT_EQ(m.Speak(text, 7), big);
  EXPECT_EQ(m.Speak(text, 1), big);
  // Lines arriving in pieces make the same sound too.
  m.reset();
  for (char c : text) m.write(std::string(1, c).c_str());
  m.flush();
  EXPECT_EQ(m.ReadAll(), big);
}

TEST(Voice, MissingDiphoneIsBridgedAndSounds) {
  voice::VoiceDatabase db;
  std::string error;
  ASSERT_TRUE(voice::LoadVoiceDatabase(testkit::DataRoot() + "/qorbel/koraltts/br4", db, error)) << error;
  int a = db.FindPhoneme("a"), k = db.FindPhoneme("k");
  db.diphones.erase(db.diphones.begin() + db.FindDiphone(a, k));
  testkit::TempDir dir;
  std::string path = dir.Write("sem-a-k", voice::EncodeVoiceDatabase(db));
  Mbrola& m = Mbrola::Open(path);
  std::vector<int16_t> s = m.Speak("a 150 50 200\nk 90\na 150 50 200\n");
  EXPECT_EQ(m.lastError(), MBR_ERROR_MISSING_DIPHONE);
  EXPECT_NE(m.Error().find("a-k"), std::string::npos) << m.Error();
  ASSERT_EQ(s.size(), 390u * 16);
  EXPECT_GT(*std::max_element(s.begin() + 100 * 16, s.begin() + 150 * 16), 1000);

  m.setNoError(1);
  EXPECT_EQ(m.Speak("a 150 50 200\nk 90\na 150 50 200\n"), s);
  EXPECT_EQ(m.lastError(), 0);
  Mbrola::Open();
}

TEST(Voice, EveryMalformedLineGivesAnErrorAndNoCrash) {
  Mbrola& m = Mbrola::Open();
  std::string huge(100 * 1024, 'a');
  std::string pairs = "a 100";
  for (int i = 0; i < MBR_MAX_PITCH_PAIRS + 5; ++i) pairs += " 50 200";
  const std::vector<std::pair<std::string, int>> bad = {
      {"xx 100 50 200\n", MBR_ERROR_UNKNOWN_PHONEME}, {"a+b 100\n", MBR_ERROR_UNKNOWN_PHONEME},
      {"a -40\n", MBR_ERROR_DURATION},               {"a 1e300\n", MBR_ERROR_DURATION},
      {"a\n", MBR_ERROR_DURATION},                   {"a dez\n", MBR_ERROR_DURATION},
      {pairs + "\n", MBR_ERROR_PITCH},               {"a 100 150 200\n", MBR_ERROR_PITCH},
      {"a 100 -5 200\n", MBR_ERROR_PITCH},           {"a 100 50 0\n", MBR_ERROR_PITCH},
      {"a 100 50 nan\n", MBR_ERROR_PITCH},           {"a 100 50 1e300\n", MBR_ERROR_PITCH},
      {"a 100 50\n", MBR_ERROR_PITCH},               {huge + "\n", MBR_ERROR_LINE},
  };
  for (const auto& [line, code] : bad) {
    std::vector<int16_t> s = m.Speak("_ 20\n" + line + "o 30\n");
    EXPECT_EQ(m.lastError(), code) << line.substr(0, 40);
    EXPECT_FALSE(m.Error().empty());
    EXPECT_LE(s.size(), (20u + MBR_MAX_DURATION_MS + 30u) * 16);
  }
  // A clamped duration still counts: 10 s at most.
  EXPECT_EQ(m.Speak("a 99999\n").size(), static_cast<size_t>(MBR_MAX_DURATION_MS) * 16);
  // Errors of the interface itself.
  short buffer[4];
  EXPECT_EQ(m.read(buffer, 0), 0);
  EXPECT_EQ(m.read(nullptr, 4), 0);
  EXPECT_LT(m.write(nullptr), 0);
  m.reset();
  EXPECT_EQ(m.lastError(), 0);
  EXPECT_LT(m.init("/nao/existe/br4"), 0);
  EXPECT_EQ(m.lastError(), MBR_ERROR_DATABASE);
  EXPECT_EQ(m.write("a 100\n"), -1);
  Mbrola::Open();
}

TEST(Voice, DatabaseReaderRefusesDamage) {
  std::string bytes = testkit::ReadFile(testkit::DataRoot() + "/qorbel/koraltts/br4");
  voice::VoiceDatabase db;
  std::string error;
  ASSERT_TRUE(voice::ParseVoiceDatabase(bytes, db, error)) << error;
  EXPECT_EQ(voice::EncodeVoiceDatabase(db), bytes);
  for (size_t at : {size_t{0}, size_t{9}, size_t{17}, size_t{37}, bytes.size() / 2, bytes.size() - 1}) {
    std::string damaged = bytes;
    damaged[at] ^= 0x40;
    EXPECT_FALSE(voice::ParseVoiceDatabase(damaged, db, error)) << at;
  }
  EXPECT_FALSE(voice::ParseVoiceDatabase(bytes.substr(0, bytes.size() - 2), db, error));
}

TEST(Voice, OtherEntryPointsDoWhatTheirNamesSay) {
  Mbrola& m = Mbrola::Open();
  auto get = [&](auto f, const char* name) { return platform::GetProc<decltype(f)>(m.lib, name); };
  auto setFreq = get(&setFreq_MBR, "setFreq_MBR");
  auto setVolume = get(&setVolumeRatio_MBR, "setVolumeRatio_MBR");
  auto readtype = get(&readtype_MBR, "readtype_MBR");
  auto initRename = get(&init_rename_MBR, "init_rename_MBR");
  auto setParser = get(&setParser_MBR, "setParser_MBR");
  auto initPhone = get(&init_Phone, "init_Phone");
  auto appendf0 = get(&appendf0_Phone, "appendf0_Phone");
  auto info = get(&getDatabaseInfo_MBR, "getDatabaseInfo_MBR");
  const std::string text = "_ 30\nm 80 50 200\na 200 50 220\n_ 30\n";
  std::vector<int16_t> plain = m.Speak(text);

  setFreq(8000);
  EXPECT_NEAR(static_cast<double>(m.Speak(text).size()), plain.size() / 2.0, 2);
  setFreq(16000);
  setVolume(0.5f);
  std::vector<int16_t> half = m.Speak(text);
  setVolume(1.0f);
  ASSERT_EQ(half.size(), plain.size());
  for (size_t i = 0; i < plain.size(); i += 97) EXPECT_NEAR(half[i], plain[i] / 2.0, 1.0);

  m.reset();
  m.write(text.c_str());
  m.flush();
  std::vector<unsigned char> bytes(plain.size() + 10);
  ASSERT_EQ(readtype(bytes.data(), static_cast<int>(bytes.size()), MBR_LIN8), static_cast<int>(plain.size()));
  for (size_t i = 0; i < plain.size(); i += 97) EXPECT_NEAR(bytes[i], 128 + plain[i] / 256.0, 1.0);
  EXPECT_EQ(readtype(bytes.data(), 4, 99), -1);

  char line[100];
  EXPECT_GT(info(line, sizeof line, 4), 0);
  EXPECT_EQ(std::string(line), "1681 difones");

  // "A" read as "a", and "a" itself no longer known.
  ASSERT_EQ(initRename((testkit::DataRoot() + "/qorbel/koraltts/br4").c_str(), "A a", nullptr), 0);
  EXPECT_EQ(m.Speak("_ 30\nm 80 50 200\nA 200 50 220\n_ 30\n"), plain);
  m.Speak("a 50\n");
  EXPECT_EQ(m.lastError(), MBR_ERROR_UNKNOWN_PHONEME);
  Mbrola::Open();

  // A parser of our own, handing over the same phonemes.
  struct Source {
    decltype(&init_Phone) make;
    decltype(&appendf0_Phone) pitch;
    int next = 0;
  } source{initPhone, appendf0};
  MbrParser parser{&source, [](void* c, MbrPhone** phone) {
                     auto* s = static_cast<Source*>(c);
                     const char* names[] = {"_", "m", "a", "_"};
                     const float ms[] = {30, 80, 200, 30}, hz[] = {0, 200, 220, 0};
                     if (s->next == 4) return ++s->next, -1;
                     if (s->next > 4) return 0;
                     *phone = s->make(names[s->next], ms[s->next]);
                     if (hz[s->next] > 0) s->pitch(*phone, 50, hz[s->next]);
                     return ++s->next, 1;
                   }, nullptr, nullptr};
  m.reset();
  setParser(&parser);
  EXPECT_EQ(m.ReadAll(), plain);
  setParser(nullptr);
  EXPECT_EQ(appendf0(nullptr, 50, 200), -1);
  EXPECT_EQ(initPhone("a+", 10), nullptr);
}

TEST(Voice, DataTreeListsTheDatabasesPairsAndNamesItInTheRegistry) {
  voice::VoiceDatabase db;
  std::string error;
  ASSERT_TRUE(voice::LoadVoiceDatabase(testkit::DataRoot() + "/qorbel/koraltts/br4", db, error)) << error;
  std::string list = testkit::ReadFile(testkit::DataRoot() + "/qorbel/koraltts/portug.dfn");
  size_t pairs = 0;
  for (size_t at = 0; (at = list.find("\r\n", at)) != std::string::npos; at += 2) ++pairs;
  EXPECT_EQ(pairs, db.diphones.size() + 1);  // and the comment line
  EXPECT_NE(list.find("\r\nr2\t_\r\n"), std::string::npos);
  EXPECT_EQ(testkit::ReadFile(testkit::DataRoot() + "/windows/registro.reg"),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\TCTS\\Mbrola\\databases\\br4]\r\n"
            "@=\"c:\\\\qorbel\\\\koraltts\\\\br4\"\r\n\r\n");
}

TEST(Voice, SystemPathOfTheDatabaseAndTheCommand) {
  Mbrola& m = Mbrola::Open();
  setenv("TELUMA_ROOT", testkit::DataRoot().c_str(), 1);
  EXPECT_EQ(m.init("c:\\QORBEL\\koraltts\\br4"), 0) << m.Error();
  std::vector<int16_t> lib = m.Speak("_ 20\nb 70 50 190\nO 140 50 230\n");

  testkit::TempDir dir;
  std::string pho = dir.Write("t.pho", "_ 20\r\nb 70 50 190\r\nO 140 50 230\r\nxx 10\r\n");
  std::string program = testkit::BuildDir() + "/src/apps/teluma-mbrola";
  std::string command = program + " -w " + dir.path() + "/t.wav " + testkit::DataRoot() +
                        "/qorbel/koraltts/br4 " + pho + " 2>" + dir.path() + "/err.txt";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::string wave = testkit::ReadFile(dir.path() + "/t.wav");
  ASSERT_EQ(wave.size(), 44 + 240u * 32);
  EXPECT_EQ(wave.substr(0, 4), "RIFF");
  EXPECT_EQ(std::string(wave.data() + 44, 230 * 32), std::string(reinterpret_cast<const char*>(lib.data()), 230 * 32));
  EXPECT_NE(testkit::ReadFile(dir.path() + "/err.txt").find("xx"), std::string::npos);
  EXPECT_EQ(std::system((program + " --help >/dev/null").c_str()), 0);
  EXPECT_NE(std::system((program + " " + dir.path() + "/nada " + pho + " >/dev/null 2>&1").c_str()), 0);
  Mbrola::Open();
}

}  // namespace
