// SAPI 4 voices: the engine of every synthesizer kind other than 3, 5 and 54, spoken through
// the desktop's speech service. Modes are chosen by position (1 is the service's default).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace teluma::synth {

// Voice 0 or below is mode 1; a voice beyond the modes takes the last one. Speed in words per
// minute and pitch in hertz are set only when not 0. The service writes no files: a file name
// makes the open fail.
bool Sapi4Open(int32_t voice, int32_t speed, int32_t pitch, const std::string& outputFile);
// Queues the text and returns at once; texts too long for the engine's buffer go in pieces.
void Sapi4Speak(std::string_view text);
// Text still queued, or (unless queuedOnly) audio still playing.
bool Sapi4Busy(bool queuedOnly);
// Silences the engine; busy answers false at once.
void Sapi4Stop();
void Sapi4Close();

// Pieces of at most maxBytes bytes, cut at the last blank that fits (the blank itself is
// dropped), or hard when a piece has none.
std::vector<std::string_view> SpeechPieces(std::string_view text, size_t maxBytes);

}  // namespace teluma::synth
