// The diphone database tool's pieces: which units the translator's rules can ask for, how a
// unit name is said with the Portuguese voice, and the rendering and cutting of its sound.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace teluma::tools::diphones {

// The voice's phoneme text (in "[[ ]]" notation) for an upper-case unit name such as "$KA",
// "$ECIRC" or "$AOTIL"; empty when the name holds something the table does not know.
std::string UnitPhonemes(std::string_view name);

// The units every decomposition can end in (single vowels, marked vowels, glides, the nasal
// closure, single consonants).
std::vector<std::string> BaseUnits();

// Every unit name the translator's phonetic text asks for, with how often, for the given
// texts (Windows-1252). Rules and exceptions must be loaded. A name is taken when it is at most
// 8 characters and sayable; longer or unsayable names are followed into their decomposition.
struct Inventory {
  std::map<std::string, uint64_t> units;  // upper-case name -> requests
  uint64_t texts = 0;
};
// The runs of a text that the front end hands to the translator: letters (codes 128-255
// included) and the blanks between them.
std::vector<std::string> WordRuns(std::string_view text);

// With phonetic set, the texts are phonetic text already and go to the synthesizer as they are.
void CollectUnits(const std::vector<std::string>& texts, Inventory& inventory,
                  bool phonetic = false);

// Unsigned 8-bit mono samples at 11025 per second.
using Samples = std::string;

// Renders phonemes with the Brazilian Portuguese voice at a speaking rate (words per minute),
// trims the silence around it and converts it. Empty when the voice cannot be used.
class Renderer {
 public:
  explicit Renderer(int rate);
  ~Renderer();
  bool Ready() const { return ready_; }
  Samples Render(const std::string& phonemes);

 private:
  bool ready_ = false;
};

// Trims leading and trailing silence of 16-bit samples (keeping a short margin and fading the
// edges) and converts 22050 Hz to 11025 Hz unsigned 8-bit.
// leadMs is the margin kept before the first loud sample (the closure of a leading stop).
Samples CutAndConvert(const std::vector<int16_t>& pcm, int sourceRate, int leadMs = 3);

// Writes NAME.IND and NAME.DIF into folder; units are sorted into index order here.
bool WriteDatabase(const std::string& folder, const std::string& name,
                   const std::map<std::string, Samples>& units);

}  // namespace teluma::tools::diphones
