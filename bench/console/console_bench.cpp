// Console figures: writing into the screen model, and whole programs headless and in a
// pseudo-terminal (writing 100,000 lines, CPU while blocked in a key wait, the demo with a
// 200-key script).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "console/screen.hpp"
#include "platform/terminal/keydecoder.hpp"

using namespace teluma;
using namespace teluma::console;

namespace {

struct NoPaint : teluma::console::ScreenPainter {
  void PaintRun(int, int, int) override {}
  void Scrolled() override {}
  void Beep() override {}
};

void BM_ScreenWriteLine(benchmark::State& state) {
  teluma::console::Screen screen;
  NoPaint painter;
  std::string line = "Linha escrita pelo console, com rolagem da tela inteira.\r\n";
  for (auto _ : state) screen.Write(line, painter);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScreenWriteLine);

void BM_DecodeKeys(benchmark::State& state) {
  std::string input = "\x1b[A\x1b[1;5B\x1b[15~abc\xc3\xa9\r";
  for (auto _ : state) {
    platform::terminal::KeyDecoder d;
    std::vector<platform::terminal::TerminalInput> out;
    d.Feed(input, out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_DecodeKeys);

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void SetEnv(const char* backend, const std::string& keys) {
  setenv("TELUMA_BACKEND", backend, 1);
  unsetenv("TELUMA_TRANSCRIPT");
  if (keys.empty()) unsetenv("TELUMA_KEYS");
  else setenv("TELUMA_KEYS", keys.c_str(), 1);
}

// Runs a program headless with output to /dev/null; wall seconds.
double RunHeadless(std::vector<std::string> argv, const std::string& keys) {
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    SetEnv("headless", keys);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status;
  waitpid(pid, &status, 0);
  return Seconds(start);
}

struct Pty {
  int master = -1;
  pid_t pid = -1;
  size_t bytes = 0;
  bool Start(std::vector<std::string> argv) {
    struct winsize ws{};
    ws.ws_col = 80;
    ws.ws_row = 25;
    pid = forkpty(&master, nullptr, nullptr, &ws);
    if (pid == 0) {
      SetEnv("terminal", "");
      std::vector<char*> args;
      for (auto& a : argv) args.push_back(a.data());
      args.push_back(nullptr);
      execv(args[0], args.data());
      _exit(127);
    }
    return pid > 0;
  }
  // Drains output until the program ends or ms pass; true when it ended.
  bool Drain(int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    char buffer[65536];
    while (std::chrono::steady_clock::now() < end) {
      struct pollfd p{master, POLLIN, 0};
      if (poll(&p, 1, 50) > 0) {
        ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        bytes += static_cast<size_t>(n);
      }
      int status;
      if (waitpid(pid, &status, WNOHANG) == pid) return true;
    }
    return false;
  }
};

double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(text.substr(close + 2));
  std::string f;
  long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> f; ++i) {
    if (i == 14) utime = std::stol(f);
    if (i == 15) stime = std::stol(f);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

template <typename F>
double Median(F run) {
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) times.push_back(run());
  std::sort(times.begin(), times.end());
  return times[2];
}

void WholePrograms() {
  std::printf("\n-- whole programs\n");
  double headless = Median([] { return RunHeadless({LINES_PATH, "100000"}, ""); });
  std::printf("100000 lines written headless: %.3f s (median of 5)\n", headless);

  char pattern[] = "/tmp/teluma-bench-keys-XXXXXX";
  int fd = mkstemp(pattern);
  std::string script = "\"Bench\" Enter\n";
  const char* keys[] = {"a", "Up", "F5", "Ctrl+Enter", "z"};
  for (int i = 0; i < 194; ++i) script += std::string(keys[i % 5]) + "\n";
  script += "Esc\n";
  if (write(fd, script.data(), script.size()) != static_cast<ssize_t>(script.size())) std::perror("write");
  close(fd);
  double demo = Median([&] { return RunHeadless({DEMO_PATH}, pattern); });
  std::printf("demo headless with a 200-key script: %.3f s wall (median of 5)\n", demo);
  unlink(pattern);

  Pty lines;
  auto start = std::chrono::steady_clock::now();
  if (!lines.Start({LINES_PATH, "100000"})) {
    std::printf("no pseudo-terminal: terminal figures skipped\n");
    return;
  }
  lines.Drain(600000);
  std::printf("100000 lines written in the terminal backend (80x25 pty): %.3f s, %.1f MB drawn\n",
              Seconds(start), static_cast<double>(lines.bytes) / 1e6);

  Pty idle;
  if (!idle.Start({DEMO_PATH})) return;
  idle.Drain(1000);  // the demo draws and waits for the name
  double before = CpuSeconds(idle.pid);
  auto idleStart = std::chrono::steady_clock::now();
  idle.Drain(10000);
  double used = CpuSeconds(idle.pid) - before;
  double wall = Seconds(idleStart);
  std::printf("CPU while blocked in a key wait (terminal backend): %.3f s in %.1f s = %.2f%% of one core\n",
              used, wall, 100.0 * used / wall);
  kill(idle.pid, SIGTERM);
  idle.Drain(2000);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  WholePrograms();
  return 0;
}
