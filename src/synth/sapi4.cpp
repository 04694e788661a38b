#include "synth/sapi4.hpp"

#include <unistd.h>

#include <algorithm>
#include <memory>

#include "console/TlCrt.hpp"
#include "wave/tlwav.hpp"
#include "synth/sapi4_service.hpp"

using namespace teluma::console;
using namespace teluma::wave;

namespace teluma::synth {

namespace {

// The engine's text buffer, terminating NUL included.
constexpr size_t kTextBufferSize = 64000;

struct Sapi4State {
  std::string outputFile;
  bool toFile = false;
  std::unique_ptr<sapi4::TtsEngine> engine;
  // The sinks outlive every engine: the service's thread may still be on its way into one
  // while the engine is being released.
  sapi4::TtsNotifySink notifySink;
  sapi4::TtsBufNotifySink bufSink;
};

Sapi4State& State() {
  static Sapi4State state;
  return state;
}

// The engine may change the current folder; it is put back on every way out of the open.
class CurrentFolderKept {
 public:
  CurrentFolderKept() {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer)) folder_ = buffer;
  }
  ~CurrentFolderKept() {
    if (!folder_.empty()) (void)!chdir(folder_.c_str());
  }

 private:
  std::string folder_;
};

bool IsBlankOrControl(char c) {
  auto u = static_cast<unsigned char>(c);
  return u <= ' ' || u == 0x7F;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

// The mode at a 1-based position; a position beyond the modes takes the last. Mode 1 needs no
// look at the service's list.
bool ChooseMode(int32_t voice, sapi4::EngineMode& mode) {
  if (voice == 1) return true;
  auto enumerator = sapi4::TtsEngine::Connect();
  if (!enumerator) return false;
  std::vector<sapi4::EngineMode> modes = enumerator->Modes();
  if (modes.empty()) return false;
  mode =
      modes[static_cast<size_t>(std::min<int64_t>(voice, static_cast<int64_t>(modes.size())) - 1)];
  return true;
}

}  // namespace

std::vector<std::string_view> SpeechPieces(std::string_view text, size_t maxBytes) {
  std::vector<std::string_view> pieces;
  while (text.size() > maxBytes) {
    size_t cut = maxBytes;
    while (cut > 0 && !IsBlankOrControl(text[cut])) --cut;
    if (cut == 0) {
      pieces.push_back(text.substr(0, maxBytes));
      text = Trimmed(text.substr(maxBytes));
      continue;
    }
    if (std::string_view piece = Trimmed(text.substr(0, cut)); !piece.empty())
      pieces.push_back(piece);
    text = Trimmed(text.substr(cut));
  }
  if (!text.empty()) pieces.push_back(text);
  return pieces;
}

bool Sapi4Open(int32_t voice, int32_t speed, int32_t pitch, const std::string& outputFile) {
  Sapi4Close();
  Sapi4State& s = State();
  s.outputFile = outputFile;
  s.toFile = !outputFile.empty();
  // A negative voice enumerates no mode at all; it is taken as the first, like 0.
  if (voice <= 0) voice = 1;
  CurrentFolderKept folder;
  if (s.toFile) return false;  // the service speaks only to the sound device

  sapi4::EngineMode mode;
  if (!ChooseMode(voice, mode)) return false;
  auto engine = sapi4::TtsEngine::Connect();
  if (!engine || !engine->Select(mode)) return false;

  s.notifySink.AudioStop();
  s.bufSink.Reset();
  if (!engine->Register(s.notifySink, s.bufSink)) return false;
  if (speed != 0) engine->SpeedSet(speed);
  if (pitch != 0) engine->PitchSet(static_cast<uint16_t>(pitch));
  s.engine = std::move(engine);
  return true;
}

void Sapi4Speak(std::string_view text) {
  text = Trimmed(text);
  if (text.empty()) return;
  std::string spoken(text);
  if (spoken.size() == 1 && spoken[0] >= '0' && spoken[0] <= '9') spoken += '.';
  Sapi4State& s = State();
  if (!s.engine || (WaveKeyInterrupt() && KeyWaiting())) return;
  // A text longer than the buffer goes in pieces, cut at blanks, instead of overrunning it.
  for (std::string_view piece : SpeechPieces(spoken, kTextBufferSize - 1)) {
    if (s.bufSink.pending > 0) Pause(20);
    if (!s.engine || !s.engine->TextData(piece)) {
      Sapi4Stop();
      return;
    }
  }
}

bool Sapi4Busy(bool queuedOnly) {
  Sapi4State& s = State();
  if (s.engine && s.engine->Lost()) {
    // The service went away: nothing it had will ever end by itself.
    s.notifySink.AudioStop();
    s.bufSink.Reset();
  }
  return s.bufSink.pending > 0 || (!queuedOnly && s.notifySink.audioActive);
}

void Sapi4Stop() {
  Sapi4State& s = State();
  bool audio = s.notifySink.audioActive;
  // Text still queued is cancelled too, or it would start speaking after the stop.
  if (s.engine && (audio || s.bufSink.pending > 0)) {
    if (audio) Pause(50);
    s.engine->AudioReset();
    if (audio) Pause(150);
  }
  s.notifySink.AudioStop();
  s.bufSink.Reset();
}

void Sapi4Close() {
  Sapi4State& s = State();
  if (s.engine) {
    s.engine->UnRegister();
    s.engine.reset();
  }
  s.notifySink.AudioStop();
  s.bufSink.Reset();
}

}  // namespace teluma::synth
