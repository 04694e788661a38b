#include "testkit/testkit.hpp"

#include "platform/cp1252.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

using namespace teluma;

namespace fs = std::filesystem;

namespace testkit {

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "teluma-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& relative, const std::string& contents) const {
  fs::path p = fs::path(path_) / relative;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << contents;
  return p.string();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

static std::string EnvOr(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v ? v : fallback;
}

// The build writes its own folders into the test kit; the environment may point elsewhere.
std::string BuildDir() { return EnvOr("TELUMA_BUILD_DIR", TELUMA_TEST_BUILD_DIR); }
std::string SourceDir() { return EnvOr("TELUMA_SOURCE_DIR", TELUMA_TEST_SOURCE_DIR); }
std::string DataRoot() { return EnvOr("TELUMA_TEST_ROOT", TELUMA_TEST_DATA_ROOT); }

std::vector<Event> RunResult::Named(const std::string& name) const {
  std::vector<Event> out;
  for (const auto& e : events)
    if (e.name == name) out.push_back(e);
  return out;
}

std::string RunResult::Output() const {
  std::string out;
  for (const auto& e : events)
    if (e.name == "OUT") out += Unquote(e.data);
  return out;
}

std::string Unquote(const std::string& quoted) {
  std::string out;
  size_t i = (!quoted.empty() && quoted[0] == '"') ? 1 : 0;
  size_t end = (quoted.size() >= 2 && quoted.back() == '"') ? quoted.size() - 1 : quoted.size();
  for (; i < end; ++i) {
    if (quoted[i] == '\\' && i + 1 < end) {
      char c = quoted[++i];
      out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
    } else {
      out += quoted[i];
    }
  }
  return out;
}

void ParseTranscript(const std::string& text, RunResult& into) {
  std::istringstream in(text);
  std::string line;
  std::vector<std::string>* rows = nullptr;
  while (std::getline(in, line)) {
    if (line.rfind("| ", 0) == 0 || line == "|") {
      if (rows) rows->push_back(line.size() > 2 ? line.substr(2) : std::string());
      continue;
    }
    Event e;
    size_t sp = line.find(' ');
    e.ms = std::atoll(line.substr(0, sp).c_str());
    std::string rest = sp == std::string::npos ? "" : line.substr(sp + 1);
    size_t sp2 = rest.find(' ');
    e.name = rest.substr(0, sp2);
    e.data = sp2 == std::string::npos ? "" : rest.substr(sp2 + 1);
    rows = e.name == "SCREEN" ? &into.screen : e.name == "ATTR" ? &into.attrs : nullptr;
    into.events.push_back(e);
  }
}

RunResult RunHeadless(const std::string& program, const RunOptions& options) {
  TempDir tmp;
  std::string transcript = tmp.path() + "/transcript.txt";
  std::string keys = options.keys.empty() ? "" : tmp.Write("keys.txt", options.keys);
  std::string in = tmp.Write("stdin.txt", options.stdinText);
  std::string out = tmp.path() + "/stdout.txt";
  std::string err = tmp.path() + "/stderr.txt";

  pid_t pid = fork();
  if (pid == 0) {
    setenv("TELUMA_BACKEND", "headless", 1);
    setenv("TELUMA_TRANSCRIPT", transcript.c_str(), 1);
    if (!keys.empty()) setenv("TELUMA_KEYS", keys.c_str(), 1);
    else unsetenv("TELUMA_KEYS");
    if (!std::getenv("TELUMA_ROOT")) setenv("TELUMA_ROOT", DataRoot().c_str(), 1);
    for (const auto& [k, v] : options.env) setenv(k.c_str(), v.c_str(), 1);
    if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) _exit(126);
    int fi = open(in.c_str(), O_RDONLY), fo = open(out.c_str(), O_WRONLY | O_CREAT, 0644),
        fe = open(err.c_str(), O_WRONLY | O_CREAT, 0644);
    dup2(fi, 0);
    dup2(fo, 1);
    dup2(fe, 2);
    alarm(options.timeoutSeconds);  // a hung program fails its test instead of CI
    std::vector<std::string> command;
    if (!options.asUser.empty()) {
      chmod(tmp.path().c_str(), 0777);
      command = {"/usr/bin/setpriv", "--reuid=" + options.asUser, "--regid=nogroup",
                 "--clear-groups", "--"};
    }
    command.push_back(program);
    command.insert(command.end(), options.args.begin(), options.args.end());
    std::vector<char*> argv;
    for (auto& a : command) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  RunResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.stdoutText = ReadFile(out);
  r.stderrText = ReadFile(err);
  ParseTranscript(ReadFile(transcript), r);
  return r;
}

bool InOrder(const std::vector<std::string>& said, const std::vector<std::string>& expected) {
  auto at = said.begin();
  for (const auto& e : expected) {
    at = std::find(at, said.end(), e);
    if (at == said.end()) return false;
    ++at;
  }
  return true;
}

std::string DataFile(const std::string& relative) {
  std::string utf8 = ReadFile(SourceDir() + "/data/" + relative), text;
  for (char c : platform::Utf8ToCp1252(utf8)) {
    if (c == '\n' && (text.empty() || text.back() != '\r')) text += '\r';
    text += c;
  }
  return text;
}

}  // namespace testkit
