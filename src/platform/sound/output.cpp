#include "platform/sound/output.hpp"

#include <atomic>
#include <cstdio>

#include "platform/events.hpp"

namespace platform {

WaveHandle NextWaveHandle() {
  static std::atomic<WaveHandle> next{0};
  return ++next;
}

namespace {

SoundOutput* Choose() {
  if (UsesVirtualClock()) return MakeVirtualOutput("virtual").release();
  if (auto sdl = MakeSdlOutput()) return sdl.release();
  std::fputs("Nenhum dispositivo de som foi encontrado; o programa continua sem som.\n", stderr);
  return MakeVirtualOutput("virtual-real-clock").release();
}

}  // namespace

// Kept until the process ends: the audio thread may still run while exit procedures do.
SoundOutput& Output() {
  static SoundOutput* output = Choose();
  return *output;
}

}  // namespace platform
