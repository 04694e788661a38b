#include "platform/profile.hpp"

#include <strings.h>

#include <fstream>
#include <sstream>

#include "platform/paths.hpp"

namespace teluma::platform {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool SameBlind(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

bool FindProfileValue(std::string_view contents, std::string_view section, std::string_view key,
                      std::string& value) {
  section = Trim(section);
  key = Trim(key);
  bool inSection = false;
  size_t pos = 0;
  while (pos < contents.size()) {
    // CR, LF and CR LF each end a line (the empty line between CR and LF is skipped).
    size_t end = contents.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = contents.size();
    std::string_view line = Trim(contents.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      std::string_view name = Trim(line.substr(1, close == std::string_view::npos
                                                      ? std::string_view::npos
                                                      : close - 1));
      inSection = SameBlind(name, section);
      continue;
    }
    if (!inSection) continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    if (SameBlind(Trim(line.substr(0, eq)), key)) {
      value = std::string(Unquote(Trim(line.substr(eq + 1))));
      return true;
    }
  }
  return false;
}

std::string ProfilePath(std::string_view file) {
  bool hasFolder = file.find('/') != std::string_view::npos ||
                   file.find('\\') != std::string_view::npos ||
                   (file.size() >= 2 && file[1] == ':');
  if (!hasFolder) return ResolveCase(JoinPath(WindowsDir(), file));
  return MapPath(file);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, size_t size,
                                    std::string_view file) {
  std::string value;
  std::ifstream in(ProfilePath(file), std::ios::binary);
  bool found = false;
  if (in) {
    std::ostringstream text;
    text << in.rdbuf();
    found = FindProfileValue(text.str(), section, key, value);
  }
  if (!found) {
    std::string_view d = defaultValue;
    while (!d.empty() && d.back() == ' ') d.remove_suffix(1);
    value = std::string(d);
  }
  if (size == 0) return {};
  if (value.size() > size - 1) value.resize(size - 1);
  return value;
}

}  // namespace teluma::platform
