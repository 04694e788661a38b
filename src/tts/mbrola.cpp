#include "tts/mbrola.hpp"

#include <array>
#include <string_view>

#include "platform/dynlib.hpp"

namespace teluma::tts {

namespace {

// Every name the library must export, in the order they are resolved.
constexpr std::array<const char*, 23> kEntryNames = {
    "init_MBR",          "init_rename_MBR",    "write_MBR",          "flush_MBR",
    "read_MBR",          "readtype_MBR",       "close_MBR",          "reset_MBR",
    "lastError_MBR",     "lastErrorStr_MBR",   "setNoError_MBR",     "getNoError_MBR",
    "setFreq_MBR",       "getFreq_MBR",        "setVolumeRatio_MBR", "getVolumeRatio_MBR",
    "getVersion_MBR",    "getDatabaseInfo_MBR", "setParser_MBR",     "init_Phone",
    "reset_Phone",       "close_Phone",        "appendf0_Phone"};

platform::LibraryHandle library = nullptr;
MbrolaEntryPoints entries;

template <typename F>
void Take(F& into, const std::array<void*, 23>& found, const char* name) {
  for (size_t i = 0; i < kEntryNames.size(); ++i)
    if (std::string_view(kEntryNames[i]) == name) into = reinterpret_cast<F>(found[i]);
}

}  // namespace

const MbrolaEntryPoints& Mbrola() { return entries; }

bool MbrolaLibraryLoaded() { return library != nullptr; }

bool LoadMbrolaLibrary() {
  if (library) return true;
  platform::LibraryHandle handle = platform::LoadLibrary(kMbrolaLibraryName);
  if (!handle) return false;
  std::array<void*, 23> found{};
  for (size_t i = 0; i < kEntryNames.size(); ++i) {
    found[i] = platform::GetProcAddress(handle, kEntryNames[i]);
    if (!found[i]) {
      platform::FreeLibrary(handle);
      return false;
    }
  }
  library = handle;
  Take(entries.init, found, "init_MBR");
  Take(entries.write, found, "write_MBR");
  Take(entries.flush, found, "flush_MBR");
  Take(entries.read, found, "read_MBR");
  Take(entries.close, found, "close_MBR");
  Take(entries.reset, found, "reset_MBR");
  Take(entries.lastError, found, "lastError_MBR");
  Take(entries.setNoError, found, "setNoError_MBR");
  return true;
}

void UnloadMbrolaLibrary() {
  if (!library) return;
  platform::FreeLibrary(library);
  library = nullptr;
  entries = {};
}

}  // namespace teluma::tts
