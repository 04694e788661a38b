// Prosody of the Portuguese front end: word keys and pitch patterns per token, durations and
// pitch targets per phoneme, and bridges where the voice lacks a diphone.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace teluma::tts {

constexpr size_t kMaxDurations = 100;
constexpr size_t kMaxWordKeys = 1000;
constexpr size_t kMaxPatternRules = 300;

// Where the prosody loader's messages go (standard error unless a program sets its own).
void SetProsodyMessageHandler(std::function<void(const std::string&)> handler);

bool LoadProsody(const std::string& fileName);
bool LoadDiphones(const std::string& fileName);
void FreeDiphones();

int PhonemeDuration(std::string_view name);
int BaseHertz();
const std::array<int, 10>& PitchTable();
size_t WordKeyCount();
size_t PatternRuleCount();
size_t DiphoneCount();
bool HasDiphone(std::string_view pair);

std::vector<std::string> TokenizeWithKeys(std::string_view text);
std::vector<std::string> AssignPitchPatterns(const std::vector<std::string>& items,
                                             bool useRules = true);
std::vector<std::string> BuildPhoLines(const std::vector<std::string>& phonemes,
                                       double durationFactor, double pitchFactor);

// The last phoneme name of the previous text, kept between texts as the engine keeps it.
void ResetPhoState();

}  // namespace teluma::tts
