// The command-line programs' shared options, run headless: --version names the program and the
// build's version; text comes from the arguments, else from standard input.
#include <gtest/gtest.h>

#include <string>

#include "testkit/testkit.hpp"

namespace {

std::string Program(const std::string& name) { return testkit::BuildDir() + "/src/apps/" + name; }

testkit::RunResult RunProgram(const std::string& name, std::vector<std::string> args,
                       const std::string& stdinText = {}) {
  testkit::RunOptions options;
  options.args = std::move(args);
  options.stdinText = stdinText;
  return testkit::RunHeadless(Program(name), options);
}

TEST(ProgramOptions, VersionLineOfEveryProgram) {
  for (const char* name : {"moondrop", "koral", "teluma-say", "teluma-play", "teluma-console",
                           "teluma-diphone"}) {
    auto r = RunProgram(name, {"--version"});
    EXPECT_EQ(r.exitCode, 0) << name;
    EXPECT_EQ(r.stdoutText, std::string(name) + " " + TELUMA_VERSION + "\n") << name;
  }
}

TEST(ProgramOptions, TextFromArgumentsOrStandardInput) {
  // Words are joined with single blanks; without words the whole input is read.
  auto words = RunProgram("koral", {"--normalize", "Dr.", "Silva"});
  auto input = RunProgram("koral", {"--normalize"}, "Dr. Silva\n");
  EXPECT_EQ(words.exitCode, 0);
  EXPECT_FALSE(words.stdoutText.empty());
  EXPECT_EQ(words.stdoutText, input.stdoutText);
  // An empty argument is a word: standard input is not read then.
  auto empty = RunProgram("koral", {"--normalize", ""}, "Dr. Silva\n");
  EXPECT_EQ(empty.stdoutText, "\n");

  // teluma-diphone drops the line ends of what it reads, and converts UTF-8 to its letters.
  auto phonetic = RunProgram("teluma-diphone", {"--phonetic", "ação"});
  auto piped = RunProgram("teluma-diphone", {"--phonetic"}, "ação\r\n");
  EXPECT_EQ(phonetic.exitCode, 0);
  EXPECT_EQ(phonetic.stdoutText, piped.stdoutText);
  EXPECT_NE(phonetic.stdoutText, RunProgram("teluma-diphone", {"--phonetic", "acao"}).stdoutText);
}

}  // namespace
