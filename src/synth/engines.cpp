// The kinds table: the engine module behind each slot of the dispatch. A slot whose engine is
// not built yet stays empty, so opening that kind fails and the built-in speech goes on.
#include "synth/dispatch.hpp"
#ifdef TELUMA_HAVE_KORAL
#include "synth/koral.hpp"
#endif
#ifdef TELUMA_HAVE_SAPI4
#include "synth/sapi4.hpp"
#endif

SynthEngine BuiltInEngine(SynthSlot slot) {
  switch (slot) {
    case SynthSlot::Koral:
#ifdef TELUMA_HAVE_KORAL
      return {KoralOpen, KoralSpeak, KoralBusy, KoralStop, KoralClose};
#else
      return {};
#endif
    case SynthSlot::Sapi5: return {};
    case SynthSlot::Sapi54: return {};
    case SynthSlot::Sapi4:
#ifdef TELUMA_HAVE_SAPI4
      return {Sapi4Open, Sapi4Speak, Sapi4Busy, Sapi4Stop, Sapi4Close};
#else
      return {};
#endif
  }
  return {};
}
