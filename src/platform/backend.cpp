#include "platform/backend.hpp"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/events.hpp"
#include "platform/headless/headless_backend.hpp"
#include "platform/terminal/terminal_backend.hpp"

namespace platform {
namespace {

std::map<std::string, BackendFactory>& Registry() {
  static auto* registry = new std::map<std::string, BackendFactory>;
  return *registry;
}

std::unique_ptr<DisplayBackend> Make(const std::string& name) {
  if (name == "headless") return std::make_unique<headless::HeadlessBackend>();
  if (name == "terminal") return std::make_unique<terminal::TerminalBackend>();
  auto it = Registry().find(name);
  if (it == Registry().end()) return nullptr;
  return it->second();
}

}  // namespace

bool RegisterBackend(const std::string& name, BackendFactory factory) {
  Registry()[name] = std::move(factory);
  return true;
}

bool BackendRegistered(const std::string& name) {
  return name == "headless" || name == "terminal" || Registry().count(name) > 0;
}

std::string RequestedBackend() {
  const char* v = std::getenv("TELUMA_BACKEND");
  return v ? v : "";
}

bool DisplayAvailable() {
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (w && *w);
}

std::unique_ptr<DisplayBackend> OpenBackend(const DisplayConfig& config, const GridView& grid) {
  std::vector<std::string> order;
  std::string requested = RequestedBackend();
  if (requested == "headless" || requested == "terminal" || requested == "window") {
    order.push_back(requested);
  } else {
    if (!requested.empty())
      std::fprintf(stderr, "TELUMA_BACKEND=%s desconhecido; usando a escolha automática\n",
                   requested.c_str());
    if (DisplayAvailable() && BackendRegistered("window")) order.push_back("window");
  }
  if (requested != "headless" && requested != "terminal") order.push_back("terminal");
  order.push_back("headless");
  for (const auto& name : order) {
    auto backend = Make(name);
    if (!backend) {
      if (name == requested)
        std::fprintf(stderr, "Saída \"%s\" indisponível neste programa\n", name.c_str());
      continue;
    }
    if (backend->Open(config, grid)) {
      // Without a display nothing can ever type a key: the program runs as headless does,
      // ending at its first key wait instead of blocking for ever.
      if (name == "headless" && !UsesVirtualClock()) SetVirtualClock(true);
      return backend;
    }
    if (name == requested)
      std::fprintf(stderr, "Não foi possível abrir a saída \"%s\"\n", name.c_str());
  }
  auto fallback = std::make_unique<headless::HeadlessBackend>();
  fallback->Open(config, grid);
  return fallback;
}

}  // namespace platform
