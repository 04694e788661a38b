#include "platform/events.hpp"

#include "platform/env.hpp"

namespace teluma::platform {

void PostMessage(const Message& message) { Env::Default().PostMessage(message); }
bool PeekMessage(Message& message) { return Env::Default().PeekMessage(message); }
void WaitMessage() { Env::Default().WaitMessage(); }
int64_t NowMs() { return Env::Default().NowMs(); }
void Sleep(int64_t ms) { Env::Default().Sleep(ms); }

uint64_t ScheduleAction(int64_t atMs, std::function<void()> action) {
  return Env::Default().ScheduleAction(atMs, std::move(action));
}
void CancelScheduled(uint64_t handle) { Env::Default().CancelScheduled(handle); }

bool UsesVirtualClock() { return Env::Default().UsesVirtualClock(); }
void BeginOutsidePoster() { Env::Default().BeginOutsidePoster(); }
void EndOutsidePoster() { Env::Default().EndOutsidePoster(); }
uint64_t InputSequence() { return Env::Default().InputSequence(); }
void BeginOutsideRendering() { Env::Default().BeginOutsideRendering(); }
void EndOutsideRendering() { Env::Default().EndOutsideRendering(); }
bool SleepUntil(int64_t ms, const std::function<bool()>& ready) {
  return Env::Default().SleepUntil(ms, ready);
}
void WakeSleepers() { Env::Default().WakeSleepers(); }
void SetWaitingForKey(bool waiting) { Env::Default().SetWaitingForKey(waiting); }
bool WaitingForKey() { return Env::Default().WaitingForKey(); }

}  // namespace teluma::platform
