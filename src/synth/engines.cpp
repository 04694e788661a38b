// The kinds table: the engine module behind each slot of the dispatch. A slot whose engine is
// not built yet stays empty, so opening that kind fails and the built-in speech goes on.
#include "synth/dispatch.hpp"

SynthEngine BuiltInEngine(SynthSlot slot) {
  switch (slot) {
    case SynthSlot::Koral: return {};
    case SynthSlot::Sapi5: return {};
    case SynthSlot::Sapi54: return {};
    case SynthSlot::Sapi4: return {};
  }
  return {};
}
