#include "platform/sound/mixer.hpp"

#include <algorithm>
#include <cstring>
#include <utility>

namespace teluma::platform {

namespace {
// A command is taken only while the event ring has room for everything it and one buffer's
// worth of block endings can produce.
constexpr size_t kEventReserve = Mixer::kStreamCapacity + 4;
}  // namespace

Mixer::Mixer(int32_t deviceRate) : deviceRate_(deviceRate) {}

namespace {
void FreeChain(SpeechSound* piece) {
  while (piece != nullptr) delete std::exchange(piece, piece->next);
}
}  // namespace

Mixer::~Mixer() {
  Command command;
  while (commands_.Pop(command)) {
    delete command.effect;
    delete command.speech;
  }
  Event event;
  while (events_.Pop(event)) {
    delete event.effect;
    FreeChain(event.speech);
  }
  delete effect_;
  FreeChain(speechHead_);
  FreeChain(retiredHead_);
}

bool Mixer::OpenStream(WaveHandle handle, const WaveFormat& format) {
  Command command;
  command.kind = Command::Open;
  command.handle = handle;
  command.format = format;
  return commands_.Push(command);
}

bool Mixer::QueueBlock(WaveHeader* header) {
  Command command;
  command.kind = Command::Queue;
  command.header = header;
  return commands_.Push(command);
}

bool Mixer::ResetStream(uint64_t sequence) {
  Command command;
  command.kind = Command::Reset;
  command.sequence = sequence;
  return commands_.Push(command);
}

bool Mixer::CloseStream() {
  Command command;
  command.kind = Command::Close;
  return commands_.Push(command);
}

bool Mixer::PlayEffect(std::unique_ptr<EffectSound>&& effect) {
  Command command;
  command.kind = Command::Effect;
  command.effect = effect.get();
  if (!commands_.Push(command)) return false;
  effect.release();
  return true;
}

bool Mixer::StopEffect() {
  Command command;
  command.kind = Command::StopEffect;
  return commands_.Push(command);
}

bool Mixer::QueueSpeech(std::unique_ptr<SpeechSound>&& piece) {
  Command command;
  command.kind = Command::Speech;
  command.speech = piece.get();
  if (!commands_.Push(command)) return false;
  piece.release();
  return true;
}

bool Mixer::PurgeSpeech() {
  Command command;
  command.kind = Command::PurgeSpeech;
  return commands_.Push(command);
}

void Mixer::TakeCommands() {
  Command command;
  while (events_.Free() >= kEventReserve && commands_.Pop(command)) Apply(command);
}

void Mixer::Apply(const Command& command) {
  switch (command.kind) {
    case Command::Open:
      streamOpen_ = true;
      streamHandle_ = command.handle;
      streamFormat_ = command.format;
      carryBytes_ = 0;
      streamResampler_.Configure(command.format.rate, deviceRate_);
      streamResampler_.Restart();
      break;
    case Command::Queue:
      if (blockCount_ < kStreamCapacity) {
        blocks_[(firstBlock_ + blockCount_) % kStreamCapacity] = command.header;
        ++blockCount_;
      } else if (MarkHeaderDone(*command.header)) {
        // More blocks than the stream holds: the block comes back unplayed.
        events_.Push({Event::BlockDone, streamHandle_, command.header->user, nullptr, 0});
      }
      break;
    case Command::Reset:
      FinishBlocks();
      streamResampler_.Restart();
      events_.Push({Event::ResetDone, streamHandle_, 0, nullptr, command.sequence});
      break;
    case Command::Close:
      FinishBlocks();
      streamOpen_ = false;
      break;
    case Command::Effect:
      RetireEffect();
      effect_ = command.effect;
      effectPosition_ = 0;
      effectResampler_.Configure(effect_->format.rate, deviceRate_);
      effectResampler_.Restart();
      break;
    case Command::StopEffect:
      RetireEffect();
      break;
    case Command::Speech:
      command.speech->next = nullptr;
      if (speechHead_ == nullptr) {
        speechHead_ = command.speech;
        speechPosition_ = 0;
        speechResampler_.Configure(command.speech->rate, deviceRate_);
        speechResampler_.Restart();
      } else {
        speechTail_->next = command.speech;
      }
      speechTail_ = command.speech;
      break;
    case Command::PurgeSpeech:
      RetireSpeech(speechHead_, speechTail_);
      speechHead_ = speechTail_ = nullptr;
      ReportRetiredSpeech();
      break;
  }
}

void Mixer::RetireSpeech(SpeechSound* first, SpeechSound* last) {
  if (first == nullptr) return;
  last->next = nullptr;
  if (retiredHead_ == nullptr)
    retiredHead_ = first;
  else
    retiredTail_->next = first;
  retiredTail_ = last;
}

void Mixer::ReportRetiredSpeech() {
  if (retiredHead_ == nullptr) return;
  Event event;
  event.kind = Event::SpeechRetired;
  event.speech = retiredHead_;
  if (events_.Push(event)) retiredHead_ = retiredTail_ = nullptr;
}

void Mixer::FinishBlocks() {
  for (; blockCount_ > 0; --blockCount_) {
    WaveHeader* header = blocks_[firstBlock_];
    firstBlock_ = (firstBlock_ + 1) % kStreamCapacity;
    if (MarkHeaderDone(*header)) {
      events_.Push({Event::BlockDone, streamHandle_, header->user, nullptr, 0});
    }
  }
  blockPosition_ = 0;
  carryBytes_ = 0;
}

void Mixer::RetireEffect() {
  if (effect_ == nullptr) return;
  events_.Push({Event::EffectRetired, 0, 0, effect_, 0});
  effect_ = nullptr;
}

bool Mixer::NextStreamFrame(StereoFrame& frame) {
  const size_t frameBytes = size_t(streamFormat_.FrameBytes());
  while (blockCount_ > 0) {
    WaveHeader* header = blocks_[firstBlock_];
    if (carryBytes_ == 0 && blockPosition_ + frameBytes <= header->length) {
      frame = ReadFrame(header->data + blockPosition_, streamFormat_);
      blockPosition_ += frameBytes;
      return true;
    }
    // Blocks need not hold whole frames (65534 bytes of 16-bit stereo end in half a frame):
    // a frame split over two blocks is put together, so the next block stays in step.
    if (frameBytes <= carry_.size() && blockPosition_ < header->length) {
      const size_t take =
          std::min(size_t(header->length) - blockPosition_, frameBytes - carryBytes_);
      std::memcpy(carry_.data() + carryBytes_, header->data + blockPosition_, take);
      carryBytes_ += take;
      blockPosition_ += take;
      if (carryBytes_ == frameBytes) {
        frame = ReadFrame(carry_.data(), streamFormat_);
        carryBytes_ = 0;
        return true;
      }
    }
    firstBlock_ = (firstBlock_ + 1) % kStreamCapacity;
    --blockCount_;
    blockPosition_ = 0;
    if (MarkHeaderDone(*header)) {
      events_.Push({Event::BlockDone, streamHandle_, header->user, nullptr, 0});
    }
  }
  return false;
}

bool Mixer::NextEffectFrame(StereoFrame& frame) {
  if (effect_ == nullptr) return false;
  const size_t frameBytes = size_t(effect_->format.FrameBytes());
  if (effectPosition_ + frameBytes > effect_->samples.size()) {
    if (!effect_->loop || effect_->samples.size() < frameBytes) {
      RetireEffect();
      return false;
    }
    effectPosition_ = 0;
  }
  frame = ReadFrame(effect_->samples.data() + effectPosition_, effect_->format);
  effectPosition_ += frameBytes;
  return true;
}

bool Mixer::NextSpeechFrame(StereoFrame& frame) {
  while (speechHead_ != nullptr) {
    SpeechSound* piece = speechHead_;
    if (speechPosition_ < piece->samples.size()) {
      frame.left = frame.right = piece->samples[speechPosition_++];
      return true;
    }
    speechHead_ = piece->next;
    if (speechHead_ == nullptr) speechTail_ = nullptr;
    speechPosition_ = 0;
    RetireSpeech(piece, piece);
    if (speechHead_ != nullptr && speechHead_->rate != piece->rate)
      speechResampler_.Configure(speechHead_->rate, deviceRate_);
  }
  return false;
}

void Mixer::Render(int16_t* out, size_t frames) {
  TakeCommands();
  const bool speechBefore = speechSounding_;
  speechSounding_ = speechHead_ != nullptr;
  speechStarted_ = speechSounding_ && !speechBefore;
  for (size_t i = 0; i < frames; ++i) {
    StereoFrame sum;
    if (streamOpen_) {
      const StereoFrame s = streamResampler_.Produce([this](StereoFrame& f) { return NextStreamFrame(f); });
      sum.left += s.left;
      sum.right += s.right;
    }
    if (effect_ != nullptr) {
      const StereoFrame e = effectResampler_.Produce([this](StereoFrame& f) { return NextEffectFrame(f); });
      sum.left += e.left;
      sum.right += e.right;
    }
    if (speechHead_ != nullptr) {
      const StereoFrame v = speechResampler_.Produce([this](StereoFrame& f) { return NextSpeechFrame(f); });
      sum.left += v.left;
      sum.right += v.right;
    }
    out[2 * i] = int16_t(std::clamp(sum.left, -32768, 32767));
    out[2 * i + 1] = int16_t(std::clamp(sum.right, -32768, 32767));
  }
  ReportRetiredSpeech();
  if (speechHead_ == nullptr) speechSounding_ = false;
  idle_.store(blockCount_ == 0 && effect_ == nullptr && speechHead_ == nullptr);
}

}  // namespace teluma::platform
