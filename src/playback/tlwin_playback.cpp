// Recorded phrases and the common waits: playing a key's recording, a character's recording,
// a sound image, and testing, waiting for and stopping sound.
#include <string>
#include <utility>

#include "playback/tlwin_playback.hpp"

#include "console/TlCrt.hpp"
#include "platform/events.hpp"
#include "platform/paths.hpp"
#include "platform/transcript.hpp"
#include "platform/wave_file.hpp"
#include "playback/tlwin_settings.hpp"
#include "playback/tlwin_state.hpp"
#include "wave/tlwav.hpp"

namespace {

// The private message that only makes a running WaitMessage return.
constexpr int64_t kStopWakeMessage = 1123;

OutsideSynthesizer& Outside() {
  static OutsideSynthesizer synthesizer;
  return synthesizer;
}

bool OutsideBusy() { return Outside().busy && Outside().busy(); }

}  // namespace

void ConnectOutsideSynthesizer(OutsideSynthesizer synthesizer) {
  Outside() = std::move(synthesizer);
}

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
  return WaveBusy() || OutsideBusy();
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
  if (SynthActive() && Outside().stop) Outside().stop();
  platform::Transcript::Get().Event("STOP");
  platform::PostMessage({platform::MessageKind::User, kStopWakeMessage, 0});
}

void PlayWaveImage(const uint8_t* image, size_t length) {
  WaitSpeechDone();
  WavePlayImage(image, length);
  WaitWhileSpeechBusy();
}

void SetKeyInterrupts(bool on) { SetWaveKeyInterrupt(on); }

void MakeWaveHeader(uint8_t* header, uint32_t dataLength, int32_t rate, int16_t channels,
                    int16_t bits) {
  platform::PutWaveHeader(header, dataLength, rate, channels, bits, 1);  // alignment fixed at 1
}
