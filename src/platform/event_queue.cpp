#include "platform/event_queue.hpp"

#include <algorithm>
#include <thread>

#include "platform/headless/keysource.hpp"

namespace teluma::platform {

EventQueue::EventQueue(bool virtualClock, std::chrono::steady_clock::time_point start,
                       std::function<headless::KeySource&()> keys)
    : virtual_(virtualClock), start_(start), keys_(std::move(keys)) {}

bool EventQueue::Virtual() {
  std::lock_guard<std::mutex> lock(mutex_);
  return virtual_;
}

void EventQueue::TurnVirtual() {
  std::lock_guard<std::mutex> lock(mutex_);
  // Time never runs backwards.
  if (!virtual_) virtualNow_ = NowLocked();
  virtual_ = true;
}

int64_t EventQueue::NowLocked() const {
  if (virtual_) return virtualNow_;
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start_)
      .count();
}

int64_t EventQueue::Now() {
  std::lock_guard<std::mutex> lock(mutex_);
  return NowLocked();
}

// Index of the earliest scheduled entry (ties in order of scheduling: handles grow), or -1.
int EventQueue::EarliestLocked() const {
  int best = -1;
  for (size_t i = 0; i < scheduled_.size(); ++i) {
    const auto& e = scheduled_[i];
    if (best < 0 || e.at < scheduled_[best].at ||
        (e.at == scheduled_[best].at && e.handle < scheduled_[best].handle))
      best = static_cast<int>(i);
  }
  return best;
}

// Runs every scheduled entry that is due at `now`, without the lock: actions post and schedule.
void EventQueue::FireDue(int64_t now) {
  for (;;) {
    Scheduled due;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      int i = EarliestLocked();
      if (i < 0 || scheduled_[i].at > now) return;
      due = std::move(scheduled_[i]);
      scheduled_.erase(scheduled_.begin() + i);
    }
    due.action();
  }
}

namespace {

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

}  // namespace

void EventQueue::Post(const Message& message) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (IsInput(message.kind)) ++inputs_;
    queue_.push_back(message);
  }
  arrived_.notify_all();
}

bool EventQueue::Peek(Message& message) {
  FireDue(Now());
  std::lock_guard<std::mutex> lock(mutex_);
  if (queue_.empty()) return false;
  message = queue_.front();
  queue_.pop_front();
  return true;
}

bool EventQueue::QueueEmpty() {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.empty();
}

void EventQueue::Wait() {
  if (Virtual()) WaitVirtual();
  else WaitReal();
}

void EventQueue::WaitVirtual() {
  for (;;) {
    if (!QueueEmpty()) return;
    auto& keys = keys_();
    // Untimed keys of the script go to a program that waits for a key.
    if (WaitingForKey() && keys.DeliverUntimed()) continue;
    bool scheduled;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      scheduled = EarliestLocked() >= 0;
    }
    if (scheduled) {
      HoldForOutsideRenderers(true);
      int64_t next = -1;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!queue_.empty()) continue;
        int i = EarliestLocked();  // a renderer may have scheduled something sooner
        if (i >= 0) next = std::max(virtualNow_, scheduled_[i].at);
        if (next >= 0) virtualNow_ = next;
      }
      if (next >= 0) FireDue(next);
      continue;
    }
    {
      // An outside thread is still at work: its post is what comes next. The queue is looked
      // at again under the same lock, as a poster that ended meanwhile left its wake there.
      std::unique_lock<std::mutex> lock(mutex_);
      if (!queue_.empty()) return;
      if (outsidePosters_ > 0 || outsideRenderers_ > 0) {
        arrived_.wait(lock, [&] {
          return !queue_.empty() || (outsidePosters_ == 0 && outsideRenderers_ == 0);
        });
        continue;
      }
    }
    // Nothing can ever arrive but a key: a player would press one sooner or later.
    if (keys.DeliverUntimed()) continue;
    Post({MessageKind::Close, 0, 0});
    return;
  }
}

void EventQueue::WaitReal() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (!queue_.empty()) return;
    int i = EarliestLocked();
    if (i < 0) {
      arrived_.wait(lock);
      continue;
    }
    int64_t wait = scheduled_[i].at - NowLocked();
    if (wait > 0) {
      arrived_.wait_for(lock, std::chrono::milliseconds(wait));
      continue;
    }
    lock.unlock();
    FireDue(Now());
    lock.lock();
  }
}

void EventQueue::Sleep(int64_t ms) {
  if (ms < 0) ms = 0;
  if (!Virtual()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    FireDue(Now());
    return;
  }
  keys_();  // its timed keys count from the start
  int64_t target;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    target = virtualNow_ + ms;
  }
  // Time passes step by step so that scheduled work runs at its own moment.
  for (;;) {
    HoldForOutsideRenderers(false);
    int64_t next = -1;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      int i = EarliestLocked();
      if (i >= 0 && scheduled_[i].at <= target) next = std::max(virtualNow_, scheduled_[i].at);
      if (next < 0) {
        virtualNow_ = target;
        return;
      }
      virtualNow_ = next;
    }
    FireDue(next);
  }
}

bool EventQueue::SleepUntil(int64_t ms, const std::function<bool()>& ready) {
  return Virtual() ? SleepUntilVirtual(ms, ready) : SleepUntilReal(ms, ready);
}

bool EventQueue::SleepUntilVirtual(int64_t ms, const std::function<bool()>& ready) {
  keys_();  // its timed keys count from the start
  int64_t target;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    target = ms < 0 ? -1 : virtualNow_ + ms;
  }
  for (;;) {
    HoldForOutsideRenderers(false);
    int64_t next = -1;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (ready()) return true;
      int i = EarliestLocked();
      if (i >= 0 && (target < 0 || scheduled_[i].at <= target))
        next = std::max(virtualNow_, scheduled_[i].at);
      if (next < 0) {
        // Nothing more will happen before the target (or ever, without one).
        if (target >= 0) virtualNow_ = target;
        return false;
      }
      virtualNow_ = next;
    }
    FireDue(next);
  }
}

bool EventQueue::SleepUntilReal(int64_t ms, const std::function<bool()>& ready) {
  const auto begin = std::chrono::steady_clock::now();
  const auto end = ms < 0 ? std::chrono::steady_clock::time_point::max()
                          : begin + std::chrono::milliseconds(ms);
  for (;;) {
    FireDue(Now());
    std::unique_lock<std::mutex> lock(mutex_);
    if (ready()) return true;
    auto until = end;
    if (int i = EarliestLocked(); i >= 0)
      until = std::min(until, start_ + std::chrono::milliseconds(scheduled_[i].at));
    const auto now = std::chrono::steady_clock::now();
    if (now >= end) return false;
    if (now >= until) continue;  // a scheduled moment came: run it
    if (until == std::chrono::steady_clock::time_point::max())
      arrived_.wait(lock);
    else
      arrived_.wait_until(lock, until);
  }
}

void EventQueue::WakeSleepers() {
  { std::lock_guard<std::mutex> lock(mutex_); }  // a sleeper between its test and its wait
  arrived_.notify_all();
}

// With the virtual clock time does not move while an outside thread renders: waits until every
// renderer is done (or, when stopAtPost, until something is posted).
void EventQueue::HoldForOutsideRenderers(bool stopAtPost) {
  std::unique_lock<std::mutex> lock(mutex_);
  arrived_.wait(lock, [&] { return outsideRenderers_ == 0 || (stopAtPost && !queue_.empty()); });
}

uint64_t EventQueue::Schedule(int64_t atMs, std::function<void()> action) {
  uint64_t handle;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    handle = nextHandle_++;
    scheduled_.push_back({atMs, handle, std::move(action)});
  }
  arrived_.notify_all();
  return handle;
}

void EventQueue::Cancel(uint64_t handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(scheduled_, [&](const Scheduled& e) { return e.handle == handle; });
}

void EventQueue::BeginOutsidePoster() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++outsidePosters_;
}

// The end is queued as a wake in the same step as the count drops: a wait that finds no poster
// left then always finds something to return for, and the program looks again at what the
// poster changed instead of the wait taking it for a program with nothing more to come.
void EventQueue::EndOutsidePoster() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (outsidePosters_ > 0) {
      --outsidePosters_;
      queue_.push_back({MessageKind::Wake, 0, 0});
    }
  }
  arrived_.notify_all();
}

void EventQueue::BeginOutsideRendering() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++outsideRenderers_;
}

void EventQueue::EndOutsideRendering() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (outsideRenderers_ > 0) --outsideRenderers_;
  }
  arrived_.notify_all();
}

void EventQueue::SetWaitingForKey(bool waiting) {
  std::lock_guard<std::mutex> lock(mutex_);
  waitingForKey_ = waiting;
}

bool EventQueue::WaitingForKey() {
  std::lock_guard<std::mutex> lock(mutex_);
  return waitingForKey_;
}

}  // namespace teluma::platform
