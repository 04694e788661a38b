// Speech start and end: the "SINTETIZADOR" settings of a speed step, the diphone synthesizer,
// the folders of recordings and the outside synthesizer.
#include <cctype>
#include <string>

#include "console/TlCrt.hpp"
#include "platform/profile.hpp"
#include "wave/tlwav.hpp"
#include "speech/tlwin.hpp"
#include "playback/tlwin_state.hpp"
#include "synth/diphone.hpp"
#include "synth/dispatch.hpp"

namespace {

constexpr size_t kValueSize = 256;

// Yes unless empty or beginning with "N" in either case.
bool YesSetting(std::string_view section, std::string_view key) {
  std::string value = ReadSuiteSetting(section, key);
  return !value.empty() && UpperText(value.substr(0, 1)) != "N";
}

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

// The dispatch as the playback layer asks it. Koral is stopped even when it says it is silent.
void ConnectDispatch() {
  ConnectOutsideSynthesizer({[] { return SynthBusy(false); },
                             [] {
                               if (SynthBusy(false) || SynthKind() == 3) SynthStop();
                             }});
}

}  // namespace

void ReadSynthesizerSettings(int32_t speed) {
  SpeechSpeed() = speed;
  std::string n = std::to_string(speed).substr(0, 2);
  const char* section = "SINTETIZADOR";
  DiphoneDatabase() = ReadSuiteSetting(section, "DIFONES" + n).substr(0, 8);
  const DiphoneTimingSettings timing = ReadDiphoneTiming(speed);
  SetDiphoneTiming(timing.cut, timing.minimum, timing.wordPause);
  SetWaveShorten(YesSetting(section, "CORTAFALA" + n));
  SetWaveFast(YesSetting(section, "RAPIDINHO" + n));
  PausePeriod() = ReadSuiteIntegerInRange(section, "PAUSAPONTO" + n, 250, 0, kMaxPauseMs);
  PauseComma() = ReadSuiteIntegerInRange(section, "PAUSAVIRG" + n, 150, 0, kMaxPauseMs);
  PauseColon() = ReadSuiteIntegerInRange(section, "PAUSADOISPONTOS" + n, 200, 0, kMaxPauseMs);
}

void SpeechStart(int32_t speed, std::string_view phraseFolder) {
  if (speed < 1) speed = ReadSuiteInteger("TRADUTOR", "VELOCIDADE", 0);
  if (speed < 1 || speed > 5) speed = 3;
  ReadSynthesizerSettings(speed);

  ConnectDispatch();
  SetDiphonePlayer(PlayWaveImage, SpeechBusy);
  if (int code = DiphoneOpen(); code != 0) {
    WriteLn("Erro de inicializa\xE7\xE3o: " + std::to_string(code));
    WriteLn("Banco de dados de voz: " + DiphoneDatabase());
    WriteLn(SuiteSettingsReport());
    DiphoneClose();
    // The start failed however the wait for Enter ends (Enter, or the window closed).
    SetCloseExitCode(code);
    ReadLn();
    CloseConsole();
  }

  PhraseFolder() = WithBackslash(std::string(phraseFolder));
  LettersFolder() = WithBackslash(platform::GetPrivateProfileString(
      "TRADUTOR", "DIRLETRAS", "c:\\qorbel\\som\\letras\\", kValueSize, "TELUMA.INI"));

  SynthActive() = false;
  if (YesSetting("TRADUTOR", "SAPI")) {
    int32_t voice = ReadSuiteInteger("SERVFALA", "VOZ", 0);
    int32_t synthSpeed = ReadSuiteInteger("SERVFALA", "VELOCIDADE", 0);
    int32_t pitch = ReadSuiteInteger("SERVFALA", "TOM", 0);
    int32_t kind = ReadSuiteInteger("SERVFALA", "TIPOSAPI", 0);
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
