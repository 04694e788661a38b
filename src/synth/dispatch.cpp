#include "synth/dispatch.hpp"

#include <array>

#include "console/TlCrt.hpp"
#include "platform/events.hpp"
#include "platform/transcript.hpp"

using namespace teluma::console;

namespace teluma::synth {

namespace {

std::array<SynthEngine, 4>& Engines() {
  static std::array<SynthEngine, 4> engines{
      BuiltInEngine(SynthSlot::Koral), BuiltInEngine(SynthSlot::Sapi5),
      BuiltInEngine(SynthSlot::Sapi54), BuiltInEngine(SynthSlot::Sapi4)};
  return engines;
}

const SynthEngine& Current() { return Engines()[static_cast<size_t>(SlotOfKind(SynthKind()))]; }

}  // namespace

int32_t& SynthKind() {
  static int32_t kind = 4;
  return kind;
}

SynthSlot SlotOfKind(int32_t kind) {
  switch (kind) {
    case 3: return SynthSlot::Koral;
    case 5: return SynthSlot::Sapi5;
    case 54: return SynthSlot::Sapi54;
    default: return SynthSlot::Sapi4;
  }
}

void SetSynthEngine(SynthSlot slot, const SynthEngine& engine) {
  Engines()[static_cast<size_t>(slot)] = engine;
}

bool SynthOpen(int32_t voice, int32_t speed, int32_t pitch, int32_t kind,
               const std::string& outputFile) {
  SynthKind() = kind;
  const SynthEngine& engine = Current();
  bool ready = engine.open != nullptr && engine.open(voice, speed, pitch, outputFile);
  if (ready)
    while (SynthBusy(true)) Pause(50);
  return ready;
}

void SynthSpeak(std::string_view text) {
  platform::Transcript::Get().TextEvent("SYNTH", text);
  if (const auto& engine = Current(); engine.speak) engine.speak(text);
}

bool SynthBusy(bool queuedOnly) {
  PumpAllMessages();
  const auto& engine = Current();
  return engine.busy != nullptr && engine.busy(queuedOnly);
}

void SynthStop() {
  if (const auto& engine = Current(); engine.stop) engine.stop();
}

void SynthClose() {
  if (const auto& engine = Current(); engine.close) engine.close();
}

void PostWakeMessage() { platform::PostMessage({platform::MessageKind::Wake, WakeMessage, 0}); }

}  // namespace teluma::synth
