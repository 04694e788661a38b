// The headless display: nothing is drawn; the console's grids are the only screen and the
// transcript shows them at the end. Keys come from the key script (keysource.hpp).
#pragma once
#include "platform/backend.hpp"

namespace teluma::platform::headless {

class HeadlessBackend : public DisplayBackend {
 public:
  const char* Name() const override { return "headless"; }
  bool Open(const DisplayConfig&, const GridView&) override { return true; }
  void Close() override {}
  void DrawRun(int, int, int) override {}
  void Repaint() override {}
  void Scrolled() override {}
  void SetCaret(bool, int, int) override {}
};

}  // namespace teluma::platform::headless
