// The outside voices in the role of the SAPI 5 engines: two modules, kind 5 and kind 54, that
// work alike and each keep a voice of their own, so the two never share state.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "synth/dispatch.hpp"

namespace teluma::synth {

// Voice number is 1-based; one out of range gives the first voice at rate 0. The pitch is
// ignored. A non-empty output file takes the speech instead of the sound output.
bool Sapi5Open(int32_t voice, int32_t speed, int32_t pitch, const std::string& outputFile);
void Sapi5Speak(std::string_view text);
bool Sapi5Busy(bool queuedOnly);
void Sapi5Stop();
void Sapi5Close();

bool Sapi54Open(int32_t voice, int32_t speed, int32_t pitch, const std::string& outputFile);
void Sapi54Speak(std::string_view text);
bool Sapi54Busy(bool queuedOnly);
void Sapi54Stop();
void Sapi54Close();

// The engine behind the current voice of kind 5 or 54 (tests): its voice's engine name and
// rate, or empty and 0 while closed.
std::string Sapi5VoiceName(int32_t kind);
int32_t Sapi5Rate(int32_t kind);

}  // namespace teluma::synth
