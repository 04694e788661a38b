// The 23 entry points of libteluma-mbrola.so over the voice database and the synthesizer.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/paths.hpp"
#include "voice/pho_parser.hpp"
#include "voice/teluma_mbrola.h"
#include "voice/voice_database.hpp"
#include "voice/voice_synth.hpp"

#define MBR_EXPORT extern "C" __attribute__((visibility("default")))

struct MbrPhone {
  teluma::voice::PhoneLine line;
};

namespace teluma::voice {
namespace {

struct Voice {
  voice::VoiceDatabase db;
  std::unique_ptr<voice::VoiceSynth> synth;
  voice::LineSplitter lines;
  std::vector<voice::ParseError> errors;  // of the current call; kept for its capacity
  std::vector<std::pair<std::string, std::string>> aliases;  // input name -> database name
  std::vector<std::string> hidden;  // database names renamed away
  std::vector<int16_t> resampleIn;
  double resampleAt = 0;
};

std::unique_ptr<Voice> g_voice;
int g_error = MBR_ERROR_NONE;
std::string g_errorText;
bool g_noError = false;
int g_frequency = voice::kSampleRate;
float g_volume = 1.0f;
bool g_haveParser = false;
MbrParser g_parser{};

void SetError(int code, std::string text) {
  g_error = code;
  g_errorText = std::move(text);
}

// The last fault of a call is the one the caller reads.
void TakeErrors() {
  if (!g_voice || g_voice->errors.empty()) return;
  SetError(g_voice->errors.back().code, g_voice->errors.back().text);
  g_voice->errors.clear();
}

int CopyText(const std::string& text, char* buffer, int capacity) {
  if (buffer && capacity > 0) {
    size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
  }
  return static_cast<int>(text.size());
}

// A system path ("c:\qorbel\koraltts\br4") is mapped onto the data tree; a host path is kept.
std::string HostPath(const std::string& path) {
  bool system = path.find('\\') != std::string::npos ||
                (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])));
  return system ? platform::MapPath(path) : platform::ResolveCase(path);
}

void PushLine(voice::PhoneLine& line) {
  Voice& v = *g_voice;
  for (const auto& alias : v.aliases)
    if (alias.first == line.name) {
      line.name = alias.second;
      return v.synth->Push(line, v.errors, !g_noError);
    }
  if (std::find(v.hidden.begin(), v.hidden.end(), line.name) != v.hidden.end()) {
    v.errors.push_back({MBR_ERROR_UNKNOWN_PHONEME, "Fonema desconhecido: " + line.name});
    line.name.assign(1, '_');  // not = "_": GCC 12 warns falsely (-Wrestrict) on that
  }
  v.synth->Push(line, v.errors, !g_noError);
}

void TakeLine(const std::string& text, bool overlong) {
  Voice& v = *g_voice;
  if (overlong) return v.errors.push_back({MBR_ERROR_LINE, "Linha longa demais, ignorada"});
  if (voice::IsFlushMark(text)) return v.synth->Flush(v.errors, !g_noError);
  teluma::voice::PhoneLine line;
  if (voice::ParsePhoLine(text, line, v.errors)) PushLine(line);
}

void FlushVoice() {
  Voice& v = *g_voice;
  std::string rest;
  bool overlong = false;
  if (v.lines.TakeRest(rest, overlong)) TakeLine(rest, overlong);
  v.synth->Flush(v.errors, !g_noError);
}

// Phonemes from an installed parser, as far as it has them.
void PullParser() {
  for (int i = 0; g_haveParser && g_parser.next_phone && i < 100000; ++i) {
    MbrPhone* phone = nullptr;
    int got = g_parser.next_phone(g_parser.context, &phone);
    if (got == 1 && phone) {
      PushLine(phone->line);
      delete phone;
    } else {
      if (got < 0) FlushVoice();
      break;
    }
  }
}

// G.711 companding: sign, 3-bit segment, 4-bit step.
unsigned char MuLaw(int s) {
  int sign = s < 0 ? 0x80 : 0;
  int magnitude = std::min(s < 0 ? -s : s, 32635) + 0x84;
  int segment = 7;
  for (int mask = 0x4000; (magnitude & mask) == 0 && segment > 0; mask >>= 1) --segment;
  return static_cast<unsigned char>(~(sign | segment << 4 | ((magnitude >> (segment + 3)) & 0x0F)));
}

unsigned char ALaw(int s) {
  int value = s >> 3;
  int mask = value >= 0 ? 0xD5 : 0x55;
  if (value < 0) value = -value - 1;
  int segment = 0;
  while (segment < 8 && value > (0x1F << segment)) ++segment;
  if (segment >= 8) return static_cast<unsigned char>(0x7F ^ mask);
  int step = segment < 2 ? (value >> 1) & 0x0F : (value >> segment) & 0x0F;
  return static_cast<unsigned char>((segment << 4 | step) ^ mask);
}

size_t ReadNative(int16_t* out, size_t capacity) {
  return g_voice->synth->Read(out, capacity, g_volume);
}

// Linear interpolation to another output rate; the last sample read is kept for the next call.
size_t ReadResampled(int16_t* out, size_t capacity) {
  Voice& v = *g_voice;
  double step = static_cast<double>(voice::kSampleRate) / g_frequency;
  size_t n = 0;
  while (n < capacity) {
    size_t at = static_cast<size_t>(v.resampleAt);
    if (at + 1 >= v.resampleIn.size()) {
      int16_t chunk[1024];
      size_t got = ReadNative(chunk, sizeof chunk / sizeof chunk[0]);
      if (got == 0) break;
      if (at > 0 && at <= v.resampleIn.size()) {
        v.resampleIn.erase(v.resampleIn.begin(), v.resampleIn.begin() + static_cast<long>(at));
        v.resampleAt -= static_cast<double>(at);
      }
      v.resampleIn.insert(v.resampleIn.end(), chunk, chunk + got);
      continue;
    }
    double f = v.resampleAt - static_cast<double>(at);
    out[n++] = static_cast<int16_t>(std::lround(v.resampleIn[at] * (1 - f) + v.resampleIn[at + 1] * f));
    v.resampleAt += step;
  }
  return n;
}

bool Ready() {
  if (g_voice) return true;
  SetError(MBR_ERROR_NOT_READY, "Base de voz n\xE3o iniciada");
  return false;
}

// Name pairs "new old" separated by blanks or line ends.
std::vector<std::pair<std::string, std::string>> NamePairs(const char* text) {
  std::vector<std::pair<std::string, std::string>> pairs;
  if (!text) return pairs;
  std::vector<std::string> words;
  std::string word;
  for (const char* c = text;; ++c) {
    if (*c == 0 || *c == ' ' || *c == '\t' || *c == '\n' || *c == '\r') {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (*c == 0) break;
    } else {
      word += *c;
    }
  }
  for (size_t i = 0; i + 1 < words.size(); i += 2) pairs.emplace_back(words[i], words[i + 1]);
  return pairs;
}

}  // namespace
}  // namespace teluma::voice

// The entry points keep C linkage at global scope, as the interface's header declares them.
using namespace teluma;
using namespace teluma::voice;

MBR_EXPORT int init_MBR(const char* database_path) {
  g_voice.reset();
  g_error = MBR_ERROR_NONE;
  g_errorText.clear();
  if (!database_path || !*database_path) {
    SetError(MBR_ERROR_ARGUMENT, "Caminho da base de voz vazio");
    return -1;
  }
  auto v = std::make_unique<Voice>();
  std::string error;
  if (!voice::LoadVoiceDatabase(HostPath(database_path), v->db, error)) {
    SetError(MBR_ERROR_DATABASE, error);
    return -1;
  }
  if (v->db.FindPhoneme("_") < 0 || v->db.diphones.empty()) {
    SetError(MBR_ERROR_DATABASE, "Base de voz sem pausa ou sem difones");
    return -1;
  }
  v->synth = std::make_unique<voice::VoiceSynth>(v->db);
  g_voice = std::move(v);
  return 0;
}

MBR_EXPORT int init_rename_MBR(const char* database_path, const char* renames, const char* clones) {
  int result = init_MBR(database_path);
  if (result < 0) return result;
  for (auto& [from, to] : NamePairs(renames)) {
    if (g_voice->db.FindPhoneme(to) < 0) continue;
    g_voice->aliases.emplace_back(from, to);
    if (from != to) g_voice->hidden.push_back(to);
  }
  for (auto& [from, to] : NamePairs(clones))
    if (g_voice->db.FindPhoneme(to) >= 0) g_voice->aliases.emplace_back(from, to);
  return 0;
}

MBR_EXPORT int write_MBR(const char* lines) {
  if (!Ready()) return -1;
  if (!lines) {
    SetError(MBR_ERROR_ARGUMENT, "Texto nulo");
    return -1;
  }
  size_t length = std::strlen(lines);
  Voice& v = *g_voice;
  v.lines.Feed(std::string_view(lines, length));
  std::string line;
  bool overlong = false;
  while (v.lines.Next(line, overlong)) TakeLine(line, overlong);
  TakeErrors();
  return static_cast<int>(std::min<size_t>(length, 0x7FFFFFFF));
}

MBR_EXPORT int flush_MBR(void) {
  if (!Ready()) return -1;
  FlushVoice();
  TakeErrors();
  return 0;
}

MBR_EXPORT int read_MBR(short* buffer, int capacity) {
  if (!g_voice || !buffer || capacity <= 0) return 0;
  PullParser();
  size_t n = g_frequency == voice::kSampleRate
                 ? ReadNative(buffer, static_cast<size_t>(capacity))
                 : ReadResampled(buffer, static_cast<size_t>(capacity));
  TakeErrors();
  return static_cast<int>(n);
}

MBR_EXPORT int readtype_MBR(void* buffer, int capacity, int type) {
  if (type == MBR_LIN16) return read_MBR(static_cast<short*>(buffer), capacity);
  if (type != MBR_LIN8 && type != MBR_ULAW && type != MBR_ALAW) {
    SetError(MBR_ERROR_ARGUMENT, "Tipo de amostra desconhecido");
    return -1;
  }
  if (!buffer || capacity <= 0) return 0;
  unsigned char* out = static_cast<unsigned char*>(buffer);
  short chunk[1024];
  int total = 0;
  while (total < capacity) {
    int got = read_MBR(chunk, std::min(capacity - total, 1024));
    if (got <= 0) break;
    for (int i = 0; i < got; ++i) {
      int s = chunk[i];
      unsigned char byte;
      if (type == MBR_LIN8) {
        byte = static_cast<unsigned char>((s >> 8) + 128);
      } else {
        byte = type == MBR_ULAW ? MuLaw(s) : ALaw(s);
      }
      out[total + i] = byte;
    }
    total += got;
  }
  return total;
}

MBR_EXPORT void close_MBR(void) {
  if (g_haveParser && g_parser.close) g_parser.close(g_parser.context);
  g_haveParser = false;
  g_voice.reset();
}

MBR_EXPORT void reset_MBR(void) {
  g_error = MBR_ERROR_NONE;
  g_errorText.clear();
  if (g_haveParser && g_parser.reset) g_parser.reset(g_parser.context);
  if (!g_voice) return;
  g_voice->lines.Clear();
  g_voice->synth->Reset();
  g_voice->errors.clear();
  g_voice->resampleIn.clear();
  g_voice->resampleAt = 0;
}

MBR_EXPORT int lastError_MBR(void) { return g_error; }

MBR_EXPORT int lastErrorStr_MBR(char* buffer, int capacity) {
  return CopyText(g_errorText, buffer, capacity);
}

MBR_EXPORT void setNoError_MBR(int no_error) { g_noError = no_error != 0; }
MBR_EXPORT int getNoError_MBR(void) { return g_noError ? 1 : 0; }

MBR_EXPORT void setFreq_MBR(int frequency) {
  if (frequency < 8000 || frequency > 48000) return;
  g_frequency = frequency;
  if (g_voice) {
    g_voice->resampleIn.clear();
    g_voice->resampleAt = 0;
  }
}
MBR_EXPORT int getFreq_MBR(void) { return g_frequency; }

MBR_EXPORT void setVolumeRatio_MBR(float ratio) {
  if (ratio >= 0 && ratio <= 16) g_volume = ratio;
}
MBR_EXPORT float getVolumeRatio_MBR(void) { return g_volume; }

MBR_EXPORT int getVersion_MBR(char* buffer, int capacity) {
  return CopyText(std::string("teluma-mbrola ") + TELUMA_VERSION, buffer, capacity);
}

MBR_EXPORT int getDatabaseInfo_MBR(char* buffer, int capacity, int index) {
  if (!Ready()) return -1;
  const voice::VoiceDatabase& db = g_voice->db;
  std::string text;
  switch (index) {
    case 0: text = "br4: portugu\xEAs do Brasil, difones colhidos da voz brasileira do espeak-ng"; break;
    case 1: text = "formato " + std::to_string(voice::kFormatVersion); break;
    case 2: text = std::to_string(voice::kSampleRate) + " Hz, 16 bits"; break;
    case 3: text = std::to_string(db.phonemes.size()) + " fonemas"; break;
    case 4: text = std::to_string(db.diphones.size()) + " difones"; break;
    case 5:
      for (const auto& ph : db.phonemes) text += (text.empty() ? "" : " ") + ph.name;
      break;
    default: return -1;
  }
  return CopyText(text, buffer, capacity);
}

MBR_EXPORT void setParser_MBR(const MbrParser* parser) {
  if (g_haveParser && g_parser.close) g_parser.close(g_parser.context);
  g_haveParser = parser != nullptr;
  g_parser = parser ? *parser : MbrParser{};
}

MBR_EXPORT MbrPhone* init_Phone(const char* name, float duration_ms) {
  if (!name || !voice::IsPhonemeName(name)) return nullptr;
  auto* phone = new MbrPhone;
  phone->line.name = name;
  phone->line.durationMs = std::clamp<double>(std::isfinite(duration_ms) ? duration_ms : 0, 0,
                                              MBR_MAX_DURATION_MS);
  return phone;
}

MBR_EXPORT void reset_Phone(MbrPhone* phone) {
  if (phone) phone->line.targets.clear();
}

MBR_EXPORT void close_Phone(MbrPhone* phone) { delete phone; }

MBR_EXPORT int appendf0_Phone(MbrPhone* phone, float position, float pitch) {
  if (!phone || !std::isfinite(position) || !std::isfinite(pitch) || position < 0 ||
      position > 100 || pitch < MBR_MIN_PITCH || pitch > MBR_MAX_PITCH ||
      phone->line.targets.size() >= MBR_MAX_PITCH_PAIRS)
    return -1;
  phone->line.targets.push_back({position, pitch});
  return 0;
}
