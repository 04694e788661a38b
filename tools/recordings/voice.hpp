// Portuguese speech from espeak-ng's Brazilian voice, rendered into memory.
#pragma once
#include <string>

#include "sound.hpp"

namespace teluma::tools::recordings {

// Opens the voice once; false (with a message on stderr) when espeak-ng cannot start.
bool OpenVoice();

// Renders a UTF-8 text, trimmed of silence at both ends.
Sound Say(const std::string& utf8Text);

}  // namespace teluma::tools::recordings
