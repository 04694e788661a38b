// Time for the window to show a full screen of changed cells (every cell differs from the
// previous frame), from Present to the image on the screen.
#include <benchmark/benchmark.h>

#include <array>

#include "platform/window/window_backend.hpp"

using namespace teluma;

static void FullRepaint(benchmark::State& state) {
  std::array<uint8_t, 80 * 25> chars{}, attrs{};
  platform::DisplayConfig config;
  for (int i = 0; i < 16; ++i)
    config.colours[i] = {uint8_t(i * 16), uint8_t(255 - i * 16), uint8_t(i * 8)};
  config.fontWidth = 13;
  config.fontHeight = 28;
  platform::window::WindowBackend w;
  if (!w.Open(config, platform::GridView{80, 25, chars.data(), attrs.data()})) {
    state.SkipWithError("sem janela");
    return;
  }
  int frame = 0;
  for (auto _ : state) {
    ++frame;
    for (size_t i = 0; i < chars.size(); ++i) {
      chars[i] = static_cast<uint8_t>('A' + (i + frame) % 26);
      attrs[i] = static_cast<uint8_t>((i / 7 + frame) & 0x7F);
    }
    w.Present();
    w.WaitPresented();
  }
  w.Close();
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

// One changed cell: what a typed character costs, wake-up of the window thread included.
static void OneCell(benchmark::State& state) {
  std::array<uint8_t, 80 * 25> chars{}, attrs{};
  chars.fill(' ');
  attrs.fill(0x0F);
  platform::DisplayConfig config;
  config.fontWidth = 13;
  config.fontHeight = 28;
  platform::window::WindowBackend w;
  if (!w.Open(config, platform::GridView{80, 25, chars.data(), attrs.data()})) {
    state.SkipWithError("sem janela");
    return;
  }
  int frame = 0;
  for (auto _ : state) {
    chars[1000] = static_cast<uint8_t>('A' + ++frame % 26);
    w.Present();
    w.WaitPresented();
  }
  w.Close();
}
BENCHMARK(OneCell)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
