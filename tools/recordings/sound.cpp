#include "sound.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/wave_file.hpp"

namespace teluma::tools::recordings {

void TrimSilence(Sound& sound, float threshold, double marginSeconds) {
  auto& s = sound.samples;
  size_t first = 0, last = s.size();
  while (first < s.size() && std::fabs(s[first]) < threshold) ++first;
  if (first == s.size()) {  // nothing but silence
    s.clear();
    return;
  }
  while (last > first && std::fabs(s[last - 1]) < threshold) --last;
  size_t margin = static_cast<size_t>(marginSeconds * sound.rate);
  first = first > margin ? first - margin : 0;
  last = std::min(s.size(), last + margin);
  s = std::vector<float>(s.begin() + first, s.begin() + last);
}

double ActiveLoudnessDb(const Sound& sound) {
  size_t frame = std::max<size_t>(1, sound.rate / 50);
  double sum = 0;
  size_t count = 0;
  for (size_t start = 0; start + frame <= sound.samples.size(); start += frame) {
    double e = 0;
    for (size_t i = start; i < start + frame; ++i) e += double(sound.samples[i]) * sound.samples[i];
    e /= frame;
    if (e > 1e-5) {  // about -50 dB: pauses do not pull the figure down
      sum += e;
      ++count;
    }
  }
  if (count == 0) return -120.0;
  return 10.0 * std::log10(sum / count);
}

void NormalizeLoudness(Sound& sound, double targetDb, float peakLimit) {
  double now = ActiveLoudnessDb(sound);
  if (now <= -119.0) return;
  double gain = std::pow(10.0, (targetDb - now) / 20.0);
  float peak = 0;
  for (float v : sound.samples) peak = std::max(peak, std::fabs(v));
  if (peak * gain > peakLimit) gain = peakLimit / peak;
  for (float& v : sound.samples) v = static_cast<float>(v * gain);
}

Sound Resample(const Sound& sound, int rate) {
  Sound out;
  out.rate = rate;
  if (sound.samples.empty() || rate == sound.rate) {
    out.samples = sound.samples;
    return out;
  }
  std::vector<float> src = sound.samples;
  if (rate < sound.rate) {
    // Moving-average low-pass as wide as the decimation step keeps aliasing down.
    int width = std::max(1, static_cast<int>(std::lround(double(sound.rate) / rate)));
    std::vector<float> filtered(src.size());
    double acc = 0;
    for (size_t i = 0; i < src.size(); ++i) {
      acc += src[i];
      if (i >= static_cast<size_t>(width)) acc -= src[i - width];
      filtered[i] = static_cast<float>(acc / std::min<size_t>(i + 1, width));
    }
    src.swap(filtered);
  }
  size_t n = static_cast<size_t>(double(src.size()) * rate / sound.rate);
  out.samples.resize(n);
  for (size_t i = 0; i < n; ++i) {
    double pos = double(i) * sound.rate / rate;
    size_t k = static_cast<size_t>(pos);
    double frac = pos - k;
    float a = src[std::min(k, src.size() - 1)], b = src[std::min(k + 1, src.size() - 1)];
    out.samples[i] = static_cast<float>(a + (b - a) * frac);
  }
  return out;
}

void FadeEdges(Sound& sound, double seconds) {
  size_t n = std::min(sound.samples.size() / 2, static_cast<size_t>(seconds * sound.rate));
  for (size_t i = 0; i < n; ++i) {
    float g = float(i) / n;
    sound.samples[i] *= g;
    sound.samples[sound.samples.size() - 1 - i] *= g;
  }
}

namespace {
void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
}  // namespace

bool WriteWave(const std::string& path, const Sound& sound, int bits) {
  uint32_t bytesPerSample = bits / 8;
  uint32_t dataLen = static_cast<uint32_t>(sound.samples.size() * bytesPerSample);
  std::vector<uint8_t> b(platform::kWaveHeaderBytes);
  b.reserve(platform::kWaveHeaderBytes + dataLen);
  platform::PutWaveHeader(b.data(), dataLen, sound.rate, 1, static_cast<int16_t>(bits),
                          static_cast<uint16_t>(bytesPerSample));
  for (float v : sound.samples) {
    float c = std::clamp(v, -1.0f, 1.0f);
    if (bits == 8) {
      b.push_back(static_cast<uint8_t>(std::lround(128 + c * 127)));
    } else {
      Put16(b, static_cast<uint16_t>(static_cast<int16_t>(std::lround(c * 32767))));
    }
  }
  std::string tmp = path + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok && std::rename(tmp.c_str(), path.c_str()) == 0;
}

}  // namespace teluma::tools::recordings
