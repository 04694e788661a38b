// The suite's settings file TELUMA.INI and the front end's module variables: the folders of
// recordings, the speed step and pauses, and the flags every speaking module reads. Part of the
// playback layer, so that numbers, synthesizers and the front end above read the same values.
// All texts are Windows-1252 bytes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

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

// A plain Portuguese sentence (Windows-1252) saying which settings file was looked for and
// where: where it was read from, or that it is missing or cannot be read.
std::string SuiteSettingsReport();

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

// The letters folder as the diphone synthesizer read it at its start, with its trailing "\"
// ("c:\qorbel\som\letras\" by default; empty before the first start). The synthesizer keeps it
// here because character recordings are played from this same copy.
std::string& DiphoneLettersFolder();
