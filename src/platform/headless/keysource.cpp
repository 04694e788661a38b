#include "platform/headless/keysource.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/env.hpp"
#include "platform/keys.hpp"

namespace teluma::platform::headless {
namespace {
void Post(Env& env, const KeyStroke& stroke) {
  for (const auto& m : StrokeMessages(stroke)) env.PostMessage(m);
}
}  // namespace

KeySource& KeySource::Get() { return Env::Default().Keys(); }

void KeySource::LoadFile(const std::string& file) {
  const char* path = file.c_str();
  std::ifstream in(file, std::ios::binary);
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
  if (timer_) env_.CancelScheduled(timer_);
  timer_ = 0;
  script_ = std::move(script);
  line_ = 0;
  key_ = 0;
  lastDelivery_ = env_.NowMs();
  ScheduleHead();
}

void KeySource::ScheduleHead() {
  if (line_ >= script_.lines.size() || !script_.lines[line_].timed) return;
  timer_ = env_.ScheduleAction(lastDelivery_ + script_.lines[line_].delayMs, [this] {
    timer_ = 0;
    lastDelivery_ = env_.NowMs();
    for (const auto& k : script_.lines[line_].keys) Post(env_, k);
    ++line_;
    key_ = 0;
    ScheduleHead();
  });
}

bool KeySource::DeliverUntimed() {
  while (line_ < script_.lines.size() && !script_.lines[line_].timed) {
    const auto& keys = script_.lines[line_].keys;
    if (key_ < keys.size()) {
      lastDelivery_ = env_.NowMs();
      Post(env_, keys[key_++]);
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

}  // namespace teluma::platform::headless
