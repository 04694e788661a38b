// Profile (INI) files read with the semantics of the system's GetPrivateProfileStringA:
// sections and keys are matched ignoring case, the first match wins, blanks around names and
// values are removed, and a value enclosed in matching quotes loses them.
#pragma once
#include <string>
#include <string_view>

namespace teluma::platform {

// The value of key in section of file, or defaultValue (trailing blanks removed) when the file,
// the section or the key is missing. The result is cut to size - 1 bytes, as the system's
// buffer of size bytes would hold it; size 0 gives an empty text. A file name without a folder
// is looked for in WindowsDir(); other names go through MapPath.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, size_t size,
                                    std::string_view file);

// The same lookup over a text already in memory (tests, fuzzing).
bool FindProfileValue(std::string_view contents, std::string_view section, std::string_view key,
                      std::string& value);

// Host path of a profile file name as GetPrivateProfileString resolves it.
std::string ProfilePath(std::string_view file);

}  // namespace teluma::platform
