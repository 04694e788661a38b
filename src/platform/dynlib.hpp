// Run-time loading of a shared library: the stand-in for LoadLibraryA, GetProcAddress and
// FreeLibrary.
#pragma once
#include <string>

namespace teluma::platform {

using LibraryHandle = void*;

// Loads a library by host path or by name (searched as the dynamic loader does); nullptr when
// it cannot be loaded (LastLibraryError tells why).
LibraryHandle LoadLibrary(const std::string& pathOrName);

// The address of an exported symbol, or nullptr.
void* GetProcAddress(LibraryHandle library, const std::string& symbol);

// Typed form: auto f = GetProc<int (*)(int)>(lib, "f").
template <typename F>
F GetProc(LibraryHandle library, const std::string& symbol) {
  return reinterpret_cast<F>(GetProcAddress(library, symbol));
}

// Unloads; nullptr is allowed.
void FreeLibrary(LibraryHandle library);

// The loader's message about the last failure ("" when none).
std::string LastLibraryError();

}  // namespace teluma::platform
