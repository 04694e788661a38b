// The engine's thread: texts are rendered by espeak-ng one after the other, and the sound goes
// on in pieces as it comes (the first at once, then about a fifth of a second at a time) to the
// sound output's speech voice, or to the voice's file stream.
#include "synth/voices_engine.hpp"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <thread>

#include "platform/events.hpp"
#include "platform/sound.hpp"

namespace teluma::synth {

namespace voices {

void VoiceState::JobQueued() {
  std::lock_guard<std::mutex> lock(counts_);
  ++jobs_;
  complete.Reset();
}

void VoiceState::JobDone() {
  std::lock_guard<std::mutex> lock(counts_);
  if (--jobs_ == 0 && pieces_ == 0) complete.Set();
}

void VoiceState::PieceQueued() {
  std::lock_guard<std::mutex> lock(counts_);
  ++pieces_;
}

void VoiceState::PieceDone() {
  std::lock_guard<std::mutex> lock(counts_);
  if (--pieces_ == 0 && jobs_ == 0) complete.Set();
}

int VoiceState::Pieces() {
  std::lock_guard<std::mutex> lock(counts_);
  return pieces_;
}

namespace engine {
namespace {

constexpr int kBufferMs = 20;  // espeak-ng's callback chunks: the first sound comes this soon

struct Engine {
  std::mutex mutex;
  bool started = false;
  int32_t rate = 0;
  std::vector<VoiceToken> voices;
  std::condition_variable queued;
  std::deque<Job> jobs;
};

Engine& E() {
  static Engine* engine = new Engine;  // its thread runs until the process ends
  return *engine;
}

// What the thread is rendering (only the engine's thread touches it). Never freed: the thread
// may still be at work while the process ends.
struct Rendering {
  const Job* job = nullptr;
  std::vector<int16_t> pending;
  bool sentFirst = false;
  bool dropped = false;
};
Rendering& gRendering = *new Rendering;

// Hands the samples gathered so far on; false when the text was purged meanwhile.
bool Deliver(Rendering& r) {
  VoiceState& state = *r.job->state;
  std::lock_guard<std::mutex> lock(state.delivery);
  if (state.generation.load() != r.job->generation) return false;
  if (r.pending.empty()) return true;
  if (state.stream != nullptr) {
    state.stream->Write(r.pending.data(), r.pending.size());
  } else {
    auto piece = std::make_unique<platform::SpeechSound>();
    piece->samples.swap(r.pending);
    piece->rate = E().rate;
    std::shared_ptr<VoiceState> owner = r.job->state;
    piece->done = [owner] { owner->PieceDone(); };
    state.PieceQueued();
    platform::QueueSpeech(std::move(piece));
  }
  r.pending.clear();
  r.sentFirst = true;
  return true;
}

int SynthCallback(short* wav, int count, espeak_EVENT*) {
  Rendering& r = gRendering;
  if (r.job == nullptr || r.dropped) return 1;
  if (wav != nullptr && count > 0) r.pending.insert(r.pending.end(), wav, wav + count);
  if (r.pending.empty()) return 0;
  if (!r.sentFirst || r.pending.size() >= size_t(E().rate / 5)) {
    if (!Deliver(r)) r.dropped = true;
  }
  return r.dropped ? 1 : 0;
}

void Render(const Job& job, std::string& currentVoice) {
  if (job.state->generation.load() != job.generation) return;
  if (job.voiceId != currentVoice && espeak_SetVoiceByName(job.voiceId.c_str()) == EE_OK)
    currentVoice = job.voiceId;
  espeak_SetParameter(espeakRATE, job.wordsPerMinute, 0);
  espeak_SetParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
  gRendering = Rendering{};
  gRendering.job = &job;
  // Plain text: no markup, no phoneme brackets.
  espeak_Synth(job.utf8.c_str(), job.utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
               nullptr, nullptr);
  if (!gRendering.dropped) Deliver(gRendering);
  gRendering = Rendering{};
  std::lock_guard<std::mutex> lock(job.state->delivery);
  if (job.state->stream != nullptr) job.state->stream->Finish();
}

void ThreadLoop() {
  std::string currentVoice;
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(E().mutex);
      E().queued.wait(lock, [] { return !E().jobs.empty(); });
      job = std::move(E().jobs.front());
      E().jobs.pop_front();
    }
    Render(job, currentVoice);
    job.state->JobDone();
    platform::EndOutsideRendering();
  }
}

// The voice's first language, and whether it speaks Portuguese at all.
void Languages(const espeak_VOICE& v, std::string& first, bool& portuguese) {
  portuguese = false;
  for (const char* p = v.languages; p != nullptr && *p != 0;) {
    const std::string language = p + 1;  // after the priority byte
    if (first.empty()) first = language;
    if (language == "pt" || language.starts_with("pt-")) portuguese = true;
    p += 1 + language.size() + 1;
  }
}

std::vector<VoiceToken> ListVoices() {
  std::vector<VoiceToken> brazilian, portuguese, others;
  const espeak_VOICE** list = espeak_ListVoices(nullptr);
  for (size_t i = 0; list != nullptr && list[i] != nullptr; ++i) {
    const espeak_VOICE& v = *list[i];
    if (v.identifier == nullptr || std::strncmp(v.identifier, "mb/", 3) == 0) continue;
    VoiceToken token{v.identifier, v.name ? v.name : v.identifier, ""};
    bool speaksPortuguese = false;
    Languages(v, token.language, speaksPortuguese);
    if (token.language == "pt-br")
      brazilian.push_back(token);
    else if (speaksPortuguese)
      portuguese.push_back(token);
    else
      others.push_back(token);
  }
  brazilian.insert(brazilian.end(), portuguese.begin(), portuguese.end());
  brazilian.insert(brazilian.end(), others.begin(), others.end());
  return brazilian;
}

}  // namespace

bool Start() {
  Engine& e = E();
  std::lock_guard<std::mutex> lock(e.mutex);
  if (e.started) return true;
  espeak_ng_InitializePath(nullptr);
  espeak_ng_ERROR_CONTEXT context = nullptr;
  if (espeak_ng_Initialize(&context) != ENS_OK) {
    espeak_ng_ClearErrorContext(&context);
    return false;
  }
  if (espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, kBufferMs, nullptr) != ENS_OK)
    return false;
  e.rate = espeak_ng_GetSampleRate();
  if (e.rate <= 0) return false;
  espeak_SetSynthCallback(SynthCallback);
  e.voices = ListVoices();
  std::thread(ThreadLoop).detach();
  e.started = true;
  return true;
}

int32_t SampleRate() {
  std::lock_guard<std::mutex> lock(E().mutex);
  return E().rate > 0 ? E().rate : 22050;
}

std::vector<VoiceToken> Installed() {
  std::lock_guard<std::mutex> lock(E().mutex);
  return E().voices;
}

void Submit(Job job) {
  {
    std::lock_guard<std::mutex> lock(E().mutex);
    E().jobs.push_back(std::move(job));
  }
  E().queued.notify_one();
}

}  // namespace engine
}  // namespace voices

}  // namespace teluma::synth
