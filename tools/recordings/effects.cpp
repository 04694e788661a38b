#include "effects.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace teluma::tools::recordings {
namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// Deterministic white noise (a fixed linear congruential generator, not the C library's).
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  float Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>((state_ >> 8) / double(1 << 24) * 2.0 - 1.0);
  }

 private:
  uint32_t state_;
};

// One-pole filters: low-pass smooths, high-pass is the input minus the low-pass.
struct OnePole {
  double a, y = 0;
  OnePole(double cutoffHz) : a(1.0 - std::exp(-2.0 * kPi * cutoffHz / kRate)) {}
  float Low(float x) { return static_cast<float>(y += a * (x - y)); }
  float High(float x) { return x - Low(x); }
};

Sound Silence(double seconds) {
  Sound s;
  s.rate = kRate;
  s.samples.assign(static_cast<size_t>(seconds * kRate), 0.0f);
  return s;
}

// Adds src into dst starting at atSeconds, growing dst as needed.
void Mix(Sound& dst, const Sound& src, double atSeconds, float gain = 1.0f) {
  size_t at = static_cast<size_t>(atSeconds * kRate);
  if (dst.samples.size() < at + src.samples.size()) dst.samples.resize(at + src.samples.size());
  for (size_t i = 0; i < src.samples.size(); ++i) dst.samples[at + i] += src.samples[i] * gain;
}

// A struck bell: a few inharmonic partials with exponential decay.
Sound Bell(double hz, double seconds) {
  Sound s = Silence(seconds);
  const double partials[][2] = {{1.0, 1.0}, {2.0, 0.5}, {2.76, 0.3}, {5.4, 0.12}};
  for (size_t i = 0; i < s.samples.size(); ++i) {
    double t = double(i) / kRate, v = 0;
    for (auto& p : partials) v += p[1] * std::sin(2 * kPi * hz * p[0] * t) * std::exp(-t * 3.0 * p[0]);
    s.samples[i] = static_cast<float>(v * 0.4 * std::min(1.0, t * 400));
  }
  return s;
}

// A plain tone with a soft attack and an exponential decay.
Sound Tone(double hz, double seconds, double decay, bool square = false) {
  Sound s = Silence(seconds);
  for (size_t i = 0; i < s.samples.size(); ++i) {
    double t = double(i) / kRate;
    double w = std::sin(2 * kPi * hz * t);
    if (square) w = w >= 0 ? 0.6 : -0.6;
    s.samples[i] = static_cast<float>(w * std::exp(-t * decay) * std::min(1.0, t * 200));
  }
  return s;
}

// Noise shaped by an envelope and a low-pass cutoff that may move over time.
template <typename Env, typename Cut>
Sound ShapedNoise(double seconds, uint32_t seed, Env envelope, Cut cutoff, bool highPass = false) {
  Sound s = Silence(seconds);
  Noise n(seed);
  double y = 0, lowY = 0;
  for (size_t i = 0; i < s.samples.size(); ++i) {
    double t = double(i) / kRate;
    double a = 1.0 - std::exp(-2.0 * kPi * cutoff(t) / kRate);
    float x = n.Next();
    y += a * (x - y);
    double v = y;
    if (highPass) {
      lowY += 0.05 * (x - lowY);
      v = x - lowY;
    }
    s.samples[i] = static_cast<float>(v * envelope(t));
  }
  return s;
}

Sound Chime() {
  Sound s = Silence(1.4);
  Mix(s, Bell(659.3, 1.0), 0.0);
  Mix(s, Bell(523.3, 1.0), 0.25);
  Mix(s, Bell(784.0, 1.1), 0.5);
  return s;
}

Sound Rocket() {
  // A roar that swells, with a low rumble under the hiss of the exhaust.
  auto env = [](double t) { return std::min(1.0, t / 0.6) * (t > 2.2 ? std::max(0.0, 1 - (t - 2.2) / 0.6) : 1.0); };
  Sound roar = ShapedNoise(2.8, 11, env, [](double t) { return 600 + 900 * std::min(1.0, t / 1.5); });
  Sound rumble = ShapedNoise(2.8, 12, env, [](double) { return 90.0; });
  Mix(roar, rumble, 0, 4.0f);
  return roar;
}

Sound Explosion(uint32_t seed) {
  Sound s = ShapedNoise(2.5, seed, [](double t) { return std::exp(-t * 2.2) * std::min(1.0, t * 300); },
                        [](double t) { return 150 + 3000 * std::exp(-t * 6); });
  Sound thump = Tone(55, 0.8, 5);
  Mix(s, thump, 0, 0.9f);
  // A few late crackles of debris.
  Noise n(seed + 1);
  for (int k = 0; k < 12; ++k) {
    double at = 0.3 + (n.Next() + 1) * 0.7;
    Sound c = ShapedNoise(0.04, seed + 10 + k, [](double t) { return std::exp(-t * 80); }, [](double) { return 2500.0; });
    Mix(s, c, at, 0.5f);
  }
  return s;
}

Sound Landing() {
  // The engine dies away, the legs touch down with a soft thud, then a bright two-note signal.
  Sound s = ShapedNoise(1.0, 21, [](double t) { return 0.7 * std::exp(-t * 3); }, [](double) { return 900.0; });
  Mix(s, Tone(70, 0.5, 8), 0.9, 1.0f);
  Mix(s, Tone(523.3, 0.35, 4), 1.4, 0.5f);
  Mix(s, Tone(784.0, 0.6, 3), 1.65, 0.5f);
  return s;
}

Sound Leak() {
  // A steady high hiss with a slow flutter, as gas escaping from a valve.
  return ShapedNoise(1.8, 31,
                     [](double t) { return (0.6 + 0.25 * std::sin(2 * kPi * 7 * t)) * std::min(1.0, t * 20) * std::min(1.0, (1.8 - t) * 6); },
                     [](double) { return 8000.0; }, true);
}

Sound Clunk() {
  // Two heavy metallic knocks: a low damped partial pair with a click of noise on the strike.
  Sound s = Silence(0.9);
  for (double at : {0.0, 0.35}) {
    Sound k = Tone(140, 0.4, 14);
    Mix(k, Tone(377, 0.3, 20), 0, 0.5f);
    Mix(k, ShapedNoise(0.03, 41, [](double t) { return std::exp(-t * 150); }, [](double) { return 3000.0; }), 0, 0.8f);
    Mix(s, k, at);
  }
  return s;
}

Sound Applause(double seconds, int claps, uint32_t seed) {
  Sound s = Silence(seconds);
  Noise n(seed);
  for (int k = 0; k < claps; ++k) {
    double at = (n.Next() + 1) / 2 * (seconds - 0.1);
    double cut = 1500 + (n.Next() + 1) * 1200;
    Sound c = ShapedNoise(0.05, seed + k, [](double t) { return std::exp(-t * 90); }, [cut](double) { return cut; });
    // Fewer claps towards the end: the crowd settles.
    float gain = static_cast<float>(0.5 * (1.0 - 0.6 * at / seconds));
    Mix(s, c, at, gain);
  }
  return s;
}

Sound Fireworks() {
  Sound s = Silence(4.0);
  Noise n(51);
  for (int k = 0; k < 4; ++k) {
    double start = k * 0.9;
    // The rising whistle of the shell...
    Sound w = Silence(0.6);
    double phase = 0;
    for (size_t i = 0; i < w.samples.size(); ++i) {
      double t = double(i) / kRate;
      phase += 2 * kPi * (900 + 1800 * t / 0.6) / kRate;
      w.samples[i] = static_cast<float>(0.25 * std::sin(phase) * std::min(1.0, t * 50));
    }
    Mix(s, w, start);
    // ...its bang, and a shower of crackles.
    Mix(s, Explosion(60 + k), start + 0.6, 0.5f);
    for (int c = 0; c < 15; ++c) {
      double at = start + 0.75 + (n.Next() + 1) * 0.35;
      Mix(s, ShapedNoise(0.02, 70 + k * 20 + c, [](double t) { return std::exp(-t * 200); }, [](double) { return 5000.0; }), at, 0.4f);
    }
  }
  return s;
}

Sound Alarm() {
  Sound s = Silence(1.6);
  for (int k = 0; k < 4; ++k) {
    Mix(s, Tone(k % 2 ? 660 : 880, 0.4, 0.5, true), k * 0.4, 0.6f);
  }
  return s;
}

Sound Burn(double seconds, double cutoff, uint32_t seed) {
  // A short whoosh of the thrusters; stronger burns are longer, deeper and louder.
  return ShapedNoise(seconds, seed,
                     [seconds](double t) { return std::sin(kPi * std::min(1.0, t / seconds)); },
                     [cutoff](double) { return cutoff; });
}

}  // namespace

std::vector<Effect> MakeEffects() {
  std::vector<Effect> e;
  e.push_back({"LUCHIME.wav", "três sinos descendo e subindo (sinal antes de cada pergunta)", Chime()});
  e.push_back({"FOGUETE.wav", "ronco de foguete que cresce e some", Rocket()});
  Sound hum = Silence(1.0);
  {
    // A falling "hmm" of disappointment: a buzzy tone through a dark vowel filter.
    double phase = 0;
    OnePole f(500);
    for (size_t i = 0; i < hum.samples.size(); ++i) {
      double t = double(i) / kRate;
      phase += 2 * kPi * (190 - 60 * t) / kRate;
      double saw = std::fmod(phase / (2 * kPi), 1.0) * 2 - 1;
      hum.samples[i] = f.Low(static_cast<float>(saw * std::min(1.0, t * 20) * std::min(1.0, (1.0 - t) * 5)));
    }
  }
  e.push_back({"UUUM2.wav", "um \"hum\" grave e descendente de decepção", hum});
  e.push_back({"EXPLODE.wav", "explosão com estrondo grave e estilhaços", Explosion(1)});
  e.push_back({"ATERRIZAGEM.wav", "motor que se apaga, baque do pouso e sinal de duas notas", Landing()});
  e.push_back({"VAZAMENT.wav", "chiado agudo de gás vazando", Leak()});
  e.push_back({"ENTUPIME.wav", "duas pancadas metálicas graves", Clunk()});
  e.push_back({"APLAUSOS.wav", "aplausos de uma plateia", Applause(3.0, 260, 81)});
  e.push_back({"FOGOS.wav", "fogos de artifício: assobio, estouro e estalos", Fireworks()});
  e.push_back({"ALARM2.wav", "alarme de dois tons alternados", Alarm()});
  e.push_back({"pong.wav", "tom curto grave", Tone(440, 0.25, 10)});
  e.push_back({"ping2.wav", "tom curto agudo", Tone(1320, 0.2, 14)});
  e.push_back({"APLICCOMB.wav", "jato curto e fraco", Burn(0.25, 1500, 91)});
  e.push_back({"APLICCOMB2.wav", "jato médio", Burn(0.4, 1000, 92)});
  e.push_back({"APLICCOMB3.wav", "jato longo e forte", Burn(0.6, 700, 93)});
  return e;
}

}  // namespace teluma::tools::recordings
