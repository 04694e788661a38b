#include "platform/sound/wave_out.hpp"

#include "platform/sound/output.hpp"

namespace platform {

int32_t WaveOutOpen(WaveHandle& handle, const WaveFormat& format) {
  return Output().Open(handle, format);
}

int32_t WaveOutPrepareHeader(WaveHandle handle, WaveHeader& header) {
  if (handle == 0) return kWaveInvalidHandle;
  if (header.data == nullptr) return kWaveError;
  header.flags.fetch_or(kHeaderPrepared);
  return kWaveOk;
}

int32_t WaveOutWrite(WaveHandle handle, WaveHeader& header) {
  return Output().Write(handle, header);
}

int32_t WaveOutUnprepareHeader(WaveHandle handle, WaveHeader& header) {
  if (handle == 0) return kWaveInvalidHandle;
  if (header.flags.load() & kHeaderInQueue) return kWaveStillPlaying;
  header.flags.fetch_and(~uint32_t(kHeaderPrepared));
  return kWaveOk;
}

int32_t WaveOutReset(WaveHandle handle) { return Output().Reset(handle); }

int32_t WaveOutClose(WaveHandle handle) { return Output().Close(handle); }

}  // namespace platform
