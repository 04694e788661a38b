// teluma-play on the real clock with the terminal backend: through SDL's disk driver (the sound
// card path end to end), and with no usable audio driver at all (the virtual sink on the real
// clock). Standard input is a pipe held open, as a terminal would be.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "testkit/testkit.hpp"
#include "testkit/wave.hpp"

extern char** environ;

namespace {

struct Run {
  int exitCode = -1;
  std::string stderrText;
  testkit::RunResult transcript;
};

Run PlayOnTheCard(const std::vector<std::string>& files, const std::string& driver,
                  const testkit::TempDir& dir) {
  const std::string transcript = dir.path() + "/transcript.txt";
  const std::string errors = dir.path() + "/stderr.txt";
  std::vector<std::string> env = {"TELUMA_BACKEND=terminal", "SDL_AUDIODRIVER=" + driver,
                                  "SDL_DISKAUDIOFILE=" + dir.path() + "/card.raw",
                                  "TELUMA_TRANSCRIPT=" + transcript, "TERM=dumb"};
  for (char** e = environ; *e; ++e) {
    const std::string item = *e;
    if (item.rfind("TELUMA_", 0) != 0 && item.rfind("SDL_", 0) != 0 && item.rfind("TERM=", 0) != 0)
      env.push_back(item);
  }
  std::vector<char*> envp, argv;
  for (auto& s : env) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::string program = PLAY_PATH;
  argv.push_back(program.data());
  std::vector<std::string> args = files;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int input[2];
  EXPECT_EQ(pipe(input), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], 0);
  posix_spawn_file_actions_addclose(&actions, input[1]);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  Run run;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
    ADD_FAILURE() << "cannot start " << program;
    return run;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(input[0]);
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      ADD_FAILURE() << "teluma-play did not end";
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  close(input[1]);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.stderrText = testkit::ReadFile(errors);
  testkit::ParseTranscript(testkit::ReadFile(transcript), run.transcript);
  return run;
}

}  // namespace

TEST(CardPlay, FilesSoundOnTheCardForTheirLength) {
  testkit::TempDir dir;
  auto a = dir.Write("a.wav", testkit::AsString(testkit::WaveImage(testkit::Square8(5513), 11025, 8, 1)));
  auto b = dir.Write("b.wav", testkit::AsString(testkit::WaveImage(testkit::Square8(2205), 22050, 8, 1)));
  auto run = PlayOnTheCard({a, b}, "disk", dir);
  EXPECT_EQ(run.exitCode, 0) << run.stderrText;
  auto plays = run.transcript.Named("PLAY");
  ASSERT_EQ(plays.size(), 2u);
  EXPECT_GE(plays[1].ms - plays[0].ms, 450);  // a half-second sound came back when played
  // The card received the square wave (+-32 levels of 8-bit sound, at 16-bit).
  const std::string card = testkit::ReadFile(dir.path() + "/card.raw");
  const auto* samples = reinterpret_cast<const int16_t*>(card.data());
  size_t high = 0, low = 0;
  for (size_t i = 0; i < card.size() / 2; ++i) {
    high += samples[i] == 32 * 256;
    low += samples[i] == -32 * 256;
  }
  EXPECT_GT(high, 20000u);  // about 0.6 s of stereo frames at 48000 Hz, half of them high
  EXPECT_GT(low, 20000u);
}

TEST(CardPlay, WithoutASoundDeviceTheTimingStaysAndItIsSaidOnce) {
  testkit::TempDir dir;
  auto a = dir.Write("a.wav", testkit::AsString(testkit::WaveImage(testkit::Square8(5513), 11025, 8, 1)));
  auto run = PlayOnTheCard({a, a}, "no-such-driver", dir);
  EXPECT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_EQ(run.stderrText, "Nenhum dispositivo de som foi encontrado; o programa continua sem som.\n");
  auto plays = run.transcript.Named("PLAY");
  ASSERT_EQ(plays.size(), 2u);
  EXPECT_GE(plays[1].ms - plays[0].ms, 490);
}
