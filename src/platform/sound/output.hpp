// The platform's sound output behind the wave stream and the effect voice: a sound card through
// SDL2 audio, or a virtual sink that consumes sound at its nominal rate on the program's clock
// (the headless backend's virtual clock, or the real clock on a machine without sound).
#pragma once
#include <cstdint>
#include <memory>

#include "platform/sound/mixer.hpp"
#include "platform/sound/wave_out.hpp"

namespace teluma::platform {

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  virtual const char* Name() const = 0;
  virtual int32_t Open(WaveHandle& handle, const WaveFormat& format) = 0;
  virtual int32_t Write(WaveHandle handle, WaveHeader& header) = 0;
  virtual int32_t Reset(WaveHandle handle) = 0;
  virtual int32_t Close(WaveHandle handle) = 0;
  virtual void PlayEffect(std::unique_ptr<EffectSound> effect) = 0;
  virtual void StopEffect() = 0;
  // Any thread (see sound.hpp).
  virtual void QueueSpeech(std::unique_ptr<SpeechSound> piece) = 0;
  virtual void PurgeSpeech() = 0;

 protected:
  // The refusals every output gives alike, in the wave device's order; kWaveOk (0) when the
  // call may go on.
  static int32_t OpenRefusal(bool open, const WaveFormat& format) {
    if (open) return kWaveAllocated;
    return format.Playable() ? kWaveOk : kWaveBadFormat;
  }
  static int32_t HandleRefusal(bool open, WaveHandle current, WaveHandle given) {
    return open && given == current ? kWaveOk : kWaveInvalidHandle;
  }
  static int32_t WriteRefusal(bool open, WaveHandle current, WaveHandle given, uint32_t flags) {
    if (const int32_t refused = HandleRefusal(open, current, given)) return refused;
    if (!(flags & kHeaderPrepared)) return kWaveUnprepared;
    return flags & kHeaderInQueue ? kWaveStillPlaying : kWaveOk;
  }
};

// The output of the program's environment, made at first use (env.hpp).
SoundOutput& Output();

// Outputs on their own (tests and benchmarks).
std::unique_ptr<SoundOutput> MakeVirtualOutput(const char* name);
// Nothing when SDL finds no audio device.
std::unique_ptr<SoundOutput> MakeSdlOutput();

// Figures of the sound card output (benchmarks): device rate and buffer in frames as obtained.
struct SdlOutputFigures {
  int32_t rate = 0;
  int32_t bufferFrames = 0;
  int64_t callbacks = 0;
  // Microseconds from the last reset request to the start of the first callback that
  // rendered after taking it (0 until one happened).
  int64_t lastResetToCallbackUs = 0;
  // The same for the last purge of the speech voice.
  int64_t lastPurgeToCallbackUs = 0;
  // Steady-clock microseconds at the start of the last callback that began speech after
  // silence (0 until one did).
  int64_t lastSpeechStartUs = 0;
};
bool SdlFigures(SoundOutput& output, SdlOutputFigures& figures);

}  // namespace teluma::platform
