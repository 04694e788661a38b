// The wave output device (module tlwav): wave files, wave images and sample buffers played on
// the platform's waveOut stand-in through a queue of four blocks. The device opens at the first
// sound and closes as soon as WaveBusy finds it idle; block completion arrives as WaveDone
// messages, so the device only moves on while the program pumps messages.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace teluma::wave {

// Plays a wave file (system path, mapped with platform::MapPath) and waits until the device is
// idle. 0 when played or skipped because a key waits, -1 when the file cannot be opened, is not a
// wave file or cannot be read, otherwise the device's error code.
int32_t WavePlayFile(std::string_view fileName);

// Plays the "data" chunk of a RIFF/WAVE image with the image's format; does not wait for the
// end. An image that does not begin as a wave image plays nothing.
void WavePlayImage(const uint8_t* image, size_t length);

// Queues samples in blocks (waiting only for free blocks); 0, or the device's error code.
int32_t WavePlayBuffer(const uint8_t* samples, size_t length, int32_t rate, int16_t channels,
                       int16_t bits);

// Switches the format (waiting first for the sound of another format to end) and opens the
// device; 0 or the device's error code.
int32_t WaveSetFormat(int32_t rate, int16_t bits, int16_t channels);

// Pumps messages; true while blocks are queued. Closes the device when idle, and stops the
// sound when a key waits and key interruption is on.
bool WaveBusy();

// Stops and closes the device at once.
void WaveStop();

// Key interruption (on at start), playing at 1.5 times the rate and shortening mono speech
// (both off at start).
void SetWaveKeyInterrupt(bool on);
bool WaveKeyInterrupt();
void SetWaveFast(bool on);
bool WaveFast();
void SetWaveShorten(bool on);
bool WaveShorten();

}  // namespace teluma::wave
