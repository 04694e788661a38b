// Latency from a stop of the wave stream (WaveStop resets the stream; a key
// press ends in the same reset) to silence at the SDL audio device, as
// configured and as measured: the time from the reset request to the start of
// the first callback that renders without the old blocks, plus one device
// buffer that may still be playing. Uses the real sound device when there is
// one, else SDL's dummy driver (which keeps real-time pacing).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/events.hpp"
#include "platform/sound/output.hpp"

using namespace teluma;

using namespace platform;

int main() {
  auto output = MakeSdlOutput();
  const char *driver = "default";
  if (!output) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    driver = "dummy";
    output = MakeSdlOutput();
  }
  if (!output) {
    std::puts("no SDL audio device, not even the dummy driver");
    return 1;
  }
  std::vector<uint8_t> sound(110250, 200);  // 10 s at 11025 Hz
  WaveHeader header;
  header.data = sound.data();
  header.length = uint32_t(sound.size());
  for (bool keyPath : {false, true}) {
    double sumCallback = 0, maxCallback = 0, sumCall = 0, maxCall = 0, sumTotal = 0, maxTotal = 0;
    const int rounds = 30;
    std::vector<double> totals;
    for (int i = 0; i < rounds; ++i) {
      WaveHandle h = 0;
      if (output->Open(h, {11025, 8, 1}) != kWaveOk) return 1;
      header.flags = kHeaderPrepared;
      output->Write(h, header);
      std::this_thread::sleep_for(std::chrono::milliseconds(60 + 7 * i));
      auto t0 = std::chrono::steady_clock::now();
      if (keyPath) {
        // A key event posted by another thread (as the terminal reader or the
        // window does) wakes the program thread's WaitMessage, which then stops
        // the stream.
        std::thread key([&t0] {
          std::this_thread::sleep_for(std::chrono::milliseconds(3));
          t0 = std::chrono::steady_clock::now();
          PostMessage({MessageKind::Char, 'a', 0});
        });
        WaitMessage();
        key.join();
      }
      const auto resetAt = std::chrono::steady_clock::now();
      output->Reset(h);
      const double callMs =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - resetAt)
              .count();
      output->Close(h);
      Message m;
      while (PeekMessage(m)) {
      }
      SdlOutputFigures f;
      SdlFigures(*output, f);
      const double toCallbackMs = f.lastResetToCallbackUs / 1000.0;
      const double totalMs =
          toCallbackMs + std::chrono::duration<double, std::milli>(resetAt - t0).count();
      totals.push_back(totalMs);
      sumTotal += totalMs;
      maxTotal = std::max(maxTotal, totalMs);
      sumCallback += toCallbackMs;
      maxCallback = std::max(maxCallback, toCallbackMs);
      sumCall += callMs;
      maxCall = std::max(maxCall, callMs);
    }
    SdlOutputFigures f;
    SdlFigures(*output, f);
    const double bufferMs = 1000.0 * f.bufferFrames / f.rate;
    std::sort(totals.begin(), totals.end());
    const double p95 = totals[(totals.size() * 95 + 99) / 100 - 1] + bufferMs;
    if (!keyPath) {
      std::printf("driver: %s, device %d Hz, buffer %d frames\n", driver, f.rate, f.bufferFrames);
      std::printf(
          "configured: stop to silence at most %.1f ms (one buffer "
          "rendering + one playing)\n",
          2 * bufferMs);
      std::printf(
          "WaveStop, %d stops: reset to first silent callback mean "
          "%.2f ms, max %.2f ms\n",
          rounds, sumCallback / rounds, maxCallback);
      std::printf(
          "  stop to silence at the device: mean %.2f ms, max %.2f ms "
          "(adding one buffer)\n",
          sumCallback / rounds + bufferMs, maxCallback + bufferMs);
      std::printf("  the reset call on the program thread: mean %.2f ms, max %.2f ms\n",
                  sumCall / rounds, maxCall);
    } else {
      std::printf(
          "key event, %d presses: key posted to first silent callback "
          "mean %.2f ms, "
          "max %.2f ms\n",
          rounds, sumTotal / rounds, maxTotal);
      std::printf(
          "  key to silence at the device: mean %.2f ms, 95th percentile %.2f ms, max %.2f ms "
          "(adding one buffer)\n",
          sumTotal / rounds + bufferMs, p95, maxTotal + bufferMs);
    }
  }
  return 0;
}
