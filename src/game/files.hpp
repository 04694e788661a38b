// Whole-file reading and safe replacing of the game's small text files (host paths).
#pragma once
#include <string>
#include <string_view>

// The file's bytes; false when it does not exist or cannot be read.
bool ReadTextFile(const std::string& hostPath, std::string& text);

// Writes contents to a new file beside hostPath and renames it over hostPath, so that the old
// file stays whole when writing fails. False on any failure.
bool ReplaceFile(const std::string& hostPath, std::string_view contents);
