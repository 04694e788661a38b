// The kinds table: the engine module behind each slot of the dispatch.
#include "synth/dispatch.hpp"
#include "synth/koral.hpp"
#include "synth/sapi4.hpp"
#include "synth/sapi5.hpp"

SynthEngine BuiltInEngine(SynthSlot slot) {
  switch (slot) {
    case SynthSlot::Koral: return {KoralOpen, KoralSpeak, KoralBusy, KoralStop, KoralClose};
    case SynthSlot::Sapi5: return {Sapi5Open, Sapi5Speak, Sapi5Busy, Sapi5Stop, Sapi5Close};
    case SynthSlot::Sapi54: return {Sapi54Open, Sapi54Speak, Sapi54Busy, Sapi54Stop, Sapi54Close};
    case SynthSlot::Sapi4: return {Sapi4Open, Sapi4Speak, Sapi4Busy, Sapi4Stop, Sapi4Close};
  }
  return {};
}
