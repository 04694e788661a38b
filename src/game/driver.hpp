// The game's main sequence: start-up, greeting, the opening questions, flights one after another
// and the farewell.
#pragma once
#include <string>

namespace teluma::game {

// The folder of the game's recordings and picture ("DIRMOONDROP", default "\qorbel\som\moondrop").
std::string GameSoundFolder(const std::string& setting);

// Whether an answer counts as yes: the strict rule takes only 'S', the lenient one anything
// but 'N'.
bool IsStrictYes(uint8_t answer);
bool IsLenientYes(uint8_t answer);

void SetUpGame();
void Greet();
[[noreturn]] void ShutDown();
// Runs the whole game; does not return (the process ends in ShutDown).
[[noreturn]] void RunGame();

}  // namespace teluma::game
