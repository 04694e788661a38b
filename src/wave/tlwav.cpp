#include "wave/tlwav.hpp"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console/TlCrt.hpp"
#include "platform/events.hpp"
#include "platform/paths.hpp"
#include "platform/sound/wave_out.hpp"
#include "platform/transcript.hpp"
#include "wave/tlwav_parts.hpp"

using namespace teluma::console;

namespace teluma::wave {

namespace {

struct WaveDevice {
  platform::WaveHandle handle = 0;  // 0 while closed
  platform::WaveFormat format{0, 0, 0};
  // The pool: blocks 1 to 4 (index 0 to 3), allocated once.
  std::array<std::array<uint8_t, kWaveBlockBytes>, kWaveMaxQueued> blocks{};
  std::array<platform::WaveHeader, kWaveMaxQueued> headers{};
  int32_t queued = 0;
  int lastBlock = 0;
  std::vector<uint8_t> fileBuffer = std::vector<uint8_t>(kWaveBlockBytes);
  std::vector<uint8_t> shortenBuffer = std::vector<uint8_t>(kWaveBlockBytes);
  bool keyInterrupt = true;
  bool fast = false;
  bool shorten = false;
};

WaveDevice& Device() {
  static WaveDevice* device = new WaveDevice;  // outlives the exit procedures that may stop it
  return *device;
}

bool KeyCutsSound() { return Device().keyInterrupt && KeyWaiting(); }

const char* UnprepareErrorText(int32_t code) {
  switch (code) {
    case platform::kWaveInvalidHandle: return "Specified device handle is invalid.";
    case platform::kWaveNoDriver: return "No device driver is present.";
    case platform::kWaveNoMemory: return "Unable to allocate or lock memory.";
    case platform::kWaveStillPlaying:
      return "The data block pointed to by the pwh parameter is still in queue";
    default: return nullptr;
  }
}

void BlockDone(int64_t device, int64_t block) {
  WaveDevice& d = Device();
  if (block < 1 || block > kWaveMaxQueued) return;
  const int32_t result = platform::WaveOutUnprepareHeader(device, d.headers[size_t(block - 1)]);
  if (result != platform::kWaveOk) {
    if (const char* text = UnprepareErrorText(result)) Write(text);
    ReadLn();
  }
  if (d.queued > 0) --d.queued;
}

int32_t WaveOpen() {
  WaveDevice& d = Device();
  if (d.handle != 0) return platform::kWaveOk;
  SetWaveDoneHandler(BlockDone);
  platform::WaveHandle handle = 0;
  int32_t result = platform::WaveOutOpen(handle, d.format);
  for (int attempt = 1; result == platform::kWaveAllocated && attempt < 100; ++attempt) {
    Pause(100);
    result = platform::WaveOutOpen(handle, d.format);
  }
  if (result == platform::kWaveOk) d.handle = handle;
  return result;
}

bool WaveWriteBlock(const uint8_t* data, size_t length) {
  WaveDevice& d = Device();
  for (int wait = 0; d.queued >= kWaveMaxQueued && wait < 40; ++wait) {
    PumpAllMessages();
    Pause(50);
  }
  if (d.queued >= kWaveMaxQueued) return false;
  ++d.queued;
  d.lastBlock = d.lastBlock % kWaveMaxQueued + 1;
  const size_t index = size_t(d.lastBlock - 1);
  platform::WaveHeader& header = d.headers[index];
  header.data = d.blocks[index].data();
  header.length = FillWaveBlock(d.blocks[index].data(), data, length, d.format);
  header.user = d.lastBlock;
  header.flags.store(0);
  // A block the device refused never comes back: it is not counted.
  if (platform::WaveOutPrepareHeader(d.handle, header) != platform::kWaveOk) {
    --d.queued;
    return false;
  }
  if (platform::WaveOutWrite(d.handle, header) != platform::kWaveOk) {
    platform::WaveOutUnprepareHeader(d.handle, header);
    --d.queued;
    return false;
  }
  return true;
}

void WaitWhileBusy() {
  while (WaveBusy()) platform::WaitMessage();
}

}  // namespace

void SetWaveKeyInterrupt(bool on) { Device().keyInterrupt = on; }
bool WaveKeyInterrupt() { return Device().keyInterrupt; }
void SetWaveFast(bool on) { Device().fast = on; }
bool WaveFast() { return Device().fast; }
void SetWaveShorten(bool on) { Device().shorten = on; }
bool WaveShorten() { return Device().shorten; }

int32_t WaveSetFormat(int32_t rate, int16_t bits, int16_t channels) {
  WaveDevice& d = Device();
  if (rate != d.format.rate || bits != d.format.bits || channels != d.format.channels) {
    // Sound of the old format plays out first (WaveBusy closes the device when it is idle).
    WaitWhileBusy();
  }
  d.format = {rate, bits, channels};
  return WaveOpen();
}

int32_t WavePlayBuffer(const uint8_t* samples, size_t length, int32_t rate, int16_t channels,
                       int16_t bits) {
  WaveDevice& d = Device();
  if (d.fast) rate = int32_t(std::lround(rate * 1.5));
  const bool shortening = d.shorten && channels == 1;
  const int16_t deviceBits = shortening && bits == 16 ? int16_t(8) : bits;
  const int32_t result = WaveSetFormat(rate, deviceBits, channels);
  if (result != platform::kWaveOk) return result;

  size_t done = 0;
  while (done < length) {
    while (d.queued >= kWaveMaxQueued) {
      if (KeyCutsSound()) {
        WaveStop();
        return 0;
      }
      Pause(10);
    }
    if (KeyCutsSound()) {
      WaveStop();
      break;
    }
    const size_t portion = std::min(length - done, kWaveBlockBytes);
    if (shortening) {
      // The caller's samples stay untouched: the portion is shortened in a copy.
      std::memcpy(d.shortenBuffer.data(), samples + done, portion);
      const size_t shortened = ShortenSpeech(d.shortenBuffer.data(), portion, bits, rate);
      WaveWriteBlock(d.shortenBuffer.data(), shortened);
    } else {
      WaveWriteBlock(samples + done, portion);
    }
    done += portion;
  }
  return 0;
}

bool WaveBusy() {
  WaveDevice& d = Device();
  PumpAllMessages();
  if (KeyCutsSound() || d.queued == 0) WaveStop();
  return d.queued > 0;
}

void WaveStop() {
  WaveDevice& d = Device();
  if (d.handle == 0) return;
  if (d.queued > 0) platform::WaveOutReset(d.handle);
  PumpAllMessages();
  if (platform::WaveOutClose(d.handle) != platform::kWaveOk) {
    // Blocks still out (done messages not yet handled): take them back and close again.
    platform::WaveOutReset(d.handle);
    PumpAllMessages();
    platform::WaveOutClose(d.handle);
  }
  PumpAllMessages();
  d.handle = 0;
}

int32_t WavePlayFile(std::string_view fileName) {
  WaveDevice& d = Device();
  if (KeyCutsSound()) return 0;
  platform::Transcript::Get().Event("PLAY", fileName);
  std::FILE* file = std::fopen(platform::MapPath(fileName).c_str(), "rb");
  if (file == nullptr) return -1;

  int32_t result = -1;
  WaveFileHead head;
  if (ReadWaveFileHead(file, d.fileBuffer.data(), d.fileBuffer.size(), head)) {
    uint64_t remaining = head.dataLength;
    result = 0;
    while (remaining > 0) {
      const size_t wanted = WaveFilePortion(remaining);
      const size_t got = std::fread(d.fileBuffer.data(), 1, wanted, file);
      if (got == 0) {
        result = -1;
        break;
      }
      const int32_t played =
          WavePlayBuffer(d.fileBuffer.data(), got, head.rate, head.channels, head.bits);
      if (played != 0) {
        result = played;
        break;
      }
      if (KeyCutsSound()) break;
      remaining -= got;
    }
  }
  std::fclose(file);
  WaitWhileBusy();
  return result;
}

void WavePlayImage(const uint8_t* image, size_t length) {
  WaveImageSamples samples;
  if (!FindImageSamples(image, length, samples)) return;
  platform::Transcript::Get().Event(
      "IMAGE", std::to_string(samples.length) + " " + std::to_string(samples.rate) + " " +
                   std::to_string(samples.bits) + " " + std::to_string(samples.channels));
  WavePlayBuffer(image + samples.offset, samples.length, samples.rate, samples.channels,
                 samples.bits);
}

}  // namespace teluma::wave
