// The synthesizer dispatch: which outside engine is current, and its five operations.
// Kinds: 3 Koral, 5 and 54 SAPI 5 voices, any other value SAPI 4 voices.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Current engine kind; 4 at program start, overwritten by every SynthOpen.
int32_t& SynthKind();

// Opens the engine of kind; true when it is ready. A successful open waits until the engine
// has taken in what it queued at start.
bool SynthOpen(int32_t voice, int32_t speed, int32_t pitch, int32_t kind,
               const std::string& outputFile);
void SynthSpeak(std::string_view text);
// Pumps waiting window messages, then asks the engine; only SAPI 4 looks at queuedOnly.
bool SynthBusy(bool queuedOnly);
void SynthStop();
void SynthClose();

// The private window message that engines post only to make a waiting WaitMessage return, so
// that the waiting loop asks again.
constexpr int32_t WakeMessage = 2980;
void PostWakeMessage();

// The five operations of one engine. An empty slot (a test's SetSynthEngine) cannot be opened,
// and the other operations do nothing.
struct SynthEngine {
  bool (*open)(int32_t voice, int32_t speed, int32_t pitch, const std::string& outputFile) =
      nullptr;
  void (*speak)(std::string_view text) = nullptr;
  bool (*busy)(bool queuedOnly) = nullptr;
  void (*stop)() = nullptr;
  void (*close)() = nullptr;
};

enum class SynthSlot { Koral, Sapi5, Sapi54, Sapi4 };

// The slot that serves kind (3, 5, 54, everything else).
SynthSlot SlotOfKind(int32_t kind);
// The engine the program brings for a slot (engines.cpp).
SynthEngine BuiltInEngine(SynthSlot slot);
// Replaces the engine of a slot (tests put stand-ins there; an empty engine empties the slot).
void SetSynthEngine(SynthSlot slot, const SynthEngine& engine);
