// The voice database: diphones cut from recorded logatomes, with their pitch marks, in one
// little-endian file.
//
// File layout (all integers little-endian, offsets from the start of the file):
//
//   header, 64 bytes
//     0  8  magic "TLVOICE\0"
//     8  4  format version (kFormatVersion)
//    12  4  sample rate of the samples (16000)
//    16  4  phoneme count P (1..255)
//    20  4  diphone count D
//    24  4  pitch mark count M
//    28  4  sample count S
//    32  4  offset of the phoneme table (64)
//    36  4  offset of the diphone table
//    40  4  offset of the pitch marks
//    44  4  offset of the samples
//    48  4  pitch of the recordings in hertz (the voiced mark spacing is sample rate / pitch)
//    52  4  file size in bytes
//    56  4  FNV-1a checksum (32 bits) of every byte after the header
//    60  4  zero
//   phoneme table, P entries of 8 bytes
//     0  3  name, zero-padded (1 or 2 characters of A-Z a-z 2 @ _)
//     3  1  zero
//     4  1  class (PhonemeClass)
//     5  1  1 when voiced, else 0
//     6  2  zero
//   diphone table, D entries of 24 bytes, sorted by (left, right), each pair once
//     0  1  left phoneme (index into the phoneme table)
//     1  1  right phoneme
//     2  2  zero
//     4  4  first sample (index into the samples)
//     8  4  sample count (at least 1)
//    12  4  boundary: samples of the left phoneme, from the first (0..count)
//    16  4  first pitch mark (index into the marks)
//    20  4  pitch mark count (at least 1)
//   pitch marks, M entries of 4 bytes: bits 0-30 the mark's sample, counted from the diphone's
//     first sample and increasing within a diphone; bit 31 set for a voiced mark
//   samples, S entries of 2 bytes, signed
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace teluma::voice {

constexpr uint32_t kFormatVersion = 1;
constexpr int kSampleRate = 16000;
constexpr size_t kHeaderSize = 64;
constexpr size_t kPhonemeEntrySize = 8;
constexpr size_t kDiphoneEntrySize = 24;

// Used to bridge a missing diphone by a pair of the same classes.
enum class PhonemeClass : uint8_t {
  Pause = 0, Vowel, NasalVowel, Glide, Stop, Affricate, Fricative, Nasal, Liquid,
};

struct Phoneme {
  std::string name;
  PhonemeClass kind = PhonemeClass::Pause;
  bool voiced = false;
};

struct PitchMark {
  uint32_t sample = 0;  // from the diphone's first sample
  bool voiced = false;
};

struct Diphone {
  uint8_t left = 0, right = 0;
  uint32_t first = 0, count = 0, boundary = 0;
  uint32_t firstMark = 0, markCount = 0;
};

struct VoiceDatabase {
  std::vector<Phoneme> phonemes;
  std::vector<Diphone> diphones;  // sorted by (left, right)
  std::vector<PitchMark> marks;
  std::vector<int16_t> samples;
  uint32_t pitch = 200;
  std::vector<int32_t> pairIndex;  // left * P + right -> diphone, -1 when missing

  // The phoneme's index, or -1.
  int FindPhoneme(std::string_view name) const;
  // The diphone's index, or -1.
  int FindDiphone(int left, int right) const;
  // Builds pairIndex; called by the reader and by whoever fills the tables by hand.
  void IndexPairs();
};

// Reads a whole database file's bytes; false with a reason (Windows-1252) when anything is out
// of place. Nothing of the bytes is trusted; the checksum is only a quick test for a damaged
// copy, so the fuzz target may skip it to reach the rest.
bool ParseVoiceDatabase(std::string_view bytes, VoiceDatabase& db, std::string& error,
                        bool checkSum = true);
bool LoadVoiceDatabase(const std::string& path, VoiceDatabase& db, std::string& error);

// The file's bytes for a database (diphones must be sorted and unique).
std::string EncodeVoiceDatabase(const VoiceDatabase& db);

// A phoneme name may hold 1 or 2 of these characters.
bool IsPhonemeNameChar(char c);
bool IsPhonemeName(std::string_view name);

}  // namespace teluma::voice
