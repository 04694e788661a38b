// Fuzz target: the voice database reader. A database it accepts must be safe to speak with, so
// each accepted input also speaks a few phonemes of every kind.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "voice/voice_database.hpp"
#include "voice/voice_synth.hpp"

using namespace teluma;
using namespace teluma::voice;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  voice::VoiceDatabase db;
  std::string error;
  if (!voice::ParseVoiceDatabase(std::string_view(reinterpret_cast<const char*>(data), size), db, error,
                                  false))
    return 0;
  if (db.FindPhoneme("_") < 0 || db.diphones.empty()) return 0;
  voice::VoiceSynth synth(db);
  std::vector<voice::ParseError> errors;
  for (const voice::Phoneme& p : db.phonemes) {
    voice::PhoneLine line{p.name, 30, {{50, 180}}};
    synth.Push(line, errors, true);
  }
  synth.Flush(errors, true);
  int16_t out[512];
  while (synth.Read(out, 512, 1.0) > 0) {
  }
  return 0;
}
