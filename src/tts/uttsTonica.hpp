// Stress of a Portuguese word from its spelling alone.
#pragma once
#include <string_view>

namespace teluma::tts {

// 1-based position of the stressed letter of an upper-case word, 0 when it has none.
int FindStress(std::string_view word);

}  // namespace teluma::tts
