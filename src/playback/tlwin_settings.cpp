// TELUMA.INI: where it lives, reading a value with the "@" expansion, and the front end's
// module variables.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/cp1252.hpp"
#include "platform/paths.hpp"
#include "platform/profile.hpp"
#include "playback/tlwin_settings.hpp"

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

// Whether a byte of the file can be read (an empty file counts as readable).
bool Readable(const std::string& hostPath) {
  std::FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  char byte;
  bool ok = std::fread(&byte, 1, 1, f) == 1 || !std::ferror(f);
  std::fclose(f);
  return ok;
}

// Host paths are UTF-8; the console's text is Windows-1252.
std::string Shown(const std::string& hostPath) { return platform::Utf8ToCp1252(hostPath); }

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

std::string SuiteSettingsReport() {
  const std::string windowsDir = platform::WindowsDir();
  const std::string inWindows = platform::ProfilePath(kSuiteFile);
  const std::string inStart = platform::ProfilePath(StartFolder() + "\\" + kSuiteFile);
  if (platform::FileExists(inWindows)) {
    if (Readable(inWindows)) return "Arquivo de configura\xE7\xE3o usado: " + Shown(inWindows) + ".";
    return "N\xE3o foi poss\xEDvel ler o arquivo de configura\xE7\xE3o " + Shown(inWindows) + ".";
  }
  const std::string notInWindows = " (n\xE3o h\xE1 " + std::string(kSuiteFile) + " em " +
                                   Shown(windowsDir) + ").";
  if (platform::FileExists(inStart)) {
    if (Readable(inStart))
      return "Arquivo de configura\xE7\xE3o usado: " + Shown(inStart) + notInWindows;
    return "N\xE3o foi poss\xEDvel ler o arquivo de configura\xE7\xE3o " + Shown(inStart) +
           notInWindows;
  }
  return "O arquivo de configura\xE7\xE3o " + std::string(kSuiteFile) +
         " n\xE3o foi encontrado: procurado em " + Shown(windowsDir) + " e em " +
         Shown(StartFolder()) + ".";
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

int32_t ReadSuiteIntegerInRange(std::string_view section, std::string_view key, int32_t fallback,
                                int32_t low, int32_t high) {
  return std::clamp(ReadSuiteInteger(section, key, fallback), low, high);
}

DiphoneTimingSettings ReadDiphoneTiming(int32_t speed) {
  const std::string n = std::to_string(speed).substr(0, 2);
  const char* section = "SINTETIZADOR";
  DiphoneTimingSettings timing;
  timing.cut = ReadSuiteIntegerInRange(section, "CORTEFON" + n, 0, 0, kMaxUnitSamples);
  timing.minimum = ReadSuiteIntegerInRange(section, "SOBRAFON" + n, 0, 0, kMaxUnitSamples);
  timing.wordPause = ReadSuiteIntegerInRange(section, "INTERPAL" + n, 0, 0, kMaxWordPauseSamples);
  return timing;
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

std::string& DiphoneLettersFolder() {
  static std::string folder;
  return folder;
}

namespace {
// The start folder is taken before anything can change the current folder.
[[maybe_unused]] const bool kStartFolderTaken = !StartFolder().empty();
}  // namespace
