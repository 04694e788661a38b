// The platform's sound output. Two voices are mixed: the wave device's stream (used by tlwav
// through the waveOut stand-in, see wave_out.hpp) and the effect voice, which stands in for the
// system's sndPlaySoundA: asynchronous, a new sound cuts off the one still playing, a looped
// sound plays until another sound or StopEffect.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Starts a RIFF/WAVE image on the effect voice (the image is copied). False when it is not a
// playable wave image; the previous effect is stopped in any case.
bool PlayEffectImage(const std::vector<uint8_t>& image, bool loop);

// Starts a wave file (host path) on the effect voice; a name without an extension is also
// looked for with ".wav" added. A missing or unreadable file plays nothing and gives false.
bool PlayEffectFile(const std::string& hostPath);

// Stops whatever the effect voice plays.
void StopEffect();

}  // namespace platform
