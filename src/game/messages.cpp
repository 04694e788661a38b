// Saying messages, asking questions and playing the game's sound effects.
#include "console/TlCrt.hpp"
#include "game/messages.hpp"
#include "platform/paths.hpp"
#include "platform/sound.hpp"
#include "platform/transcript.hpp"
#include "speech/lineedit.hpp"
#include "speech/tlwin.hpp"

void SayMessage(std::string_view key, int lineEnds) {
  std::string text = MessageText(key);
  if (lineEnds >= 0) Write(text);
  for (int i = 0; i < lineEnds; ++i) WriteLn();
  if (PhraseExists(key))
    PlayPhrase(key);
  else
    SpeakText(text);
}

uint8_t AskQuestion(std::string_view key) {
  FlushKeys();
  SayMessage(key, 0);
  uint8_t key_code = WaitKeySpoken();
  WriteLn();
  if (key_code >= 'a' && key_code <= 'z') key_code -= 32;
  return key_code;
}

void PlaySoundEffect(std::string_view name) {
  std::string path = SoundEffectPath(ReadSuiteSetting("MOONDROP", "DIRMOONDROP"), name);
  platform::Transcript::Get().Event("EFFECT", path);
  platform::PlayEffectFile(platform::MapPath(path));
}
