#include "phoneme_set.hpp"

namespace teluma::tools::makevoice {

const std::vector<VoicePhoneme>& VoicePhonemes() {
  using K = voice::PhonemeClass;
  static const std::vector<VoicePhoneme> phonemes = {
      {"_", "", K::Pause, false},
      {"a", "a", K::Vowel, true},       {"@", "&", K::Vowel, true},
      {"e", "e", K::Vowel, true},       {"E", "E", K::Vowel, true},
      {"i", "i", K::Vowel, true},       {"o", "o", K::Vowel, true},
      {"O", "O", K::Vowel, true},       {"u", "u", K::Vowel, true},
      {"an", "&~", K::NasalVowel, true}, {"en", "e~", K::NasalVowel, true},
      {"in", "i~", K::NasalVowel, true}, {"on", "o~", K::NasalVowel, true},
      {"un", "u~", K::NasalVowel, true},
      // The glides are j and w: I and U would be read as the second half of a diphthong.
      {"y", "j", K::Glide, true},       {"w", "w", K::Glide, true},
      {"yn", "I~", K::Glide, true},     {"wn", "U~", K::Glide, true},
      {"p", "p", K::Stop, false},       {"b", "b", K::Stop, true},
      {"t", "t", K::Stop, false},       {"d", "d", K::Stop, true},
      {"k", "k", K::Stop, false},       {"g", "g", K::Stop, true},
      {"tS", "tS", K::Affricate, false}, {"dZ", "dZ", K::Affricate, true},
      {"f", "f", K::Fricative, false},  {"v", "v", K::Fricative, true},
      {"s", "s", K::Fricative, false},  {"z", "z", K::Fricative, true},
      {"S", "S", K::Fricative, false},  {"Z", "Z", K::Fricative, true},
      {"R", "x", K::Fricative, false},  {"s2", "s", K::Fricative, false},
      {"m", "m", K::Nasal, true},       {"n", "n", K::Nasal, true},
      {"J", "n^", K::Nasal, true},
      {"l", "l", K::Liquid, true},      {"L", "l^", K::Liquid, true},
      {"r", "*", K::Liquid, true},      {"r2", "r", K::Liquid, true},
  };
  return phonemes;
}

}  // namespace teluma::tools::makevoice
