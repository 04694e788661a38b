// What the recording tool says: every phrase of the letters folder and of the game folder,
// with the file name it goes into and the text espeak-ng speaks (UTF-8).
#pragma once
#include <string>
#include <vector>

namespace teluma::tools::recordings {

struct Phrase {
  std::string file;  // file name without folder, with ".wav"
  std::string text;  // UTF-8 text to speak
};

// Letters folder: character names, "_MENOS", number words, time and date phrases, editor
// phrases and the letters' own spelling words ("_FON" + code).
std::vector<Phrase> LetterPhrases();

// Number words: the recordings the spoken numbers join (kept under 30,000 samples each).
std::vector<Phrase> NumberWordPhrases();

// Game folder: one recording per catalogue message, key + ".wav", from the game's own catalogue.
std::vector<Phrase> GamePhrases();

// The spoken name of a character code (UTF-8), empty when the code has none.
std::string CharacterName(int code);

}  // namespace teluma::tools::recordings
