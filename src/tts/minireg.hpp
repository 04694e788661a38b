// Reading string values of the registry. The registry is the set of files in the Windows
// registry export format (REGEDIT4, "*.reg") of the Windows folder and of the data tree's own
// Windows folder, imported in that order and in name order: a later line replaces an earlier
// one. Key names and value names are compared without regard to letter case.
#pragma once
#include <string>
#include <string_view>

namespace teluma::tts {

constexpr std::string_view kHkeyLocalMachine = "HKEY_LOCAL_MACHINE";

// Reads the value named after the last "\" of path (empty: the key's default value) of the key
// named before it, under root. True only for a string value; value is left untouched otherwise.
bool ReadRegistryString(std::string_view root, std::string_view path, std::string& value);

}  // namespace teluma::tts
