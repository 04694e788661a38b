// The stand-in for the system's waveOut interface: one wave output stream on the platform's
// sound output, fed with blocks. A finished block is reported by posting
// MessageKind::WaveDone (a = the stream's handle, b = the block header's user value) to the event
// queue, so blocks only come back while the program pumps messages.
//
// Program thread only. A header and its data must stay valid while the header is queued.
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/sound/pcm.hpp"

namespace platform {

// Result codes, with the values of the system's multimedia interface.
enum WaveResult : int32_t {
  kWaveOk = 0,
  kWaveError = 1,
  kWaveBadDeviceId = 2,
  kWaveAllocated = 4,       // the stream is already open
  kWaveInvalidHandle = 5,
  kWaveNoDriver = 6,
  kWaveNoMemory = 7,
  kWaveBadFormat = 32,
  kWaveStillPlaying = 33,
  kWaveUnprepared = 34,
};

// Header flag bits.
enum WaveHeaderFlags : uint32_t {
  kHeaderDone = 1,
  kHeaderPrepared = 2,
  kHeaderInQueue = 16,
};

struct WaveHeader {
  const uint8_t* data = nullptr;
  uint32_t length = 0;   // bytes; a trailing partial frame is not played
  int64_t user = 0;      // handed back as the b of the WaveDone message
  std::atomic<uint32_t> flags{0};
};

using WaveHandle = int64_t;  // 0: none

// Opens the stream with a format. kWaveAllocated while it is open, kWaveBadFormat for a
// format the output cannot play.
int32_t WaveOutOpen(WaveHandle& handle, const WaveFormat& format);
int32_t WaveOutPrepareHeader(WaveHandle handle, WaveHeader& header);
// Queues a prepared block behind the ones already queued.
int32_t WaveOutWrite(WaveHandle handle, WaveHeader& header);
// kWaveStillPlaying while the block is queued.
int32_t WaveOutUnprepareHeader(WaveHandle handle, WaveHeader& header);
// Stops at once: every queued block is marked done and its WaveDone is posted before this
// returns.
int32_t WaveOutReset(WaveHandle handle);
// kWaveStillPlaying while blocks are queued.
int32_t WaveOutClose(WaveHandle handle);

}  // namespace platform
