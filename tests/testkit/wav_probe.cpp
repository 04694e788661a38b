// Runs operations of the wave output device named on its command line and prints what each
// gives, with the clock, one line each: the scenarios of the sound tests drive it headless.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/TlCrt.hpp"
#include "platform/events.hpp"
#include "platform/sound.hpp"
#include "platform/sound/wave_out.hpp"
#include "wave/tlwav.hpp"
#include "testkit/wave.hpp"

namespace {

std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t colon = text.find(':', start);
    out.push_back(text.substr(start, colon - start));
    if (colon == std::string::npos) return out;
    start = colon + 1;
  }
}

int Int(const std::vector<std::string>& f, size_t i, int fallback) {
  return i < f.size() ? std::atoi(f[i].c_str()) : fallback;
}

void Say(const std::string& what) {
  std::printf("%s t=%lld\n", what.c_str(), static_cast<long long>(platform::NowMs()));
  std::fflush(stdout);
}

// frames of a square wave in the format (8-bit: 96/160, 16-bit: +-8000).
std::vector<uint8_t> Samples(int frames, int bits, int channels) {
  std::vector<uint8_t> s;
  for (int i = 0; i < frames * channels; ++i) {
    const bool high = (i / channels / 20) % 2;
    if (bits == 8) {
      s.push_back(high ? 160 : 96);
    } else {
      testkit::Put16(s, uint16_t(int16_t(high ? 8000 : -8000)));
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<uint8_t> keep;  // the last image stays alive while it plays
  for (int i = 1; i < argc; ++i) {
    const std::string step = argv[i];
    const auto f = Fields(step);
    const std::string& op = f[0];
    if (op == "image" || op == "buffer") {
      const int ms = Int(f, 1, 1000), rate = Int(f, 2, 11025), bits = Int(f, 3, 8),
                ch = Int(f, 4, 1);
      auto samples = Samples(int(int64_t(ms) * rate / 1000), bits, ch);
      if (op == "image") {
        keep = testkit::WaveImage(samples, uint32_t(rate), uint16_t(bits), uint16_t(ch));
        WavePlayImage(keep.data(), keep.size());
        Say("image");
      } else {
        keep = samples;
        Say("buffer " + std::to_string(WavePlayBuffer(keep.data(), keep.size(), rate,
                                                      int16_t(ch), int16_t(bits))));
      }
    } else if (op == "file") {
      Say("file " + std::to_string(WavePlayFile(f[1])));
    } else if (op == "busy") {
      Say(std::string("busy ") + (WaveBusy() ? "1" : "0"));
    } else if (op == "wait") {
      while (WaveBusy()) platform::WaitMessage();
      Say("idle");
    } else if (op == "stop") {
      WaveStop();
      Say("stopped");
    } else if (op == "pause") {
      Pause(uint16_t(Int(f, 1, 100)));
      Say("paused");
    } else if (op == "open") {
      // Whether the device is free: tlwav closed it.
      platform::WaveHandle h = 0;
      const int32_t r = platform::WaveOutOpen(h, {11025, 8, 1});
      if (r == 0) platform::WaveOutClose(h);
      Say("open " + std::to_string(r));
    } else if (op == "format") {
      Say("format " + std::to_string(WaveSetFormat(Int(f, 1, 11025), int16_t(Int(f, 2, 8)),
                                                   int16_t(Int(f, 3, 1)))));
    } else if (op == "effect") {
      Say(std::string("effect ") + (platform::PlayEffectFile(f[1]) ? "1" : "0"));
    } else if (op == "key") {
      Say("key " + std::to_string(WaitForKey()));
    } else if (op == "waiting") {
      Say(std::string("waiting ") + (KeyWaiting() ? "1" : "0"));
    } else if (op == "fast") {
      SetWaveFast(true);
    } else if (op == "shorten") {
      SetWaveShorten(true);
    } else if (op == "nokeys") {
      SetWaveKeyInterrupt(false);
    } else {
      std::fprintf(stderr, "wav_probe: unknown step %s\n", step.c_str());
      return 2;
    }
  }
  return 0;
}
