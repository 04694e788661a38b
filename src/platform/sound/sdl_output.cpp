// The sound card output: one SDL2 audio device opened once at a fixed rate, fed by the mixer
// from SDL's audio thread. The callback only renders and, when the mixer has produced events,
// posts a semaphore; a notifier thread drains the events (WaveDone messages to the event queue,
// freeing retired effects) and pauses the device while nothing sounds.
#include <SDL.h>
#include <dlfcn.h>
#include <semaphore.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/events.hpp"
#include "platform/sound/output.hpp"

namespace teluma::platform {

WaveHandle NextWaveHandle();

namespace {

constexpr int32_t kDeviceRate = 48000;
// 5 ms at the device rate: a key stops the sound within two buffers (one being rendered, one
// playing), under the 12 ms a player hears as at once.
constexpr int kDeviceFrames = 240;

// The ALSA library reports a machine without a sound card in several lines on standard error
// while SDL looks for a device; we say it once in our own words instead.
extern "C" void QuietAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Quiet while SDL looks for a device; ALSA's own reports come back afterwards.
void QuietAlsa(bool quiet) {
  using SetHandler = int (*)(void (*)(const char*, int, const char*, int, const char*, ...));
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);  // kept: SDL shares it
  if (alsa == nullptr) return;
  if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
    set(quiet ? &QuietAlsaError : nullptr);
  }
}

int64_t MicrosNow() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

class SdlOutput : public SoundOutput {
 public:
  SdlOutput() : mixer_(kDeviceRate) { sem_init(&wake_, 0, 0); }

  ~SdlOutput() override {
    // The notifier may be pausing the device: it ends first, then the device closes.
    quitting_.store(true);
    sem_post(&wake_);
    if (notifier_.joinable()) notifier_.join();
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    Drain();
    sem_destroy(&wake_);
  }

  bool Start() {
    QuietAlsa(true);
    const bool opened = OpenDevice();
    QuietAlsa(false);
    if (!opened) return false;
    bufferFrames_ = have_.samples;
    notifier_ = std::thread([this] { NotifierLoop(); });
    return true;
  }

  bool OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = kDeviceRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kDeviceFrames;
    want.callback = &SdlOutput::Callback;
    want.userdata = this;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have_, 0);
    if (device_ == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    return true;
  }

  const char* Name() const override { return "sdl"; }

  int32_t Open(WaveHandle& handle, const WaveFormat& format) override {
    if (const int32_t refused = OpenRefusal(open_, format)) return refused;
    const WaveHandle next = NextWaveHandle();
    if (!Send([&] { return mixer_.OpenStream(next, format); })) return kWaveNoMemory;
    open_ = true;
    handle_ = handle = next;
    outstanding_.fill(nullptr);
    return kWaveOk;
  }

  int32_t Write(WaveHandle handle, WaveHeader& header) override {
    const uint32_t flags = header.flags.load();
    if (const int32_t refused = WriteRefusal(open_, handle_, handle, flags)) return refused;
    WaveHeader** slot = FreeOutstandingSlot();
    if (slot == nullptr) return kWaveNoMemory;
    header.flags.store((flags & ~kHeaderDone) | kHeaderInQueue);
    if (!Send([&] { return mixer_.QueueBlock(&header); })) {
      header.flags.store(flags);
      return kWaveNoMemory;
    }
    *slot = &header;
    return kWaveOk;
  }

  int32_t Reset(WaveHandle handle) override {
    if (const int32_t refused = HandleRefusal(open_, handle_, handle)) return refused;
    const uint64_t sequence = ++resetSequence_;
    resetRequestedUs_.store(MicrosNow());
    if (Send([&] { return mixer_.ResetStream(sequence); })) {
      std::unique_lock<std::mutex> lock(drainMutex_);
      drained_.wait_for(lock, std::chrono::seconds(1),
                        [&] { return resetDone_ >= sequence; });
    }
    // A device that stopped calling back: the blocks come back all the same.
    for (WaveHeader*& header : outstanding_) {
      if (header != nullptr && MarkHeaderDone(*header)) {
        PostMessage({MessageKind::WaveDone, handle_, header->user});
      }
      header = nullptr;
    }
    return kWaveOk;
  }

  int32_t Close(WaveHandle handle) override {
    if (const int32_t refused = HandleRefusal(open_, handle_, handle)) return refused;
    for (WaveHeader* header : outstanding_) {
      if (header != nullptr && (header->flags.load() & kHeaderInQueue)) return kWaveStillPlaying;
    }
    Send([&] { return mixer_.CloseStream(); });
    open_ = false;
    handle_ = 0;
    return kWaveOk;
  }

  void PlayEffect(std::unique_ptr<EffectSound> effect) override {
    Send([&] { return mixer_.PlayEffect(std::move(effect)); });
  }

  void StopEffect() override {
    Send([&] { return mixer_.StopEffect(); });
  }

  void QueueSpeech(std::unique_ptr<SpeechSound> piece) override {
    if (Send([&] { return mixer_.QueueSpeech(std::move(piece)); })) return;
    // A device that stopped calling back: the piece counts as sounded.
    if (piece->done) piece->done();
  }

  void PurgeSpeech() override {
    purgeRequestedUs_.store(MicrosNow());
    ++purgeSequence_;
    Send([&] { return mixer_.PurgeSpeech(); });
  }

  void Figures(SdlOutputFigures& figures) const {
    figures.rate = kDeviceRate;
    figures.bufferFrames = bufferFrames_;
    figures.callbacks = callbacks_.load();
    figures.lastResetToCallbackUs = resetToCallbackUs_.load();
    figures.lastPurgeToCallbackUs = purgeToCallbackUs_.load();
    figures.lastSpeechStartUs = speechStartUs_.load();
  }

 private:
  static void Callback(void* userdata, Uint8* stream, int bytes) {
    auto* self = static_cast<SdlOutput*>(userdata);
    const int64_t startUs = MicrosNow();
    const uint64_t requested = self->resetSequence_.load();
    const uint64_t purged = self->purgeSequence_.load();
    self->mixer_.Render(reinterpret_cast<int16_t*>(stream), size_t(bytes) / 4);
    self->callbacks_.fetch_add(1);
    if (requested != self->resetMeasured_) {
      self->resetMeasured_ = requested;
      self->resetToCallbackUs_.store(startUs - self->resetRequestedUs_.load());
    }
    if (purged != self->purgeMeasured_) {
      self->purgeMeasured_ = purged;
      self->purgeToCallbackUs_.store(startUs - self->purgeRequestedUs_.load());
    }
    if (self->mixer_.SpeechStarted()) self->speechStartUs_.store(startUs);
    const bool idle = self->mixer_.Idle();
    if (self->mixer_.EventsPending() || (idle && !self->idleReported_)) sem_post(&self->wake_);
    self->idleReported_ = idle;
  }

  // Pushes a command (retrying briefly while the ring is full) and wakes the device.
  // The command ring has one producer at a time: effects may come from any thread.
  template <typename Push>
  bool Send(Push&& push) {
    std::lock_guard<std::mutex> lock(sendMutex_);
    bool sent = push();
    for (int tries = 0; !sent && tries < 200; ++tries) {
      Resume();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      sent = push();
    }
    Resume();
    return sent;
  }

  void Resume() {
    std::lock_guard<std::mutex> lock(pauseMutex_);
    if (paused_) {
      SDL_PauseAudioDevice(device_, 0);
      paused_ = false;
    }
  }

  void PauseWhenIdle() {
    std::lock_guard<std::mutex> lock(pauseMutex_);
    if (paused_) return;
    // Decided while no callback runs, so that the idle flag is that of the last buffer rendered
    // (a buffer that has just taken new blocks must not be paused).
    SDL_LockAudioDevice(device_);
    if (mixer_.Idle() && !mixer_.CommandsPending()) {
      SDL_PauseAudioDevice(device_, 1);
      paused_ = true;
    }
    SDL_UnlockAudioDevice(device_);
  }

  void NotifierLoop() {
    while (!quitting_.load()) {
      while (sem_wait(&wake_) != 0) {
      }
      Drain();
      PauseWhenIdle();
    }
  }

  void Drain() {
    {
      std::lock_guard<std::mutex> lock(drainMutex_);
      Mixer::Event event;
      while (mixer_.PopEvent(event)) {
        switch (event.kind) {
          case Mixer::Event::BlockDone:
            PostMessage({MessageKind::WaveDone, event.handle, event.user});
            break;
          case Mixer::Event::EffectRetired:
            delete event.effect;
            break;
          case Mixer::Event::ResetDone:
            resetDone_ = event.sequence;
            break;
          case Mixer::Event::SpeechRetired:
            for (SpeechSound* piece = event.speech; piece != nullptr;) {
              SpeechSound* next = piece->next;
              if (piece->done) piece->done();
              delete piece;
              piece = next;
            }
            break;
        }
      }
    }
    drained_.notify_all();
  }

  WaveHeader** FreeOutstandingSlot() {
    for (WaveHeader*& header : outstanding_) {
      if (header == nullptr || !(header->flags.load() & kHeaderInQueue)) return &header;
    }
    return nullptr;
  }

  Mixer mixer_;
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec have_{};
  int32_t bufferFrames_ = 0;
  sem_t wake_;
  std::thread notifier_;
  std::atomic<bool> quitting_{false};
  std::mutex sendMutex_;
  std::mutex pauseMutex_;
  bool paused_ = true;  // SDL opens devices paused
  std::mutex drainMutex_;
  std::condition_variable drained_;
  uint64_t resetDone_ = 0;

  // Program thread.
  bool open_ = false;
  WaveHandle handle_ = 0;
  std::array<WaveHeader*, Mixer::kStreamCapacity> outstanding_{};

  // Shared with the callback.
  std::atomic<uint64_t> resetSequence_{0};
  std::atomic<int64_t> resetRequestedUs_{0};
  std::atomic<int64_t> resetToCallbackUs_{0};
  std::atomic<int64_t> callbacks_{0};
  std::atomic<uint64_t> purgeSequence_{0};
  std::atomic<int64_t> purgeRequestedUs_{0};
  std::atomic<int64_t> purgeToCallbackUs_{0};
  std::atomic<int64_t> speechStartUs_{0};
  uint64_t resetMeasured_ = 0;  // callback only
  uint64_t purgeMeasured_ = 0;  // callback only
  bool idleReported_ = true;    // callback only
};

}  // namespace

std::unique_ptr<SoundOutput> MakeSdlOutput() {
  auto output = std::make_unique<SdlOutput>();
  if (!output->Start()) return nullptr;
  return output;
}

bool SdlFigures(SoundOutput& output, SdlOutputFigures& figures) {
  auto* sdl = dynamic_cast<SdlOutput*>(&output);
  if (sdl == nullptr) return false;
  sdl->Figures(figures);
  return true;
}

}  // namespace teluma::platform
