#include "platform/paths.hpp"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <vector>

#ifndef TELUMA_DEFAULT_ROOT
#define TELUMA_DEFAULT_ROOT "/usr/share/teluma"
#endif

namespace teluma::platform {
namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string StripTrailingSlash(std::string p) {
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

// Finds in folder the entry whose name equals name ignoring case; empty when none.
std::string FindEntryCaseBlind(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return {};
  std::string found;
  while (dirent* e = readdir(dir)) {
    if (strcasecmp(e->d_name, name.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

// An installed game's player folder stands in front of c:\qorbel: a file the player has
// there (the score table) is read instead of the installed one.
std::string PlayerOverlay(const std::string& hostPath) {
  std::string mine = PlayerFolder();
  if (mine.empty()) return hostPath;
  std::string game = Root() + "/qorbel/";
  if (hostPath.size() <= game.size() || strncasecmp(hostPath.c_str(), game.c_str(), game.size()) != 0)
    return hostPath;
  std::string own = ResolveCase(JoinPath(mine, hostPath.substr(game.size())));
  struct stat st{};
  return stat(own.c_str(), &st) == 0 ? own : hostPath;
}

}  // namespace

bool FileExists(const std::string& hostPath) {
  struct stat st{};
  return stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirExists(const std::string& hostPath) {
  struct stat st{};
  return stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty()) return std::string(name);
  if (out.back() != '/') out += '/';
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  out += name;
  return out;
}

std::string Root() {
  std::string r = Env("TELUMA_ROOT");
  if (r.empty()) r = InstalledRoot();
  return StripTrailingSlash(r.empty() ? std::string(TELUMA_DEFAULT_ROOT) : r);
}

std::string WindowsDir() {
  std::string w = Env("TELUMA_WINDIR");
  if (!w.empty()) return StripTrailingSlash(w);
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty() && !Env("HOME").empty()) config = Env("HOME") + "/.config";
  if (!config.empty()) {
    std::string mine = config + "/teluma";
    if (FileExists(ResolveCase(mine + "/TELUMA.INI"))) return mine;
  }
  return ResolveCase(Root() + "/windows");
}

std::string StartDir() {
  static const std::string start = [] {
    char buf[4096];
    return getcwd(buf, sizeof buf) ? std::string(buf) : std::string(".");
  }();
  return start;
}

std::string ResolveCase(const std::string& hostPath) {
  struct stat st{};
  if (hostPath.empty() || stat(hostPath.c_str(), &st) == 0) return hostPath;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= hostPath.size()) {
    size_t slash = hostPath.find('/', start);
    if (slash == std::string::npos) slash = hostPath.size();
    parts.push_back(hostPath.substr(start, slash - start));
    start = slash + 1;
  }
  bool absolute = hostPath[0] == '/';
  std::string current = absolute ? "/" : "";
  bool lost = false;  // once a component is missing, the rest is appended as given
  for (const auto& part : parts) {
    if (part.empty()) continue;
    std::string next = current.empty() ? part : JoinPath(current, part);
    if (!lost && stat(next.c_str(), &st) != 0) {
      std::string other = FindEntryCaseBlind(current, part);
      if (other.empty())
        lost = true;
      else
        next = current.empty() ? other : JoinPath(current, other);
    }
    current = next;
  }
  if (!hostPath.empty() && hostPath.back() == '/' && !current.empty() && current.back() != '/')
    current += '/';
  return current;
}

std::string MapPath(std::string_view systemPath) {
  std::string p(systemPath);
  for (char& c : p)
    if (c == '\\') c = '/';
  if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
    p = JoinPath(Root(), p.substr(2));
  } else if (!systemPath.empty() && systemPath[0] == '\\') {
    p = JoinPath(Root(), p);
  }
  // A path written with slashes is a host path already (command lines, tests).
  return PlayerOverlay(ResolveCase(p));
}

}  // namespace teluma::platform
