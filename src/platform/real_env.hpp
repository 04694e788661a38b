// The environment of a player at a screen: the real clock, the sound card, the window or the
// terminal, programs started for real.
#pragma once
#include "platform/process_env.hpp"

namespace teluma::platform {

class RealEnv : public ProcessEnv {
 public:
  explicit RealEnv(const EnvChoice& choice) : ProcessEnv(choice, false) {}

  // The backend TELUMA_BACKEND names, else the window when there is a display and a window
  // backend is registered, else the terminal. When none opens the program runs as the
  // headless environment does (virtual clock, key script), ending at its first key wait
  // instead of blocking for ever.
  std::unique_ptr<DisplayBackend> OpenDisplay(const DisplayConfig& config,
                                              const GridView& grid) override;
  // Once the program runs headless, as the headless environment does.
  bool StartsPrograms() override { return !UsesVirtualClock() || Choice().startPrograms; }

 protected:
  // The sound card; the virtual sink once the program runs headless, or (said once on
  // standard error) when there is no sound device.
  std::unique_ptr<SoundOutput> MakeSound() override;
};

}  // namespace teluma::platform
