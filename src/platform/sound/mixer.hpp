// The mixer of the sound card output: the wave stream, the effect voice and the speech voice
// summed into signed 16-bit stereo at the device rate.
//
// Two threads meet here without locks. The program thread sends commands through a
// single-producer ring; the audio callback (Render) takes them at the start of each buffer and
// answers through a second ring with events (block done, effect retired, reset done), which one
// drain thread at a time takes off. Render never blocks and never allocates: effect sounds are
// allocated by the program thread and freed by whoever drains the events.
#pragma once
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sound.hpp"
#include "platform/sound/pcm.hpp"
#include "platform/sound/wave_out.hpp"

namespace platform {

struct EffectSound {
  std::vector<uint8_t> samples;  // whole frames
  WaveFormat format;
  bool loop = false;
};

// Clears the in-queue flag and sets the done flag; true for the one caller that did it.
inline bool MarkHeaderDone(WaveHeader& header) {
  uint32_t flags = header.flags.load();
  do {
    if (!(flags & kHeaderInQueue)) return false;
  } while (!header.flags.compare_exchange_weak(flags, (flags & ~kHeaderInQueue) | kHeaderDone));
  return true;
}

// Fixed-capacity single-producer single-consumer ring.
template <typename T, size_t N>
class SpscRing {
 public:
  bool Push(const T& item) {
    const size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) == N) return false;
    items_[tail % N] = item;
    tail_.store(tail + 1, std::memory_order_release);
    return true;
  }
  bool Pop(T& item) {
    const size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return false;
    item = items_[head % N];
    head_.store(head + 1, std::memory_order_release);
    return true;
  }
  size_t Size() const { return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_acquire); }
  size_t Free() const { return N - Size(); }

 private:
  std::array<T, N> items_{};
  std::atomic<size_t> head_{0};
  std::atomic<size_t> tail_{0};
};

class Mixer {
 public:
  static constexpr size_t kStreamCapacity = 16;  // blocks queued on the stream at most

  struct Event {
    enum Kind { BlockDone, EffectRetired, SpeechRetired, ResetDone } kind = BlockDone;
    WaveHandle handle = 0;
    int64_t user = 0;
    EffectSound* effect = nullptr;  // EffectRetired: the drainer frees it
    uint64_t sequence = 0;          // ResetDone
    SpeechSound* speech = nullptr;  // SpeechRetired: a chain; the drainer calls done and frees
  };

  explicit Mixer(int32_t deviceRate);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Program thread. False when the command ring is full (the callback is not running).
  bool OpenStream(WaveHandle handle, const WaveFormat& format);
  bool QueueBlock(WaveHeader* header);  // the header is already flagged in queue
  bool ResetStream(uint64_t sequence);
  bool CloseStream();
  // Each takes the sound only when it returns true, so a full ring can be tried again.
  bool PlayEffect(std::unique_ptr<EffectSound>&& effect);
  bool StopEffect();
  bool QueueSpeech(std::unique_ptr<SpeechSound>&& piece);
  bool PurgeSpeech();
  bool CommandsPending() const { return commands_.Size() != 0; }

  // The drain side (one thread at a time).
  bool PopEvent(Event& event) { return events_.Pop(event); }
  bool EventsPending() const { return events_.Size() != 0; }

  // Audio callback: fills frames stereo frames (2 × frames values).
  void Render(int16_t* out, size_t frames);
  // After the last Render: no block queued, no effect and no speech sounding.
  bool Idle() const { return idle_.load(); }
  // Whether the last Render began speech after silence.
  bool SpeechStarted() const { return speechStarted_; }

 private:
  struct Command {
    enum Kind { Open, Queue, Reset, Close, Effect, StopEffect, Speech, PurgeSpeech } kind = Open;
    WaveHandle handle = 0;
    WaveFormat format;
    WaveHeader* header = nullptr;
    EffectSound* effect = nullptr;
    uint64_t sequence = 0;
    SpeechSound* speech = nullptr;
  };

  void TakeCommands();
  void Apply(const Command& command);
  void FinishBlocks();
  void RetireEffect();
  bool NextStreamFrame(StereoFrame& frame);
  bool NextEffectFrame(StereoFrame& frame);
  bool NextSpeechFrame(StereoFrame& frame);
  void RetireSpeech(SpeechSound* first, SpeechSound* last);
  void ReportRetiredSpeech();

  const int32_t deviceRate_;
  SpscRing<Command, 64> commands_;
  SpscRing<Event, 64> events_;
  std::atomic<bool> idle_{true};

  // Callback-side state.
  bool streamOpen_ = false;
  WaveHandle streamHandle_ = 0;
  WaveFormat streamFormat_;
  std::array<WaveHeader*, kStreamCapacity> blocks_{};
  size_t firstBlock_ = 0;
  size_t blockCount_ = 0;
  size_t blockPosition_ = 0;
  std::array<uint8_t, 8> carry_{};  // the start of a frame the last block did not finish
  size_t carryBytes_ = 0;
  Resampler streamResampler_;
  EffectSound* effect_ = nullptr;
  size_t effectPosition_ = 0;
  Resampler effectResampler_;
  SpeechSound* speechHead_ = nullptr;  // playing first, then the queued ones
  SpeechSound* speechTail_ = nullptr;
  size_t speechPosition_ = 0;
  Resampler speechResampler_;
  SpeechSound* retiredHead_ = nullptr;  // done, not yet reported
  SpeechSound* retiredTail_ = nullptr;
  bool speechSounding_ = false;
  bool speechStarted_ = false;
};

}  // namespace platform
