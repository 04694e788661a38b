#include "synth/koral.hpp"

#include "console/TlCrt.hpp"
#include "platform/events.hpp"
#include "playback/tlwin_settings.hpp"
#include "tts/minireg.hpp"
#include "tts/uttsKoral.hpp"

namespace {

constexpr const char* kSection = "KORALTTS";
constexpr const char* kDatabaseEntry = "SOFTWARE\\TCTS\\Mbrola\\databases\\BR4\\";
constexpr const char* kDefaultFolder = "\\qorbel\\koraltts\\";
// The registry names the database file itself, whose name is these three letters.
constexpr size_t kDatabaseFileNameLength = 3;

KoralSettings& Settings() {
  static KoralSettings settings;
  return settings;
}

bool& SettingsRead() {
  static bool read = false;
  return read;
}

std::string Setting(const char* key, const char* fallback) {
  std::string value = ReadSuiteSetting(kSection, key);
  return value.empty() ? fallback : value;
}

std::string RegisteredFolder() {
  std::string file;
  if (ReadRegistryString(kHkeyLocalMachine, kDatabaseEntry, file) &&
      file.size() > kDatabaseFileNameLength)
    return file.substr(0, file.size() - kDatabaseFileNameLength);
  return kDefaultFolder;
}

// The console's waits notice the end of the sound only when a message arrives.
void PostWake() { platform::PostMessage({platform::MessageKind::Wake, 0, 0}); }

}  // namespace

void KoralReadSettings() {
  KoralSettings& s = Settings();
  s.database = Setting("MBROLA_DB", "br4");
  s.folder = ReadSuiteSetting(kSection, "DIR");
  if (s.folder.empty()) s.folder = RegisteredFolder();
  const std::string base = Setting("BASE", "portug");
  if (s.folder.back() != '\\') s.folder += '\\';
  const std::string stem = s.folder + base;
  s.letterRules = stem + ".nrl";
  s.exceptions = stem + ".exc";
  s.abbreviations = stem + ".abr";
  s.prosody = stem + ".pro";
  s.definitions = stem + ".dfn";
  SettingsRead() = true;
}

const KoralSettings& KoralCurrentSettings() {
  if (!SettingsRead()) KoralReadSettings();
  return Settings();
}

bool KoralOpen(int32_t voice, int32_t speed, int32_t pitch, const std::string& outputFile) {
  const KoralSettings& s = KoralCurrentSettings();
  TtsSetOutputFile(outputFile);
  const bool ready = TtsOpen(s.database, s.letterRules, s.exceptions, s.abbreviations, s.prosody,
                             s.definitions);
  TtsSetFactors(0.8 - speed / 15.0, (pitch + 11) / 11.0);
  return ready;
}

void KoralSpeak(std::string_view text) {
  TtsSpeak(text);
  PostWake();
}

bool KoralBusy(bool) {
  bool busy = TtsBusy();
  if (KeyWaiting()) {
    KoralStop();
    busy = false;
  }
  PostWake();
  return busy;
}

void KoralStop() {
  TtsStop();
  PostWake();
}

void KoralClose() {
  while (KoralBusy()) Pause(500);
  KoralStop();
  TtsClose();
}
