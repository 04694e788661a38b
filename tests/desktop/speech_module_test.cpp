// Koral through a private speech service: the repository's module file with its player
// replaced by one that copies each sound into a file of its own at four times real speed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include "testkit/speech_service.hpp"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using testkit::ReadFile;

const char* kPlayer = R"(#!/usr/bin/env python3
import os, sys, time
n = len(os.listdir(sys.argv[1]))
with open(os.path.join(sys.argv[1], "%03d.wav" % n), "wb") as out:
    while True:
        block = sys.stdin.buffer.read(3200)
        if not block:
            break
        out.write(block)
        out.flush()
        time.sleep(0.025)
)";

// Runs a program, its standard output into outFd when given; its exit code.
int Call(std::vector<std::string> args, int outFd = -1) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (outFd >= 0) posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  pid_t pid;
  int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  if (outFd >= 0) close(outFd);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

uint32_t Get32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(bytes[at + i]);
  return v;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The 16-bit samples of a wave file made by koral (44-byte header).
std::vector<int16_t> Samples(const std::string& wave) {
  std::vector<int16_t> s(wave.size() > 44 ? (wave.size() - 44) / 2 : 0);
  if (!s.empty()) std::memcpy(s.data(), wave.data() + 44, s.size() * 2);
  return s;
}

int Peak(const std::vector<int16_t>& samples) {
  int peak = 0;
  for (int16_t v : samples) peak = std::max(peak, std::abs(int(v)));
  return peak;
}

TEST(KoralStandardOutput, FileGetsTrueSizesPipeGetsAStream) {
  testkit::TempDir dir;
  const std::string text = "Bom dia, comandante";
  std::string direct = dir.path() + "/direto.wav";
  ASSERT_EQ(Call({KORAL_PROGRAM, "-w", direct, text}), 0);
  const std::string expected = ReadFile(direct);
  ASSERT_GT(expected.size(), 1000u);

  // Standard output is a file that already holds something: the header is corrected where
  // it was written.
  std::string file = dir.Write("saida.bin", "antes");
  int fd = open(file.c_str(), O_WRONLY);
  lseek(fd, 0, SEEK_END);
  ASSERT_EQ(Call({KORAL_PROGRAM, "-w", "-", text}, fd), 0);
  EXPECT_TRUE(ReadFile(file) == "antes" + expected);
  // Appended to, it cannot be rewritten: a stream's header.
  fd = open(file.c_str(), O_WRONLY | O_APPEND);
  ASSERT_EQ(Call({KORAL_PROGRAM, "-w", "-", text}, fd), 0);
  EXPECT_EQ(Get32(ReadFile(file), 5 + expected.size() + 4), 0xFFFFFFFFu);

  // A pipe gets the header of a stream of unknown length, then the same samples.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::string piped;
  std::thread reader([&] {
    char buffer[4096];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;) piped.append(buffer, n);
  });
  int code = Call({KORAL_PROGRAM, "-w", "-", text}, ends[1]);
  reader.join();
  close(ends[0]);
  EXPECT_EQ(code, 0);
  ASSERT_EQ(piped.size(), expected.size());
  EXPECT_EQ(Get32(piped, 4), 0xFFFFFFFFu);
  EXPECT_TRUE(piped.substr(44) == expected.substr(44));

  EXPECT_EQ(Call({KORAL_PROGRAM, "--rate", "101", "-w", direct, text}), 1);
  EXPECT_EQ(Call({KORAL_PROGRAM, "--pitch-level", "x", "-w", direct, text}), 1);
}

class KoralModule : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists("/usr/bin/speech-dispatcher") || !fs::exists("/usr/bin/spd-say"))
      GTEST_SKIP() << "speech-dispatcher não está instalado (pacote speech-dispatcher)";
    std::string player = dir_.Write("player", kPlayer);
    fs::permissions(player, fs::perms::owner_all);
    fs::create_directories(Sounds());
    // The module finds koral on its PATH, as an installed one would.
    std::string path = fs::path(KORAL_PROGRAM).parent_path().string() + ":" + getenv("PATH");
    setenv("PATH", path.c_str(), 1);
    std::string conf = Replace(ReadFile(KORAL_MODULE_CONF), "$PLAY_COMMAND",
                               player + " " + Sounds());
    service_ = std::make_unique<testkit::SpeechService>(
        0.05, std::vector<testkit::SpeechService::Module>{{"koral", conf}});
    ASSERT_TRUE(service_->Running()) << "speech-dispatcher não iniciou";
  }

  std::string Sounds() const { return dir_.path() + "/sons"; }

  // Every sound the module played, oldest first.
  std::vector<std::string> Played() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Sounds())) names.push_back(entry.path());
    std::sort(names.begin(), names.end());
    std::vector<std::string> waves;
    for (const auto& name : names) waves.push_back(ReadFile(name));
    return waves;
  }

  // Speaks through the service and waits for the end.
  std::vector<std::string> Say(const std::string& text, const std::string& rate = "0") {
    fs::remove_all(Sounds());
    fs::create_directories(Sounds());
    EXPECT_EQ(Call({"spd-say", "-o", "koral", "-r", rate, "-p", "0", "-w", text}), 0);
    return Played();
  }

  // The same text written by koral itself.
  std::string Direct(const std::string& text) {
    std::string file = dir_.path() + "/direto.wav";
    EXPECT_EQ(Call({KORAL_PROGRAM, "-w", file, "--", text}), 0);
    return ReadFile(file);
  }

  testkit::TempDir dir_;
  std::unique_ptr<testkit::SpeechService> service_;
};

TEST_F(KoralModule, SpeaksTheTextVerbatimAndRunsNothingInIt) {
  const std::string sentence = "O módulo lunar desce devagar sobre a cratera do lado norte";
  std::vector<std::string> played = Say(sentence);
  ASSERT_EQ(played.size(), 1u);
  const std::string& wave = played[0];
  ASSERT_GT(wave.size(), 44u);
  EXPECT_EQ(wave.substr(0, 4), "RIFF");
  EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Samples(wave).size(), Samples(Direct(sentence)).size());
  EXPECT_GT(Peak(Samples(wave)), 1000);

  const std::string& d = dir_.path();
  const std::string hostile = "Aspas 'simples' e \"duplas\", $(touch " + d + "/x), `touch " + d +
                              "/y`;\ntouch " + d + "/z; e fim";
  played = Say(hostile);
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(Samples(played[0]).size(), Samples(Direct(hostile)).size());
  EXPECT_GT(Peak(Samples(played[0])), 1000);
  for (const char* name : {"/x", "/y", "/z"}) EXPECT_FALSE(fs::exists(d + name)) << name;
}

TEST_F(KoralModule, RateChangesTheLength) {
  const std::string sentence = "A nave pousou em segurança";
  std::vector<std::string> slow = Say(sentence, "-100"), fast = Say(sentence, "100");
  ASSERT_EQ(slow.size(), 1u);
  ASSERT_EQ(fast.size(), 1u);
  EXPECT_GT(Samples(slow[0]).size(), 4 * Samples(fast[0]).size());
}

TEST_F(KoralModule, StopEndsTheSoundEarly) {
  std::string text;
  for (int i = 0; i < 12; ++i) text += "a nave desce devagar sobre a cratera, ";
  text += "e pousa";
  const size_t whole = Direct(text).size();
  fs::remove_all(Sounds());
  fs::create_directories(Sounds());
  ASSERT_EQ(Call({"spd-say", "-o", "koral", "-r", "0", text}), 0);
  auto size = [&] {
    std::vector<std::string> played = Played();
    return played.empty() ? size_t(0) : played[0].size();
  };
  for (int i = 0; i < 500 && size() < 3200; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(Call({"spd-say", "-S"}), 0);
  // The copy stops growing once the module is stopped.
  size_t last = size();
  for (int i = 0; i < 20; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    if (size() == last) break;
    last = size();
  }
  EXPECT_LT(size(), whole / 4);
}

}  // namespace
