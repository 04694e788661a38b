// The speech front end (module tlwin): the suite's settings file, speech start and end,
// recorded phrases, speaking of text, characters and numbers, spoken line input and opening
// pages named in text. All texts are Windows-1252 bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Spoken key and line input (FlushKeys, WaitKeySpoken, ReadLineSpoken, EditLine, ...).
#include "speech/lineedit.hpp"

// ---------------------------------------------------------------------------------------------
// Suite settings and speech start-up

// A value of the suite file TELUMA.INI (the Windows folder's copy, else the start folder's),
// with "@" expanded into the suite's program folder ("PGMTELUMA" of section "TELUMA", or the
// start folder when that is empty or itself begins with "@"). An empty section means "TELUMA".
// Empty (or defaultValue, expanded the same way) when missing.
std::string ReadSuiteSetting(std::string_view section, std::string_view key,
                             std::string_view defaultValue = {});

// A whole decimal integer with blanks around it and a "+" allowed; false for anything else.
bool ParseSuiteInteger(std::string_view text, int32_t& value);

// A whole number of TELUMA.INI as ReadSuiteSetting gives it, or fallback when the value is
// missing or not such a number.
int32_t ReadSuiteInteger(std::string_view section, std::string_view key, int32_t fallback);

// Host path of the TELUMA.INI that ReadSuiteSetting reads, in the form handed to the profile
// reader ("TELUMA.INI" when the Windows folder has it, else start folder + "\TELUMA.INI").
std::string SuiteSettingsFile();

// A whole number of TELUMA.INI as ReadSuiteInteger gives it, brought into low ... high (a value
// outside takes the nearer end).
int32_t ReadSuiteIntegerInRange(std::string_view section, std::string_view key, int32_t fallback,
                                int32_t low, int32_t high);

// Ranges of the timing settings of "SINTETIZADOR", so that a slip of the hand cannot put days
// of silence between words: the punctuation pauses ("PAUSAPONTO", "PAUSAVIRG",
// "PAUSADOISPONTOS") in milliseconds, the word pause ("INTERPAL", 10 s) and the unit cut and
// minimum ("CORTEFON", "SOBRAFON", at most a whole sound block) in samples. All start at 0.
inline constexpr int32_t kMaxPauseMs = 10000;
inline constexpr int32_t kMaxWordPauseSamples = 110250;
inline constexpr int32_t kMaxUnitSamples = 63956;

// The diphone synthesizer's timing of speed step n ("CORTEFON", "SOBRAFON", "INTERPAL" + n,
// 0 when missing or not a number), each within its range, for SetDiphoneTiming.
struct DiphoneTimingSettings {
  int32_t cut = 0;
  int32_t minimum = 0;
  int32_t wordPause = 0;
};
DiphoneTimingSettings ReadDiphoneTiming(int32_t speed);

// Reads the "SINTETIZADOR" keys of speed step n and hands them on: diphone database name and
// timing, the wave device's shortening and fast flags, the three punctuation pauses.
void ReadSynthesizerSettings(int32_t speed);

// A plain Portuguese sentence (Windows-1252) saying which settings file was looked for and
// where: where it was read from, or that it is missing or cannot be read.
std::string SuiteSettingsReport();

// Sets up everything for speaking. speed < 1 takes "TRADUTOR"/"VELOCIDADE" (outside 1-5: 3).
// When the diphone synthesizer cannot start, writes the two error lines, waits for Enter and
// ends the program.
void SpeechStart(int32_t speed, std::string_view phraseFolder);

// Waits for the end of all sound, stops, closes the synthesizers.
void SpeechEnd();

// Front-end state (readable and writable, as the system's module variables).
const std::string& StartFolder();   // host folder the program started in, no trailing slash
std::string& PhraseFolder();        // the program's own recordings, ends in "\" once set
std::string& LettersFolder();       // the suite's shared recordings, ends in "\"
int32_t& SpeechSpeed();             // speed step 1-5 chosen at start
int32_t& PausePeriod();             // ms, ". "
int32_t& PauseComma();              // ms, ", "
int32_t& PauseColon();              // ms, ":", ";", "(", ")"
bool& SynthActive();                // an outside synthesizer is open and speaks text
std::string& SynthOutputFile();     // handed to SynthOpen (always empty)
bool& EchoTyping();                 // the line editor speaks typed characters
bool& SayPunctuation();             // punctuation is spoken as well as paused on
bool& SpeechPending();              // text went to the synthesizer and may still sound

// ---------------------------------------------------------------------------------------------
// Recorded phrases

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

// ---------------------------------------------------------------------------------------------
// Speaking text, characters and numbers

void SpeakText(std::string_view text);
void SpeakPunctuation(std::string_view text);
void SpeakWrite(std::string_view text);
void SpeakWriteLn(std::string_view text = {});
void SpeakNumber(int32_t number);
void SpellText(std::string_view text);
void ShortClick();
void ShortBeep();
// "a"-"z" to "A"-"Z"; codes above 223 lowered by 32; everything else unchanged.
std::string UpperText(std::string_view text);
// Fills the 44 bytes at header with a RIFF/WAVE PCM header (block alignment always 1).
void MakeWaveHeader(uint8_t* header, uint32_t dataLength, int32_t rate, int16_t channels,
                    int16_t bits);

// The run-by-run walk of SpeakText over an abstract set of actions, so that it can be driven
// without sound. SpeakText (without outside synthesizer) is SpeakRuns with the real actions.
struct SpeakActions {
  std::function<bool()> keyWaiting;
  std::function<bool()> stopped;                        // the stop flag of StopSpeech
  std::function<void()> stop;                           // StopSpeech
  std::function<void(std::string_view)> phrase;         // PlayPhrase
  std::function<void(std::string_view)> spell;          // SpellText
  std::function<void(int32_t)> number;                  // number words, recorded
  std::function<void(std::string_view)> words;          // translator + diphone synthesizer
  std::function<void(std::string_view)> punctuation;    // SpeakPunctuation (rest of text)
  std::function<void(uint8_t)> character;               // SpeakChar
  std::function<void()> click;                          // ShortClick
};
void SpeakRuns(std::string_view text, const SpeakActions& actions);

// ---------------------------------------------------------------------------------------------
// Opening a page, file or program

// What OpenHelpPage starts for a target: the program (system path or command) and its
// parameters (empty for none).
struct HelpLaunch {
  std::string program;
  std::string parameters;
};
HelpLaunch ChooseHelpProgram(std::string_view target, std::string_view workingFolder);

// Opens a web address, document or program named by target (at most 255 characters).
void OpenHelpPage(std::string_view target);
