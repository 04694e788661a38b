// Everything a program of the suite gets from outside: the clock and timed work, the event
// queue and its waits, the random seed, the sound output, the display, starting programs, the
// transcript and the key source. RealEnv serves a player at a screen; HeadlessEnv runs with a
// virtual clock, the key script and no devices. The program's environment is chosen once, at
// its first use, from TELUMA_BACKEND; nothing else reads TELUMA_BACKEND or TELUMA_SEED.
//
// Modules reach the environment through the free functions of events.hpp, sound/output.hpp
// and friends, which forward to Env::Default(). A test builds an environment of its own,
// installs it with ScopedEnv and drives a module in process; an EnvWrapper lets it change one
// member and keep the rest.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/events.hpp"

namespace teluma::platform {

class SoundOutput;
class DisplayBackend;
struct DisplayConfig;
struct GridView;
class Transcript;
namespace headless {
class KeySource;
}

class Env {
 public:
  virtual ~Env() = default;

  // The program's environment: the one installed, else the one TELUMA_BACKEND asks for (made
  // at first use and kept until the process ends).
  static Env& Default();

  // The clock (ms since start) and work run on the program thread when it reaches atMs.
  virtual bool UsesVirtualClock() = 0;
  virtual int64_t NowMs() = 0;
  virtual void Sleep(int64_t ms) = 0;
  virtual uint64_t ScheduleAction(int64_t atMs, std::function<void()> action) = 0;
  virtual void CancelScheduled(uint64_t handle) = 0;

  // The event queue (see events.hpp).
  virtual void PostMessage(const Message& message) = 0;
  virtual bool PeekMessage(Message& message) = 0;
  virtual void WaitMessage() = 0;
  virtual void BeginOutsidePoster() = 0;
  virtual void EndOutsidePoster() = 0;
  virtual uint64_t InputSequence() = 0;
  virtual void BeginOutsideRendering() = 0;
  virtual void EndOutsideRendering() = 0;
  virtual bool SleepUntil(int64_t ms, const std::function<bool()>& ready) = 0;
  virtual void WakeSleepers() = 0;
  virtual void SetWaitingForKey(bool waiting) = 0;
  virtual bool WaitingForKey() = 0;

  // TELUMA_SEED when it holds a decimal integer, else a value of the clock; the same for every
  // call.
  virtual uint64_t Seed() = 0;

  // The sound output, made at first use.
  virtual SoundOutput& Sound() = 0;

  // The display chosen for the console, opened; never null.
  virtual std::unique_ptr<DisplayBackend> OpenDisplay(const DisplayConfig& config,
                                                      const GridView& grid) = 0;

  // Whether this environment starts programs at all (a headless run only records them unless
  // TELUMA_START_PROGRAMS is 1).
  virtual bool StartsPrograms() = 0;
  // Starts a program (argv[0] looked up in PATH) without waiting for it; false when it was not
  // started.
  virtual bool StartProgram(const std::vector<std::string>& argv) = 0;

  virtual Transcript& Log() = 0;
  virtual headless::KeySource& Keys() = 0;
};

// Forwards every member to another environment; a test overrides only what it needs.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env& target) : target_(target) {}
  Env& Target() const { return target_; }

  bool UsesVirtualClock() override { return target_.UsesVirtualClock(); }
  int64_t NowMs() override { return target_.NowMs(); }
  void Sleep(int64_t ms) override { target_.Sleep(ms); }
  uint64_t ScheduleAction(int64_t atMs, std::function<void()> action) override {
    return target_.ScheduleAction(atMs, std::move(action));
  }
  void CancelScheduled(uint64_t handle) override { target_.CancelScheduled(handle); }
  void PostMessage(const Message& message) override { target_.PostMessage(message); }
  bool PeekMessage(Message& message) override { return target_.PeekMessage(message); }
  void WaitMessage() override { target_.WaitMessage(); }
  void BeginOutsidePoster() override { target_.BeginOutsidePoster(); }
  void EndOutsidePoster() override { target_.EndOutsidePoster(); }
  uint64_t InputSequence() override { return target_.InputSequence(); }
  void BeginOutsideRendering() override { target_.BeginOutsideRendering(); }
  void EndOutsideRendering() override { target_.EndOutsideRendering(); }
  bool SleepUntil(int64_t ms, const std::function<bool()>& ready) override {
    return target_.SleepUntil(ms, ready);
  }
  void WakeSleepers() override { target_.WakeSleepers(); }
  void SetWaitingForKey(bool waiting) override { target_.SetWaitingForKey(waiting); }
  bool WaitingForKey() override { return target_.WaitingForKey(); }
  uint64_t Seed() override { return target_.Seed(); }
  SoundOutput& Sound() override { return target_.Sound(); }
  std::unique_ptr<DisplayBackend> OpenDisplay(const DisplayConfig& config,
                                              const GridView& grid) override;
  bool StartsPrograms() override { return target_.StartsPrograms(); }
  bool StartProgram(const std::vector<std::string>& argv) override {
    return target_.StartProgram(argv);
  }
  Transcript& Log() override { return target_.Log(); }
  headless::KeySource& Keys() override { return target_.Keys(); }

 private:
  Env& target_;
};

// What the environment is asked for, read once from the process environment.
struct EnvChoice {
  std::string backend;  // TELUMA_BACKEND as given ("" when unset)
  bool seedGiven = false;
  uint64_t seed = 0;
  std::string transcript;  // TELUMA_TRANSCRIPT
  std::string keys;        // TELUMA_KEYS
  bool startPrograms = false;  // TELUMA_START_PROGRAMS=1 (headless only)
};
EnvChoice ReadEnvChoice();

// Makes the environment the choice asks for: HeadlessEnv for "headless", else RealEnv.
std::unique_ptr<Env> MakeEnv(const EnvChoice& choice);

// Installs env as the program's environment while it lives, then puts the previous one back.
class ScopedEnv {
 public:
  explicit ScopedEnv(Env& env);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  Env* previous_;
};

}  // namespace teluma::platform
