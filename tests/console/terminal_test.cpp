// The terminal backend driven through a pseudo-terminal: real escape sequences in, key codes
// and drawn text out.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "testkit/testkit.hpp"

namespace {

struct PtyRun {
  int master = -1;
  pid_t pid = -1;
  std::string screen;  // everything the program drew

  // False when the system has no pseudo-terminals to give.
  bool Start(const std::string& program, std::vector<std::string> args, const std::string& transcript,
             int columns = 80, int rows = 25) {
    struct winsize ws{};
    ws.ws_col = static_cast<unsigned short>(columns);
    ws.ws_row = static_cast<unsigned short>(rows);
    pid = forkpty(&master, nullptr, nullptr, &ws);
    if (pid < 0) return false;
    if (pid == 0) {
      setenv("TELUMA_BACKEND", "terminal", 1);
      setenv("TELUMA_TRANSCRIPT", transcript.c_str(), 1);
      setenv("TELUMA_WINDIR", "/nonexistent-windir", 1);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      alarm(30);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    return true;
  }

  // Reads what comes for ms milliseconds (or until the program is gone).
  void Read(int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    char buffer[4096];
    while (std::chrono::steady_clock::now() < end) {
      struct pollfd p{master, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      ssize_t n = read(master, buffer, sizeof buffer);
      if (n <= 0) return;
      screen.append(buffer, static_cast<size_t>(n));
    }
  }

  // Reads until needle has been drawn (the program is up and its terminal raw).
  void ReadUntil(const std::string& needle, int ms = 10000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (screen.find(needle) == std::string::npos && std::chrono::steady_clock::now() < end) Read(20);
  }

  void Send(const std::string& bytes) {
    ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    Read(150);
  }

  int Wait() {
    Read(300);
    int status = 0;
    waitpid(pid, &status, 0);
    close(master);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
};

std::string Keys(const std::string& transcriptPath) {
  testkit::RunResult r;
  testkit::ParseTranscript(testkit::ReadFile(transcriptPath), r);
  std::string out;
  for (const auto& e : r.Named("KEY")) out += e.data + " ";
  return out;
}

}  // namespace

TEST(TerminalBackend, EscapeSequencesBecomeKeyCodes) {
  testkit::TempDir dir;
  std::string transcript = dir.path() + "/t.txt";
  PtyRun run;
  std::vector<std::string> args(17, "key");
  if (!run.Start(PROBE_PATH, args, transcript)) GTEST_SKIP() << "no pseudo-terminal";
  run.ReadUntil("\x1b[2J");
  run.Send("\x1b[A");          // Up
  run.Send("\x1b[1;5A");       // Ctrl+Up
  run.Send("\x1b[2;2~");       // Shift+Insert
  run.Send("\x1bOP");          // F1
  run.Send("\x1b[24;5~");      // Ctrl+F12
  run.Send("\x03");            // Ctrl+C stays a key
  run.Send("\xc3\xa9");        // é in UTF-8
  run.Send("\x7f");            // Backspace
  run.Send("\r");              // Enter
  run.Send("\x1b");            // a lone Esc
  run.Read(300);
  // The sequence may arrive split in two reads.
  ASSERT_EQ(write(run.master, "\x1b[", 2), 2);
  run.Send("B");
  EXPECT_EQ(run.Wait(), 0);
  EXPECT_EQ(Keys(transcript), "0 72 0 113 0 254 0 59 0 105 3 233 8 13 27 0 80 ");
}

TEST(TerminalBackend, DrawsTextInColourAndRestoresTheTerminal) {
  testkit::TempDir dir;
  std::string transcript = dir.path() + "/t.txt";
  PtyRun run;
  if (!run.Start(PROBE_PATH, {"fg:14", "bg:1", "w:Ol\xC3\xA1 mundo", "key"}, transcript))
    GTEST_SKIP() << "no pseudo-terminal";
  run.ReadUntil("mundo");
  run.Send("x");
  EXPECT_EQ(run.Wait(), 0);
  // Yellow on blue from the palette, UTF-8 text, raw mode left again.
  EXPECT_NE(run.screen.find("\x1b[38;2;255;255;0;48;2;0;0;255m"), std::string::npos);
  EXPECT_NE(run.screen.find("Ol\xC3\xA1"), std::string::npos);
  EXPECT_NE(run.screen.find("\x1b[?25h"), std::string::npos);
  EXPECT_NE(run.screen.find("Programa terminado"), std::string::npos);
}

TEST(TerminalBackend, StandardErrorWaitsUntilTheScreenIsGivenBack) {
  testkit::TempDir dir;
  std::string transcript = dir.path() + "/t.txt";
  PtyRun run;
  if (!run.Start(PROBE_PATH, {"w:antes", "err:aviso ao usu\xC3\xA1rio", "w:depois", "key"}, transcript))
    GTEST_SKIP() << "no pseudo-terminal";
  run.ReadUntil("depois");
  run.Read(200);
  // Written over the drawn console it would garble it: nothing shows while the screen is ours.
  EXPECT_EQ(run.screen.find("aviso"), std::string::npos);
  run.Send("x");
  EXPECT_EQ(run.Wait(), 0);
  size_t restored = run.screen.find("\x1b[?25h\x1b[?1004l");
  size_t message = run.screen.find("aviso ao usu\xC3\xA1rio");
  ASSERT_NE(restored, std::string::npos);
  ASSERT_NE(message, std::string::npos);
  EXPECT_GT(message, restored);  // shown once the terminal is restored
}

TEST(TerminalBackend, CtrlBackslashTypes28ForTheLineEditor) {
  testkit::TempDir dir;
  std::string transcript = dir.path() + "/t.txt";
  PtyRun run;
  if (!run.Start(PROBE_PATH, {"key", "l:depois"}, transcript)) GTEST_SKIP() << "no pseudo-terminal";
  run.ReadUntil("\x1b[2J");
  run.Send("\x1c");
  EXPECT_EQ(run.Wait(), 0);
  EXPECT_NE(testkit::ReadFile(transcript).find(" KEY 28\n"), std::string::npos);
}

TEST(TerminalBackend, SmallTerminalAndHangup) {
  testkit::TempDir dir;
  std::string transcript = dir.path() + "/t.txt";
  PtyRun run;
  if (!run.Start(PROBE_PATH, {"at:60,20", "w:fora", "at:1,1", "w:dentro", "key", "l:depois"},
                 transcript, 40, 10))
    GTEST_SKIP() << "no pseudo-terminal";
  run.ReadUntil("dentro");
  run.Read(100);
  EXPECT_NE(run.screen.find("dentro"), std::string::npos);
  EXPECT_EQ(run.screen.find("fora"), std::string::npos);
  // Made larger, the terminal shows the whole grid again.
  struct winsize ws{};
  ws.ws_col = 100;
  ws.ws_row = 30;
  ioctl(run.master, TIOCSWINSZ, &ws);
  run.ReadUntil("fora", 5000);
  EXPECT_NE(run.screen.find("fora"), std::string::npos);
  kill(run.pid, SIGHUP);  // the terminal goes away: the window's close
  EXPECT_EQ(run.Wait(), 0);
  testkit::RunResult r;
  testkit::ParseTranscript(testkit::ReadFile(transcript), r);
  EXPECT_EQ(r.Output().find("depois"), std::string::npos);
  ASSERT_FALSE(r.screen.empty());
  EXPECT_EQ(r.screen[19].substr(59, 4), "fora");  // the grid still holds it
}

TEST(TerminalBackend, CrashRestoresTheTerminalAndNoTerminalRunsHeadless) {
  testkit::TempDir dir;
  std::string transcript = dir.path() + "/t.txt";
  PtyRun run;
  if (!run.Start(PROBE_PATH, {"w:antes", "key"}, transcript)) GTEST_SKIP() << "no pseudo-terminal";
  run.ReadUntil("antes");
  size_t before = run.screen.size();
  kill(run.pid, SIGSEGV);
  EXPECT_EQ(run.Wait(), 128 + SIGSEGV);
  EXPECT_NE(run.screen.find("\x1b[?25h", before), std::string::npos);  // cursor shown again

  // Neither input nor output a terminal and no backend asked for: the program must not hang.
  pid_t pid = fork();
  if (pid == 0) {
    unsetenv("TELUMA_BACKEND");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("TELUMA_TRANSCRIPT", transcript.c_str(), 1);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    alarm(20);
    execl(PROBE_PATH, PROBE_PATH, "pause:100", "key", "l:nunca", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  testkit::RunResult r;
  testkit::ParseTranscript(testkit::ReadFile(transcript), r);
  EXPECT_EQ(r.Output().find("nunca"), std::string::npos);
}
