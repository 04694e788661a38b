// The speech front end (module tlwin): speech start and end, speaking of text, characters and
// numbers, and opening pages named in text, on top of the playback layer (suite settings,
// recorded phrases, the waits), whose operations belong to the same module and come with this
// header. Spoken key and line input is the line editor's (speech/lineedit.hpp). All texts are
// Windows-1252 bytes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "playback/tlwin_playback.hpp"
#include "playback/tlwin_settings.hpp"

// Reads the "SINTETIZADOR" keys of speed step n and hands them on: diphone database name and
// timing, the wave device's shortening and fast flags, the three punctuation pauses.
void ReadSynthesizerSettings(int32_t speed);

// Sets up everything for speaking. speed < 1 takes "TRADUTOR"/"VELOCIDADE" (outside 1-5: 3).
// When the diphone synthesizer cannot start, writes the two error lines, waits for Enter and
// ends the program.
void SpeechStart(int32_t speed, std::string_view phraseFolder);

// Waits for the end of all sound, stops, closes the synthesizers.
void SpeechEnd();

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
