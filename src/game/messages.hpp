// The game's voice: saying a message of the catalogue (catalogue.hpp), asking a yes/no or choice
// question, and the background sound effects.
#pragma once
#include <cstdint>
#include <string_view>

#include "game/catalogue.hpp"

// Writes the text of key followed by lineEnds line ends (a negative count writes nothing) and
// speaks it: the recording key + ".wav" of the game sound folder when there is one, else the
// text through the synthesizer.
void SayMessage(std::string_view key, int lineEnds);

// Drops waiting keys, says the question, waits for one key and returns it upper-cased.
uint8_t AskQuestion(std::string_view key);

// Starts an effect of the game sound folder in the background (a new one cuts the previous).
void PlaySoundEffect(std::string_view name);
