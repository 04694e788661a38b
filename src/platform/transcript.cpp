#include "platform/transcript.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cerrno>

#include "platform/cp1252.hpp"
#include "platform/env.hpp"

namespace teluma::platform {

Transcript& Transcript::Get() { return Env::Default().Log(); }

Transcript::Transcript(const std::string& path) { Reopen(path); }

Transcript::~Transcript() {
  if (file_) std::fclose(file_);
}

void Transcript::Reopen(const std::string& path) {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (path.empty()) return;
  file_ = std::fopen(path.c_str(), "w");
  if (!file_)
    std::fprintf(stderr, "Não foi possível gravar a transcrição em %s: %s\n", path.c_str(),
                 std::strerror(errno));
}

std::string Transcript::Quote(std::string_view cp1252Text) {
  std::string out = "\"";
  for (char c : Cp1252ToUtf8(cp1252Text)) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  out += '"';
  return out;
}

void Transcript::Event(std::string_view name, std::string_view data) {
  if (!file_) return;
  long long ms = clock_ ? static_cast<long long>(clock_()) : 0;
  std::fprintf(file_, "%lld %.*s", ms, static_cast<int>(name.size()), name.data());
  if (!data.empty()) std::fprintf(file_, " %.*s", static_cast<int>(data.size()), data.data());
  std::fputc('\n', file_);
  // Flushed per line: a crash or a kill must not lose what the program already did.
  std::fflush(file_);
}

void Transcript::TextEvent(std::string_view name, std::string_view cp1252Text) {
  if (file_) Event(name, Quote(cp1252Text));
}

void Transcript::RawLine(std::string_view utf8) {
  if (!file_) return;
  std::fprintf(file_, "%.*s\n", static_cast<int>(utf8.size()), utf8.data());
  std::fflush(file_);
}

void Transcript::Flush() {
  if (file_) std::fflush(file_);
}

}  // namespace teluma::platform
