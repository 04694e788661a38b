// Numbers as spoken phrases (module tllenum): non-negative integers become Brazilian Portuguese
// number words, and word lists are played by joining the recordings of single words from the
// letters folder.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace teluma::numbers {

// Words of one group of three digit characters (hundreds, tens, units): "021" gives
// "vinte e um", "100" gives "cem", "000" gives "". A shorter text is taken as padded on the left
// with zeros; characters other than digits count as zeros.
std::string GroupToWords(std::string_view digits);

// Words of n, separated by single blanks; a trailing blank may remain after a scale word
// (1000 gives "mil "). Defined for 0 to 999,999,999,999,999 (the program passes at most
// 2147483647); a value outside that range gives "".
std::string NumberToWords(int64_t n);

// File name (without folder and ".wav") of the recording of one word: "_" + the word with
// "ã"/"õ" written "a"/"o", "dezessete" taken as "dezeset", cut to 8 characters. With
// feminineLast, "_um" becomes "_uma" and "_dois" becomes "_duas".
std::string NumberWordFile(std::string_view word, bool feminineLast);

// Plays the words from their recordings in the letters folder and returns when the sound has
// been played (or cut short by a key). With feminine, the last word "um"/"dois" is said as
// "uma"/"duas". Missing or unreadable recordings are skipped silently.
void SayWordsRecorded(std::string_view words, bool feminine);

// Size of the play buffer's sample area: the recordings are joined into chunks of at most this
// many bytes.
inline constexpr size_t kNumberChunkBytes = 30000;

}  // namespace teluma::numbers
