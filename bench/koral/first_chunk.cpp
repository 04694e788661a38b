// Time from TtsSpeak to the first chunk handed to the wave device, for a sentence of ten words,
// with the data tree's voice and rules (headless: the device plays in virtual time). The
// transcript's clock is set to microseconds of the real clock, so its first IMAGE line tells
// when the first chunk went out.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>

#include "platform/env.hpp"
#include "platform/headless/headless_env.hpp"
#include "platform/transcript.hpp"
#include "wave/tlwav.hpp"
#include "tts/uttsKoral.hpp"

using namespace teluma;
using namespace teluma::wave;
using namespace teluma::tts;

namespace {

const char* kSentence = "O foguete desce devagar e o piloto prepara o pouso final.";

int64_t Micros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// The clock value of the first IMAGE line of the transcript.
int64_t FirstImage(const std::string& file) {
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);)
    if (line.find(" IMAGE ") != std::string::npos) return std::stoll(line);
  return -1;
}

void FirstChunk(benchmark::State& state) {
  static platform::headless::HeadlessEnv headless;
  static platform::ScopedEnv installed(headless);
  const std::string k = "c:\\qorbel\\koraltts\\portug.";
  if (!TtsOpen("", k + "nrl", k + "exc", k + "abr", k + "pro", k + "dfn")) {
    state.SkipWithError(("no engine: " + TtsLastError()).c_str());
    return;
  }
  const std::string file = std::string(P_tmpdir) + "/koral_first_chunk.txt";
  auto& transcript = platform::Transcript::Get();
  transcript.SetClock(Micros);
  for (auto _ : state) {
    transcript.Reopen(file);
    const int64_t start = Micros();
    TtsSpeak(kSentence);
    transcript.Reopen("");
    state.SetIterationTime(double(FirstImage(file) - start) / 1e6);
    WaveStop();
  }
  TtsClose();
}
BENCHMARK(FirstChunk)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
