// Recorded phrases and the common waits of every speaking module: playing a key's recording, a
// character's recording or a sound image, and testing, waiting for and stopping sound. This
// layer sits below the number speaker, the synthesizers and the front end (tlwin); the outside
// synthesizer reaches it only through the connection below.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// System path of a phrase key's recording: "_" keys in the letters folder, others in the
// phrase folder, + ".wav".
std::string PhraseFile(std::string_view key);
// System path of a character's recording: letters folder (the diphone synthesizer's copy) +
// "_" + decimal code + ".wav".
std::string CharFile(uint8_t code);

// Waits for pending speech, then plays the key's recording; returns when it ended or a key cut
// it short. A missing file plays nothing; answers whether a file was handed to the device.
bool PlayPhrase(std::string_view key);
bool PhraseExists(std::string_view key);
void SpeakChar(uint8_t code);

// A waiting key stops all sound and answers false; otherwise whether sound (or the outside
// synthesizer) is still busy.
bool SpeechBusy();
void WaitSpeechDone();
void StopSpeech();
// Plays a RIFF wave image held in memory and waits for its end (or a key).
void PlayWaveImage(const uint8_t* image, size_t length);
void SetKeyInterrupts(bool on);

// Fills the 44 bytes at header with a RIFF/WAVE PCM header (block alignment always 1).
void MakeWaveHeader(uint8_t* header, uint32_t dataLength, int32_t rate, int16_t channels,
                    int16_t bits);

// The outside synthesizer as SpeechBusy and StopSpeech ask it while SynthActive(): whether it
// still speaks, and how to cut it short. The synthesizer dispatch sits above this layer; the
// front end connects it when speech starts. Until then (or with empty functions) an active
// synthesizer counts as silent and is not stopped.
struct OutsideSynthesizer {
  std::function<bool()> busy;
  std::function<void()> stop;
};
void ConnectOutsideSynthesizer(OutsideSynthesizer synthesizer);
