// PCM sample formats as the wave device and the effect voice take them, and the reading of one
// frame of such sound as a signed 16-bit stereo pair.
#pragma once
#include <cstddef>
#include <cstdint>

namespace teluma::platform {

struct WaveFormat {
  int32_t rate = 11025;   // frames per second
  int16_t bits = 8;       // 8 (unsigned) or 16 (signed little-endian)
  int16_t channels = 1;   // 1 or 2

  int32_t FrameBytes() const { return channels * (bits / 8); }
  bool Playable() const {
    return (bits == 8 || bits == 16) && (channels == 1 || channels == 2) && rate >= 100 &&
           rate <= 768000;
  }
  bool operator==(const WaveFormat&) const = default;
};

struct StereoFrame {
  int32_t left = 0;
  int32_t right = 0;
};

// The frame at data (FrameBytes() bytes) as signed 16-bit left and right values.
inline StereoFrame ReadFrame(const uint8_t* data, const WaveFormat& format) {
  StereoFrame frame;
  if (format.bits == 8) {
    frame.left = (int32_t(data[0]) - 128) * 256;
    frame.right = format.channels == 2 ? (int32_t(data[1]) - 128) * 256 : frame.left;
  } else {
    frame.left = int16_t(uint16_t(data[0]) | uint16_t(data[1]) << 8);
    frame.right = format.channels == 2 ? int16_t(uint16_t(data[2]) | uint16_t(data[3]) << 8)
                                       : frame.left;
  }
  return frame;
}

// Linear-interpolating rate converter with a 32.32 fixed-point phase. It pulls source frames
// through a callable `next(StereoFrame&) -> bool` (false: nothing more for now, silence is used)
// and keeps its state between calls, so a sound split into blocks converts seamlessly.
class Resampler {
 public:
  void Configure(int32_t sourceRate, int32_t deviceRate) {
    step_ = (uint64_t(uint32_t(sourceRate)) << 32) / uint32_t(deviceRate);
  }
  // Forgets the frames seen so far (a new sound starts).
  void Restart() {
    phase_ = 0;
    primed_ = false;
    previous_ = current_ = {};
  }

  // One output frame. The source is asked for frames as the phase moves on.
  template <typename Next>
  StereoFrame Produce(Next&& next) {
    if (!primed_) {
      if (!next(current_)) current_ = {};
      previous_ = current_;
      if (!next(current_)) current_ = previous_;
      primed_ = true;
    }
    const int64_t fraction = int64_t(phase_ >> 16);  // 0 .. 65535
    StereoFrame out;
    out.left = previous_.left + int32_t(((current_.left - previous_.left) * fraction) >> 16);
    out.right = previous_.right + int32_t(((current_.right - previous_.right) * fraction) >> 16);
    uint64_t moved = uint64_t(phase_) + step_;
    while (moved >= (uint64_t(1) << 32)) {
      moved -= uint64_t(1) << 32;
      previous_ = current_;
      if (!next(current_)) current_ = {};
    }
    phase_ = uint32_t(moved);
    return out;
  }

 private:
  uint64_t step_ = uint64_t(1) << 32;
  uint32_t phase_ = 0;
  bool primed_ = false;
  StereoFrame previous_;
  StereoFrame current_;
};

}  // namespace teluma::platform
