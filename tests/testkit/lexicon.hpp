// Measuring `koral --phonemes` against a lexicon of words with their expected phonemes: phoneme
// error rate (edit distance over the reference phonemes) and the share of words whose stress
// mark falls on the right vowel.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace testkit {

struct Transcription {
  std::vector<std::string> phonemes;  // without marks
  int stressNucleus = -1;             // vowels before the marked phoneme; -1 without a mark
  int marks = 0;                      // stress marks found
};

struct LexiconEntry {
  std::string word;
  Transcription expected;
};

bool IsVowelPhoneme(const std::string& phoneme);

// Phonemes as koral writes them (">" before the stressed one, "¨" ending a lengthening).
Transcription ParseTranscription(const std::vector<std::string>& marked);

size_t EditDistance(const std::vector<std::string>& a, const std::vector<std::string>& b);

// The lexicons (tests/tts_data/*.txt) share one format: lines "word<TAB>phonemes separated by
// blanks", the phonemes as koral writes them; "#" starts a comment line.
struct LexiconLine {
  std::string word;
  std::vector<std::string> phonemes;  // with their marks
};
std::vector<LexiconLine> ReadLexiconLines(const std::string& path);
std::vector<LexiconEntry> ReadLexicon(const std::string& path);

// Path of a lexicon of tests/tts_data ("lexicon", "tuning_lexicon", "review_lexicon").
std::string LexiconPath(const std::string& name);

// The phoneme lines koral gives for each word, in one run: the words are separated by commas,
// whose pauses keep the linking of a final r or s from one word to the next out of the way.
std::vector<std::vector<std::string>> KoralWords(const std::vector<LexiconEntry>& lexicon);

struct LexiconScore {
  size_t words = 0, errors = 0, reference = 0, stressOk = 0, wordsExact = 0;
  std::string report;  // one line per word koral gets wrong
  double PhonemeErrorRate() const { return reference ? 100.0 * errors / reference : 0; }
  double StressRate() const { return words ? 100.0 * stressOk / words : 0; }
};

// Runs koral over the lexicon and scores it; the report is printed with KORAL_LEXICON_REPORT set.
LexiconScore MeasureLexicon(const std::vector<LexiconEntry>& lexicon);

}  // namespace testkit
