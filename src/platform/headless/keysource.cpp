#include "platform/headless/keysource.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/events.hpp"

namespace platform::headless {

KeySource& KeySource::Get() {
  static KeySource* source = new KeySource;  // lives until the very end of the program
  if (!source->loaded_) source->LoadFromEnvironment();
  return *source;
}

void KeySource::LoadFromEnvironment() {
  loaded_ = true;
  const char* path = std::getenv("TELUMA_KEYS");
  if (!path || !*path || !UsesVirtualClock()) return;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "Não foi possível ler o roteiro de teclas %s: %s\n", path,
                 std::strerror(errno));
    return;
  }
  std::ostringstream text;
  text << in.rdbuf();
  KeyScript script = ParseKeyScript(text.str());
  if (!script.errors.empty()) {
    std::fprintf(stderr, "Roteiro de teclas %s: itens ignorados:", path);
    for (const auto& e : script.errors) std::fprintf(stderr, " [%s]", e.c_str());
    std::fprintf(stderr, "\n");
  }
  Load(std::move(script));
}

void KeySource::Load(KeyScript script) {
  loaded_ = true;
  if (timer_) CancelScheduled(timer_);
  timer_ = 0;
  script_ = std::move(script);
  line_ = 0;
  key_ = 0;
  lastDelivery_ = NowMs();
  ScheduleHead();
}

void KeySource::ScheduleHead() {
  if (line_ >= script_.lines.size() || !script_.lines[line_].timed) return;
  timer_ = ScheduleAction(lastDelivery_ + script_.lines[line_].delayMs, [this] {
    timer_ = 0;
    lastDelivery_ = NowMs();
    for (const auto& k : script_.lines[line_].keys) PostStroke(k);
    ++line_;
    key_ = 0;
    ScheduleHead();
  });
}

bool KeySource::DeliverUntimed() {
  while (line_ < script_.lines.size() && !script_.lines[line_].timed) {
    const auto& keys = script_.lines[line_].keys;
    if (key_ < keys.size()) {
      lastDelivery_ = NowMs();
      PostStroke(keys[key_++]);
      if (key_ >= keys.size()) {
        ++line_;
        key_ = 0;
        ScheduleHead();
      }
      return true;
    }
    ++line_;
    key_ = 0;
    ScheduleHead();
  }
  return false;
}

bool KeySource::Pending() const { return line_ < script_.lines.size(); }

}  // namespace platform::headless
