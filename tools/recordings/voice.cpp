#include "voice.hpp"

#include <espeak-ng/speak_lib.h>

#include <cstdio>
#include <cstring>

namespace teluma::tools::recordings {
namespace {

int gRate = 22050;
std::vector<float>* gTarget = nullptr;

int Collect(short* wav, int count, espeak_EVENT*) {
  if (wav && gTarget)
    for (int i = 0; i < count; ++i) gTarget->push_back(wav[i] / 32768.0f);
  return 0;
}

}  // namespace

bool OpenVoice() {
  gRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
  if (gRate <= 0) {
    std::fprintf(stderr, "Não foi possível iniciar a voz do espeak-ng.\n");
    return false;
  }
  espeak_SetSynthCallback(Collect);
  espeak_VOICE spec;
  std::memset(&spec, 0, sizeof spec);
  spec.languages = "pt-br";
  spec.gender = 2;  // a female voice where the language offers one
  if (espeak_SetVoiceByProperties(&spec) != EE_OK && espeak_SetVoiceByName("pt-br") != EE_OK) {
    std::fprintf(stderr, "A voz do português do Brasil do espeak-ng não foi encontrada.\n");
    return false;
  }
  espeak_SetParameter(espeakRATE, 160, 0);
  espeak_SetParameter(espeakPITCH, 55, 0);
  return true;
}

Sound Say(const std::string& utf8Text) {
  Sound sound;
  sound.rate = gRate;
  gTarget = &sound.samples;
  espeak_Synth(utf8Text.c_str(), utf8Text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8 | espeakPHONEMES,
               nullptr, nullptr);
  espeak_Synchronize();
  gTarget = nullptr;
  TrimSilence(sound);
  FadeEdges(sound);
  return sound;
}

}  // namespace teluma::tools::recordings
