#include "voice/voice_database.hpp"

#include <cstring>
#include <fstream>
#include <iterator>

namespace teluma::voice {
namespace {

constexpr char kMagic[8] = {'T', 'L', 'V', 'O', 'I', 'C', 'E', '\0'};
constexpr uint32_t kVoicedBit = 0x80000000u;
// A database larger than this is refused before it is read.
constexpr uint64_t kMaxFileSize = 512u << 20;

uint32_t Get32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

void Put32(std::string& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Put32At(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t Fnv1a(std::string_view b) {
  uint32_t h = 2166136261u;
  for (char c : b) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
  return h;
}

// Does [offset, offset + count * size) lie inside the file?
bool Fits(uint64_t offset, uint64_t count, uint64_t size, uint64_t fileSize) {
  return offset <= fileSize && count * size <= fileSize - offset;
}

bool Fail(std::string& error, const char* why) {
  error = std::string("Base de voz danificada: ") + why;
  return false;
}

}  // namespace

bool IsPhonemeNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '2' || c == '@' || c == '_';
}

bool IsPhonemeName(std::string_view name) {
  if (name.empty() || name.size() > 2) return false;
  for (char c : name)
    if (!IsPhonemeNameChar(c)) return false;
  return true;
}

int VoiceDatabase::FindPhoneme(std::string_view name) const {
  for (size_t i = 0; i < phonemes.size(); ++i)
    if (phonemes[i].name == name) return static_cast<int>(i);
  return -1;
}

int VoiceDatabase::FindDiphone(int left, int right) const {
  int n = static_cast<int>(phonemes.size());
  if (left < 0 || right < 0 || left >= n || right >= n) return -1;
  size_t at = static_cast<size_t>(left) * phonemes.size() + static_cast<size_t>(right);
  return at < pairIndex.size() ? pairIndex[at] : -1;
}

void VoiceDatabase::IndexPairs() {
  pairIndex.assign(phonemes.size() * phonemes.size(), -1);
  for (size_t i = 0; i < diphones.size(); ++i) {
    size_t at = static_cast<size_t>(diphones[i].left) * phonemes.size() + diphones[i].right;
    if (at < pairIndex.size()) pairIndex[at] = static_cast<int32_t>(i);
  }
}

bool ParseVoiceDatabase(std::string_view b, VoiceDatabase& db, std::string& error, bool checkSum) {
  db = VoiceDatabase{};
  if (b.size() < kHeaderSize) return Fail(error, "arquivo curto demais");
  if (std::memcmp(b.data(), kMagic, sizeof kMagic) != 0)
    return Fail(error, "n\xE3o \xE9 uma base de voz");
  if (Get32(b, 8) != kFormatVersion) return Fail(error, "vers\xE3o desconhecida");
  if (Get32(b, 12) != kSampleRate) return Fail(error, "taxa de amostragem errada");
  uint64_t size = b.size();
  uint32_t p = Get32(b, 16), d = Get32(b, 20), m = Get32(b, 24), s = Get32(b, 28);
  uint32_t phonemeAt = Get32(b, 32), diphoneAt = Get32(b, 36), markAt = Get32(b, 40),
           sampleAt = Get32(b, 44);
  db.pitch = Get32(b, 48);
  if (Get32(b, 52) != size) return Fail(error, "tamanho errado");
  if (checkSum && Get32(b, 56) != Fnv1a(b.substr(kHeaderSize))) return Fail(error, "soma de verifica\xE7\xE3o");
  if (p == 0 || p > 255) return Fail(error, "n\xFAmero de fonemas");
  if (db.pitch < 50 || db.pitch > 500) return Fail(error, "altura das grava\xE7\xF5" "es");
  if (!Fits(phonemeAt, p, kPhonemeEntrySize, size) || !Fits(diphoneAt, d, kDiphoneEntrySize, size) ||
      !Fits(markAt, m, 4, size) || !Fits(sampleAt, s, 2, size))
    return Fail(error, "tabela fora do arquivo");

  for (uint32_t i = 0; i < p; ++i) {
    std::string_view e = b.substr(phonemeAt + i * kPhonemeEntrySize, kPhonemeEntrySize);
    std::string name(e.substr(0, 3).data(), strnlen(e.data(), 3));
    if (!IsPhonemeName(name) || e[3] != 0) return Fail(error, "nome de fonema");
    if (static_cast<uint8_t>(e[4]) > static_cast<uint8_t>(PhonemeClass::Liquid) ||
        static_cast<uint8_t>(e[5]) > 1)
      return Fail(error, "classe de fonema");
    if (db.FindPhoneme(name) >= 0) return Fail(error, "fonema repetido");
    db.phonemes.push_back({name, static_cast<PhonemeClass>(e[4]), e[5] == 1});
  }
  db.marks.reserve(m);
  for (uint32_t i = 0; i < m; ++i) {
    uint32_t v = Get32(b, markAt + i * 4u);
    db.marks.push_back({v & ~kVoicedBit, (v & kVoicedBit) != 0});
  }
  db.diphones.reserve(d);
  for (uint32_t i = 0; i < d; ++i) {
    size_t at = diphoneAt + static_cast<size_t>(i) * kDiphoneEntrySize;
    Diphone x;
    x.left = static_cast<uint8_t>(b[at]);
    x.right = static_cast<uint8_t>(b[at + 1]);
    x.first = Get32(b, at + 4);
    x.count = Get32(b, at + 8);
    x.boundary = Get32(b, at + 12);
    x.firstMark = Get32(b, at + 16);
    x.markCount = Get32(b, at + 20);
    if (x.left >= p || x.right >= p) return Fail(error, "difone com fonema inexistente");
    if (i > 0) {
      const Diphone& prev = db.diphones.back();
      if (prev.left > x.left || (prev.left == x.left && prev.right >= x.right))
        return Fail(error, "difones fora de ordem");
    }
    if (x.count == 0 || x.first > s || x.count > s - x.first || x.boundary > x.count)
      return Fail(error, "amostras de um difone");
    if (x.markCount == 0 || x.firstMark > m || x.markCount > m - x.firstMark)
      return Fail(error, "marcas de um difone");
    for (uint32_t k = 0; k < x.markCount; ++k) {
      uint32_t mark = db.marks[x.firstMark + k].sample;
      if (mark >= x.count || (k > 0 && mark <= db.marks[x.firstMark + k - 1].sample))
        return Fail(error, "marcas de um difone");
    }
    db.diphones.push_back(x);
  }
  db.samples.resize(s);
  for (uint32_t i = 0; i < s; ++i) {
    size_t at = sampleAt + static_cast<size_t>(i) * 2;
    db.samples[i] = static_cast<int16_t>(static_cast<uint16_t>(
        static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8));
  }
  db.IndexPairs();
  return true;
}

bool LoadVoiceDatabase(const std::string& path, VoiceDatabase& db, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "Base de voz n\xE3o encontrada: " + path;
    return false;
  }
  in.seekg(0, std::ios::end);
  std::streamoff length = in.tellg();
  if (length < 0 || static_cast<uint64_t>(length) > kMaxFileSize) {
    error = "Base de voz ileg\xEDvel: " + path;
    return false;
  }
  in.seekg(0);
  std::string bytes(static_cast<size_t>(length), '\0');
  if (!in.read(bytes.data(), length)) {
    error = "Base de voz ileg\xEDvel: " + path;
    return false;
  }
  return ParseVoiceDatabase(bytes, db, error);
}

std::string EncodeVoiceDatabase(const VoiceDatabase& db) {
  std::string b(kHeaderSize, '\0');
  std::memcpy(b.data(), kMagic, sizeof kMagic);
  uint32_t phonemeAt = kHeaderSize;
  uint32_t diphoneAt = phonemeAt + static_cast<uint32_t>(db.phonemes.size() * kPhonemeEntrySize);
  uint32_t markAt = diphoneAt + static_cast<uint32_t>(db.diphones.size() * kDiphoneEntrySize);
  uint32_t sampleAt = markAt + static_cast<uint32_t>(db.marks.size() * 4);
  for (const Phoneme& ph : db.phonemes) {
    char e[8] = {};
    std::memcpy(e, ph.name.data(), std::min<size_t>(ph.name.size(), 2));
    e[4] = static_cast<char>(ph.kind);
    e[5] = ph.voiced ? 1 : 0;
    b.append(e, 8);
  }
  for (const Diphone& x : db.diphones) {
    b.push_back(static_cast<char>(x.left));
    b.push_back(static_cast<char>(x.right));
    b.append(2, '\0');
    for (uint32_t v : {x.first, x.count, x.boundary, x.firstMark, x.markCount}) Put32(b, v);
  }
  for (const PitchMark& mark : db.marks) Put32(b, mark.sample | (mark.voiced ? kVoicedBit : 0));
  for (int16_t v : db.samples) {
    b.push_back(static_cast<char>(static_cast<uint16_t>(v) & 0xFF));
    b.push_back(static_cast<char>(static_cast<uint16_t>(v) >> 8));
  }
  uint32_t fields[] = {kFormatVersion,
                       static_cast<uint32_t>(kSampleRate),
                       static_cast<uint32_t>(db.phonemes.size()),
                       static_cast<uint32_t>(db.diphones.size()),
                       static_cast<uint32_t>(db.marks.size()),
                       static_cast<uint32_t>(db.samples.size()),
                       phonemeAt, diphoneAt, markAt, sampleAt, db.pitch,
                       static_cast<uint32_t>(b.size())};
  for (size_t i = 0; i < std::size(fields); ++i) Put32At(b, 8 + 4 * i, fields[i]);
  Put32At(b, 56, Fnv1a(std::string_view(b).substr(kHeaderSize)));
  return b;
}

}  // namespace teluma::voice
