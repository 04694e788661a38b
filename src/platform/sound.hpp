// The platform's sound output. Three voices are mixed: the wave device's stream (used by tlwav
// through the waveOut stand-in, see wave_out.hpp); the effect voice, which stands in for the
// system's sndPlaySoundA: asynchronous, a new sound cuts off the one still playing, a looped
// sound plays until another sound or StopEffect; and the speech voice of an outside speech
// engine, which hands its sound in pieces from a thread of its own.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace teluma::platform {

// Starts a RIFF/WAVE image on the effect voice (the image is copied). False when it is not a
// playable wave image; the previous effect is stopped in any case.
bool PlayEffectImage(const std::vector<uint8_t>& image, bool loop);

// Starts a wave file (host path) on the effect voice; a name without an extension is also
// looked for with ".wav" added. A missing or unreadable file plays nothing and gives false.
bool PlayEffectFile(const std::string& hostPath);

// Stops whatever the effect voice plays.
void StopEffect();

// A piece of an outside engine's speech: signed 16-bit mono samples. Pieces play one after the
// other, without gaps while they come in time.
struct SpeechSound {
  std::vector<int16_t> samples;
  int32_t rate = 22050;
  // Called once, on whatever thread learns it, when the piece has sounded or was purged.
  std::function<void()> done;
  SpeechSound* next = nullptr;  // the output's own chaining
};

// Any thread. Queues a piece behind those still sounding.
void QueueSpeech(std::unique_ptr<SpeechSound> piece);
// The speech voice falls silent within one sound buffer; every piece queued so far is done.
void PurgeSpeech();

}  // namespace teluma::platform
