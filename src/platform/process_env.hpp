// What the real and the headless environment share: the event queue on its clock, the seed,
// the transcript, the key source, the sound output made at first use and the started programs.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/env.hpp"
#include "platform/event_queue.hpp"

namespace teluma::platform {

class ProcessEnv : public Env {
 public:
  ~ProcessEnv() override;

  bool UsesVirtualClock() override { return queue_.Virtual(); }
  int64_t NowMs() override { return queue_.Now(); }
  void Sleep(int64_t ms) override { queue_.Sleep(ms); }
  uint64_t ScheduleAction(int64_t atMs, std::function<void()> action) override {
    return queue_.Schedule(atMs, std::move(action));
  }
  void CancelScheduled(uint64_t handle) override { queue_.Cancel(handle); }
  void PostMessage(const Message& message) override { queue_.Post(message); }
  bool PeekMessage(Message& message) override { return queue_.Peek(message); }
  void WaitMessage() override { queue_.Wait(); }
  void BeginOutsidePoster() override { queue_.BeginOutsidePoster(); }
  void EndOutsidePoster() override { queue_.EndOutsidePoster(); }
  uint64_t InputSequence() override { return queue_.InputSequence(); }
  void BeginOutsideRendering() override { queue_.BeginOutsideRendering(); }
  void EndOutsideRendering() override { queue_.EndOutsideRendering(); }
  bool SleepUntil(int64_t ms, const std::function<bool()>& ready) override {
    return queue_.SleepUntil(ms, ready);
  }
  void WakeSleepers() override { queue_.WakeSleepers(); }
  void SetWaitingForKey(bool waiting) override { queue_.SetWaitingForKey(waiting); }
  bool WaitingForKey() override { return queue_.WaitingForKey(); }

  uint64_t Seed() override { return seed_; }
  SoundOutput& Sound() override;
  bool StartProgram(const std::vector<std::string>& argv) override;
  Transcript& Log() override { return *transcript_; }
  headless::KeySource& Keys() override;

  const EnvChoice& Choice() const { return choice_; }

 protected:
  ProcessEnv(const EnvChoice& choice, bool virtualClock);
  virtual std::unique_ptr<SoundOutput> MakeSound() = 0;
  EventQueue& Queue() { return queue_; }

 private:
  EnvChoice choice_;
  uint64_t seed_;
  EventQueue queue_;
  std::unique_ptr<Transcript> transcript_;
  std::mutex lazyMutex_;
  std::unique_ptr<headless::KeySource> keys_;
  std::unique_ptr<SoundOutput> sound_;
  std::vector<int> children_;
};

}  // namespace teluma::platform
