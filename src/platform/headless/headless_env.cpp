#include "platform/headless/headless_env.hpp"

#include "platform/headless/headless_backend.hpp"
#include "platform/sound/output.hpp"

namespace teluma::platform::headless {

std::unique_ptr<DisplayBackend> HeadlessEnv::OpenDisplay(const DisplayConfig& config,
                                                         const GridView& grid) {
  auto display = std::make_unique<HeadlessBackend>();
  display->Open(config, grid);
  return display;
}

std::unique_ptr<SoundOutput> HeadlessEnv::MakeSound() { return MakeVirtualOutput("virtual"); }

}  // namespace teluma::platform::headless
