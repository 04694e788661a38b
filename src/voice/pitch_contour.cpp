#include "voice/pitch_contour.hpp"

#include <algorithm>

namespace teluma::voice {

void PitchContour::Add(int64_t sample, double hertz, int64_t rampStart) {
  if (!targets_.empty() && sample < targets_.back().sample) sample = targets_.back().sample;
  targets_.push_back({sample, hertz, rampStart});
}

double PitchContour::At(int64_t sample, double fallback) const {
  if (targets_.empty()) return fallback;
  // The first target after the sample.
  auto next = std::upper_bound(targets_.begin(), targets_.end(), sample,
                               [](int64_t s, const Target& t) { return s < t.sample; });
  if (next == targets_.begin()) return next->hertz;
  const Target& a = *(next - 1);
  if (next == targets_.end()) return a.hertz;
  const Target& b = *next;
  int64_t start = std::max(a.sample, b.rampStart);
  if (sample <= start || b.sample <= start) return a.hertz;
  double f = static_cast<double>(sample - start) / static_cast<double>(b.sample - start);
  return a.hertz + (b.hertz - a.hertz) * f;
}

void PitchContour::Forget(int64_t sample) {
  // Keep the last target at or before the sample, and everything after.
  size_t keep = 0;
  while (keep + 1 < targets_.size() && targets_[keep + 1].sample <= sample) ++keep;
  if (keep > 64) targets_.erase(targets_.begin(), targets_.begin() + static_cast<long>(keep));
}

}  // namespace teluma::voice
