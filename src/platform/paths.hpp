// Mapping of the system's Windows paths onto host folders (TELUMA_ROOT, TELUMA_WINDIR) and the
// case-blind file lookup that keeps data copied from case-blind file systems working.
#pragma once
#include <string>
#include <string_view>

namespace teluma::platform {

// Host folder standing for drive c: and for absolute paths without a drive: TELUMA_ROOT, else
// the installed data tree beside the program (<prefix>/share/teluma), else the build's tree.
std::string Root();

// The installed data tree when the running program lives in <prefix>/bin beside it; empty when
// it runs from the build tree.
std::string InstalledRoot();

// The player's own folder ($XDG_DATA_HOME/moondrop, default ~/.local/share/moondrop) when an
// installed program runs without TELUMA_ROOT; empty otherwise. It stands for the game folder
// c:\qorbel: what the player has there is read before the installed file of the same name.
std::string PlayerFolder();

// Creates the player's folder when needed and makes it the current folder, so that the files
// the game writes land there. Does nothing (true) when PlayerFolder() is empty; false, with the
// current folder unchanged, when the folder cannot be made.
bool EnterPlayerFolder();

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

}  // namespace teluma::platform
