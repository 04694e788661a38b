#include "platform/backend.hpp"

#include <cstdlib>
#include <map>
#include <mutex>

namespace teluma::platform {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, BackendFactory> factories;
};

Registry& Backends() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterBackend(const std::string& name, BackendFactory factory) {
  auto& r = Backends();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.factories[name] = std::move(factory);
}

bool BackendRegistered(const std::string& name) {
  auto& r = Backends();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.factories.count(name) > 0;
}

std::unique_ptr<DisplayBackend> MakeRegisteredBackend(const std::string& name) {
  BackendFactory factory;
  {
    auto& r = Backends();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.factories.find(name);
    if (it == r.factories.end()) return nullptr;
    factory = it->second;
  }
  return factory();
}

bool DisplayAvailable() {
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (w && *w);
}

}  // namespace teluma::platform
