// Mapping of the system's Windows paths onto host folders (TELUMA_ROOT, TELUMA_WINDIR) and the
// case-blind file lookup that keeps data copied from case-blind file systems working.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Host folder standing for drive c: and for absolute paths without a drive.
std::string Root();

// Host folder standing for the Windows folder (where TELUMA.INI is looked for first).
std::string WindowsDir();

// Host folder the program was started in (the system's "start folder").
std::string StartDir();

// Turns a system path ("c:\qorbel\som\x.wav", "\qorbel\x", "som\x.wav") into a host path:
// backslashes become slashes, a drive becomes Root(), a leading backslash is taken below
// Root(), a relative path stays relative to the current folder. The result is then resolved
// case-blind (see ResolveCase).
std::string MapPath(std::string_view systemPath);

// Returns hostPath itself when it exists; otherwise, walking its components, the path whose
// components differ from the given ones only in letter case. When nothing matches, the path
// is returned with as many components resolved as could be.
std::string ResolveCase(const std::string& hostPath);

bool FileExists(const std::string& hostPath);
bool DirExists(const std::string& hostPath);

// Joins a folder and a name with exactly one slash between them.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace platform
