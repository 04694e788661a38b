// The program's one event queue and its clock: the stand-in for the system's thread message
// queue, WaitMessage, PostMessageA and Sleep. Each call goes to the program's environment
// (env.hpp).
//
// Only the program thread reads the queue. Other threads (sound card callback, terminal
// reader, outside voice engines) only post. WaitMessage blocks until something arrives; with the
// virtual clock (headless backend) it instead moves time on to the next scheduled message.
#pragma once
#include <cstdint>
#include <functional>

namespace teluma::platform {

enum class MessageKind : int {
  None = 0,
  KeyDown,     // a = virtual key (system VK_ codes), b = modifier bits
  KeyUp,       // a = virtual key, b = modifier bits
  SysKeyDown,  // a key pressed with Alt and without Ctrl; a, b as KeyDown
  Char,        // a = Windows-1252 character code, b = modifier bits
  FocusGained,
  FocusLost,
  Paint,       // the display asks for a repaint of the whole grid
  Close,       // the user closed the window (or the key script ran out at a key wait)
  Quit,        // the quit message: the program ends with exit code 255
  WaveDone,    // a = device id, b = block id: a wave block finished playing
  Wake,        // the private wake message 2980
  MouseDown,   // right button pressed: a = x, b = y (pixels)
  MouseMove,   // a = x, b = y
  MouseUp,
  User,        // free for a module's own use: a, b as it likes
};

enum ModifierBits : int { kShift = 1, kCtrl = 2, kAlt = 4 };

struct Message {
  MessageKind kind = MessageKind::None;
  int64_t a = 0;
  int64_t b = 0;
};

// Adds a message at the end of the queue. Safe from any thread; wakes WaitMessage.
void PostMessage(const Message& message);

// Counts the input messages posted so far (keys, mouse, close, quit): a wait that must end
// early for the user compares it with the count it started with.
uint64_t InputSequence();

// Takes the first message, if any (never blocks).
bool PeekMessage(Message& message);

// Blocks until the queue holds a message. With the virtual clock, moves time to the next
// scheduled message instead; when nothing is scheduled it asks the backend for input (the key
// script) and, with nothing left at all, posts Close.
void WaitMessage();

// Milliseconds since program start, from the real or the virtual clock.
int64_t NowMs();

// The system's Sleep: waits ms milliseconds without handling messages (they stay queued).
void Sleep(int64_t ms);

// Runs action on the program thread when the clock reaches atMs (inside a wait or a peek).
// Returns a handle for CancelScheduled.
uint64_t ScheduleAction(int64_t atMs, std::function<void()> action);
void CancelScheduled(uint64_t handle);

// True in the headless backend: time only moves when the program waits.
bool UsesVirtualClock();

// A thread that is going to post (an outside voice rendering speech) counts itself in while it
// works. With the virtual clock a wait that finds nothing else to do then waits for its post
// instead of delivering the next untimed key or closing the program. The end posts a Wake
// message of its own, so whatever the poster changed before it ended is seen before the wait
// could take the end for a program with nothing left to come.
void BeginOutsidePoster();
void EndOutsidePoster();

// A thread rendering sound for the program (an outside voice engine) counts itself in while it
// works. With the virtual clock no wait moves time on meanwhile, so what it renders is timed
// from the moment it was asked for, however long the rendering takes on the wall clock; a wait
// that finds nothing else to do waits for it as for a poster.
void BeginOutsideRendering();
void EndOutsideRendering();

// Sleeps up to ms on the program's clock, ending as soon as ready() answers true; answers
// whether it did. Messages stay queued, as with Sleep. ready() is asked whenever something
// happens (a post, a scheduled moment, WakeSleepers), under a lock it must not take itself.
// ms < 0 waits for as long as anything can still make ready() true.
bool SleepUntil(int64_t ms, const std::function<bool()>& ready);
// Another thread changed what a SleepUntil waits for.
void WakeSleepers();

// The console tells the platform whether the program is inside a key wait, so that the key
// script can deliver its untimed keys at the right moment.
void SetWaitingForKey(bool waiting);
bool WaitingForKey();

}  // namespace teluma::platform
