// The phonemes of the Portuguese voice and how espeak-ng's Brazilian voice is asked to say them.
#pragma once
#include <string>
#include <vector>

#include "voice/voice_database.hpp"

namespace teluma::tools::makevoice {

struct VoicePhoneme {
  std::string name;      // our name (PHONEMES.md)
  std::string espeak;    // espeak-ng phoneme mnemonic; empty for the pause
  voice::PhonemeClass kind;
  bool voiced;
};

// Every phoneme of the voice, the pause "_" first; the order is the database's.
const std::vector<VoicePhoneme>& VoicePhonemes();

inline bool IsVowelLike(const VoicePhoneme& p) {
  return p.kind == voice::PhonemeClass::Vowel || p.kind == voice::PhonemeClass::NasalVowel ||
         p.kind == voice::PhonemeClass::Glide;
}

}  // namespace teluma::tools::makevoice
