// Loading a score file of many entries: reading it whole and keeping the ten best, the work the
// game does before its first question. Figures for 10,000 to 1,000,000 entries should grow in
// proportion.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/files.hpp"
#include "game/score_file.hpp"

namespace {

// A file of n entries with scattered scores, and one broken entry in a thousand.
std::string MakeScoreFile(int n) {
  char pattern[] = "/tmp/teluma-score-bench-XXXXXX";
  int fd = mkstemp(pattern);
  if (fd < 0) std::abort();
  std::string text;
  unsigned value = 12345;
  for (int i = 0; i < n; ++i) {
    value = value * 1103515245u + 12345u;
    text += "Piloto ";
    text += std::to_string(i);
    text += "\r\n";
    if (i % 1000 == 999) text += "nada";
    else text += std::to_string(value % 100000);
    text += "\r\n";
  }
  if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
  close(fd);
  return pattern;
}

void LoadScoreFile(benchmark::State& state) {
  std::string path = MakeScoreFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string text;
    ScoreTable table;
    if (ReadWholeFile(path, text) != FileRead::kRead) state.SkipWithError("unreadable");
    benchmark::DoNotOptimize(ParseScores(text, table));
    benchmark::DoNotOptimize(table.rows.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::remove(path.c_str());
}

}  // namespace

BENCHMARK(LoadScoreFile)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
