// Inside the outside voices: the state a voice shares with the engine's thread, and the engine
// (espeak-ng, which is one per process) that renders the voices' texts one after the other.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/signal.hpp"
#include "synth/voices.hpp"

namespace teluma::synth {

namespace voices {

struct VoiceState {
  // Held while a rendered piece is checked and handed on, and while a purge moves the
  // generation on, so that no piece of purged text reaches the output after the purge.
  std::mutex delivery;
  std::atomic<uint64_t> generation{0};
  FileStream* stream = nullptr;  // under delivery

  // Texts not yet rendered and pieces not yet sounded; complete is set when both are none.
  void JobQueued();
  void JobDone();
  void PieceQueued();
  void PieceDone();
  int Pieces();
  platform::Signal complete;

 private:
  std::mutex counts_;
  int jobs_ = 0;
  int pieces_ = 0;
};

struct Job {
  std::shared_ptr<VoiceState> state;
  uint64_t generation = 0;
  std::string utf8;
  std::string voiceId;
  int32_t wordsPerMinute = 175;
};

namespace engine {

// Starts the engine once; false while its data cannot be loaded.
bool Start();
int32_t SampleRate();
// In the engine's order, without the voices that need another synthesizer installed.
std::vector<VoiceToken> Installed();
// Queues a text behind the ones still rendering. The caller has counted the job and the
// rendering (platform::BeginOutsideRendering); the engine ends both when the text is rendered or
// dropped.
void Submit(Job job);

}  // namespace engine
}  // namespace voices

}  // namespace teluma::synth
