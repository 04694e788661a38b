// Rendering units with the Brazilian Portuguese voice of espeak-ng (synchronous mode, phoneme
// input), cutting the silence and converting to the database's sample format.
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "diphones/units.hpp"
#include "synth/diphone_store.hpp"

using namespace teluma::synth;

namespace teluma::tools::diphones {
namespace {

std::vector<int16_t>& Collected() {
  static std::vector<int16_t> samples;
  return samples;
}

int Collect(short* wave, int count, espeak_EVENT*) {
  if (wave && count > 0) Collected().insert(Collected().end(), wave, wave + count);
  return 0;
}

int g_sourceRate = 22050;

// Samples quieter than this (of 32767) count as silence at the edges.
constexpr int kSilence = 180;
// Kept before the first and after the last loud sample: 3 ms.
constexpr int kMarginMs = 3;
// Closure kept before a leading stop: 25 ms.
constexpr int kClosureMs = 25;
// Fade at both ends so units join without clicks: 2 ms.
constexpr int kFadeMs = 2;
// The voice peaks near 70% of full scale; 8-bit samples need all the range they can get.
constexpr double kGain = 1.4;

}  // namespace

Renderer::Renderer(int rate) {
  // Our data folder is found by the library itself; no audio device is opened.
  int sampleRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
  if (sampleRate <= 0) return;
  g_sourceRate = sampleRate;
  espeak_SetSynthCallback(Collect);
  if (espeak_SetVoiceByName("pt-br") != EE_OK && espeak_SetVoiceByName("pt") != EE_OK) return;
  espeak_SetParameter(espeakRATE, rate, 0);
  espeak_SetParameter(espeakVOLUME, 100, 0);
  espeak_SetParameter(espeakPITCH, 50, 0);
  // Each unit is said alone, as a whole utterance; a narrow pitch range keeps the falling
  // end of every utterance from making the joined units sound like a list.
  espeak_SetParameter(espeakRANGE, 12, 0);
  ready_ = true;
}

Renderer::~Renderer() { espeak_Terminate(); }

Samples Renderer::Render(const std::string& phonemes) {
  if (!ready_ || phonemes.empty()) return {};
  Collected().clear();
  std::string text = "[[" + phonemes + "]]";
  espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
               espeakCHARS_UTF8 | espeakPHONEMES, nullptr, nullptr);
  // A unit that starts with a stop keeps some of its closure, so that the burst after a vowel
  // is heard as p, t or k and not as part of the vowel.
  size_t first = phonemes.find_first_not_of('\'');
  bool stop = first != std::string::npos && std::strchr("pbtdkg", phonemes[first]);
  return CutAndConvert(Collected(), g_sourceRate, stop ? kClosureMs : kMarginMs);
}

Samples CutAndConvert(const std::vector<int16_t>& pcm, int sourceRate, int leadMs) {
  size_t first = 0, last = pcm.size();
  while (first < last && std::abs(pcm[first]) < kSilence) ++first;
  while (last > first && std::abs(pcm[last - 1]) < kSilence) --last;
  if (first >= last) return {};
  size_t lead = static_cast<size_t>(sourceRate) * static_cast<size_t>(leadMs) / 1000;
  size_t margin = static_cast<size_t>(sourceRate) * kMarginMs / 1000;
  first = first > lead ? first - lead : 0;
  last = std::min(pcm.size(), last + margin);

  // Low-pass (1 2 1)/4 and take every step-th sample; step 2 for the voice's 22050 Hz.
  double step = static_cast<double>(sourceRate) / diphone::kSampleRate;
  size_t count = static_cast<size_t>((last - first) / step);
  size_t fade = std::max<size_t>(1, diphone::kSampleRate * kFadeMs / 1000);
  Samples out(count, '\x80');
  auto at = [&](long i) {
    i = std::clamp<long>(i, static_cast<long>(first), static_cast<long>(last) - 1);
    return static_cast<double>(pcm[static_cast<size_t>(i)]);
  };
  for (size_t i = 0; i < count; ++i) {
    long centre = static_cast<long>(first) + std::lround(static_cast<double>(i) * step);
    double v = (at(centre - 1) + 2 * at(centre) + at(centre + 1)) / 4;
    double gain = 1.0;
    if (i < fade) gain = static_cast<double>(i) / fade;
    if (count - 1 - i < fade) gain = std::min(gain, static_cast<double>(count - 1 - i) / fade);
    int byte = 128 + static_cast<int>(std::lround(v * gain * kGain / 256.0));
    out[i] = static_cast<char>(std::clamp(byte, 0, 255));
  }
  return out;
}

bool WriteDatabase(const std::string& folder, const std::string& name,
                   const std::map<std::string, Samples>& units) {
  std::vector<const std::pair<const std::string, Samples>*> sorted;
  for (const auto& unit : units) sorted.push_back(&unit);
  std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) {
    return diphone::UnitNameLess(a->first, b->first);
  });
  std::string index, data;
  for (const auto* unit : sorted) {
    if (unit->first.size() > diphone::kMaxUnitName) continue;
    // A unit must fit the synthesizer's block and the index's 16-bit length.
    size_t length = std::min<size_t>(unit->second.size(), 60000);
    index += diphone::EncodeIndexEntry(
        {unit->first, static_cast<uint16_t>(length), static_cast<uint32_t>(data.size())});
    data.append(unit->second, 0, length);
  }
  std::ofstream ind(folder + "/" + name + ".IND", std::ios::binary);
  std::ofstream dif(folder + "/" + name + ".DIF", std::ios::binary);
  ind.write(index.data(), static_cast<std::streamsize>(index.size()));
  dif.write(data.data(), static_cast<std::streamsize>(data.size()));
  return ind.good() && dif.good();
}

}  // namespace teluma::tools::diphones
