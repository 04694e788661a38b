// The SAPI 5 engines over the outside voices. Each step follows the engine's way of working:
// the voice object, the speak-complete event waited on in 20 ms steps, purge to stop, and a
// close that lets a long text finish.
#include "synth/sapi5.hpp"

#include <memory>

#include "console/TlCrt.hpp"
#include "platform/signal.hpp"
#include "synth/voices.hpp"

using namespace teluma::console;

namespace teluma::synth {

namespace {

constexpr int32_t kAllEvents = 33790;

class Sapi5Module {
 public:
  bool Open(int32_t voiceNumber, int32_t speed, const std::string& outputFile) {
    CloseObjects();
    voice_ = voices::Voice::Create();
    if (!voice_) return false;
    voice_->SetEventInterests(kAllEvents);
    const voices::VoiceTokens tokens = voice_->GetVoices("", "");
    const int32_t count = tokens.Count();
    if (count == 0) return false;  // the voice object stays until close
    if (voiceNumber < 1 || voiceNumber > count) {
      voiceNumber = 1;
      speed = 0;
    }
    voice_->SetVoice(*tokens.Item(voiceNumber - 1));
    voice_->SetRate(speed);  // a rate the voice refuses leaves its own
    complete_ = &voice_->SpeakCompleteEvent();
    if (!outputFile.empty()) {
      stream_ = std::make_unique<voices::FileStream>();
      if (!stream_->Open(outputFile, voices::kStreamCreateForWrite, true)) {
        stream_.reset();
        return false;
      }
      voice_->SetAudioOutputStream(stream_.get());
    }
    return true;
  }

  void Speak(std::string_view text) {
    if (!voice_) return;
    if (text.empty()) text = " ";
    if (!voice_->Speak(text, voices::kSpeakAsync | voices::kSpeakIsNotXML)) MessageBeep();
  }

  // The 20 ms wait on the speak-complete event, which ends early when the user presses a key,
  // and is skipped while a key waits: the waiting loops stop the speech at once then.
  bool Busy() {
    if (complete_ == nullptr || complete_->IsSet()) return false;
    const uint64_t input = platform::InputSequence();
    if (!KeyQueued()) {
      platform::SleepUntil(20, [&] {
        return complete_->IsSet() || platform::InputSequence() != input;
      });
      if (complete_->IsSet()) return false;
    }
    PostWakeMessage();
    return true;
  }

  void Stop() {
    if (voice_) voice_->Speak(" ", voices::kSpeakPurgeBeforeSpeak);
    Pause(50);
  }

  void Close() {
    while (Busy()) Pause(300);
    CloseObjects();
  }

  const voices::Voice* voice() const { return voice_.get(); }

 private:
  void CloseObjects() {
    if (stream_) {
      if (voice_) voice_->SetAudioOutputStream(nullptr);
      stream_->Close();
      stream_.reset();
    }
    complete_ = nullptr;
    voice_.reset();
  }

  std::unique_ptr<voices::Voice> voice_;
  const platform::Signal* complete_ = nullptr;
  std::unique_ptr<voices::FileStream> stream_;
};

Sapi5Module& Module5() {
  static Sapi5Module module;
  return module;
}

Sapi5Module& Module54() {
  static Sapi5Module module;
  return module;
}

Sapi5Module* ModuleOfKind(int32_t kind) {
  if (kind == 5) return &Module5();
  if (kind == 54) return &Module54();
  return nullptr;
}

}  // namespace

bool Sapi5Open(int32_t voice, int32_t speed, int32_t, const std::string& outputFile) {
  return Module5().Open(voice, speed, outputFile);
}
void Sapi5Speak(std::string_view text) { Module5().Speak(text); }
bool Sapi5Busy(bool) { return Module5().Busy(); }
void Sapi5Stop() { Module5().Stop(); }
void Sapi5Close() { Module5().Close(); }

bool Sapi54Open(int32_t voice, int32_t speed, int32_t, const std::string& outputFile) {
  return Module54().Open(voice, speed, outputFile);
}
void Sapi54Speak(std::string_view text) { Module54().Speak(text); }
bool Sapi54Busy(bool) { return Module54().Busy(); }
void Sapi54Stop() { Module54().Stop(); }
void Sapi54Close() { Module54().Close(); }

std::string Sapi5VoiceName(int32_t kind) {
  const Sapi5Module* module = ModuleOfKind(kind);
  return module && module->voice() ? module->voice()->CurrentVoice().id : std::string();
}

int32_t Sapi5Rate(int32_t kind) {
  const Sapi5Module* module = ModuleOfKind(kind);
  return module && module->voice() ? module->voice()->Rate() : 0;
}

}  // namespace teluma::synth
