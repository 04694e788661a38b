#include "platform/env.hpp"

#include <atomic>
#include <cstdlib>

#include "platform/backend.hpp"
#include "platform/headless/headless_env.hpp"
#include "platform/lifecycle.hpp"
#include "platform/real_env.hpp"

namespace teluma::platform {
namespace {

std::atomic<Env*> gInstalled{nullptr};

std::string Variable(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

Env& ProgramEnv() {
  // Kept until the process ends: exit procedures and the audio thread still use it.
  static Env* env = MakeEnv(ReadEnvChoice()).release();
  return *env;
}

// Made before main, so that the real clock counts from program start and EXIT is written on
// every way out.
struct AtStart {
  AtStart() {
    ProgramEnv();
    InstallExitHandler();
  }
} atStart;

}  // namespace

Env& Env::Default() {
  if (Env* env = gInstalled.load()) return *env;
  return ProgramEnv();
}

EnvChoice ReadEnvChoice() {
  EnvChoice choice;
  choice.backend = Variable("TELUMA_BACKEND");
  const std::string seed = Variable("TELUMA_SEED");
  if (!seed.empty() && seed.find_first_not_of("0123456789") == std::string::npos) {
    char* end = nullptr;
    choice.seed = std::strtoull(seed.c_str(), &end, 10);
    choice.seedGiven = true;
  }
  choice.transcript = Variable("TELUMA_TRANSCRIPT");
  choice.keys = Variable("TELUMA_KEYS");
  choice.startPrograms = Variable("TELUMA_START_PROGRAMS") == "1";
  return choice;
}

std::unique_ptr<Env> MakeEnv(const EnvChoice& choice) {
  if (choice.backend == "headless") return std::make_unique<headless::HeadlessEnv>(choice);
  return std::make_unique<RealEnv>(choice);
}

std::unique_ptr<DisplayBackend> EnvWrapper::OpenDisplay(const DisplayConfig& config,
                                                        const GridView& grid) {
  return target_.OpenDisplay(config, grid);
}

ScopedEnv::ScopedEnv(Env& env) : previous_(gInstalled.exchange(&env)) {}

ScopedEnv::~ScopedEnv() { gInstalled.store(previous_); }

}  // namespace teluma::platform
