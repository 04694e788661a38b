#include "game/files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace teluma::game {

namespace {

bool ReadAll(int fd, std::string& text) {
  // Only a plain file: a pipe or a device would block the game or never end.
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  std::string bytes;
  if (info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
  text = std::move(bytes);
  return true;
}

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    ssize_t n = write(fd, contents.data(), contents.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    contents.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// After a rename the folder holds the new name only once the folder itself is on the disk.
void SyncFolderOf(const std::string& hostPath) {
  size_t slash = hostPath.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : hostPath.substr(0, slash + 1);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

FileRead ReadWholeFile(const std::string& hostPath, std::string& text) {
  int fd = open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::kMissing : FileRead::kUnreadable;
  bool ok = ReadAll(fd, text);
  close(fd);
  return ok ? FileRead::kRead : FileRead::kUnreadable;
}

bool ReadTextFile(const std::string& hostPath, std::string& text) {
  return ReadWholeFile(hostPath, text) == FileRead::kRead;
}

bool ReplaceFile(const std::string& hostPath, std::string_view contents) {
  std::string temporary = hostPath + ".novo";
  // A stale temporary goes first; creating the new one exclusively means a link planted under
  // that name cannot send the table elsewhere.
  unlink(temporary.c_str());
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, contents);
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), hostPath.c_str()) == 0;
  if (!ok) {
    unlink(temporary.c_str());
    return false;
  }
  SyncFolderOf(hostPath);
  return true;
}

}  // namespace teluma::game
