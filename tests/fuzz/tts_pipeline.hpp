// The Portuguese front end's whole pipeline over one text, as the koral program runs it, for the
// fuzz targets of its rule files.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.hpp"
#include "tts/uttsExcessoes.hpp"
#include "tts/uttsInic.hpp"
#include "tts/uttsPortug.hpp"
#include "tts/uttsPreproc.hpp"
#include "tts/uttsProsodia.hpp"

namespace fuzz {

// Host paths of the shipped rule files of the front end, written once.
struct ShippedRules {
  std::string letters = ShippedFile("koraltts/portug.nrl", "shipped.nrl");
  std::string exceptions = ShippedFile("koraltts/portug.exc", "shipped.exc");
  std::string abbreviations = ShippedFile("koraltts/portug.abr", "shipped.abr");
  std::string prosody = ShippedFile("koraltts/portug.pro", "shipped.pro");
  std::string diphones = WriteFile("shipped.dfn", BuiltText("qorbel/koraltts/portug.dfn"));

  static const ShippedRules& Get() {
    static const ShippedRules rules = [] {
      teluma::tts::SetProsodyMessageHandler([](const std::string&) {});
      return ShippedRules();
    }();
    return rules;
  }
  // Loads every shipped file.
  void LoadAll() const {
    if (!teluma::tts::LoadPortugueseRules(letters, exceptions) ||
        !teluma::tts::LoadAbbreviations(abbreviations) || !teluma::tts::LoadProsody(prosody) ||
        !teluma::tts::LoadDiphones(diphones))
      __builtin_trap();
  }
};

// Text to .pho lines through every stage; factors as the command line would give them.
inline std::vector<std::string> SpeakToPho(std::string_view text, double duration = 1.0,
                                           double pitch = 1.0) {
  std::string normal = teluma::tts::NormalizeText(text);
  auto items = teluma::tts::AssignPitchPatterns(teluma::tts::TokenizeWithKeys(normal), true);
  teluma::tts::PhonemeList phonemes = teluma::tts::TokensToPhonemes(items);
  return teluma::tts::BuildPhoLines(phonemes, duration, pitch);
}

}  // namespace fuzz
