// The stand-in for the system's event objects: a flag one thread sets and another waits for
// with WaitForSingleObject, on the program's clock (virtual in the headless backend).
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/events.hpp"

namespace teluma::platform {

constexpr int32_t kWaitObject0 = 0;
constexpr int32_t kWaitTimeout = 258;
constexpr int64_t kInfinite = -1;

class Signal {
 public:
  void Set() {
    set_.store(true);
    WakeSleepers();
  }
  void Reset() { set_.store(false); }
  bool IsSet() const { return set_.load(); }

 private:
  std::atomic<bool> set_{false};
};

// kWaitObject0 when the signal is set within ms milliseconds (kInfinite: no limit), else
// kWaitTimeout. Messages stay queued meanwhile.
inline int32_t WaitForSingleObject(const Signal& signal, int64_t ms) {
  return SleepUntil(ms, [&] { return signal.IsSet(); }) ? kWaitObject0 : kWaitTimeout;
}

}  // namespace teluma::platform
