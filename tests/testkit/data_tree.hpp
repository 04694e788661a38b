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
    options.env = std::move(env);
    return Run(program, std::move(options));
  }
  // The same with every option: the tree's folders are added to the environment unless given,
  // and the program starts in the root unless another folder is given.
  RunResult Run(const std::string& program, RunOptions options) const {
    options.env.try_emplace("TELUMA_ROOT", path());
    options.env.try_emplace("TELUMA_WINDIR", path() + "/windows");
    if (options.workDir.empty()) options.workDir = path();
    return RunHeadless(program, options);
  }

 private:
  TempDir dir_;
};

}  // namespace testkit
