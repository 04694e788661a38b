// Latency of the outside voice (kind 5, espeak-ng) at the SDL audio device, on the real clock:
// from SynthSpeak to the start of the first callback that renders the voice's sound, and from
// a key press while it speaks to the start of the first callback without it (the key ends the
// program thread's wait on the engine, which is then stopped as the front end's StopSpeech does).
// Each figure gains one device buffer that may still be playing. Uses the real sound device
// when there is one, else SDL's dummy driver (which keeps real-time pacing).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/env.hpp"
#include "platform/events.hpp"
#include "platform/real_env.hpp"
#include "platform/sound/output.hpp"
#include "synth/dispatch.hpp"

using namespace teluma;
using namespace teluma::synth;

using namespace platform;

namespace {

int64_t MicrosNow() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

SdlOutputFigures Figures() {
  SdlOutputFigures f;
  SdlFigures(Output(), f);
  return f;
}

void WaitUntilSilent() {
  while (SynthBusy(false)) WaitMessage();
}

struct Stats {
  double sum = 0, max = 0;
  int n = 0;
  void Add(double v) {
    sum += v;
    max = std::max(max, v);
    ++n;
  }
  double Mean() const { return n ? sum / n : 0; }
};

}  // namespace

int main() {
  // The real clock and the sound card (or SDL's dummy driver), whatever TELUMA_BACKEND says.
  RealEnv real{EnvChoice{}};
  ScopedEnv installed(real);
  const char* driver = "default";
  if (!MakeSdlOutput()) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    driver = "dummy";
  }
  if (!SynthOpen(1, 0, 0, 5, "")) {
    std::puts("espeak-ng did not start");
    return 1;
  }
  SynthSpeak("Pronto.");  // opens the sound device
  WaitUntilSilent();
  if (std::string(Output().Name()) != "sdl") {
    std::printf("no SDL audio device, not even the dummy driver (%s)\n", Output().Name());
    return 1;
  }
  const SdlOutputFigures setup = Figures();
  const double bufferMs = 1000.0 * setup.bufferFrames / setup.rate;

  const int rounds = 30;
  Stats first, key;
  for (int i = 0; i < rounds; ++i) {
    const int64_t before = Figures().lastSpeechStartUs;
    const int64_t t0 = MicrosNow();
    SynthSpeak("A altura inicial \xE9 de mil metros, e a velocidade \xE9 de dez metros por segundo.");
    while (Figures().lastSpeechStartUs == before) std::this_thread::sleep_for(std::chrono::microseconds(200));
    first.Add((Figures().lastSpeechStartUs - t0) / 1000.0);

    // A key comes from another thread (as the terminal reader or the window posts it) while
    // the program thread waits in the front end's loop.
    std::this_thread::sleep_for(std::chrono::milliseconds(150 + 7 * i));
    int64_t pressed = 0;
    std::thread keyboard([&pressed] {
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
      pressed = MicrosNow();
      PostMessage({MessageKind::Char, 'a', 0});
    });
    // The front end's loop: key test, busy test, WaitMessage. With the key in the console's
    // queue the stop's own busy test answers at once, so the engine is stopped straight away.
    for (;;) {
      Message m;
      bool keyCame = false;
      while (PeekMessage(m)) keyCame |= m.kind == MessageKind::Char;
      if (keyCame || !SynthBusy(false)) break;
      WaitMessage();
    }
    keyboard.join();
    const int64_t stopAt = MicrosNow();
    SynthStop();
    const SdlOutputFigures f = Figures();
    key.Add((stopAt - pressed) / 1000.0 + f.lastPurgeToCallbackUs / 1000.0);
    WaitUntilSilent();
  }
  SynthClose();

  std::printf("driver: %s, device %d Hz, buffer %d frames (%.1f ms)\n", driver, setup.rate,
              setup.bufferFrames, bufferMs);
  std::printf("SynthSpeak to first sample rendered, %d texts: mean %.2f ms, max %.2f ms\n", rounds,
              first.Mean(), first.max);
  std::printf("  to first sample at the device: mean %.2f ms, max %.2f ms (adding one buffer)\n",
              first.Mean() + bufferMs, first.max + bufferMs);
  std::printf("key to silence rendered while espeak-ng speaks, %d presses: mean %.2f ms, max %.2f ms\n",
              rounds, key.Mean(), key.max);
  std::printf("  key to silence at the device: mean %.2f ms, max %.2f ms (adding one buffer)\n",
              key.Mean() + bufferMs, key.max + bufferMs);
  return 0;
}
