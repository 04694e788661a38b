// Speaking text run by run, punctuation and its pauses, spelling, writing and speaking, and the
// two short signal sounds.
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "console/TlCrt.hpp"
#include "numbers/tllenum.hpp"
#include "platform/env.hpp"
#include "platform/random.hpp"
#include "platform/transcript.hpp"
#include "wave/tlwav.hpp"
#include "speech/tlwin.hpp"
#include "playback/tlwin_state.hpp"
#include "synth/diphone.hpp"
#include "synth/dispatch.hpp"
#include "synth/translator.hpp"

namespace {

constexpr size_t kMaxPhonetic = 999;  // the translator's output buffer
constexpr int32_t kSignalRate = 11025;
constexpr size_t kHeader = 44;

// A pause of ms milliseconds in 50 ms steps, each skipped while a key waits.
void PauseUnlessKey(int32_t ms) {
  for (int32_t step = 0; step < ms / 50; ++step)
    if (!KeyWaiting()) Pause(50);
}

// An 8-bit mono image at the signal rate around the given samples.
std::vector<uint8_t> SignalImage(const std::vector<uint8_t>& samples) {
  std::vector<uint8_t> image(kHeader + samples.size());
  MakeWaveHeader(image.data(), static_cast<uint32_t>(samples.size()), kSignalRate, 1, 8);
  std::copy(samples.begin(), samples.end(), image.begin() + kHeader);
  return image;
}

// The click: 64 random samples from 128 to 187, then 192 samples of silence.
const std::vector<uint8_t>& ClickImage() {
  static const std::vector<uint8_t> image = [] {
    platform::Random random(platform::Env::Default().Seed());
    std::vector<uint8_t> samples(256, 128);
    for (size_t i = 0; i < 64; ++i) samples[i] = static_cast<uint8_t>(128 + random.Below(60));
    return SignalImage(samples);
  }();
  return image;
}

// A run of words through the translator and the diphone synthesizer. A run whose phonetic
// text would not fit the translator's buffer is said in pieces cut at blanks, so no word is
// lost.
void SpeakWords(std::string_view run) {
  if (run.find_first_not_of(' ') == std::string_view::npos) return;  // blanks say nothing
  std::string phonetic = TranslateText(run);
  size_t middle = run.size() / 2;
  size_t cut = run.rfind(' ', middle);
  if (cut == std::string_view::npos || cut == 0) cut = run.find(' ', middle);
  if (phonetic.size() <= kMaxPhonetic || cut == std::string_view::npos || cut == 0) {
    if (phonetic.size() > kMaxPhonetic) phonetic.resize(kMaxPhonetic);
    DiphoneSpeak(phonetic, false);
    return;
  }
  SpeakWords(run.substr(0, cut));
  if (!SpeakStopFlag()) SpeakWords(run.substr(cut));
}

const SpeakActions& RealActions() {
  static const SpeakActions actions = [] {
    SpeakActions a;
    a.keyWaiting = [] { return KeyWaiting(); };
    a.stopped = [] { return SpeakStopFlag(); };
    a.stop = [] { StopSpeech(); };
    a.phrase = [](std::string_view key) { PlayPhrase(key); };
    a.spell = [](std::string_view text) { SpellText(text); };
    a.number = [](int32_t n) { SayWordsRecorded(NumberToWords(n), false); };
    a.words = SpeakWords;
    a.punctuation = [](std::string_view text) { SpeakPunctuation(text); };
    a.character = [](uint8_t c) { SpeakChar(c); };
    a.click = [] { ShortClick(); };
    return a;
  }();
  return actions;
}

}  // namespace

void SpeakText(std::string_view text) {
  platform::Transcript::Get().TextEvent("SPEAK", text);
  if (SynthActive()) {
    WaitWhileSpeechBusy();
    if (!KeyWaiting()) {
      SynthSpeak(text);
      SpeechPending() = true;
    }
    return;
  }
  SpeakStopFlag() = false;
  SpeakRuns(text, RealActions());
}

void SpeakPunctuation(std::string_view text) {
  if (text.empty() || KeyWaiting()) return;
  WaitWhileSpeechBusy();
  uint8_t c = static_cast<uint8_t>(text[0]);
  bool blankFollows = text.size() > 1 && text[1] == ' ';
  if (SayPunctuation()) SpeakChar(c);
  switch (c) {
    case '(': case ')': case ':': case ';':
      PauseUnlessKey(PauseColon());
      break;
    case ',': case '-':
      if (blankFollows)
        PauseUnlessKey(PauseComma());
      else if (!SayPunctuation())
        SpeakChar(c);
      break;
    case '.':
      if (blankFollows)
        PauseUnlessKey(PausePeriod());
      else if (!SayPunctuation())
        SpeakChar(c);
      break;
    default:
      break;
  }
}

void SpeakWrite(std::string_view text) {
  Write(text);
  SpeakText(text);
}

void SpeakWriteLn(std::string_view text) {
  SpeakWrite(text);
  WriteLn();
}

void SpeakNumber(int32_t number) { SpeakWrite(std::to_string(number)); }

void SpellText(std::string_view text) {
  for (char c : text) {
    if (KeyWaiting()) break;
    SpeakChar(static_cast<uint8_t>(c));
  }
}

void ShortClick() {
  WaitSpeechDone();
  bool shorten = WaveShorten();
  SetWaveShorten(false);
  const std::vector<uint8_t>& image = ClickImage();
  WavePlayImage(image.data(), image.size());
  WaitWhileSpeechBusy();
  SetWaveShorten(shorten);
}

void ShortBeep() {
  WaitSpeechDone();
  while (KeyWaiting()) WaitForKey();
  static const std::vector<uint8_t> image = [] {
    static const uint8_t pattern[8] = {128, 112, 96, 80, 64, 80, 96, 112};
    std::vector<uint8_t> samples(512);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = pattern[i % 8];
    samples.back() = 128;
    return SignalImage(samples);
  }();
  WavePlayImage(image.data(), image.size());
  WaitWhileSpeechBusy();
}
