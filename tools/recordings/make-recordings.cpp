// make-recordings: builds the recordings, sound effects and picture of the data tree.
//
//   make-recordings ROOT      writes ROOT/qorbel/som/letras/... and ROOT/qorbel/som/moondrop/...
//
// Speech comes from espeak-ng's Brazilian Portuguese voice, trimmed of silence and brought to
// one loudness; effects are synthesised here. The output is the same on every run.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "effects.hpp"
#include "phrases.hpp"
#include "picture.hpp"
#include "voice.hpp"

namespace {

using recordings::Sound;

// Every recording is brought to this loudness (RMS of its sounding 20 ms frames).
constexpr double kTargetDb = -18.0;
// Number words are joined into a 30,000-byte buffer: no single word may be longer.
constexpr size_t kMaxNumberWordSamples = 30000;

struct Stats {
  int files = 0;
  double quietest = 0, loudest = -200;
  void Add(const Sound& s) {
    double db = recordings::ActiveLoudnessDb(s);
    if (files == 0 || db < quietest) quietest = db;
    loudest = std::max(loudest, db);
    ++files;
  }
};

bool MakeDirs(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      std::string part = path.substr(0, i);
      if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  return true;
}

bool Write(const std::string& path, Sound sound, int rate, int bits, Stats& stats,
           size_t maxSamples = 0) {
  recordings::NormalizeLoudness(sound, kTargetDb);
  Sound out = recordings::Resample(sound, rate);
  if (maxSamples && out.samples.size() > maxSamples) {
    out.samples.resize(maxSamples);
    recordings::FadeEdges(out);
  }
  stats.Add(out);
  if (recordings::WriteWave(path, out, bits)) return true;
  std::fprintf(stderr, "Não foi possível gravar %s: %s\n", path.c_str(), std::strerror(errno));
  return false;
}

void Progress(const char* what, size_t done, size_t total) {
  if (done % 25 == 0 || done == total) std::printf("  %s: %zu de %zu\n", what, done, total);
  std::fflush(stdout);
}

// Dual-tone signals of a telephone keypad ("X" stands for the star key).
Sound DialTone(char key) {
  static const char* const kKeys = "123456789X0#";
  static const double kRows[] = {697, 770, 852, 941}, kCols[] = {1209, 1336, 1477};
  int index = static_cast<int>(std::strchr(kKeys, key) - kKeys);
  double low = kRows[index / 3], high = kCols[index % 3];
  Sound s;
  s.rate = 22050;
  s.samples.resize(s.rate * 18 / 100);
  for (size_t i = 0; i < s.samples.size(); ++i) {
    double t = double(i) / s.rate;
    s.samples[i] = static_cast<float>(0.4 * (std::sin(2 * M_PI * low * t) + std::sin(2 * M_PI * high * t)));
  }
  recordings::FadeEdges(s);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
    std::printf("Uso: make-recordings PASTA\n"
                "Grava em PASTA/qorbel/som as gravações de letras, números, horas e datas,\n"
                "as frases e efeitos do jogo e a figura do foguete.\n");
    return 0;
  }
  if (argc == 2 && !std::strcmp(argv[1], "--version")) {
    std::printf("make-recordings %s\n", TELUMA_VERSION);
    return 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "Uso: make-recordings PASTA (veja --help)\n");
    return 2;
  }
  std::string root = argv[1];
  std::string letters = root + "/qorbel/som/letras/", game = root + "/qorbel/som/moondrop/";
  if (!MakeDirs(letters) || !MakeDirs(game)) {
    std::fprintf(stderr, "Não foi possível criar as pastas de som em %s\n", root.c_str());
    return 1;
  }
  if (!recordings::OpenVoice()) return 1;

  Stats stats;
  bool ok = true;
  auto numbers = recordings::NumberWordPhrases();
  std::printf("Gravando palavras de números...\n");
  for (size_t i = 0; i < numbers.size(); ++i) {
    ok &= Write(letters + numbers[i].file, recordings::Say(numbers[i].text), 11025, 8, stats,
                kMaxNumberWordSamples);
    Progress("números", i + 1, numbers.size());
  }
  auto phrases = recordings::LetterPhrases();
  std::printf("Gravando letras, símbolos e frases da pasta de letras...\n");
  for (size_t i = 0; i < phrases.size(); ++i) {
    ok &= Write(letters + phrases[i].file, recordings::Say(phrases[i].text), 11025, 8, stats);
    Progress("letras e frases", i + 1, phrases.size());
  }
  for (char key : std::string("0123456789X#"))
    ok &= Write(letters + "dtmf_" + key + ".wav", DialTone(key), 11025, 8, stats);

  auto messages = recordings::GamePhrases();
  std::printf("Gravando as mensagens do jogo...\n");
  for (size_t i = 0; i < messages.size(); ++i) {
    ok &= Write(game + messages[i].file, recordings::Say(messages[i].text), 22050, 16, stats);
    Progress("mensagens", i + 1, messages.size());
  }
  std::printf("Sintetizando os efeitos sonoros...\n");
  for (auto& effect : recordings::MakeEffects())
    ok &= Write(game + effect.file, effect.sound, 22050, 16, stats);
  ok &= recordings::WriteRocketPicture(game + "foguete.bmp");

  std::printf("%d gravações; volume entre %.1f e %.1f dB (diferença de %.1f dB)\n", stats.files,
              stats.quietest, stats.loudest, stats.loudest - stats.quietest);
  return ok ? 0 : 1;
}
