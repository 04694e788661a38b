// Speech start and end: the "SINTETIZADOR" settings of a speed step, the diphone synthesizer,
// the folders of recordings and the outside synthesizer.
#include <cctype>
#include <charconv>
#include <string>

#include "console/TlCrt.hpp"
#include "platform/profile.hpp"
#include "speech/tlwav.hpp"
#include "speech/tlwin.hpp"
#include "speech/tlwinState.hpp"
#include "synth/diphone.hpp"
#include "synth/dispatch.hpp"

namespace {

constexpr size_t kValueSize = 256;

// A whole decimal integer (blanks around it and a sign allowed); false for anything else.
bool ParseInteger(std::string_view text, int32_t& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

int32_t IntegerOr(std::string_view text, int32_t fallback) {
  int32_t value = 0;
  return ParseInteger(text, value) ? value : fallback;
}

int32_t Setting(std::string_view section, std::string_view key, int32_t fallback) {
  return IntegerOr(ReadSuiteSetting(section, key), fallback);
}

// Yes unless empty or beginning with "N" in either case.
bool YesSetting(std::string_view section, std::string_view key) {
  std::string value = ReadSuiteSetting(section, key);
  return !value.empty() && UpperText(value.substr(0, 1)) != "N";
}

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

void ReadSynthesizerSettings(int32_t speed) {
  SpeechSpeed() = speed;
  std::string n = std::to_string(speed).substr(0, 2);
  const char* section = "SINTETIZADOR";
  DiphoneDatabase() = ReadSuiteSetting(section, "DIFONES" + n).substr(0, 8);
  SetDiphoneTiming(Setting(section, "CORTEFON" + n, 0), Setting(section, "SOBRAFON" + n, 0),
                   Setting(section, "INTERPAL" + n, 0));
  SetWaveShorten(YesSetting(section, "CORTAFALA" + n));
  SetWaveFast(YesSetting(section, "RAPIDINHO" + n));
  PausePeriod() = Setting(section, "PAUSAPONTO" + n, 250);
  PauseComma() = Setting(section, "PAUSAVIRG" + n, 150);
  PauseColon() = Setting(section, "PAUSADOISPONTOS" + n, 200);
}

void SpeechStart(int32_t speed, std::string_view phraseFolder) {
  if (speed < 1) speed = Setting("TRADUTOR", "VELOCIDADE", 0);
  if (speed < 1 || speed > 5) speed = 3;
  ReadSynthesizerSettings(speed);

  SetDiphonePlayer(PlayWaveImage, SpeechBusy);
  if (int code = DiphoneOpen(); code != 0) {
    WriteLn("Erro de inicializa\xE7\xE3o: " + std::to_string(code));
    WriteLn("Banco de dados de voz: " + DiphoneDatabase());
    DiphoneClose();
    ReadLn();
    CloseConsole();
  }

  PhraseFolder() = WithBackslash(std::string(phraseFolder));
  LettersFolder() = WithBackslash(platform::GetPrivateProfileString(
      "TRADUTOR", "DIRLETRAS", "c:\\qorbel\\som\\letras\\", kValueSize, "TELUMA.INI"));

  SynthActive() = false;
  if (YesSetting("TRADUTOR", "SAPI")) {
    int32_t voice = Setting("SERVFALA", "VOZ", 0);
    int32_t synthSpeed = Setting("SERVFALA", "VELOCIDADE", 0);
    int32_t pitch = Setting("SERVFALA", "TOM", 0);
    int32_t kind = Setting("SERVFALA", "TIPOSAPI", 0);
    if (kind != 4 && synthSpeed > 10) synthSpeed = 0;
    SynthActive() = SynthOpen(voice, synthSpeed, pitch, kind, SynthOutputFile());
    SynthKind() = kind;
  }
}

void SpeechEnd() {
  WaitWhileSpeechBusy();
  StopSpeech();
  if (SynthActive()) {
    SynthClose();
    SynthActive() = false;
  }
  DiphoneClose();
}
