// The main sequence of the game.
#include <cstdint>

#include "console/TlCrt.hpp"
#include "game/driver.hpp"
#include "game/chance.hpp"
#include "game/flight.hpp"
#include "game/messages.hpp"
#include "game/scores.hpp"
#include "speech/tlwin.hpp"

namespace {
constexpr uint8_t kBlue = 1, kBlack = 0;
constexpr int kPictureX = 650, kPictureY = 10;
}  // namespace

std::string GameSoundFolder(const std::string& setting) {
  return setting.empty() ? "\\qorbel\\som\\moondrop" : setting;
}

bool IsStrictYes(uint8_t answer) { return answer == 'S'; }
bool IsLenientYes(uint8_t answer) { return answer != 'N'; }

void SetUpGame() {
  SeedRandom(StartupSeed());
  std::string folder = GameSoundFolder(ReadSuiteSetting("MOONDROP", "DIRMOONDROP"));
  SpeechStart(0, folder);
  SetBackground(kBlue);
  SayMessage("LUINIC", 1);
  SetBackground(kBlack);
  WriteLn();
  std::string picture = ReadSuiteSetting("MOONDROP", "IMAGEM");
  if (picture.empty()) picture = folder + "\\foguete.bmp";
  if (LoadPicture(picture)) ShowPicture(kPictureX, kPictureY);
  PlayPhrase("FOGUETE");
}

void Greet() {
  SetKeyInterrupts(false);
  SayMessage("LUBENVIN", 2);
  if (IsStrictYes(AskQuestion("LUDESINS"))) SayMessage("LUINSTRT", 2);
  SetKeyInterrupts(true);
}

void ShutDown() {
  ClearPicture();
  SpeechEnd();
  CloseConsole();
}

void RunGame() {
  SetUpGame();
  PlayPhrase("LUCHIME");
  Greet();
  LoadScores();
  PlayPhrase("LUCHIME");
  if (IsStrictYes(AskQuestion("LUCONHEC"))) ShowScores();
  PlayPhrase("LUCHIME");
  if (IsLenientYes(AskQuestion("LUCOMJOG"))) {
    for (;;) {
      ClearScreen();
      SetBackground(kBlue);
      Write(MessageText("LUINIC"));
      SetBackground(kBlack);
      WriteLn();
      WriteLn();
      int score = FlyOnce();
      RecordScore(score);
      ShowScores();
      SaveScores();
      if (!IsLenientYes(AskQuestion("LUJOGDEN"))) {
        PlayPhrase("UUUM2");
        SayMessage("LUGOSTEI", 1);
        break;
      }
    }
  }
  SayMessage("LUTCHAU", 1);
  ShutDown();
}
