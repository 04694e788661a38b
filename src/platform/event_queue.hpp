// The event queue and the clock behind an environment: messages posted from any thread, work
// scheduled on the clock, and the waits of the program thread. With the virtual clock time
// moves only inside the waits, and a wait with nothing to come asks the key script.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/events.hpp"

namespace teluma::platform {

namespace headless {
class KeySource;
}

class EventQueue {
 public:
  // keys gives the key script a virtual wait delivers from.
  EventQueue(bool virtualClock, std::chrono::steady_clock::time_point start,
             std::function<headless::KeySource&()> keys);

  bool Virtual();
  // A program left without any display runs as headless does: the virtual clock goes on from
  // where the real one was.
  void TurnVirtual();

  int64_t Now();
  void Sleep(int64_t ms);
  uint64_t Schedule(int64_t atMs, std::function<void()> action);
  void Cancel(uint64_t handle);

  void Post(const Message& message);
  bool Peek(Message& message);
  void Wait();

  void BeginOutsidePoster();
  void EndOutsidePoster();
  uint64_t InputSequence() const { return inputs_.load(); }
  void BeginOutsideRendering();
  void EndOutsideRendering();
  bool SleepUntil(int64_t ms, const std::function<bool()>& ready);
  void WakeSleepers();
  void SetWaitingForKey(bool waiting);
  bool WaitingForKey();

 private:
  struct Scheduled {
    int64_t at = 0;
    uint64_t handle = 0;
    std::function<void()> action;
  };
  int64_t NowLocked() const;
  int EarliestLocked() const;
  void FireDue(int64_t now);
  bool QueueEmpty();
  void WaitVirtual();
  void WaitReal();
  void HoldForOutsideRenderers(bool stopAtPost);
  bool SleepUntilVirtual(int64_t ms, const std::function<bool()>& ready);
  bool SleepUntilReal(int64_t ms, const std::function<bool()>& ready);

  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Message> queue_;
  std::vector<Scheduled> scheduled_;
  uint64_t nextHandle_ = 1;
  int64_t virtualNow_ = 0;
  bool virtual_ = false;
  bool waitingForKey_ = false;
  int outsidePosters_ = 0;
  int outsideRenderers_ = 0;
  std::atomic<uint64_t> inputs_{0};
  std::chrono::steady_clock::time_point start_;
  std::function<headless::KeySource&()> keys_;
};

}  // namespace teluma::platform
