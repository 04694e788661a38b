// The game's vocabulary: the message catalogue (key -> Portuguese text), saying a message,
// asking a yes/no or choice question, and the background sound effects.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct CatalogueEntry {
  std::string_view key;
  std::string text;  // Windows-1252
};

// The whole catalogue, in table order.
std::span<const CatalogueEntry> MessageCatalogue();

// The text of key (exact, case-sensitive match); an unknown key gives
// "--> Mensagem inválida: " followed by the key itself.
std::string MessageText(std::string_view key);

// Recorded phrases the game plays that have no catalogue text (chimes, explosions, applause).
std::span<const std::string_view> PhrasesWithoutText();

// The names the game hands to PlaySoundEffect.
std::span<const std::string_view> SoundEffectNames();

// Writes the text of key followed by lineEnds line ends (a negative count writes nothing) and
// speaks it: the recording key + ".wav" of the game sound folder when there is one, else the
// text through the synthesizer.
void SayMessage(std::string_view key, int lineEnds);

// Drops waiting keys, says the question, waits for one key and returns it upper-cased.
uint8_t AskQuestion(std::string_view key);

// The system path of an effect: folder + "\" + name; an empty folder setting gives
// "c:\qorbel\som\moondrop".
std::string SoundEffectPath(std::string_view folderSetting, std::string_view name);

// Starts an effect of the game sound folder in the background (a new one cuts the previous).
void PlaySoundEffect(std::string_view name);
