// Cost of the sound card mixer and of the speech shortening per second of sound, and the check
// that rendering a device buffer allocates nothing.
//
// Allocations are counted by replacing malloc, calloc, realloc and the C++ allocation operators
// in this program: every allocation made on a thread while it is inside Mixer::Render (the whole
// work of the audio callback) is counted.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "platform/sound/mixer.hpp"
#include "wave/tlwav_parts.hpp"

using namespace teluma;
using namespace teluma::wave;

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void __libc_free(void*);

namespace {
thread_local bool counting = false;
size_t allocations = 0;
void Count() {
  if (counting) ++allocations;
}
}  // namespace

extern "C" void* malloc(size_t n) {
  Count();
  return __libc_malloc(n);
}
extern "C" void* calloc(size_t n, size_t m) {
  Count();
  return __libc_calloc(n, m);
}
extern "C" void* realloc(void* p, size_t n) {
  Count();
  return __libc_realloc(p, n);
}
extern "C" void free(void* p) { __libc_free(p); }
void* operator new(size_t n) {
  Count();
  if (void* p = __libc_malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { __libc_free(p); }
void operator delete(void* p, size_t) noexcept { __libc_free(p); }

namespace {

using platform::Mixer;

constexpr int32_t kDeviceRate = 48000;
constexpr size_t kBuffer = 512;

// Voiced speech-like sound: a 120 Hz glottal pulse train through a decaying resonance.
std::vector<uint8_t> Speech16(int32_t rate, double seconds) {
  std::vector<uint8_t> out;
  double y1 = 0, y2 = 0;
  const double r = 0.97, theta = 2 * M_PI * 700 / rate;
  for (int i = 0; i < int(rate * seconds); ++i) {
    const double x = (i % (rate / 120) == 0) ? 6000 : 0;
    const double y = x + 2 * r * std::cos(theta) * y1 - r * r * y2;
    y2 = y1;
    y1 = y;
    const int16_t v = int16_t(std::max(-32000.0, std::min(32000.0, y)));
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(uint16_t(v) >> 8));
  }
  return out;
}

struct Scene {
  Mixer mixer{kDeviceRate};
  std::vector<uint8_t> stream = std::vector<uint8_t>(11025, 0);
  platform::WaveHeader header;
  std::vector<int16_t> out = std::vector<int16_t>(kBuffer * 2);

  explicit Scene(bool withEffect) {
    for (size_t i = 0; i < stream.size(); ++i) stream[i] = uint8_t(128 + 60 * std::sin(i * 0.3));
    mixer.OpenStream(1, {11025, 8, 1});
    if (withEffect) {
      auto effect = std::make_unique<platform::EffectSound>();
      effect->samples = Speech16(22050, 1.0);
      effect->format = {22050, 16, 1};
      effect->loop = true;
      mixer.PlayEffect(std::move(effect));
    }
  }
  // Renders one second of sound, requeueing the one-second block whenever it comes back.
  void RenderSecond() {
    for (size_t done = 0; done < size_t(kDeviceRate); done += kBuffer) {
      if (!(header.flags & platform::kHeaderInQueue)) {
        header.data = stream.data();
        header.length = uint32_t(stream.size());
        header.flags = platform::kHeaderPrepared | platform::kHeaderInQueue;
        mixer.QueueBlock(&header);
      }
      counting = true;
      mixer.Render(out.data(), kBuffer);
      counting = false;
      Mixer::Event e;
      while (mixer.PopEvent(e)) delete e.effect;
    }
  }
};

void BM_MixerSecondOfSound(benchmark::State& state) {
  Scene scene(state.range(0) != 0);
  allocations = 0;
  for (auto _ : state) scene.RenderSecond();
  state.counters["allocs_in_render"] = double(allocations);
  state.SetLabel(state.range(0) ? "stream 11025/8/1 + effect 22050/16/1 -> 48000 stereo"
                                 : "stream 11025/8/1 -> 48000 stereo");
}
BENCHMARK(BM_MixerSecondOfSound)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Shows that the counting works: a render region that does allocate is seen.
void BM_AllocationCounterControl(benchmark::State& state) {
  allocations = 0;
  for (auto _ : state) {
    counting = true;
    std::vector<int> v(100);
    benchmark::DoNotOptimize(v.data());
    counting = false;
  }
  state.counters["allocs_per_iteration"] = double(allocations) / double(state.iterations());
}
BENCHMARK(BM_AllocationCounterControl);

void BM_ShortenSecondOf16BitSpeech(benchmark::State& state) {
  const int32_t rate = int32_t(state.range(0));
  const auto speech = Speech16(rate, 1.0);
  std::vector<uint8_t> work(kWaveBlockBytes);
  size_t kept = 0;
  for (auto _ : state) {
    kept = 0;
    for (size_t at = 0; at < speech.size(); at += kWaveBlockBytes) {
      const size_t portion = std::min(kWaveBlockBytes, speech.size() - at);
      std::copy_n(speech.begin() + std::ptrdiff_t(at), portion, work.begin());
      kept += ShortenSpeech(work.data(), portion, 16, rate);
    }
    benchmark::DoNotOptimize(kept);
  }
  state.counters["kept_fraction"] = double(kept) / double(speech.size() / 2);
}
BENCHMARK(BM_ShortenSecondOf16BitSpeech)->Arg(11025)->Arg(22050)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
