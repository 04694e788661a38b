// The game's sounds without words, made by our own synthesis: chime, rocket, explosion,
// landing, leak hiss, clog clunk, applause, fireworks, alarm, two marker tones, three burns.
#pragma once
#include <string>
#include <vector>

#include "sound.hpp"

namespace teluma::tools::recordings {

struct Effect {
  std::string file;         // file name in the game's sound folder
  std::string description;  // what a listener should recognise
  Sound sound;
};

// Every effect, deterministically (the same bytes on every build).
std::vector<Effect> MakeEffects();

}  // namespace teluma::tools::recordings
