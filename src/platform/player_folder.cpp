// Where an installed program finds its data and keeps the player's files.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/paths.hpp"

namespace teluma::platform {
namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string Parent(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p: every missing folder on the way, private to the player.
bool MakeFolders(const std::string& path) {
  if (DirExists(path)) return true;
  std::string parent = Parent(path);
  if (parent != path && !MakeFolders(parent)) return false;
  return mkdir(path.c_str(), 0700) == 0 || (errno == EEXIST && DirExists(path));
}

}  // namespace

std::string InstalledRoot() {
  static const std::string root = [] {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string();
    std::string tree = Parent(Parent(std::string(buf, static_cast<size_t>(n)))) + "/share/teluma";
    return DirExists(tree + "/windows") ? tree : std::string();
  }();
  return root;
}

std::string PlayerFolder() {
  if (!Env("TELUMA_ROOT").empty() || InstalledRoot().empty()) return {};
  std::string data = Env("XDG_DATA_HOME");
  // Relative values are to be ignored, as the base directory rules say.
  if (data.empty() || data[0] != '/') {
    std::string home = Env("HOME");
    if (home.empty()) return {};
    data = home + "/.local/share";
  }
  return JoinPath(data, "moondrop");
}

bool EnterPlayerFolder() {
  std::string mine = PlayerFolder();
  if (mine.empty()) return true;
  return MakeFolders(mine) && chdir(mine.c_str()) == 0;
}

}  // namespace teluma::platform
