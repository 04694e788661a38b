// Game figures: the drift of the turn clock (real seconds per 100 turns of a flight in which
// nothing is said, terminal backend in a pseudo-terminal) and the wall time of a whole headless
// game of three flights.
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/cp1252.hpp"

using namespace teluma;

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// A data source as the build writes it: Windows-1252 with CR LF.
std::string DataFile(const std::string& source, const std::string& relative) {
  std::string text;
  for (char c : platform::Utf8ToCp1252(ReadAll(source + "/data/" + relative))) {
    if (c == '\n' && (text.empty() || text.back() != '\r')) text += '\r';
    text += c;
  }
  return text;
}

// A data tree of its own: the shipped settings and levels, the translator's rules and an empty
// voice, so that speaking costs next to nothing and the figures measure the game.
void MakeTree(const std::string& source, const std::string& root) {
  WriteAll(root + "/windows/TELUMA.INI", DataFile(source, "windows/TELUMA.INI"));
  WriteAll(root + "/qorbel/lunardif.ini", DataFile(source, "lunardif.ini"));
  for (const char* rules : {"regras.rgr", "portug.exc"})
    WriteAll(root + "/qorbel/som/difones/" + rules, DataFile(source, std::string("difones/") + rules));
  for (int n = 1; n <= 5; ++n)
    for (const char* ext : {".IND", ".DIF"})
      WriteAll(root + "/qorbel/som/difones/DIFONES" + std::to_string(n) + ext, "");
  fs::create_directories(root + "/qorbel/som/moondrop");
  fs::create_directories(root + "/qorbel/som/letras");
}

// Reads what the terminal shows for up to ms, so that the game never waits on a full pty.
void Drain(int fd, int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  char buffer[65536];
  for (;;) {
    int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    end - std::chrono::steady_clock::now()).count());
    if (left <= 0) return;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, left) > 0 && read(fd, buffer, sizeof buffer) <= 0) return;
  }
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Waits until the transcript shows marker for the nth time, then types key.
bool Answer(int fd, const std::string& transcript, const std::string& marker, int nth,
            const std::string& key) {
  for (int i = 0; i < 1200; ++i) {
    if (Count(ReadAll(transcript), marker) >= nth) {
      Drain(fd, 300);
      return write(fd, key.data(), key.size()) == static_cast<ssize_t>(key.size());
    }
    Drain(fd, 50);
  }
  return false;
}

// Real ms of the first status line of each simulated time.
std::map<std::string, long long> StatusTimes(const std::string& transcript) {
  std::map<std::string, long long> times;
  static const std::regex line(R"((\d+) OUT "tempo= +([0-9.]+) )");
  std::istringstream in(transcript);
  std::string l;
  std::smatch m;
  while (std::getline(in, l))
    if (std::regex_search(l, m, line) && !times.count(m[2])) times[m[2]] = std::stoll(m[1]);
  return times;
}

void TurnClock(const std::string& game, const std::string& root) {
  std::string transcript = root + "/terminal.txt";
  int fd = -1;
  std::fflush(stdout);
  pid_t pid = forkpty(&fd, nullptr, nullptr, nullptr);
  if (pid == 0) {
    setenv("TELUMA_BACKEND", "terminal", 1);
    setenv("TELUMA_TRANSCRIPT", transcript.c_str(), 1);
    setenv("TERM", "xterm-256color", 1);
    unsetenv("TELUMA_KEYS");
    if (chdir((root + "/qorbel").c_str()) != 0) _exit(126);
    execl(game.c_str(), game.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // A level-1 free fall: the first 120 turns say nothing, so status lines 1 and 101 are 100
  // turns apart.
  bool ok = Answer(fd, transcript, "SPEAK \"Deseja", 1, "n") &&
            Answer(fd, transcript, "SPEAK \"Quer conhecer", 1, "n") &&
            Answer(fd, transcript, "SPEAK \"Come", 1, "\r") &&
            Answer(fd, transcript, "SPEAK \"Digite a sua op", 1, "1") &&
            Answer(fd, transcript, "SPEAK \"Pressione enter", 1, "\r");
  std::map<std::string, long long> times;
  for (int i = 0; ok && i < 200 && !times.count("11.1"); ++i) {
    Drain(fd, 200);
    times = StatusTimes(ReadAll(transcript));
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  close(fd);
  if (!times.count("1.1") || !times.count("11.1")) {
    std::printf("turn clock: no status lines (terminal backend did not run the flight)\n");
    return;
  }
  double seconds = (times["11.1"] - times["1.1"]) / 1000.0;
  std::printf("turn clock: %.3f s per 100 turns (ideal 10 s, drift %+.2f%%)\n", seconds,
              100 * (seconds - 10) / 10);
}

void HeadlessGame(const std::string& game, const std::string& root) {
  // Three free falls: levels 1, 2 and 3.
  std::string keys = root + "/keys.txt";
  WriteAll(keys, "n\nn\nEnter\n1\nEnter\nEsc\nS\n2\nEnter\nEsc\nEnter\n3\nEnter\nEsc\nn\n");
  std::string transcript = root + "/headless.txt";
  std::fflush(stdout);  // the child must not write the parent's buffered lines again
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    setenv("TELUMA_BACKEND", "headless", 1);
    setenv("TELUMA_KEYS", keys.c_str(), 1);
    setenv("TELUMA_TRANSCRIPT", transcript.c_str(), 1);
    if (chdir((root + "/qorbel").c_str()) != 0 || !freopen("/dev/null", "w", stdout)) _exit(126);
    execl(game.c_str(), game.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  waitpid(pid, nullptr, 0);
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::string text = ReadAll(transcript);
  long long gameMs = 0;
  size_t exit = text.find(" EXIT ");
  if (exit != std::string::npos) gameMs = std::stoll(text.substr(text.rfind('\n', exit) + 1));
  std::printf("headless game: %d flights in %.3f s wall time (%lld s of game time)\n",
              Count(text, "SPEAK \"Sua pontua"), wall, gameMs / 1000);
}

}  // namespace

int main() {
  std::string build = Env("TELUMA_BUILD_DIR"), source = Env("TELUMA_SOURCE_DIR");
  if (build.empty() || source.empty()) {
    std::fprintf(stderr, "TELUMA_BUILD_DIR e TELUMA_SOURCE_DIR devem estar definidas\n");
    return 2;
  }
  std::string game = build + "/src/apps/moondrop";
  char pattern[] = "/tmp/teluma-game-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 2;
  std::string root = pattern;
  MakeTree(source, root);
  setenv("TELUMA_ROOT", root.c_str(), 1);
  setenv("TELUMA_WINDIR", (root + "/windows").c_str(), 1);
  setenv("TELUMA_SEED", "1", 1);
  TurnClock(game, root);
  HeadlessGame(game, root);
  fs::remove_all(root);
  return 0;
}
