// The message catalogue (key -> Portuguese text), the recorded phrases without text and the
// names and paths of the game's sound effects (no console, no speech).
#pragma once
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

// The system path of an effect: folder + "\" + name; an empty folder setting gives
// "c:\qorbel\som\moondrop".
std::string SoundEffectPath(std::string_view folderSetting, std::string_view name);
