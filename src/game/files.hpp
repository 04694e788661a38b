// Whole-file reading and safe replacing of the game's small text files (host paths).
#pragma once
#include <string>
#include <string_view>

namespace teluma::game {

enum class FileRead {
  kRead,
  kMissing,     // nothing at the path
  kUnreadable,  // something is there but could not be read whole (permissions, a read error,
                // not a plain file): callers must not take it for a missing file
};

// The file's bytes into text.
FileRead ReadWholeFile(const std::string& hostPath, std::string& text);

// The file's bytes; false when it does not exist or cannot be read.
bool ReadTextFile(const std::string& hostPath, std::string& text);

// Writes contents to hostPath + ".novo" and renames it over hostPath, so that the old file stays
// whole when writing fails. A ".novo" left by an interrupted save is removed first. False on any
// failure.
bool ReplaceFile(const std::string& hostPath, std::string_view contents);

}  // namespace teluma::game
