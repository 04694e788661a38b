// Shared help for tests: temporary folders, files, and running a program headless through the
// automation contract and reading its transcript.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/env.hpp"

namespace testkit {

// A fresh folder under the system's temporary folder, removed when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file below the folder (creating folders on the way) and returns its path.
  std::string Write(const std::string& relative, const std::string& contents) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);

// Folders given to tests by CTest (build tree, source tree, data tree).
std::string BuildDir();
std::string SourceDir();

// A hand-written data source of the repository (data/RELATIVE) as the build writes it:
// Windows-1252, CR LF.
std::string DataFile(const std::string& relative);
std::string DataRoot();

// One line of a transcript: time, event name and the data after it.
struct Event {
  long long ms = 0;
  std::string name;
  std::string data;
};

struct RunResult {
  int exitCode = -1;
  std::string stdoutText;
  std::string stderrText;
  std::vector<Event> events;
  std::vector<std::string> screen;  // rows after SCREEN
  std::vector<std::string> attrs;   // rows after ATTR
  // Events with this name, in order.
  std::vector<Event> Named(const std::string& name) const;
  // The data of every OUT event, unquoted and joined.
  std::string Output() const;
};

struct RunOptions {
  std::vector<std::string> args;
  std::string keys;                          // key script text; written to a file when set
  std::map<std::string, std::string> env;    // extra environment (TELUMA_ROOT, ...)
  std::string stdinText;
  std::string workDir;                        // current folder of the program
  int timeoutSeconds = 60;
  // When set (needs root): the program runs as this user and the group "nogroup", through
  // setpriv; the folder of the transcript is then open to it.
  std::string asUser;
};

// Runs program headless (TELUMA_BACKEND=headless) with a transcript and a key script.
RunResult RunHeadless(const std::string& program, const RunOptions& options);

// Parses a transcript file's text.
void ParseTranscript(const std::string& text, RunResult& into);

// The program's environment with a fixed random seed, installed while this lives.
class FixedSeed {
 public:
  explicit FixedSeed(uint64_t seed) : wrapper_(teluma::platform::Env::Default(), seed), installed_(wrapper_) {}

 private:
  struct Wrapper : teluma::platform::EnvWrapper {
    Wrapper(teluma::platform::Env& target, uint64_t seed) : EnvWrapper(target), seed(seed) {}
    uint64_t Seed() override { return seed; }
    uint64_t seed;
  } wrapper_;
  teluma::platform::ScopedEnv installed_;
};

// Undoes the transcript's quoting ("a\"b" -> a"b); UTF-8 in, UTF-8 out.
std::string Unquote(const std::string& quoted);

// Whether expected occurs in said in this order (other items may come between).
bool InOrder(const std::vector<std::string>& said, const std::vector<std::string>& expected);

}  // namespace testkit
