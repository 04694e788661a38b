#include "synth/diphone.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/env.hpp"
#include "platform/events.hpp"
#include "platform/paths.hpp"
#include "platform/profile.hpp"
#include "platform/random.hpp"
#include "platform/transcript.hpp"
#include "playback/tlwin_settings.hpp"
#include "synth/diphone_store.hpp"
#include "synth/translator.hpp"
#include "wave/tlwav.hpp"

namespace {

constexpr size_t kBlockSize = 64000;
constexpr size_t kHeaderSize = 44;
// A unit or recording must fit an empty block: 44 + n must stay below 64,000.
constexpr size_t kMaxPiece = kBlockSize - kHeaderSize - 1;
constexpr size_t kMaxToken = 40;
constexpr size_t kMaxSyllable = 12;
constexpr size_t kMaxUnit = 12;
constexpr size_t kNoiseBytes = 300;
constexpr int kMaxDecomposition = 32;

constexpr int32_t kPausePeriod = 8000;
constexpr int32_t kPauseComma = 4000;
constexpr int32_t kPauseSemicolon = 6000;
constexpr int32_t kPauseColon = 8000;

struct Synthesizer {
  std::string database = "DIFONES2";
  int32_t cut = 400;
  int32_t minimum = 0;
  int32_t wordPause = 100;

  std::string diphoneFolder;
  diphone::DiphoneIndex index;
  std::FILE* data = nullptr;
  bool open = false;

  std::vector<uint8_t> block;
  size_t position = kHeaderSize;
  int stress = 1;

  DiphoneBlockPlayer play;
  std::function<bool()> busy;
  DiphoneUnitObserver observer;
  std::function<bool(std::string_view)> lookupOverride;
  platform::Random random{1};
  bool seeded = false;
};

Synthesizer& S() {
  static Synthesizer s;
  return s;
}

bool IsRuleConsonant(char c) { return c != '\0' && std::strchr("bcdfgjklmnpqrstvxz", c); }
bool IsVowelOrGlide(char c) { return c != '\0' && std::strchr("AEIOUaeiouwy", c); }

void Observe(std::string_view name, int depth, DiphoneUnitResult result) {
  if (S().observer) S().observer(name, depth, result);
}

// ---- the sound block ----

void EnsureBlock() {
  if (S().block.empty()) {
    S().block.assign(kBlockSize, 0);
    S().position = kHeaderSize;
  }
}

void PlayBlock(const uint8_t* image, size_t length) {
  if (S().play) {
    S().play(image, length);
    return;
  }
  WavePlayImage(image, length);
  while (WaveBusy()) platform::WaitMessage();
}

bool SoundBusy() {
  if (S().busy) return S().busy();
  return WaveBusy();
}

void FlushBlock() {
  Synthesizer& s = S();
  if (s.position <= kHeaderSize) return;
  diphone::WriteWaveHeader(s.block.data(), static_cast<uint32_t>(s.position - kHeaderSize),
                           diphone::kSampleRate, 1, 8);
  size_t length = s.position;
  s.position = kHeaderSize;
  PlayBlock(s.block.data(), length);
}

void MakeRoom(size_t n) {
  if (S().position + n >= kBlockSize) {
    FlushBlock();
    while (SoundBusy()) platform::WaitMessage();
  }
}

void Append(const uint8_t* bytes, size_t n) {
  n = std::min(n, kMaxPiece);
  if (n == 0) return;  // a unit cut to nothing: no bytes (and no pointer) to copy
  MakeRoom(n);
  std::memcpy(S().block.data() + S().position, bytes, n);
  S().position += n;
}

void AppendSilence(int32_t bytes) {
  static const std::vector<uint8_t> run(100, 128);
  for (int32_t i = 0; i < bytes / 100; ++i) Append(run.data(), run.size());
}

void AppendNoise() {
  Synthesizer& s = S();
  if (!s.seeded) {
    s.random.Seed(platform::Env::Default().Seed());
    s.seeded = true;
  }
  uint8_t noise[kNoiseBytes];
  for (uint8_t& b : noise) b = static_cast<uint8_t>(88 + s.random.Below(80));
  Append(noise, kNoiseBytes);
}

// ---- units ----

bool AppendDiphone(std::string_view unit, int stress, double factor) {
  Synthesizer& s = S();
  std::string name(unit);
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (s.lookupOverride) return s.lookupOverride(name);
  diphone::IndexEntry entry;
  if (!s.index.Find(name, entry)) return false;
  int64_t length = entry.length;
  if (stress < 2 && name.size() >= 3) {
    int64_t shortened = length - s.cut;
    if (shortened < s.minimum) shortened = length < s.minimum ? length : s.minimum;
    length = shortened;
  }
  int64_t wanted = static_cast<int64_t>(static_cast<double>(length) * factor);
  wanted = std::clamp<int64_t>(wanted, 0, static_cast<int64_t>(kMaxPiece));
  std::vector<uint8_t> samples(static_cast<size_t>(wanted));
  size_t got = 0;
  if (s.data && wanted > 0 && std::fseek(s.data, static_cast<long>(entry.offset), SEEK_SET) == 0)
    got = std::fread(samples.data(), 1, samples.size(), s.data);
  Append(samples.data(), got);
  return true;
}

bool AppendRecording(std::string_view name) {
  Synthesizer& s = S();
  if (DiphoneLettersFolder().empty()) return false;
  std::ifstream file(platform::MapPath(DiphoneLettersFolder() + std::string(name) + ".wav"),
                     std::ios::binary);
  if (!file) return false;
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string samples = diphone::WaveSamplesAs8BitMono(bytes);
  if (samples.empty()) return false;
  Append(reinterpret_cast<const uint8_t*>(samples.data()), samples.size());
  return true;
}

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

void SpeakUnit(std::string_view unit, int stress, double factor, int depth) {
  std::string name(unit.substr(0, kMaxUnit));
  if (name.empty() || depth > kMaxDecomposition) return;
  bool found = name[0] == '_' ? AppendRecording(name) : AppendDiphone(name, stress, factor);
  Observe(name, depth, found ? DiphoneUnitResult::Found : DiphoneUnitResult::Missing);
  if (found) return;
  size_t n = name.size();
  if (n <= 2) {
    AppendNoise();
    Observe(name, depth, DiphoneUnitResult::Noise);
    return;
  }
  char last = name.back();
  if (IsVowelOrGlide(last)) {
    SpeakUnit(name.substr(0, n - 1), stress, 0.9 * factor, depth + 1);
    SpeakUnit(std::string("$") + last, stress, factor, depth + 1);
  } else if (EndsWith(name, "CIRC") && n >= 7) {
    SpeakUnit(name.substr(0, n - 5), stress, 0.9 * factor, depth + 1);
    std::string tail = "$";
    tail.append(name, n - 5, 5);
    SpeakUnit(tail, stress, factor, depth + 1);
  } else if (EndsWith(name, "TIL")) {
    std::string rest = name.substr(0, n - 3);
    char vowel = rest.empty() ? '\0' : static_cast<char>(std::toupper(
                                           static_cast<unsigned char>(rest.back())));
    if (vowel == 'I' || vowel == 'U')
      SpeakUnit(rest, stress, 0.9 * factor, depth + 1);
    else
      SpeakUnit(rest + "CIRC", 2, 0.9 * factor, depth + 1);
    SpeakUnit("$nn", 1, 0.9, depth + 1);
  } else {
    Observe(name, depth, DiphoneUnitResult::Dropped);
  }
}

void SpeakSyllable(std::string_view syllable, double factor) {
  Synthesizer& s = S();
  syllable = syllable.substr(0, kMaxSyllable);
  if (syllable.empty()) return;
  bool stressed = false;
  if (syllable[0] == '_') {
    if (syllable.size() >= 2) {
      std::string name = "_";
      name += std::to_string(static_cast<uint8_t>(syllable[1]));
      SpeakUnit(name, s.stress, factor, 0);
    }
  } else {
    std::string name = "$";
    for (char c : syllable) {
      if (c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U') {
        s.stress = 2;
        stressed = true;
        name += c;
      } else if (c == '^' || c == '~') {
        name += c == '^' ? "CIRC" : "TIL";
        SpeakUnit(name, s.stress, factor, 0);
        name.assign(1, '$');
      } else {
        name += c;
      }
    }
    if (name != "$") SpeakUnit(name, s.stress, factor, 0);
  }
  if (stressed) s.stress = 0;
}

void SpeakSegment(std::string_view t, double factor) {
  size_t n = t.size();
  if (n == 0) return;
  if (n == 1) return SpeakSyllable(t, factor);
  auto startsWith = [&](std::string_view head) { return t.substr(0, head.size()) == head; };
  if (n > 2 && IsRuleConsonant(t[0]) && IsRuleConsonant(t[1]) && !startsWith("dj") &&
      !startsWith("nh") && !startsWith("rr") && !startsWith("ks") && !startsWith("tch")) {
    SpeakSyllable(t.substr(0, 1), 1.0);
    return SpeakSegment(t.substr(1), factor);
  }
  if (n > 2 && EndsWith(t, "rr")) {
    SpeakSegment(t.substr(0, n - 2), factor);
    return SpeakSyllable("rr", factor);
  }
  if (n > 2 && IsRuleConsonant(t[n - 1])) {
    SpeakSegment(t.substr(0, n - 1), factor);
    return SpeakSegment(t.substr(n - 1), factor);
  }
  if (n > 2 && (t[n - 1] == 'w' || t[n - 1] == 'y') && IsVowelOrGlide(t[n - 2])) {
    SpeakSegment(t.substr(0, n - 1), 0.6);
    return SpeakSyllable(t.substr(n - 2), factor);
  }
  if (t[n - 2] == '^' || t[n - 2] == '~') {
    if (n > 3) {
      std::string head(t.substr(0, t[n - 2] == '~' ? n - 2 : n - 1));
      if (t[n - 2] == '~') head += '^';
      SpeakSegment(head, 0.6);
      const char tail[] = {t[n - 3], t[n - 1], t[n - 2]};
      return SpeakSyllable(std::string_view(tail, 3), factor);
    }
    std::string swapped{t[0]};
    if (n == 3) swapped += t[2];
    swapped += t[1];
    return SpeakSyllable(swapped, factor);
  }
  if (t != "_s" && t[n - 1] == 's') {
    SpeakSegment(t.substr(0, n - 1), 0.7);
    return SpeakSyllable("s", factor);
  }
  SpeakSyllable(t, factor);
}

int32_t PunctuationPause(std::string_view token) {
  if (token == "_,") return kPauseComma;
  if (token == "_.") return kPausePeriod;
  if (token == "_;") return kPauseSemicolon;
  if (token == "_:") return kPauseColon;
  return -1;
}

// Takes the token at scan; the token ends at a blank or "]" (stepped over) or at a "/" once
// it holds more than 8 characters.
std::string TakeToken(std::string_view text, size_t& scan) {
  Synthesizer& s = S();
  std::string token;
  auto add = [&](char c) {
    if (token.size() < kMaxToken) token += c;
  };
  if (scan < text.size() && text[scan] == '[') {
    s.stress = 1;
    ++scan;
  }
  bool endedBySlash = false;
  while (scan < text.size() && text[scan] != ' ' && text[scan] != ']') {
    char c = text[scan++];
    if (c == '/') {
      if (token.size() > 8) {
        endedBySlash = true;
        break;
      }
    } else if (c == '_') {
      add('_');
      if (scan < text.size()) add(text[scan++]);
    } else if (c == '|') {
      token = "_TRACO";
    } else {
      add(c);
    }
  }
  if (!endedBySlash && scan < text.size()) ++scan;
  return token;
}

bool OpenFolder(const char* key, const char* defaultValue, std::string& folder) {
  folder = platform::GetPrivateProfileString("TRADUTOR", key, defaultValue, 80, "TELUMA.INI");
  if (folder.empty() || !platform::DirExists(platform::MapPath(folder))) return false;
  if (folder.back() != '\\') folder += '\\';
  return true;
}

bool OpenVoiceFiles() {
  Synthesizer& s = S();
  if (!OpenFolder("DIRLETRAS", "c:\\qorbel\\som\\letras", DiphoneLettersFolder())) return false;
  if (!OpenFolder("DIRDIFONES", "c:\\qorbel\\som\\difones", s.diphoneFolder)) return false;
  std::string base = s.diphoneFolder + s.database.substr(0, diphone::kMaxUnitName);
  std::ifstream index(platform::MapPath(base + ".IND"), std::ios::binary);
  if (!index) return false;
  s.index.Assign(
      std::string((std::istreambuf_iterator<char>(index)), std::istreambuf_iterator<char>()));
  s.data = std::fopen(platform::MapPath(base + ".DIF").c_str(), "rb");
  return s.data != nullptr;
}

}  // namespace

int DiphoneOpen() {
  DiphoneClose();
  if (!OpenVoiceFiles()) return 1;
  Synthesizer& s = S();
  if (!LoadRules(s.diphoneFolder + "regras.rgr")) return 2;
  if (!LoadExceptions(s.diphoneFolder + "portug.exc")) return 2;
  EnsureBlock();
  s.open = true;
  return 0;
}

void DiphoneClose() {
  Synthesizer& s = S();
  s.block.clear();
  s.block.shrink_to_fit();
  FreeRules();
  if (s.data) std::fclose(s.data);
  s.data = nullptr;
  s.index.Clear();
  s.open = false;
}

void DiphoneSpeak(std::string_view phonetic, bool keepPunctuation) {
  platform::Transcript::Get().TextEvent("DIPHONE", phonetic);
  Synthesizer& s = S();
  EnsureBlock();
  s.position = kHeaderSize;
  s.stress = 1;
  size_t scan = 0;
  while (scan < phonetic.size()) {
    std::string token = TakeToken(phonetic, scan);
    if (!keepPunctuation) {
      int32_t pause = PunctuationPause(token);
      if (pause >= 0) {
        token.clear();
        AppendSilence(pause);
      }
    }
    SpeakSegment(token, 1.0);
    if (scan < phonetic.size() && scan > 0 && phonetic[scan - 1] != ' ')
      AppendSilence(s.wordPause);
  }
  FlushBlock();
  if (!s.open) {
    s.block.clear();
    s.block.shrink_to_fit();
  }
}

void SetDiphoneTiming(int32_t cut, int32_t minimum, int32_t wordPause) {
  S().cut = cut;
  S().minimum = minimum;
  S().wordPause = wordPause;
}

std::string& DiphoneDatabase() { return S().database; }
const std::string& DiphoneFolder() { return S().diphoneFolder; }
bool DiphoneIsOpen() { return S().open; }

void SetDiphonePlayer(DiphoneBlockPlayer play, std::function<bool()> busy) {
  S().play = std::move(play);
  S().busy = std::move(busy);
}

void SetDiphoneUnitObserver(DiphoneUnitObserver observer) { S().observer = std::move(observer); }

void SetDiphoneLookupOverride(std::function<bool(std::string_view)> lookup) {
  S().lookupOverride = std::move(lookup);
}
