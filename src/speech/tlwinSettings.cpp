// TELUMA.INI: where it lives, reading a value with the "@" expansion, and the front end's
// module variables.
#include <charconv>
#include <cstdlib>
#include <string>

#include "platform/paths.hpp"
#include "platform/profile.hpp"
#include "speech/tlwin.hpp"

namespace {

constexpr size_t kValueSize = 256;  // the system's 255-character value buffer
constexpr const char* kSuiteFile = "TELUMA.INI";
// A program folder that itself holds "@\" expands again on every pass; stop after this many.
constexpr int kMaxExpansions = 8;

std::string StartFolderValue() {
  std::string s = platform::StartDir();
  while (s.size() > 1 && (s.back() == '/' || s.back() == '\\')) s.pop_back();
  return s;
}

// The suite's program folder, for the "@" expansion.
std::string ProgramFolder(const std::string& file) {
  std::string prog = platform::GetPrivateProfileString("TELUMA", "PGMTELUMA", "", kValueSize, file);
  if (prog.empty() || prog.front() == '@') return StartFolder();
  return prog;
}

}  // namespace

const std::string& StartFolder() {
  static const std::string start = StartFolderValue();
  return start;
}

std::string SuiteSettingsFile() {
  std::string inWindows = platform::ProfilePath(kSuiteFile);
  if (platform::FileExists(inWindows)) return kSuiteFile;
  return StartFolder() + "\\" + kSuiteFile;
}

std::string ReadSuiteSetting(std::string_view section, std::string_view key,
                             std::string_view defaultValue) {
  const std::string file = SuiteSettingsFile();
  if (section.empty()) section = "TELUMA";
  std::string value =
      platform::GetPrivateProfileString(section, key, defaultValue, kValueSize, file);
  for (int pass = 0; pass < kMaxExpansions && !value.empty(); ++pass) {
    if (value.front() == '@') {
      value = ProgramFolder(file) + value.substr(1);
      continue;
    }
    size_t at = value.find("@\\");
    if (at == std::string::npos) break;
    value = value.substr(0, at) + ProgramFolder(file) + value.substr(at + 1);
  }
  return value;
}

bool ParseSuiteInteger(std::string_view text, int32_t& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

int32_t ReadSuiteInteger(std::string_view section, std::string_view key, int32_t fallback) {
  int32_t value = 0;
  return ParseSuiteInteger(ReadSuiteSetting(section, key), value) ? value : fallback;
}

std::string& PhraseFolder() {
  static std::string folder;
  return folder;
}

std::string& LettersFolder() {
  static std::string folder = "c:\\qorbel\\som\\letras\\";
  return folder;
}

int32_t& SpeechSpeed() {
  static int32_t speed = 3;
  return speed;
}

int32_t& PausePeriod() {
  static int32_t ms = 250;
  return ms;
}

int32_t& PauseComma() {
  static int32_t ms = 150;
  return ms;
}

int32_t& PauseColon() {
  static int32_t ms = 200;
  return ms;
}

bool& SynthActive() {
  static bool active = false;
  return active;
}

std::string& SynthOutputFile() {
  static std::string file;
  return file;
}

bool& EchoTyping() {
  static bool echo = true;
  return echo;
}

bool& SayPunctuation() {
  static bool say = true;
  return say;
}

bool& SpeechPending() {
  static bool pending = true;
  return pending;
}

namespace {
// The start folder is taken before anything can change the current folder.
[[maybe_unused]] const bool kStartFolderTaken = !StartFolder().empty();
}  // namespace
