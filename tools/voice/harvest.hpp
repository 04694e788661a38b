// Diphones harvested from espeak-ng's Brazilian Portuguese voice: each pair is said inside a
// short logatome (phoneme input, steady pitch), the phoneme boundaries come from the voice's
// phoneme events, and the diphone is cut from the middle of its first phoneme to the middle of
// its second, brought to 16000 Hz and given pitch marks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "phoneme_set.hpp"
#include "voice/voice_database.hpp"

namespace teluma::tools::makevoice {

struct Cut {
  std::vector<int16_t> samples;  // 16000 Hz
  uint32_t boundary = 0;         // samples of the first phoneme
  std::vector<voice::PitchMark> marks;
};

class Harvester {
 public:
  // Opens espeak-ng (no audio device); Ready tells whether it worked.
  Harvester();
  ~Harvester();
  bool Ready() const { return ready_; }
  // The voice's steady pitch in hertz, measured on a long vowel.
  double Pitch() const { return pitch_; }
  // Cuts the diphone of a pair; false when the voice would not say the pair recognisably.
  bool Harvest(const VoicePhoneme& a, const VoicePhoneme& b, Cut& cut);

 private:
  struct Phone {
    std::string name;
    int64_t start, end;  // samples of the voice's own rate
  };
  bool Render(const std::string& phonemes, std::vector<Phone>& phones);
  void CutAt(double from, double boundary, double to, bool fadeOut, Cut& cut) const;
  void PlaceMarks(const VoicePhoneme& a, const VoicePhoneme& b, Cut& cut) const;
  double MeasurePitch();

  bool ready_ = false;
  int rate_ = 22050;
  double pitch_ = 200;
};

}  // namespace teluma::tools::makevoice
