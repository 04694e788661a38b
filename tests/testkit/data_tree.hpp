// A data tree for scenario tests in a fresh temporary folder: the programs' root (TELUMA_ROOT)
// with its Windows folder in windows/ (TELUMA_WINDIR). Programs run headless in it, with the
// root as their current folder.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "testkit/testkit.hpp"

namespace testkit {

class DataTree {
 public:
  // Writes a file below the root (creating folders on the way) and returns its path.
  std::string Write(const std::string& relative, const std::string& contents) const {
    return dir_.Write(relative, contents);
  }
  const TempDir& dir() const { return dir_; }
  const std::string& path() const { return dir_.path(); }

  RunResult Run(const std::string& program, std::vector<std::string> args,
                const std::string& keys = {}, std::map<std::string, std::string> env = {}) const {
    RunOptions options;
    options.args = std::move(args);
    options.keys = keys;
    options.env = {{"TELUMA_ROOT", path()}, {"TELUMA_WINDIR", path() + "/windows"}};
    for (auto& [k, v] : env) options.env[k] = v;
    options.workDir = path();
    return RunHeadless(program, options);
  }

 private:
  TempDir dir_;
};

}  // namespace testkit
