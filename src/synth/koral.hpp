// The Koral engine of the dispatch (kind 3): finds the voice database and the five rule files of
// the Portuguese front end from section "KORALTTS" of TELUMA.INI and the registry, opens the
// engine with them and turns its synchronous speaking into speak, busy and stop.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace teluma::synth {

// Where the engine's files are, as read from the settings.
struct KoralSettings {
  std::string database;
  std::string folder;  // ends in "\"
  std::string letterRules, exceptions, abbreviations, prosody, definitions;
};

// Reads "MBROLA_DB", "DIR" and "BASE" of section "KORALTTS"; an empty folder is taken from the
// registry entry of the database "BR4" (without the file name), else "\qorbel\koraltts\".
void KoralReadSettings();
const KoralSettings& KoralCurrentSettings();

// Voice is ignored; speed and pitch become the engine's duration factor 0.8 - speed / 15 and
// pitch factor (pitch + 11) / 11. An empty file name speaks through the sound device.
bool KoralOpen(int32_t voice, int32_t speed, int32_t pitch, const std::string& outputFile);
void KoralSpeak(std::string_view text);
// Whether the sound still plays; a waiting key stops it and answers false.
bool KoralBusy(bool queuedOnly = false);
void KoralStop();
// Waits until the sound has ended (in 500 ms steps), stops and closes the engine.
void KoralClose();

}  // namespace teluma::synth
