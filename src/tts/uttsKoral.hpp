// The Portuguese synthesis engine: opens the voice library, its database and the five rule
// files, speaks texts into the wave device or into a wave file, and closes again.
// Order of use: TtsSetOutputFile (optional), TtsOpen, TtsSetFactors, any number of TtsSpeak /
// TtsBusy / TtsStop, TtsClose.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace teluma::tts {

constexpr int32_t kTtsSampleRate = 16000;
constexpr size_t kTtsWaveHeaderBytes = 44;
constexpr size_t kTtsStagingSamples = 16000;  // one read from the library
constexpr size_t kTtsImageBytes = 32000;      // samples of one play image at most
constexpr size_t kTtsChunkBytes = 16000;      // about half a second: an image is played
constexpr size_t kTtsMinImageBytes = 256;     // a shorter last image is padded with silence

// Used when the database argument is empty and when the registry gives an empty path.
constexpr const char* kTtsDefaultDatabase = "br4";
constexpr const char* kTtsDefaultDatabaseFile = "c:\\qorbel\\koraltts\\br4";
// Where the voice databases are registered: the default value of the key named after the
// database under this key.
constexpr const char* kTtsDatabasesKey = "SOFTWARE\\TCTS\\Mbrola\\databases\\";

// Opens the engine: empty arguments take "br4", "portug.nrl", "portug.exc", "portug.abr",
// "portug.pro", "portug.dfn". False when the library, the database or a rule file cannot be
// used; TtsLastError then says why. With an output file name set, the file is created with an
// empty wave header and every text is written to it instead of being played.
bool TtsOpen(std::string database, std::string letterRules, std::string exceptions,
             std::string abbreviations, std::string prosody, std::string diphones);
// Takes effect at the next TtsOpen; empty = the sound device, "-" = standard output.
void TtsSetOutputFile(std::string_view name);
void TtsSetFactors(double durationFactor, double pitchFactor);
double TtsDurationFactor();
double TtsPitchFactor();
// Synthesizes the whole text and hands its sound to the wave device chunk by chunk (or appends
// it to the output file); returns when the last chunk is handed over. False when the library
// reported an error on some line (the rest of the text is still spoken) or a write failed.
bool TtsSpeak(std::string_view text);
// False while writing to a file; else whether the wave device still plays.
bool TtsBusy();
// Stops the wave device (nothing while writing to a file).
void TtsStop();
// Corrects the output file's header, frees the rules and the library.
void TtsClose();
// Why the last TtsOpen failed.
const std::string& TtsLastError();

// The 44-byte RIFF/WAVE header of PCM sound.
void TtsWaveHeader(uint8_t* destination, int32_t sampleRate, int16_t bitsPerSample,
                   uint32_t dataSize, int16_t channels);

}  // namespace teluma::tts
