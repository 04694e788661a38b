// Helpers shared by the fuzz targets: cutting one input into several files and handing the
// loaders real files, since they read from disk.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp1252.hpp"

namespace fuzz {

// The input after its first byte (the selector), cut into parts at each "\n@@\n" line; missing
// parts are empty.
inline std::vector<std::string> Parts(const uint8_t* data, size_t size, size_t count) {
  std::vector<std::string> parts(count);
  if (size < 1) return parts;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  for (size_t i = 0; i < count; ++i) {
    size_t cut = i + 1 < count ? rest.find("\n@@\n") : std::string_view::npos;
    parts[i] = std::string(rest.substr(0, cut));
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 4);
  }
  return parts;
}

// A file of this process holding contents; returns its host path.
inline std::string WriteFile(const std::string& name, std::string_view contents) {
  static const std::string folder = [] {
    std::string f = "/tmp/teluma-fuzz-" + std::to_string(getpid());
    mkdir(f.c_str(), 0700);
    return f;
  }();
  std::string path = folder + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(contents.data(), contents.size());
  return path;
}

// A data file of the source tree (UTF-8) as the data tree holds it (Windows-1252).
inline std::string ShippedText(const std::string& relative) {
  std::ifstream in(std::string(TELUMA_FUZZ_DATA) + "/" + relative, std::ios::binary);
  if (!in) std::abort();
  std::stringstream s;
  s << in.rdbuf();
  return teluma::platform::Utf8ToCp1252(s.str());
}

// A file that the build makes in the data tree (Windows-1252 already).
inline std::string BuiltText(const std::string& relative) {
  std::ifstream in(std::string(TELUMA_FUZZ_ROOT) + "/" + relative, std::ios::binary);
  if (!in) std::abort();
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The same written out as a file; returns its host path.
inline std::string ShippedFile(const std::string& relative, const std::string& name) {
  return WriteFile(name, ShippedText(relative));
}

}  // namespace fuzz
