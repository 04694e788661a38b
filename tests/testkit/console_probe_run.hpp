// Running the console probe headless with a settings file of the test's own, its answers on
// standard error.
#pragma once
#include <string>
#include <vector>

#include "testkit/testkit.hpp"

namespace conrev {

struct Probe {
  Probe(std::vector<std::string> a, std::string k = "", std::string i = "")
      : args(std::move(a)), keys(std::move(k)), ini(std::move(i)) {}
  std::vector<std::string> args;
  std::string keys;  // key script; empty: no TELUMA_KEYS at all
  std::string ini;   // TELUMA.INI of the Windows folder (UTF-8, lines joined with \r\n)
};

inline testkit::RunResult RunProbe(const Probe& p) {
  testkit::TempDir dir;
  if (!p.ini.empty()) dir.Write("TELUMA.INI", p.ini);
  testkit::RunOptions o;
  o.args = {"--answers-to-stderr"};
  o.args.insert(o.args.end(), p.args.begin(), p.args.end());
  o.keys = p.keys;
  o.env["TELUMA_WINDIR"] = dir.path();
  o.workDir = dir.path();
  return testkit::RunHeadless(PROBE_PATH, o);
}

// The probe's answers on standard error that start with prefix, joined with blanks.
inline std::string Answers(const testkit::RunResult& r, const std::string& prefix) {
  std::string out;
  size_t at = 0;
  const std::string& s = r.stderrText;
  while (at < s.size()) {
    size_t end = s.find('\n', at);
    if (end == std::string::npos) end = s.size();
    std::string line = s.substr(at, end - at);
    if (line.rfind(prefix + " ", 0) == 0) {
      if (!out.empty()) out += ' ';
      out += line.substr(prefix.size() + 1);
    }
    at = end + 1;
  }
  return out;
}

inline std::string Keys(const testkit::RunResult& r) {
  std::string out;
  for (const auto& e : r.Named("KEY")) {
    if (!out.empty()) out += ' ';
    out += e.data;
  }
  return out;
}

inline std::string Trim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace conrev
