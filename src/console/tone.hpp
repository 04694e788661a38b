// The sound image of a console tone: one second of 8-bit mono square wave at 11025 samples
// per second, played in a loop.
#pragma once
#include <cstdint>
#include <vector>

namespace teluma::console {

// 44-byte RIFF/WAVE header followed by 11025 sample bytes; the header's data length counts
// only the whole periods (see the .cpp). hz must be at least 1.
std::vector<uint8_t> BuildToneImage(uint16_t hz);

}  // namespace teluma::console
