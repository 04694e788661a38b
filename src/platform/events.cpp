#include "platform/events.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/headless/keysource.hpp"
#include "platform/lifecycle.hpp"
#include "platform/transcript.hpp"

namespace platform {
namespace {

struct Scheduled {
  int64_t at = 0;
  uint64_t handle = 0;
  uint64_t order = 0;
  Message message;
  std::function<void()> action;  // when set, run instead of posting message
};

struct EventState {
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<Message> queue;
  std::vector<Scheduled> scheduled;
  uint64_t nextHandle = 1;
  int64_t virtualNow = 0;
  bool waitingForKey = false;
  int outsidePosters = 0;
  int outsideRenderers = 0;
  std::function<void(int64_t)> pump;
  std::function<void()> wake;
  int clockMode = -1;  // -1 not decided yet, 0 real, 1 virtual
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

EventState& State() {
  static EventState* state = new EventState;  // still there for the exit procedures
  return *state;
}

bool VirtualLocked(EventState& s) {
  if (s.clockMode < 0) {
    const char* backend = std::getenv("TELUMA_BACKEND");
    s.clockMode = (backend && std::strcmp(backend, "headless") == 0) ? 1 : 0;
  }
  return s.clockMode == 1;
}

int64_t NowLocked(EventState& s) {
  if (VirtualLocked(s)) return s.virtualNow;
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               s.start)
      .count();
}

// Index of the earliest scheduled entry (ties in order of scheduling), or -1.
int EarliestLocked(EventState& s) {
  int best = -1;
  for (size_t i = 0; i < s.scheduled.size(); ++i) {
    const auto& e = s.scheduled[i];
    if (best < 0 || e.at < s.scheduled[best].at ||
        (e.at == s.scheduled[best].at && e.order < s.scheduled[best].order))
      best = static_cast<int>(i);
  }
  return best;
}

// Moves every scheduled entry that is due at `now` to the queue (or runs its action).
// Actions run without the lock: they post and schedule themselves.
void FireDue(int64_t now) {
  auto& s = State();
  for (;;) {
    Scheduled due;
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      int i = EarliestLocked(s);
      if (i < 0 || s.scheduled[i].at > now) return;
      due = std::move(s.scheduled[i]);
      s.scheduled.erase(s.scheduled.begin() + i);
      if (!due.action) {
        s.queue.push_back(due.message);
        continue;
      }
    }
    due.action();
  }
}

// With the virtual clock, time does not move while an outside thread renders: waits until
// every renderer is done (or, when stopAtPost, until something is posted).
void HoldForOutsideRenderers(bool stopAtPost) {
  auto& s = State();
  std::unique_lock<std::mutex> lock(s.mutex);
  s.arrived.wait(lock,
                 [&] { return s.outsideRenderers == 0 || (stopAtPost && !s.queue.empty()); });
}

struct ClockInstaller {
  ClockInstaller() {
    State();  // the real clock counts from program start
    InstallExitHandler();
    Transcript::Get().SetClock([] { return NowMs(); });
  }
} clockInstaller;

bool IsInput(MessageKind kind) {
  switch (kind) {
    case MessageKind::KeyDown:
    case MessageKind::SysKeyDown:
    case MessageKind::Char:
    case MessageKind::MouseDown:
    case MessageKind::Close:
    case MessageKind::Quit:
      return true;
    default:
      return false;
  }
}

std::atomic<uint64_t> inputSequence{0};

}  // namespace

uint64_t InputSequence() { return inputSequence.load(); }

void PostMessage(const Message& message) {
  auto& s = State();
  std::function<void()> wake;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (IsInput(message.kind)) ++inputSequence;
    s.queue.push_back(message);
    wake = s.wake;
  }
  s.arrived.notify_all();
  if (wake) wake();
}

void SetEventPump(std::function<void(int64_t timeoutMs)> pump, std::function<void()> wake) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.pump = std::move(pump);
  s.wake = std::move(wake);
}

static std::function<void(int64_t)> Pump() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.pump;
}

bool PeekMessage(Message& message) {
  auto& s = State();
  if (auto pump = Pump()) pump(0);
  FireDue(NowMs());
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.queue.empty()) return false;
  message = s.queue.front();
  s.queue.pop_front();
  return true;
}

static bool QueueEmpty() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.queue.empty();
}

void WaitMessage() {
  auto& s = State();
  if (UsesVirtualClock()) {
    for (;;) {
      if (!QueueEmpty()) return;
      auto& keys = headless::KeySource::Get();
      // Untimed keys of the script go to a program that waits for a key.
      if (WaitingForKey() && keys.DeliverUntimed()) continue;
      int64_t next = -1;
      {
        std::lock_guard<std::mutex> lock(s.mutex);
        int i = EarliestLocked(s);
        if (i >= 0) next = std::max(s.virtualNow, s.scheduled[i].at);
      }
      if (next >= 0) {
        HoldForOutsideRenderers(true);
        if (!QueueEmpty()) return;
        {
          std::lock_guard<std::mutex> lock(s.mutex);
          int i = EarliestLocked(s);  // the poster may have scheduled something sooner
          if (i >= 0) next = std::max(s.virtualNow, s.scheduled[i].at);
          s.virtualNow = next;
        }
        FireDue(next);
        continue;
      }
      {
        // An outside thread is still at work: its post is what comes next.
        std::unique_lock<std::mutex> lock(s.mutex);
        if (s.outsidePosters > 0 || s.outsideRenderers > 0) {
          s.arrived.wait(lock, [&] {
            return !s.queue.empty() || (s.outsidePosters == 0 && s.outsideRenderers == 0);
          });
          continue;
        }
      }
      // Nothing can ever arrive but a key: a player would press one sooner or later.
      if (keys.DeliverUntimed()) continue;
      PostMessage({MessageKind::Close, 0, 0});
      return;
    }
  }
  if (auto pump = Pump()) {
    for (;;) {
      FireDue(NowMs());
      int64_t timeout = -1;
      {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (!s.queue.empty()) return;
        int i = EarliestLocked(s);
        if (i >= 0) timeout = std::max<int64_t>(0, s.scheduled[i].at - NowLocked(s));
      }
      pump(timeout);
    }
  }
  std::unique_lock<std::mutex> lock(s.mutex);
  for (;;) {
    if (!s.queue.empty()) return;
    int i = EarliestLocked(s);
    if (i < 0) {
      s.arrived.wait(lock);
      continue;
    }
    int64_t wait = s.scheduled[i].at - NowLocked(s);
    if (wait > 0) {
      s.arrived.wait_for(lock, std::chrono::milliseconds(wait));
      continue;
    }
    lock.unlock();
    FireDue(NowMs());
    lock.lock();
  }
}

int64_t NowMs() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return NowLocked(s);
}

void Sleep(int64_t ms) {
  if (ms < 0) ms = 0;
  auto& s = State();
  if (UsesVirtualClock()) {
    headless::KeySource::Get();  // its timed keys count from the start
    int64_t target;
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      target = s.virtualNow + ms;
    }
    // Time passes step by step so that scheduled messages fire at their own moments.
    for (;;) {
      HoldForOutsideRenderers(false);
      int64_t next = -1;
      {
        std::lock_guard<std::mutex> lock(s.mutex);
        int i = EarliestLocked(s);
        if (i >= 0 && s.scheduled[i].at <= target) next = std::max(s.virtualNow, s.scheduled[i].at);
        if (next < 0) {
          s.virtualNow = target;
          return;
        }
        s.virtualNow = next;
      }
      FireDue(next);
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  FireDue(NowMs());
}

bool SleepUntil(int64_t ms, const std::function<bool()>& ready) {
  auto& s = State();
  if (UsesVirtualClock()) {
    headless::KeySource::Get();  // its timed keys count from the start
    int64_t target;
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      target = ms < 0 ? -1 : s.virtualNow + ms;
    }
    for (;;) {
      HoldForOutsideRenderers(false);
      int64_t next = -1;
      {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (ready()) return true;
        int i = EarliestLocked(s);
        if (i >= 0 && (target < 0 || s.scheduled[i].at <= target))
          next = std::max(s.virtualNow, s.scheduled[i].at);
        if (next < 0) {
          // Nothing more will happen before the target (or ever, without one).
          if (target >= 0) s.virtualNow = target;
          return false;
        }
        s.virtualNow = next;
      }
      FireDue(next);
    }
  }
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    FireDue(NowMs());
    std::unique_lock<std::mutex> lock(s.mutex);
    if (ready()) return true;
    auto until = std::chrono::steady_clock::time_point::max();
    if (ms >= 0) until = start + std::chrono::milliseconds(ms);
    if (int i = EarliestLocked(s); i >= 0)
      until = std::min(until, s.start + std::chrono::milliseconds(s.scheduled[i].at));
    if (std::chrono::steady_clock::now() >= until) {
      if (ms >= 0 && std::chrono::steady_clock::now() >= start + std::chrono::milliseconds(ms))
        return ready();
      continue;  // a scheduled moment came: fire it
    }
    if (until == std::chrono::steady_clock::time_point::max())
      s.arrived.wait(lock);
    else
      s.arrived.wait_until(lock, until);
  }
}

void WakeSleepers() {
  auto& s = State();
  { std::lock_guard<std::mutex> lock(s.mutex); }  // a sleeper between its test and its wait
  s.arrived.notify_all();
}

static uint64_t AddScheduled(int64_t atMs, const Message& message, std::function<void()> action) {
  auto& s = State();
  uint64_t handle;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    handle = s.nextHandle++;
    s.scheduled.push_back({atMs, handle, handle, message, std::move(action)});
  }
  s.arrived.notify_all();
  return handle;
}

uint64_t ScheduleMessage(int64_t atMs, const Message& message) {
  return AddScheduled(atMs, message, nullptr);
}

uint64_t ScheduleAction(int64_t atMs, std::function<void()> action) {
  return AddScheduled(atMs, {}, std::move(action));
}

void CancelScheduled(uint64_t handle) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.scheduled.erase(std::remove_if(s.scheduled.begin(), s.scheduled.end(),
                                   [&](const Scheduled& e) { return e.handle == handle; }),
                    s.scheduled.end());
}

bool UsesVirtualClock() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return VirtualLocked(s);
}

void SetVirtualClock(bool on) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  // Time never runs backwards: the virtual clock goes on from where the real one was.
  if (on && s.clockMode == 0) s.virtualNow = NowLocked(s);
  s.clockMode = on ? 1 : 0;
}

void ResetEvents() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.queue.clear();
  s.scheduled.clear();
  s.virtualNow = 0;
  s.waitingForKey = false;
  s.outsidePosters = 0;
  s.outsideRenderers = 0;
  s.start = std::chrono::steady_clock::now();
}

void BeginOutsidePoster() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  ++s.outsidePosters;
}

void EndOutsidePoster() {
  auto& s = State();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.outsidePosters > 0) --s.outsidePosters;
  }
  s.arrived.notify_all();
}

void BeginOutsideRendering() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  ++s.outsideRenderers;
}

void EndOutsideRendering() {
  auto& s = State();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.outsideRenderers > 0) --s.outsideRenderers;
  }
  s.arrived.notify_all();
}

void SetWaitingForKey(bool waiting) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.waitingForKey = waiting;
}

bool WaitingForKey() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.waitingForKey;
}

}  // namespace platform
