#include "platform/dynlib.hpp"

#include <dlfcn.h>

namespace teluma::platform {
namespace {
thread_local std::string lastError;
}

LibraryHandle LoadLibrary(const std::string& pathOrName) {
  if (pathOrName.empty()) {
    lastError = "nome de biblioteca vazio";
    return nullptr;
  }
  void* h = dlopen(pathOrName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) {
    const char* e = dlerror();
    lastError = e ? e : "";
  }
  return h;
}

void* GetProcAddress(LibraryHandle library, const std::string& symbol) {
  if (!library) return nullptr;
  dlerror();
  void* p = dlsym(library, symbol.c_str());
  if (!p) {
    const char* e = dlerror();
    lastError = e ? e : "";
  }
  return p;
}

void FreeLibrary(LibraryHandle library) {
  if (library) dlclose(library);
}

std::string LastLibraryError() { return lastError; }

}  // namespace teluma::platform
