#include "harvest.hpp"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace teluma::tools::makevoice {
namespace {

// Pitch parameter of the voice (0-100) and its variant: a steady pitch near the front end's
// base pitch (220 Hz), so that synthesis changes it little.
constexpr const char* kVoice = "pt-br+f2";
constexpr int kPitchParameter = 65;
// Half of a pause around a phoneme at the edge of an utterance.
constexpr double kPauseHalfSeconds = 0.025;
// Interpolation filter of the rate change: cut-off and half length in source samples.
constexpr double kCutoffHz = 7200;
constexpr int kFilterHalf = 16;
constexpr int kPhases = 512;

std::vector<int16_t> g_pcm;
struct Event {
  std::string name;
  int64_t sample;
};
std::vector<Event> g_events;

int Collect(short* wave, int count, espeak_EVENT* events) {
  if (wave && count > 0) g_pcm.insert(g_pcm.end(), wave, wave + count);
  for (espeak_EVENT* e = events; e && e->type != espeakEVENT_LIST_TERMINATED; ++e)
    if (e->type == espeakEVENT_PHONEME) {
      char name[9] = {};
      std::memcpy(name, e->id.string, 8);
      g_events.push_back({name, e->sample});
    }
  return 0;
}

bool SameName(const std::string& heard, const std::string& asked) {
  if (heard == asked) return true;
  std::string plain = asked;
  plain.erase(std::remove(plain.begin(), plain.end(), '~'), plain.end());
  return heard == plain;
}

// The phoneme text of one phoneme; the nasal glides need a blank after them, or espeak-ng
// drops what follows.
std::string Say(const VoicePhoneme& p) {
  return p.espeak.find('~') != std::string::npos && (p.espeak[0] == 'I' || p.espeak[0] == 'U')
             ? p.espeak + " "
             : p.espeak;
}

double Sinc(double x) { return x == 0 ? 1.0 : std::sin(M_PI * x) / (M_PI * x); }

}  // namespace

Harvester::Harvester() {
  int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_PHONEME_EVENTS);
  if (rate <= 0) return;
  rate_ = rate;
  espeak_SetSynthCallback(Collect);
  if (espeak_SetVoiceByName(kVoice) != EE_OK && espeak_SetVoiceByName("pt-br") != EE_OK) return;
  espeak_SetParameter(espeakRATE, 150, 0);
  espeak_SetParameter(espeakVOLUME, 100, 0);
  espeak_SetParameter(espeakPITCH, kPitchParameter, 0);
  espeak_SetParameter(espeakRANGE, 0, 0);  // a steady pitch: clean, regular pitch marks
  ready_ = true;
  pitch_ = MeasurePitch();
  ready_ = pitch_ > 50 && pitch_ < 500;
}

Harvester::~Harvester() { espeak_Terminate(); }

bool Harvester::Render(const std::string& phonemes, std::vector<Phone>& phones) {
  g_pcm.clear();
  g_events.clear();
  std::string text = "[[" + phonemes + "]]";
  if (espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                   espeakCHARS_UTF8 | espeakPHONEMES, nullptr, nullptr) != EE_OK)
    return false;
  espeak_Synchronize();
  phones.clear();
  // Pauses end the phoneme before them; ";" (palatal colouring) belongs to the phoneme before.
  for (size_t i = 0; i < g_events.size(); ++i) {
    const Event& e = g_events[i];
    if (e.name == ";") continue;
    if (!phones.empty() && phones.back().end < 0) phones.back().end = e.sample;
    if (e.name.empty() || e.name[0] == '_') continue;
    phones.push_back({e.name, e.sample, -1});
  }
  if (!phones.empty() && phones.back().end < 0) phones.back().end = static_cast<int64_t>(g_pcm.size());
  for (const Phone& p : phones)
    if (p.end <= p.start) return false;
  return !g_pcm.empty();
}

double Harvester::MeasurePitch() {
  std::vector<Phone> phones;
  if (!Render("pa'apa", phones) || phones.size() != 5) return 0;
  // The middle 60 ms of the stressed vowel.
  int64_t centre = (phones[2].start + phones[2].end) / 2;
  int64_t span = rate_ * 3 / 100;
  if (centre - span < 0 || centre + span + rate_ / 50 >= static_cast<int64_t>(g_pcm.size())) return 0;
  const int16_t* x = g_pcm.data() + centre - span;
  auto correlation = [&](int lag) {
    double s = 0, a = 0, b = 0;
    for (int64_t i = 0; i < 2 * span; ++i) {
      s += double(x[i]) * x[i + lag];
      a += double(x[i]) * x[i];
      b += double(x[i + lag]) * x[i + lag];
    }
    return s / std::sqrt(a * b + 1);
  };
  // The shortest lag that correlates nearly as well as the best one: not a multiple period.
  std::vector<double> values;
  int low = rate_ / 500, high = rate_ / 60;
  for (int lag = low; lag <= high; ++lag) values.push_back(correlation(lag));
  double top = *std::max_element(values.begin(), values.end());
  size_t at = 0;
  while (values[at] < 0.9 * top) ++at;
  while (at + 1 < values.size() && values[at + 1] > values[at]) ++at;
  int best = low + static_cast<int>(at);
  double bestValue = values[at];
  // Parabola through the peak and its neighbours for the fraction of a sample.
  double l = correlation(best - 1), c = bestValue, r = correlation(best + 1);
  double shift = (l - 2 * c + r) != 0 ? 0.5 * (l - r) / (l - 2 * c + r) : 0;
  return rate_ / (best + shift);
}

void Harvester::CutAt(double from, double boundary, double to, bool fadeOut, Cut& cut) const {
  double step = static_cast<double>(rate_) / voice::kSampleRate;
  size_t count = static_cast<size_t>(std::max(0.0, (to - from) / step));
  double fc = kCutoffHz / rate_;
  cut.samples.assign(count, 0);
  cut.boundary = static_cast<uint32_t>(std::clamp<double>(std::lround((boundary - from) / step), 0, count));
  auto source = [&](int64_t i) {
    return i < 0 || i >= static_cast<int64_t>(g_pcm.size()) ? 0.0 : double(g_pcm[static_cast<size_t>(i)]);
  };
  // Filter taps for each of kPhases fractions of a source sample (Blackman-windowed sinc).
  static std::vector<double> taps;
  if (taps.empty()) {
    taps.resize(static_cast<size_t>(kPhases) * 2 * kFilterHalf);
    for (int phase = 0; phase < kPhases; ++phase)
      for (int j = 0; j < 2 * kFilterHalf; ++j) {
        double d = static_cast<double>(phase) / kPhases + kFilterHalf - 1 - j;
        double window = 0.42 + 0.5 * std::cos(M_PI * d / kFilterHalf) +
                        0.08 * std::cos(2 * M_PI * d / kFilterHalf);
        taps[static_cast<size_t>(phase * 2 * kFilterHalf + j)] = 2 * fc * Sinc(2 * fc * d) * window;
      }
  }
  for (size_t n = 0; n < count; ++n) {
    double t = from + static_cast<double>(n) * step;
    int64_t centre = static_cast<int64_t>(std::floor(t));
    int phase = std::min(kPhases - 1, static_cast<int>(std::lround((t - centre) * kPhases)));
    if (phase == kPhases) phase = kPhases - 1;
    const double* tap = &taps[static_cast<size_t>(phase * 2 * kFilterHalf)];
    double sum = 0;
    for (int j = 0; j < 2 * kFilterHalf; ++j) sum += source(centre - kFilterHalf + 1 + j) * tap[j];
    double gain = 1;
    // The pause half after the last phoneme fades to silence.
    if (fadeOut && n >= cut.boundary) {
      double f = static_cast<double>(n - cut.boundary) / std::max<double>(1, count - cut.boundary);
      gain = std::max(0.0, 1.0 - f / 0.6);
    }
    cut.samples[n] = static_cast<int16_t>(std::clamp<double>(std::lround(sum * gain), -32768, 32767));
  }
}

void Harvester::PlaceMarks(const VoicePhoneme& a, const VoicePhoneme& b, Cut& cut) const {
  double period = voice::kSampleRate / pitch_;
  int64_t count = static_cast<int64_t>(cut.samples.size());
  struct Region {
    int64_t from, to;
    bool voiced;
  };
  std::vector<Region> regions = {{0, cut.boundary, a.voiced}, {cut.boundary, count, b.voiced}};
  if (regions[0].voiced == regions[1].voiced) regions = {{0, count, a.voiced}};
  cut.marks.clear();
  auto peak = [&](int64_t from, int64_t to) {
    from = std::max<int64_t>(from, 0);
    to = std::min(to, count);
    int64_t best = from;
    for (int64_t i = from; i < to; ++i)
      if (cut.samples[static_cast<size_t>(i)] > cut.samples[static_cast<size_t>(best)]) best = i;
    return best;
  };
  for (const Region& r : regions) {
    if (r.to <= r.from) continue;
    double at = static_cast<double>(r.from);
    if (!cut.marks.empty()) at = std::max(at, cut.marks.back().sample + period / 2);
    if (r.voiced) {
      int64_t pos = peak(static_cast<int64_t>(at), static_cast<int64_t>(at + period));
      while (pos < r.to) {
        if (cut.marks.empty() || pos > static_cast<int64_t>(cut.marks.back().sample))
          cut.marks.push_back({static_cast<uint32_t>(pos), true});
        double next = pos + period;
        if (next >= r.to) break;
        int64_t reach = static_cast<int64_t>(period / 6);
        pos = peak(static_cast<int64_t>(next) - reach, std::min<int64_t>(static_cast<int64_t>(next) + reach + 1, r.to));
      }
    } else {
      for (; at < r.to; at += period)
        cut.marks.push_back({static_cast<uint32_t>(at), false});
    }
  }
  if (cut.marks.empty()) cut.marks.push_back({0, false});
}

bool Harvester::Harvest(const VoicePhoneme& a, const VoicePhoneme& b, Cut& cut) {
  if (!ready_) return false;
  double pad = kPauseHalfSeconds * rate_;
  bool pauseA = a.espeak.empty(), pauseB = b.espeak.empty();
  if (pauseA && pauseB) {
    g_pcm.clear();
    CutAt(0, pad, 2 * pad, false, cut);
    PlaceMarks(a, b, cut);
    return true;
  }
  // Context vowels or consonants keep each phoneme of the pair in an ordinary syllable.
  std::string left = pauseA ? "" : IsVowelLike(a) ? "t" : "a";
  std::string right = pauseB ? "" : IsVowelLike(b) ? "t" : "a";
  std::vector<Phone> phones;
  // A blank between the two (a word boundary) keeps espeak-ng from reading them as one.
  // A phoneme the voice drops before a pause is said before the silent closure of a p instead.
  for (const char* between : {"", " ", "p"}) {
    if (between[0] == 'p' && !pauseB) break;
    std::string text = left + (pauseA ? "" : Say(a)) + between + (pauseB ? "" : Say(b)) + right;
    if (!Render(text, phones)) continue;
    size_t first = left.empty() ? 0 : 1;
    size_t expected = first + !pauseA + !pauseB + !right.empty() + (between[0] == 'p');
    if (phones.size() != expected) continue;
    if (pauseA) {
      const Phone& pb = phones[first];
      if (!SameName(pb.name, b.espeak)) continue;
      CutAt(pb.start - pad, pb.start, (pb.start + pb.end) / 2.0, false, cut);
    } else if (pauseB) {
      const Phone& pa = phones[first];
      if (!SameName(pa.name, a.espeak)) continue;
      CutAt((pa.start + pa.end) / 2.0, pa.end, pa.end + pad, true, cut);
    } else {
      const Phone &pa = phones[first], &pb = phones[first + 1];
      if (!SameName(pa.name, a.espeak) || !SameName(pb.name, b.espeak)) continue;
      CutAt((pa.start + pa.end) / 2.0, pb.start, (pb.start + pb.end) / 2.0, false, cut);
    }
    if (cut.samples.empty()) continue;
    PlaceMarks(a, b, cut);
    return true;
  }
  return false;
}

}  // namespace teluma::tools::makevoice
