#include "platform/sound/output.hpp"

#include <atomic>
#include <cstdio>

#include "platform/env.hpp"

namespace teluma::platform {

WaveHandle NextWaveHandle() {
  static std::atomic<WaveHandle> next{0};
  return ++next;
}

SoundOutput& Output() { return Env::Default().Sound(); }

}  // namespace teluma::platform
