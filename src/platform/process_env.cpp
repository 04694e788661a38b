#include "platform/process_env.hpp"

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>

#include "platform/headless/keysource.hpp"
#include "platform/sound/output.hpp"
#include "platform/transcript.hpp"

extern char** environ;

namespace teluma::platform {
namespace {


uint64_t ClockSeed() {
  return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

}  // namespace

ProcessEnv::ProcessEnv(const EnvChoice& choice, bool virtualClock)
    : choice_(choice),
      seed_(choice.seedGiven ? choice.seed : ClockSeed()),
      // The program's environment is made before main: its real clock counts from its start.
      queue_(virtualClock, std::chrono::steady_clock::now(),
             [this]() -> headless::KeySource& { return Keys(); }),
      transcript_(std::make_unique<Transcript>(choice.transcript)) {
  transcript_->SetClock([this] { return queue_.Now(); });
}

ProcessEnv::~ProcessEnv() = default;

headless::KeySource& ProcessEnv::Keys() {
  std::lock_guard<std::mutex> lock(lazyMutex_);
  if (!keys_) {
    keys_ = std::make_unique<headless::KeySource>(*this);
    // The key script only drives the virtual clock.
    if (!choice_.keys.empty() && queue_.Virtual()) keys_->LoadFile(choice_.keys);
  }
  return *keys_;
}

SoundOutput& ProcessEnv::Sound() {
  std::lock_guard<std::mutex> lock(lazyMutex_);
  if (!sound_) sound_ = MakeSound();
  return *sound_;
}

// Without a shell; children that have ended are reaped first, so none is left as a zombie.
bool ProcessEnv::StartProgram(const std::vector<std::string>& argv) {
  std::erase_if(children_, [](int pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
  if (argv.empty() || !StartsPrograms()) return false;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
  children_.push_back(pid);
  return true;
}

}  // namespace teluma::platform
