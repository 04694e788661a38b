// Recorded phrases and the common waits: playing a key's recording, a character's recording,
// a sound image, and testing, waiting for and stopping sound.
#include <string>

#include "console/TlCrt.hpp"
#include "platform/events.hpp"
#include "platform/paths.hpp"
#include "platform/transcript.hpp"
#include "wave/tlwav.hpp"
#include "speech/tlwin.hpp"
#include "speech/tlwinState.hpp"
#include "synth/diphone.hpp"
#include "synth/dispatch.hpp"

namespace {

// The private message that only makes a running WaitMessage return.
constexpr int64_t kStopWakeMessage = 1123;

}  // namespace

bool& SpeakStopFlag() {
  static bool stop = false;
  return stop;
}

std::string PhraseFile(std::string_view key) {
  std::string folder = !key.empty() && key.front() == '_' ? LettersFolder() : PhraseFolder();
  return folder + std::string(key) + ".wav";
}

std::string CharFile(uint8_t code) {
  const std::string& folder =
      DiphoneLettersFolder().empty() ? LettersFolder() : DiphoneLettersFolder();
  return folder + "_" + std::to_string(code) + ".wav";
}

bool PhraseExists(std::string_view key) {
  return platform::FileExists(platform::MapPath(PhraseFile(key)));
}

// Plays a recording by its system path. The wave device plays nothing for a missing file or
// one that is not a wave file.
static bool PlayRecording(const std::string& file) {
  WaitSpeechDone();
  return WavePlayFile(file) == 0;
}

bool PlayPhrase(std::string_view key) { return PlayRecording(PhraseFile(key)); }

void SpeakChar(uint8_t code) { PlayRecording(CharFile(code)); }

bool SpeechBusy() {
  if (KeyWaiting()) {
    StopSpeech();
    return false;
  }
  if (!SynthActive()) return WaveBusy();
  return WaveBusy() || SynthBusy(false);
}

void WaitWhileSpeechBusy() {
  while (SpeechBusy()) platform::WaitMessage();
}

void WaitSpeechDone() {
  if (!SpeechPending()) return;
  WaitWhileSpeechBusy();
  SpeechPending() = false;
}

void StopSpeech() {
  WaveStop();
  SpeakStopFlag() = true;
  if (SynthActive() && (SynthBusy(false) || SynthKind() == 3)) SynthStop();
  platform::Transcript::Get().Event("STOP");
  platform::PostMessage({platform::MessageKind::User, kStopWakeMessage, 0});
}

void PlayWaveImage(const uint8_t* image, size_t length) {
  WaitSpeechDone();
  WavePlayImage(image, length);
  WaitWhileSpeechBusy();
}

void SetKeyInterrupts(bool on) { SetWaveKeyInterrupt(on); }
