// The environment of the automation contract: a virtual clock that moves only while the program
// waits, keys from the key script, sound consumed at its nominal rate, no display, and programs
// only recorded (started only when TELUMA_START_PROGRAMS is 1).
#pragma once
#include "platform/process_env.hpp"

namespace teluma::platform::headless {

class HeadlessEnv : public ProcessEnv {
 public:
  explicit HeadlessEnv(const EnvChoice& choice = {}) : ProcessEnv(choice, true) {}

  std::unique_ptr<DisplayBackend> OpenDisplay(const DisplayConfig& config,
                                              const GridView& grid) override;
  bool StartsPrograms() override { return Choice().startPrograms; }

 protected:
  std::unique_ptr<SoundOutput> MakeSound() override;
};

}  // namespace teluma::platform::headless
