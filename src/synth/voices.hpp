// The outside voices: a small voice layer of ours in the role of the system's speech voice
// objects, backed by espeak-ng. A voice is chosen from the voices installed on the machine, has
// a rate from -10 to 10, speaks asynchronously on the engine's own thread into the sound
// output's speech voice (or into a wave file), and signals when everything queued has sounded.
//
// Rate: words per minute = 175 x 3^(rate / 10), rounded, clamped to espeak-ng's 80 ... 450:
// espeak-ng's default at 0, three times as fast at 10, a third as fast at -10.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/signal.hpp"

namespace teluma::synth {

namespace voices {

struct VoiceToken {
  std::string id;        // the engine's own name of the voice ("roa/pt-BR")
  std::string name;      // as the engine shows it ("Portuguese (Brazil)")
  std::string language;  // the first language it speaks ("pt-br")
};

// The installed voices: Brazilian Portuguese first, the other Portuguese voices next, then the
// rest in the engine's order. Index 0 is the first.
class VoiceTokens {
 public:
  explicit VoiceTokens(std::vector<VoiceToken> tokens) : tokens_(std::move(tokens)) {}
  int32_t Count() const { return int32_t(tokens_.size()); }
  // Null outside 0 ... Count() - 1.
  const VoiceToken* Item(int32_t index) const;

 private:
  std::vector<VoiceToken> tokens_;
};

enum SpeakFlags : uint32_t {
  kSpeakAsync = 1,              // queue and return at once
  kSpeakPurgeBeforeSpeak = 2,   // drop what is queued or sounding first
  kSpeakIsNotXML = 16,          // markup is read as text (always so here)
};

constexpr int32_t kStreamCreateForWrite = 3;

// A wave file that takes the voice's sound instead of the sound output: 16-bit mono PCM at the
// engine's rate. The header is brought up to date after every text, so a file cut short by a
// crash still plays what was written.
class FileStream {
 public:
  ~FileStream();
  // mode kStreamCreateForWrite only; the name is a system path (mapped). False when the file
  // cannot be created.
  bool Open(const std::string& fileName, int32_t mode, bool doEvents);
  void Close();
  // Engine thread. False once a write has failed (a full disk).
  bool Write(const int16_t* samples, size_t count);
  void Finish();  // the header tells the length written so far
  bool Failed() const;

 private:
  mutable std::mutex mutex_;
  std::FILE* file_ = nullptr;
  uint32_t dataBytes_ = 0;
  bool failed_ = false;
};

struct VoiceState;

class Voice {
 public:
  // Null when the engine cannot start (its data is missing).
  static std::unique_ptr<Voice> Create();
  ~Voice();  // whatever it still says is dropped
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  void SetEventInterests(int32_t interests) { eventInterests_ = interests; }
  // Attribute filters are not supported: both must be empty, else the list is empty.
  VoiceTokens GetVoices(std::string_view required, std::string_view optional) const;
  bool SetVoice(const VoiceToken& token);
  // False (the rate unchanged) outside -10 ... 10.
  bool SetRate(int32_t rate);
  int32_t Rate() const { return rate_; }
  const VoiceToken& CurrentVoice() const { return voice_; }
  // Set when everything queued has sounded (or was written to the stream).
  const platform::Signal& SpeakCompleteEvent() const;
  // Text in Windows-1252. Without kSpeakAsync, returns when it has sounded. False when the
  // text cannot be spoken (the output stream has failed).
  bool Speak(std::string_view text, uint32_t flags);
  // The stream stays the caller's; null sends speech to the sound output again.
  void SetAudioOutputStream(FileStream* stream);

 private:
  Voice();
  void Purge();

  std::shared_ptr<VoiceState> state_;
  VoiceToken voice_;
  int32_t rate_ = 0;
  int32_t eventInterests_ = 0;
};

int32_t WordsPerMinute(int32_t rate);

}  // namespace voices

}  // namespace teluma::synth
