#include "voice/voice_synth.hpp"

#include <algorithm>
#include <cmath>

namespace teluma::voice {
namespace {

// The widest half grain (one period of 50 Hz); later grains never reach further back, so
// samples this far before the next phoneme are done.
constexpr int64_t kMaxHalf = 320;
// Step through the silent part of a pause.
constexpr int64_t kSilentStep = 80;
// Closest unvoiced grains.
constexpr int64_t kMinStep = 32;
// Read samples kept before the buffer is moved down.
constexpr int64_t kCompactAt = 1 << 15;

int Score(const VoiceDatabase& db, int l, int r, const Diphone& d) {
  const Phoneme &a = db.phonemes[d.left], &b = db.phonemes[d.right];
  const Phoneme &x = db.phonemes[static_cast<size_t>(l)], &y = db.phonemes[static_cast<size_t>(r)];
  return (d.left == l) * 8 + (d.right == r) * 8 + (a.kind == x.kind) * 4 + (b.kind == y.kind) * 4 +
         (a.voiced == x.voiced) + (b.voiced == y.voiced);
}

}  // namespace

VoiceSynth::VoiceSynth(const VoiceDatabase& db) : db_(db) {
  pause_ = std::max(0, db.FindPhoneme("_"));
  // The furthest any grain reaches back: the widest spacing between marks (a lone mark's grain
  // is one recorded period wide).
  reach_ = std::clamp<int64_t>(kSampleRate / std::max<uint32_t>(db.pitch, 50), kMinStep, kMaxHalf);
  for (const Diphone& d : db.diphones)
    for (uint32_t k = 1; k < d.markCount; ++k)
      reach_ = std::max<int64_t>(reach_, std::min<int64_t>(kMaxHalf, db.marks[d.firstMark + k].sample -
                                                                         db.marks[d.firstMark + k - 1].sample));
  bridge_.assign(db.phonemes.size() * db.phonemes.size(), -1);
}

int VoiceSynth::DiphoneFor(int left, int right, bool& bridged) const {
  int found = db_.FindDiphone(left, right);
  bridged = found < 0;
  if (!bridged) return found;
  // The nearest pair, found the first time the pair is asked for.
  int32_t& bridge = bridge_[static_cast<size_t>(left) * db_.phonemes.size() + static_cast<size_t>(right)];
  if (bridge < 0) {
    int best = -1;
    for (size_t i = 0; i < db_.diphones.size(); ++i)
      if (int score = Score(db_, left, right, db_.diphones[i]); score > best) best = score, bridge = static_cast<int32_t>(i);
    bridge = std::max(bridge, 0);
  }
  return bridge;
}

void VoiceSynth::Grow(int64_t end) {
  int64_t done = read_ - base_;
  if (done >= kCompactAt) {
    std::copy(acc_.begin() + done, acc_.end(), acc_.begin());
    std::fill(acc_.end() - done, acc_.end(), 0.0f);
    base_ += done;
  }
  if (end - base_ > static_cast<int64_t>(acc_.size())) acc_.resize(static_cast<size_t>(end - base_), 0.0f);
}

void VoiceSynth::Grain(int diphone, uint32_t mark, int64_t at, bool reversed) {
  const Diphone& d = db_.diphones[static_cast<size_t>(diphone)];
  const PitchMark* marks = db_.marks.data() + d.firstMark;
  int64_t pos = marks[mark].sample;
  int64_t period = std::max<int64_t>(kMinStep, kSampleRate / std::max<uint32_t>(db_.pitch, 50));
  int64_t left = mark > 0 ? pos - marks[mark - 1].sample : 0;
  int64_t right = mark + 1 < d.markCount ? marks[mark + 1].sample - pos : 0;
  if (left == 0) left = right ? right : period;
  if (right == 0) right = left;
  left = std::min(left, kMaxHalf);
  right = std::min(right, kMaxHalf);
  const int16_t* src = db_.samples.data() + d.first;
  // A reversed grain runs backwards through the source: its left half is the source's right.
  if (reversed) std::swap(left, right);
  int64_t last = static_cast<int64_t>(d.count) - 1;
  int64_t from = std::max({-left, reversed ? pos - last : -pos, final_ - at});
  int64_t to = std::min(right, reversed ? pos : last - pos);
  float* out = acc_.data() + (at - base_);
  // Hann halves; cos(k * step) by the Chebyshev recurrence, from each half's first sample.
  auto half = [&](int64_t first, int64_t end, int64_t width) {
    if (first >= end) return;
    double step = M_PI / static_cast<double>(width), twice = 2 * std::cos(step);
    double c0 = std::cos(step * static_cast<double>(first)), c1 = std::cos(step * static_cast<double>(first + 1));
    for (int64_t i = first; i < end; ++i) {
      out[i] += static_cast<float>(0.5 * (1.0 + c0) * src[reversed ? pos - i : pos + i]);
      double c2 = twice * c1 - c0;
      c0 = c1;
      c1 = c2;
    }
  };
  half(from, std::min<int64_t>(0, to + 1), left);
  half(std::max<int64_t>(0, from), to + 1, right);
}

void VoiceSynth::Make(const Pending& left, const Pending& cur, int right,
                      std::vector<ParseError>& errors, bool reportMissing) {
  bool bridged1 = false, bridged2 = false;
  int d1 = DiphoneFor(left.phoneme, cur.phoneme, bridged1);
  int d2 = DiphoneFor(cur.phoneme, right, bridged2);
  if (bridged1 && reportMissing) {
    const Diphone& used = db_.diphones[static_cast<size_t>(d1)];
    errors.push_back({MBR_ERROR_MISSING_DIPHONE,
                      "Difone ausente: " + db_.phonemes[static_cast<size_t>(left.phoneme)].name + "-" +
                          db_.phonemes[static_cast<size_t>(cur.phoneme)].name + " (substitu\xED" "do por " +
                          db_.phonemes[used.left].name + "-" + db_.phonemes[used.right].name + ")"});
  }
  (void)bridged2;  // reported when the right neighbour is made, or at the flush
  const Diphone& x1 = db_.diphones[static_cast<size_t>(d1)];
  const Diphone& x2 = db_.diphones[static_cast<size_t>(d2)];
  double l1 = x1.count - x1.boundary, l2 = x2.boundary;
  int64_t n = cur.count;
  int64_t n1 = l1 + l2 > 0 ? std::llround(static_cast<double>(n) * l1 / (l1 + l2)) : n / 2;
  int64_t n2 = n - n1;
  bool pause = cur.phoneme == pause_;
  int64_t end = cur.start + n;
  Grow(end + kMaxHalf + 1);
  if (nextMark_ < cur.start) nextMark_ = cur.start;
  while (nextMark_ < end) {
    int64_t t = nextMark_;
    int d;
    double sigma;
    bool silent;
    // The source position of the output sample; a pause is not stretched, its middle is silent.
    if (t < cur.start + n1) {
      d = d1;
      double tau = static_cast<double>(t - cur.start);
      sigma = x1.boundary + (pause ? tau : tau * l1 / static_cast<double>(n1));
      silent = sigma >= x1.count;
    } else {
      d = d2;
      double tau = static_cast<double>(t - cur.start - n1);
      sigma = pause ? l2 - static_cast<double>(n2) + tau : tau * l2 / static_cast<double>(n2);
      silent = sigma < 0;
    }
    if (silent) {
      nextMark_ = t + kSilentStep;
      continue;
    }
    const Diphone& x = db_.diphones[static_cast<size_t>(d)];
    const PitchMark* marks = db_.marks.data() + x.firstMark;
    const PitchMark* after = std::lower_bound(
        marks, marks + x.markCount, sigma,
        [](const PitchMark& m, double s) { return static_cast<double>(m.sample) < s; });
    uint32_t m = static_cast<uint32_t>(after - marks);
    if (m == x.markCount || (m > 0 && sigma - marks[m - 1].sample < after->sample - sigma)) --m;
    // Noise stretched by repeating a grain would buzz at the repetition rate; every other
    // repeat runs backwards.
    bool repeat = d == lastDiphone_ && m == lastMark_;
    repeats_ = repeat ? repeats_ + 1 : 0;
    lastDiphone_ = d;
    lastMark_ = m;
    Grain(d, m, t, !marks[m].voiced && repeats_ % 2 == 1);
    double step;
    if (marks[m].voiced) {
      step = kSampleRate / contour_.At(t, db_.pitch);
    } else {
      step = static_cast<double>(m + 1 < x.markCount ? marks[m + 1].sample - marks[m].sample
                                 : m > 0             ? marks[m].sample - marks[m - 1].sample
                                                     : kSilentStep);
    }
    nextMark_ = t + std::clamp<int64_t>(std::llround(step), kMinStep, kMaxHalf);
  }
  final_ = std::max(final_, end - reach_);
  contour_.Forget(cur.start);
}

void VoiceSynth::Push(const PhoneLine& phone, std::vector<ParseError>& errors, bool reportMissing) {
  int ph = db_.FindPhoneme(phone.name);
  if (ph < 0) {
    if (IsPhonemeName(phone.name))  // malformed names were reported by the parser
      errors.push_back({MBR_ERROR_UNKNOWN_PHONEME, "Fonema desconhecido: " + phone.name});
    ph = pause_;
  }
  Pending p;
  p.phoneme = ph;
  p.start = textStart_ + std::llround(textMs_ * (kSampleRate / 1000.0));
  textMs_ += phone.durationMs;
  p.count = textStart_ + std::llround(textMs_ * (kSampleRate / 1000.0)) - p.start;

  int64_t rampStart = havePending_ ? pending_.start : p.start;
  double last = -1;
  for (const PitchTarget& target : phone.targets) {
    // Targets out of order within a line are taken in position order.
    if (target.position < last) continue;
    last = target.position;
    contour_.Add(p.start + std::llround(static_cast<double>(p.count) * target.position / 100.0),
                 target.hertz, rampStart);
  }
  if (havePending_) {
    Make(before_, pending_, ph, errors, reportMissing);
    before_ = pending_;
  } else {
    before_ = {pause_, p.start, 0};
  }
  pending_ = p;
  havePending_ = true;
}

void VoiceSynth::Flush(std::vector<ParseError>& errors, bool reportMissing) {
  if (!havePending_) return;
  Make(before_, pending_, pause_, errors, reportMissing);
  bool bridged = false;
  int used = DiphoneFor(pending_.phoneme, pause_, bridged);
  if (bridged && reportMissing)
    errors.push_back({MBR_ERROR_MISSING_DIPHONE,
                      "Difone ausente: " + db_.phonemes[static_cast<size_t>(pending_.phoneme)].name +
                          "-_ (substitu\xED" "do por " +
                          db_.phonemes[db_.diphones[static_cast<size_t>(used)].left].name + "-" +
                          db_.phonemes[db_.diphones[static_cast<size_t>(used)].right].name + ")"});
  // The text ends exactly at its last phoneme; grain tails beyond it are dropped.
  int64_t end = pending_.start + pending_.count;
  final_ = std::max(final_, end);
  std::fill(acc_.begin() + (final_ - base_), acc_.end(), 0.0f);
  textStart_ = final_;
  textMs_ = 0;
  nextMark_ = final_;
  havePending_ = false;
  contour_.Clear();
}

size_t VoiceSynth::Read(int16_t* out, size_t capacity, double gain) {
  size_t n = std::min(capacity, Available());
  const float* from = acc_.data() + (read_ - base_);
  for (size_t i = 0; i < n; ++i) {
    double v = std::nearbyint(from[i] * gain);
    out[i] = static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
  }
  read_ += static_cast<int64_t>(n);
  return n;
}

void VoiceSynth::Reset() {
  std::fill(acc_.begin(), acc_.end(), 0.0f);
  base_ = final_ = read_ = nextMark_ = 0;
  lastDiphone_ = -1;
  textStart_ = 0;
  textMs_ = 0;
  havePending_ = false;
  contour_.Clear();
}

}  // namespace teluma::voice
