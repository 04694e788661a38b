#include "platform/sound/mixer.hpp"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {
// A command is taken only while the event ring has room for everything it and one buffer's
// worth of block endings can produce.
constexpr size_t kEventReserve = Mixer::kStreamCapacity + 4;
}  // namespace

Mixer::Mixer(int32_t deviceRate) : deviceRate_(deviceRate) {}

Mixer::~Mixer() {
  Command command;
  while (commands_.Pop(command)) delete command.effect;
  Event event;
  while (events_.Pop(event)) delete event.effect;
  delete effect_;
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

bool Mixer::PlayEffect(std::unique_ptr<EffectSound> effect) {
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
  }
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

void Mixer::Render(int16_t* out, size_t frames) {
  TakeCommands();
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
    out[2 * i] = int16_t(std::clamp(sum.left, -32768, 32767));
    out[2 * i + 1] = int16_t(std::clamp(sum.right, -32768, 32767));
  }
  idle_.store(blockCount_ == 0 && effect_ == nullptr);
}

}  // namespace platform
