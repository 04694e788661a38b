// The built-in diphone synthesizer: phonetic text (from the letter-to-sound translator) is
// spoken by joining recorded units of a voice database (index ".IND" + data ".DIF") and
// recordings of the letters folder, collected in one 64,000-byte block that is played block by
// block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "playback/tlwin_settings.hpp"

// 0 ready; 1 a folder, the index or the data file cannot be opened; 2 the translator's rule or
// exception file cannot be loaded.
int DiphoneOpen();
// Frees the block, the translator's rules, the data file and the index. Safe when not open.
void DiphoneClose();
// Speaks phonetic text; returns when all its sound has been played.
void DiphoneSpeak(std::string_view phonetic, bool keepPunctuation);
// Unit cut, unit minimum and word pause, in bytes (samples).
void SetDiphoneTiming(int32_t cut, int32_t minimum, int32_t wordPause);
// The database name (at most 8 characters matter); read at open.
std::string& DiphoneDatabase();

// The letters folder read at open is DiphoneLettersFolder of the playback layer, which plays
// character recordings from this same copy.
// The diphone folder read at open, with its trailing "\".
const std::string& DiphoneFolder();
bool DiphoneIsOpen();

// How a full block is played and how the wait for room asks whether sound is still playing.
// The speech front end installs its PlayWaveImage and SpeechBusy here; without them the block
// goes to the wave device directly and the synthesizer waits while the device is busy. Empty
// functions restore that default.
using DiphoneBlockPlayer = std::function<void(const uint8_t* image, size_t length)>;
void SetDiphonePlayer(DiphoneBlockPlayer play, std::function<bool()> busy);

// What happened to one unit lookup; observed by the coverage measurement and the database tool.
enum class DiphoneUnitResult { Found, Missing, Noise, Dropped };
// depth 0 is a unit asked for by a syllable, deeper ones come from its decomposition.
using DiphoneUnitObserver =
    std::function<void(std::string_view name, int depth, DiphoneUnitResult result)>;
void SetDiphoneUnitObserver(DiphoneUnitObserver observer);

// Replaces the database lookup (tests, the database tool's inventory): answers whether a unit
// of that upper-case name would be found. While set, found units append nothing.
void SetDiphoneLookupOverride(std::function<bool(std::string_view name)> lookup);
