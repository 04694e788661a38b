// The outside voices: a voice object, its rate and its speaking.
#include "synth/voices.hpp"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>

#include "platform/cp1252.hpp"
#include "platform/events.hpp"
#include "platform/sound.hpp"
#include "synth/voices_engine.hpp"

namespace teluma::synth {

namespace voices {

int32_t WordsPerMinute(int32_t rate) {
  const double wpm = 175.0 * std::pow(3.0, rate / 10.0);
  return std::clamp(int32_t(std::lround(wpm)), int32_t(espeakRATE_MINIMUM), int32_t(espeakRATE_MAXIMUM));
}

const VoiceToken* VoiceTokens::Item(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &tokens_[size_t(index)];
}

std::unique_ptr<Voice> Voice::Create() {
  if (!engine::Start()) return nullptr;
  return std::unique_ptr<Voice>(new Voice);
}

Voice::Voice() : state_(std::make_shared<VoiceState>()) {
  state_->complete.Set();
  const auto installed = engine::Installed();
  if (!installed.empty()) voice_ = installed.front();
}

Voice::~Voice() {
  Purge();
  SetAudioOutputStream(nullptr);
}

VoiceTokens Voice::GetVoices(std::string_view required, std::string_view optional) const {
  if (!required.empty() || !optional.empty()) return VoiceTokens({});
  return VoiceTokens(engine::Installed());
}

bool Voice::SetVoice(const VoiceToken& token) {
  voice_ = token;
  return true;
}

bool Voice::SetRate(int32_t rate) {
  if (rate < -10 || rate > 10) return false;
  rate_ = rate;
  return true;
}

const platform::Signal& Voice::SpeakCompleteEvent() const { return state_->complete; }

void Voice::Purge() {
  {
    std::lock_guard<std::mutex> lock(state_->delivery);
    ++state_->generation;
  }
  // Texts still waiting are skipped by the engine; what already sounds stops here.
  if (state_->Pieces() > 0) platform::PurgeSpeech();
}

bool Voice::Speak(std::string_view text, uint32_t flags) {
  if (flags & kSpeakPurgeBeforeSpeak) Purge();
  {
    std::lock_guard<std::mutex> lock(state_->delivery);
    if (state_->stream != nullptr && state_->stream->Failed()) return false;
  }
  Job job{state_, state_->generation.load(), platform::Cp1252ToUtf8(text), voice_.id,
          WordsPerMinute(rate_)};
  state_->JobQueued();
  platform::BeginOutsideRendering();
  engine::Submit(std::move(job));
  if (!(flags & kSpeakAsync)) platform::WaitForSingleObject(state_->complete, platform::kInfinite);
  return true;
}

void Voice::SetAudioOutputStream(FileStream* stream) {
  std::lock_guard<std::mutex> lock(state_->delivery);
  state_->stream = stream;
}

}  // namespace voices

}  // namespace teluma::synth
