#include "tts/minireg.hpp"

#include <dirent.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/paths.hpp"
#include "tts/uttsTexto.hpp"

namespace teluma::tts {

namespace {

constexpr std::string_view kRegistryExtension = ".reg";

struct RegistryValue {
  bool isString = false;
  std::string text;
};

std::vector<std::string> RegistryFolders() {
  std::vector<std::string> folders = {platform::WindowsDir(),
                                      platform::ResolveCase(platform::Root() + "/windows")};
  if (folders[0] == folders[1]) folders.pop_back();
  return folders;
}

// The registry files of a folder, in name order.
std::vector<std::string> RegistryFiles(const std::string& folder) {
  std::vector<std::string> files;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return files;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name.size() > kRegistryExtension.size() &&
        AnsiLower(name.substr(name.size() - kRegistryExtension.size())) == kRegistryExtension)
      files.push_back(platform::JoinPath(folder, name));
  }
  closedir(dir);
  std::sort(files.begin(), files.end());
  return files;
}

// A quoted text starting at pos (on the opening quote), with \\ and \" decoded; pos moves past
// the closing quote. Nothing when the quote is not closed.
std::optional<std::string> QuotedText(std::string_view line, size_t& pos) {
  std::string out;
  for (size_t i = pos + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      pos = i + 1;
      return out;
    }
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) c = line[++i];
    out += c;
  }
  return std::nullopt;
}

// One value line ("name"="text", @="text", "name"=dword:...). Nothing when it is no value line.
std::optional<std::pair<std::string, RegistryValue>> ValueLine(std::string_view line) {
  size_t pos = 0;
  std::string name;
  if (line.starts_with('@')) {
    pos = 1;
  } else if (line.starts_with('"')) {
    auto quoted = QuotedText(line, pos);
    if (!quoted) return std::nullopt;
    name = *quoted;
  } else {
    return std::nullopt;
  }
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (pos >= line.size() || line[pos] != '=') return std::nullopt;
  ++pos;
  while (pos < line.size() && line[pos] == ' ') ++pos;
  RegistryValue value;
  if (pos < line.size() && line[pos] == '"') {
    auto text = QuotedText(line, pos);
    if (!text) return std::nullopt;
    value = {true, *text};
  }
  return std::make_pair(name, value);
}

// The value as the files give it: imported in order, so a later line replaces an earlier one.
std::optional<RegistryValue> FindValue(const std::string& key, const std::string& name) {
  std::optional<RegistryValue> found;
  for (const auto& folder : RegistryFolders()) {
    for (const auto& file : RegistryFiles(folder)) {
      std::vector<std::string> lines;
      if (!ReadTextLines(file, lines)) continue;
      bool inKey = false;
      for (auto& raw : lines) {
        std::string line = TrimText(raw);
        if (line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
        if (line.starts_with('[')) {
          size_t close = line.rfind(']');
          inKey = close != std::string::npos && AnsiUpper(line.substr(1, close - 1)) == key;
          continue;
        }
        if (!inKey) continue;
        if (auto entry = ValueLine(line); entry && AnsiUpper(entry->first) == name)
          found = entry->second;
      }
    }
  }
  return found;
}

}  // namespace

bool ReadRegistryString(std::string_view root, std::string_view path, std::string& value) {
  size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return false;
  std::string key = AnsiUpper(std::string(root) + "\\" + std::string(path.substr(0, slash)));
  std::string name = AnsiUpper(path.substr(slash + 1));
  auto found = FindValue(key, name);
  if (!found || !found->isString) return false;
  value = found->text;
  return true;
}

}  // namespace teluma::tts
