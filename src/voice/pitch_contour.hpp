// The pitch of a text from its targets: straight lines between targets, the first target held
// before it and the last one held after it. Only targets of the phoneme being made and of its
// right neighbour are known, so a rise towards a later target starts at the beginning of the
// phoneme before that target's phoneme (or at the previous target, if later): the contour is
// continuous and the same whatever pieces the text arrives in.
#pragma once
#include <cstdint>
#include <vector>

namespace teluma::voice {

class PitchContour {
 public:
  // A target at a sample of the output; rampStart is the first sample of the phoneme before
  // the target's phoneme. Targets must come in time order (ties keep the later one).
  void Add(int64_t sample, double hertz, int64_t rampStart);
  // The pitch at a sample; fallback when no target is known.
  double At(int64_t sample, double fallback) const;
  // Forgets targets that no sample from `sample` on can need.
  void Forget(int64_t sample);
  void Clear() { targets_.clear(); }

 private:
  struct Target {
    int64_t sample;
    double hertz;
    int64_t rampStart;
  };
  std::vector<Target> targets_;
};

}  // namespace teluma::voice
