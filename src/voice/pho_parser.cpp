#include "voice/pho_parser.hpp"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "voice/voice_database.hpp"

namespace teluma::voice {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The blank-separated fields of a line, as many as fit; count tells how many there were.
constexpr size_t kMaxFields = 3 + 2 * MBR_MAX_PITCH_PAIRS;
size_t Fields(std::string_view s, std::string_view (&out)[kMaxFields]) {
  size_t count = 0, i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    size_t start = i;
    while (i < s.size() && !IsBlank(s[i])) ++i;
    if (i > start) {
      if (count < kMaxFields) out[count] = s.substr(start, i - start);
      ++count;
    }
  }
  return count;
}

// A decimal number filling the whole field (no hexadecimal, no "inf"/"nan" words); false
// otherwise or when it is not finite.
bool Number(std::string_view field, double& value) {
  if (field.empty() || field.size() > 40) return false;
  for (char c : field)
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
          c == 'e' || c == 'E'))
      return false;
  char buffer[48];
  std::memcpy(buffer, field.data(), field.size());
  buffer[field.size()] = 0;
  char* end = nullptr;
  value = std::strtod(buffer, &end);
  return end == buffer + field.size() && std::isfinite(value);
}

void Report(std::vector<ParseError>& errors, int code, std::string text, std::string_view line) {
  std::string shown(line.substr(0, 60));
  for (char& c : shown)
    if (c == 0) c = ' ';
  errors.push_back({code, text + ": " + shown});
}

}  // namespace

bool IsFlushMark(std::string_view line) { return Trim(line) == "#"; }

bool ParsePhoLine(std::string_view line, PhoneLine& phone, std::vector<ParseError>& errors) {
  if (std::memchr(line.data(), 0, line.size()) != nullptr) {
    Report(errors, MBR_ERROR_LINE, "Linha com bytes nulos", line);
    return false;
  }
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || IsFlushMark(t)) return false;
  // A comment may also follow the fields.
  if (size_t semi = t.find(';'); semi != std::string_view::npos) t = Trim(t.substr(0, semi));
  std::string_view f[kMaxFields];
  size_t fields = Fields(t, f);
  // The line's phoneme; the target list keeps its capacity.
  phone.name.assign(f[0]);
  phone.targets.clear();
  if (!IsPhonemeName(f[0])) Report(errors, MBR_ERROR_UNKNOWN_PHONEME, "Fonema desconhecido", t);

  double duration = 0;
  if (fields < 2 || !Number(f[1], duration)) {
    Report(errors, MBR_ERROR_DURATION, "Dura\xE7\xE3o ausente ou inv\xE1lida", t);
    duration = 0;
  } else if (duration < 0 || duration > MBR_MAX_DURATION_MS) {
    Report(errors, MBR_ERROR_DURATION, "Dura\xE7\xE3o fora dos limites", t);
    duration = duration < 0 ? 0 : MBR_MAX_DURATION_MS;
  }
  phone.durationMs = duration;

  size_t pairs = fields > 2 ? (fields - 2) / 2 : 0;
  if (fields > 2 && (fields - 2) % 2 != 0)
    Report(errors, MBR_ERROR_PITCH, "Par de frequ\xEAncia incompleto", t);
  if (pairs > MBR_MAX_PITCH_PAIRS) {
    Report(errors, MBR_ERROR_PITCH, "Pares de frequ\xEAncia demais", t);
    pairs = MBR_MAX_PITCH_PAIRS;
  }
  for (size_t i = 0; i < pairs; ++i) {
    double position = 0, hertz = 0;
    if (!Number(f[2 + 2 * i], position) || !Number(f[3 + 2 * i], hertz) ||
        hertz < MBR_MIN_PITCH || hertz > MBR_MAX_PITCH) {
      Report(errors, MBR_ERROR_PITCH, "Frequ\xEAncia inv\xE1lida", t);
      continue;
    }
    if (position < 0 || position > 100) {
      Report(errors, MBR_ERROR_PITCH, "Posi\xE7\xE3o fora de 0 a 100", t);
      position = position < 0 ? 0 : 100;
    }
    phone.targets.push_back({position, hertz});
  }
  return true;
}

void LineSplitter::EndLine() {
  if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
  complete_ += overlong_ ? '\1' : '\0';
  complete_ += partial_;
  complete_ += '\n';
  partial_.clear();
  overlong_ = false;
}

void LineSplitter::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    size_t end = bytes.find('\n');
    std::string_view piece = bytes.substr(0, end);
    size_t room = MBR_MAX_LINE - partial_.size();
    if (piece.size() > room) {
      overlong_ = true;
      piece = piece.substr(0, room);
    }
    partial_.append(piece);
    if (end == std::string_view::npos) break;
    EndLine();
    bytes.remove_prefix(end + 1);
  }
}

bool LineSplitter::Next(std::string& line, bool& overlong) {
  if (readAt_ >= complete_.size()) {
    complete_.clear();
    readAt_ = 0;
    return false;
  }
  size_t end = complete_.find('\n', readAt_ + 1);
  overlong = complete_[readAt_] == '\1';
  line.assign(complete_, readAt_ + 1, end - readAt_ - 1);
  readAt_ = end + 1;
  return true;
}

bool LineSplitter::TakeRest(std::string& line, bool& overlong) {
  if (partial_.empty() && !overlong_) return false;
  line.assign(partial_);
  overlong = overlong_;
  partial_.clear();
  overlong_ = false;
  return true;
}

void LineSplitter::Clear() {
  complete_.clear();
  readAt_ = 0;
  partial_.clear();
  overlong_ = false;
}

}  // namespace teluma::voice
