// Diphone concatenation with pitch-synchronous overlap-add. Every phoneme is made from the
// second half of the diphone (left neighbour, phoneme) and the first half of (phoneme, right
// neighbour), each half stretched to its share of the phoneme's duration; grains of two source
// periods are laid at the periods of the pitch contour in voiced parts and at the source's own
// spacing in unvoiced ones. A phoneme is made as soon as its right neighbour is known.
#pragma once
#include <cstdint>
#include <vector>

#include "voice/pho_parser.hpp"
#include "voice/pitch_contour.hpp"
#include "voice/voice_database.hpp"

namespace voice {

class VoiceSynth {
 public:
  // The database must hold the pause "_" and outlive the synthesizer.
  explicit VoiceSynth(const VoiceDatabase& db);

  // Adds a phoneme (an unknown name is a pause); makes the phoneme before it. Faults go to
  // errors; missing diphones only when reportMissing.
  void Push(const PhoneLine& phone, std::vector<ParseError>& errors, bool reportMissing);
  // Ends the text: the last phoneme is made with a pause after it; all its sound is ready.
  void Flush(std::vector<ParseError>& errors, bool reportMissing);
  // Samples ready to be read.
  size_t Available() const { return static_cast<size_t>(final_ - read_); }
  // Takes up to capacity ready samples, multiplied by gain.
  size_t Read(int16_t* out, size_t capacity, double gain);
  // Forgets everything written and not yet read.
  void Reset();

  // The diphone used for a pair (the pair itself or its bridge), and whether it is a bridge.
  int DiphoneFor(int left, int right, bool& bridged) const;

 private:
  struct Pending {
    int phoneme = 0;
    int64_t start = 0, count = 0;
  };
  void Make(const Pending& left, const Pending& cur, int right, std::vector<ParseError>& errors,
            bool reportMissing);
  void Grain(int diphone, uint32_t mark, int64_t at, bool reversed);
  void Grow(int64_t end);

  const VoiceDatabase& db_;
  int pause_ = 0;
  int64_t reach_ = 0;  // samples before the next phoneme that its grains may still change
  mutable std::vector<int32_t> bridge_;  // left * P + right -> diphone standing in, -1 not yet
  PitchContour contour_;
  // The grain laid last, and how often in a row.
  int lastDiphone_ = -1;
  uint32_t lastMark_ = 0;
  int repeats_ = 0;

  // The text being made: its first sample and the milliseconds written so far.
  int64_t textStart_ = 0;
  double textMs_ = 0;
  bool havePending_ = false;
  Pending before_, pending_;

  // Output: acc_[i] is sample base_ + i; samples before final_ are done, before read_ read.
  std::vector<float> acc_;
  int64_t base_ = 0, final_ = 0, read_ = 0, nextMark_ = 0;
};

}  // namespace voice
