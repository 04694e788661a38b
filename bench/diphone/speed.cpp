// Synthesis speed of DiphoneSpeak without playing: seconds of sound made per second of CPU, on
// a long text (the first words of the word list, said as one text), with the built database of
// each speed step.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "platform/cp1252.hpp"
#include "playback/tlwin_settings.hpp"
#include "synth/diphone.hpp"
#include "synth/translator.hpp"

namespace {

std::string LongText() {
  std::ifstream words("/usr/share/dict/brazilian");
  std::string line, text;
  for (int i = 0; i < 3000 && std::getline(words, line); ++i)
    if (i % 7 == 0) text += platform::Utf8ToCp1252(line) + " ";
  return text;
}

void BM_DiphoneSpeak(benchmark::State& state) {
  std::string step = std::to_string(state.range(0));
  DiphoneDatabase() = ReadSuiteSetting("SINTETIZADOR", "DIFONES" + step).substr(0, 8);
  if (DiphoneOpen() != 0) {
    state.SkipWithError("DiphoneOpen falhou");
    return;
  }
  std::string phonetic = TranslateText(LongText());
  size_t samples = 0;
  SetDiphonePlayer([&](const uint8_t*, size_t length) { samples += length - 44; },
                   [] { return false; });
  for (auto _ : state) DiphoneSpeak(phonetic, false);
  state.counters["som_s_por_cpu_s"] =
      benchmark::Counter(static_cast<double>(samples) / 11025.0, benchmark::Counter::kIsRate);
  state.counters["som_s_por_texto"] = static_cast<double>(samples) / 11025.0 /
                                      static_cast<double>(state.iterations());
  SetDiphonePlayer({}, {});
  DiphoneClose();
}
BENCHMARK(BM_DiphoneSpeak)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
