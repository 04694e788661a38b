#include "platform/real_env.hpp"

#include <cstdio>

#include "platform/backend.hpp"
#include "platform/headless/headless_backend.hpp"
#include "platform/sound/output.hpp"
#include "platform/terminal/terminal_backend.hpp"

namespace teluma::platform {

std::unique_ptr<DisplayBackend> RealEnv::OpenDisplay(const DisplayConfig& config,
                                                     const GridView& grid) {
  const std::string& requested = Choice().backend;
  std::vector<std::string> order;
  if (requested == "terminal" || requested == "window") {
    order.push_back(requested);
  } else {
    if (!requested.empty())
      std::fprintf(stderr, "TELUMA_BACKEND=%s desconhecido; usando a escolha automática\n",
                   requested.c_str());
    if (DisplayAvailable() && BackendRegistered("window")) order.push_back("window");
  }
  if (requested != "terminal") order.push_back("terminal");
  for (const auto& name : order) {
    std::unique_ptr<DisplayBackend> backend;
    if (name == "terminal")
      backend = std::make_unique<terminal::TerminalBackend>(requested == "terminal");
    else
      backend = MakeRegisteredBackend(name);
    if (!backend) {
      if (name == requested)
        std::fprintf(stderr, "Saída \"%s\" indisponível neste programa\n", name.c_str());
      continue;
    }
    if (backend->Open(config, grid)) return backend;
    if (name == requested)
      std::fprintf(stderr, "Não foi possível abrir a saída \"%s\"\n", name.c_str());
  }
  // Without a display nothing can ever type a key.
  Queue().TurnVirtual();
  auto fallback = std::make_unique<headless::HeadlessBackend>();
  fallback->Open(config, grid);
  return fallback;
}

std::unique_ptr<SoundOutput> RealEnv::MakeSound() {
  if (UsesVirtualClock()) return MakeVirtualOutput("virtual");
  if (auto sdl = MakeSdlOutput()) return sdl;
  std::fputs("Nenhum dispositivo de som foi encontrado; o programa continua sem som.\n", stderr);
  return MakeVirtualOutput("virtual-real-clock");
}

}  // namespace teluma::platform
