// The virtual sink: nothing is heard, but every block takes its nominal playing time on the
// program's clock, so busy, stop and key interruption behave as with a sound card.
#include <cmath>
#include <mutex>
#include <vector>

#include "platform/events.hpp"
#include "platform/sound/output.hpp"

namespace teluma::platform {

WaveHandle NextWaveHandle();

namespace {

class VirtualOutput : public SoundOutput {
 public:
  explicit VirtualOutput(const char* name) : name_(name) {}

  const char* Name() const override { return name_; }

  int32_t Open(WaveHandle& handle, const WaveFormat& format) override {
    if (const int32_t refused = OpenRefusal(open_, format)) return refused;
    open_ = true;
    format_ = format;
    handle_ = handle = NextWaveHandle();
    streamEndUs_ = 0;
    return kWaveOk;
  }

  int32_t Write(WaveHandle handle, WaveHeader& header) override {
    const uint32_t flags = header.flags.load();
    if (const int32_t refused = WriteRefusal(open_, handle_, handle, flags)) return refused;
    header.flags.store((flags & ~kHeaderDone) | kHeaderInQueue);

    const double frames = double(header.length / uint32_t(format_.FrameBytes()));
    const double nowUs = double(NowMs()) * 1000.0;
    streamEndUs_ = std::max(streamEndUs_, nowUs) + frames * 1e6 / format_.rate;
    const int64_t endMs = int64_t(std::ceil(streamEndUs_ / 1000.0 - 1e-6));
    Prune();
    WaveHeader* block = &header;
    const uint64_t timer = ScheduleAction(endMs, [block, handle] {
      if (MarkHeaderDone(*block)) PostMessage({MessageKind::WaveDone, handle, block->user});
    });
    pending_.push_back({block, timer});
    return kWaveOk;
  }

  int32_t Reset(WaveHandle handle) override {
    if (const int32_t refused = HandleRefusal(open_, handle_, handle)) return refused;
    for (const Pending& p : pending_) {
      CancelScheduled(p.timer);
      if (MarkHeaderDone(*p.header)) PostMessage({MessageKind::WaveDone, handle, p.header->user});
    }
    pending_.clear();
    streamEndUs_ = double(NowMs()) * 1000.0;
    return kWaveOk;
  }

  int32_t Close(WaveHandle handle) override {
    if (const int32_t refused = HandleRefusal(open_, handle_, handle)) return refused;
    Prune();
    if (!pending_.empty()) return kWaveStillPlaying;
    open_ = false;
    handle_ = 0;
    return kWaveOk;
  }

  void PlayEffect(std::unique_ptr<EffectSound>) override {}
  void StopEffect() override {}

  // Speech pieces come from an engine's thread: each ends where the one before it ended (or
  // now), and its done is called on the program thread when the clock gets there.
  void QueueSpeech(std::unique_ptr<SpeechSound> piece) override {
    std::lock_guard<std::mutex> lock(speechMutex_);
    const double nowUs = double(NowMs()) * 1000.0;
    const int32_t rate = piece->rate > 0 ? piece->rate : 22050;
    speechEndUs_ = std::max(speechEndUs_, nowUs) + double(piece->samples.size()) * 1e6 / rate;
    const int64_t endMs = int64_t(std::ceil(speechEndUs_ / 1000.0 - 1e-6));
    const uint64_t id = ++speechIds_;
    const uint64_t timer = ScheduleAction(endMs, [this, id] { FinishSpeech(id); });
    speech_.push_back({std::move(piece), id, timer});
  }

  void PurgeSpeech() override {
    std::vector<Speaking> purged;
    {
      std::lock_guard<std::mutex> lock(speechMutex_);
      purged.swap(speech_);
      for (const Speaking& s : purged) CancelScheduled(s.timer);
      speechEndUs_ = double(NowMs()) * 1000.0;
    }
    for (Speaking& s : purged)
      if (s.piece->done) s.piece->done();
  }

 private:
  struct Pending {
    WaveHeader* header;
    uint64_t timer;
  };
  struct Speaking {
    std::unique_ptr<SpeechSound> piece;
    uint64_t id;
    uint64_t timer;
  };

  void FinishSpeech(uint64_t id) {
    std::unique_ptr<SpeechSound> finished;
    {
      std::lock_guard<std::mutex> lock(speechMutex_);
      for (auto it = speech_.begin(); it != speech_.end(); ++it) {
        if (it->id != id) continue;
        finished = std::move(it->piece);
        speech_.erase(it);
        break;
      }
    }
    if (finished && finished->done) finished->done();
  }

  // Forgets blocks whose time is over.
  void Prune() {
    std::erase_if(pending_, [](const Pending& p) { return !(p.header->flags.load() & kHeaderInQueue); });
  }

  const char* name_;
  bool open_ = false;
  WaveHandle handle_ = 0;
  WaveFormat format_;
  double streamEndUs_ = 0;
  std::vector<Pending> pending_;
  std::mutex speechMutex_;
  double speechEndUs_ = 0;
  uint64_t speechIds_ = 0;
  std::vector<Speaking> speech_;
};

}  // namespace

std::unique_ptr<SoundOutput> MakeVirtualOutput(const char* name) {
  return std::make_unique<VirtualOutput>(name);
}

}  // namespace teluma::platform
