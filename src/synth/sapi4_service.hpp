// The desktop's speech service (speech-dispatcher, reached through libspeechd loaded at run
// time) in the place of the SAPI 4 objects: the engine enumeration, the engine of one mode, and
// the two notification sinks.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace teluma::synth {

namespace sapi4 {

// One engine mode. Mode 1 names no module and no voice: the service's default output module
// and voice, the user's own choice. The others are one voice of one output module each.
struct EngineMode {
  std::string module;
  std::string voice;
  std::string language;
};

// The notification sinks. The service calls them on its own thread, so they hold atomics only;
// the program's thread reads them in the busy test and resets them in the stop.
struct TtsNotifySink {
  std::atomic<bool> audioActive{false};
  void AudioStart() { audioActive = true; }
  void AudioStop() { audioActive = false; }
};

struct TtsBufNotifySink {
  std::atomic<int32_t> pending{0};
  std::atomic<int64_t> wordPosition{0};
  // While the count is above 0 the engine counts as a poster of the event queue, so that a
  // headless wait waits for its notifications instead of ending the program.
  void TextDataStarted();
  // Never below 0.
  void TextDataDone();
  // Forgets everything queued.
  void Reset();
};

// Mode order: the default first, then every module's voices in the service's order, with
// Brazilian Portuguese voices ahead of the rest.
void OrderModes(std::vector<EngineMode>& modes);

// Speed in words per minute (the old engines' unit) and pitch in hertz, onto the service's
// rate and pitch of -100 ... 100: 170 words per minute and 120 Hz are 0; 80 and 400 words per
// minute are -100 and 100; 60 and 240 Hz are -100 and 100; straight lines between, clamped
// beyond.
int ServiceRate(int32_t wordsPerMinute);
int ServicePitch(uint16_t hertz);

// A connection to the service.
class TtsEngine {
 public:
  // Connects to the service the desktop names; when none answers, starts one and waits for it
  // at most a second. nullptr when there is no service.
  static std::unique_ptr<TtsEngine> Connect();
  ~TtsEngine();
  TtsEngine(const TtsEngine&) = delete;
  TtsEngine& operator=(const TtsEngine&) = delete;

  // The engine enumeration: every mode, in order (mode 1 first). Empty on failure.
  std::vector<EngineMode> Modes();
  bool Select(const EngineMode& mode);
  // Feeds the sinks from the service's begin, end and cancel notifications; a wake message is
  // posted after each, and when the service goes away.
  bool Register(TtsNotifySink& notify, TtsBufNotifySink& buffer);
  void UnRegister();
  bool SpeedSet(int32_t wordsPerMinute);
  bool PitchSet(uint16_t hertz);
  // Queues a Windows-1252 text as plain text; returns at once.
  bool TextData(std::string_view text);
  // Cancels what is spoken and queued.
  bool AudioReset();
  // The service has gone away.
  bool Lost() const;

 private:
  struct Connection;
  explicit TtsEngine(std::unique_ptr<Connection> connection);
  std::unique_ptr<Connection> connection_;
};

}  // namespace sapi4

}  // namespace teluma::synth
