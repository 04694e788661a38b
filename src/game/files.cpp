#include "game/files.hpp"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

bool ReadTextFile(const std::string& hostPath, std::string& text) {
  std::ifstream file(hostPath, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return false;
  text = contents.str();
  return true;
}

bool ReplaceFile(const std::string& hostPath, std::string_view contents) {
  std::string temporary = hostPath + ".novo";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
  ok = std::fflush(file) == 0 && ok;
  ok = fsync(fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), hostPath.c_str()) == 0;
  if (!ok) std::remove(temporary.c_str());
  return ok;
}
