// Test program for the conformance scenarios of the speech front end: starts speech from the
// TELUMA.INI of the tree it runs in, runs one operation and reports what it returned as RESULT
// events of the transcript (the speech itself shows as PLAY, IMAGE, SPEAK and DIPHONE events).
//
//   speech-probe [--phrases FOLDER] [--nostart] OPERATION ARGS...
//     setting SECTION KEY          start                      phrase [--after MS] KEY...
//     char CODE                    exists KEY                 say TEXT
//     speaknumber N                writeln TEXT               spell TEXT
//     upper TEXT                   header LENGTH RATE CHANNELS BITS
//     beep                         click                      words TEXT [fem]
//     number N [fem]               time H M                   date D M Y
//     dial TEXT                    waitkey COUNT              readline
//     edit [TEXT] [--at C R] [--width W] [--max M] [--readonly] [--clip TEXT] [--nobreak]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/TlCrt.hpp"
#include "numbers/tlHora.hpp"
#include "numbers/tllenum.hpp"
#include "platform/cp1252.hpp"
#include "platform/transcript.hpp"
#include "wave/tlwav.hpp"
#include "speech/lineedit.hpp"
#include "speech/tlwin.hpp"
#include "synth/diphone.hpp"

namespace {

using Args = std::vector<std::string>;

void Result(const std::string& cp1252) { platform::Transcript::Get().TextEvent("RESULT", cp1252); }

std::string Text(const Args& args, size_t i) {
  return i < args.size() ? platform::Utf8ToCp1252(args[i]) : std::string();
}

int Number(const Args& args, size_t i) {
  return i < args.size() ? std::atoi(args[i].c_str()) : 0;
}

void Edit(const Args& args) {
  std::string text;
  int32_t column = 1, row = 1, width = 40, length = 40;
  bool editable = true;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--at") {
      column = Number(args, ++i);
      row = Number(args, ++i);
    } else if (args[i] == "--width") {
      width = Number(args, ++i);
    } else if (args[i] == "--max") {
      length = Number(args, ++i);
    } else if (args[i] == "--readonly") {
      editable = false;
    } else if (args[i] == "--clip") {
      CopyToClipboard(Text(args, ++i));
    } else if (args[i] != "--nobreak") {
      text = Text(args, i);
    }
  }
  const uint8_t key = EditLine(text, column, row, editable, width, length);
  Result(std::to_string(key) + " " + std::to_string(EditCursorPosition()) + " [" + text + "]");
  Result("clipboard [" + PasteFromClipboard(4096) + "]");
}

std::string Hex(const uint8_t* bytes, size_t n) {
  std::string out;
  char cell[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(cell, sizeof cell, "%02x", bytes[i]);
    out += cell;
  }
  return out;
}

void Run(const std::string& what, const Args& args) {
  if (what == "setting") {
    Result("[" + ReadSuiteSetting(Text(args, 1), Text(args, 2)) + "]");
  } else if (what == "start") {
    Result("speed=" + std::to_string(SpeechSpeed()) + " db=" + DiphoneDatabase() +
           " period=" + std::to_string(PausePeriod()) + " comma=" +
           std::to_string(PauseComma()) + " colon=" + std::to_string(PauseColon()) +
           " fast=" + std::to_string(WaveFast()) + " shorten=" + std::to_string(WaveShorten()) +
           " synth=" + std::to_string(SynthActive()));
    Result("phrases=" + PhraseFolder() + " letters=" + LettersFolder());
  } else if (what == "phrase") {
    size_t i = 1;
    if (args.size() > 2 && args[1] == "--after") {  // lets timed keys arrive first
      Pause(static_cast<uint16_t>(Number(args, 2)));
      i = 3;
    }
    for (; i < args.size(); ++i) PlayPhrase(Text(args, i));
    Result(KeyWaiting() ? "key waiting" : "no key");
  } else if (what == "exists") {
    Result(PhraseExists(Text(args, 1)) ? "yes" : "no");
  } else if (what == "char") {
    SpeakChar(static_cast<uint8_t>(Number(args, 1)));
  } else if (what == "say") {
    SpeakText(Text(args, 1));
  } else if (what == "speaknumber") {
    SpeakNumber(Number(args, 1));
  } else if (what == "writeln") {
    SpeakWriteLn(Text(args, 1));
  } else if (what == "spell") {
    SpellText(Text(args, 1));
  } else if (what == "upper") {
    Result(UpperText(Text(args, 1)));
  } else if (what == "header") {
    uint8_t header[44];
    MakeWaveHeader(header, static_cast<uint32_t>(Number(args, 1)), Number(args, 2),
                   static_cast<int16_t>(Number(args, 3)), static_cast<int16_t>(Number(args, 4)));
    Result(Hex(header, sizeof header));
  } else if (what == "beep") {
    ShortBeep();
  } else if (what == "click") {
    ShortClick();
  } else if (what == "words") {
    SayWordsRecorded(Text(args, 1), args.size() > 2 && args[2] == "fem");
  } else if (what == "number") {
    SayWordsRecorded(NumberToWords(std::atoll(args.at(1).c_str())),
                     args.size() > 2 && args[2] == "fem");
  } else if (what == "time") {
    SpeakTime(Number(args, 1), Number(args, 2));
  } else if (what == "date") {
    SpeakDate(Number(args, 1), Number(args, 2), Number(args, 3));
  } else if (what == "dial") {
    PlayDialTones(Text(args, 1));
  } else if (what == "waitkey") {
    for (int i = 0; i < Number(args, 1); ++i) {
      uint8_t second = 0;
      const uint8_t key = WaitKeySpoken(second);
      Result(std::to_string(key) + " " + std::to_string(second));
    }
  } else if (what == "readline") {
    Result("[" + ReadLineSpoken() + "]");
  } else if (what == "edit") {
    Edit(args);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Args args(argv + 1, argv + argc);
  std::string phrases = "c:\\frases";
  bool start = true;
  while (!args.empty() && args[0].starts_with("--")) {
    if (args[0] == "--help" || args[0] == "--version") {
      std::puts("speech-probe OPERACAO ARGUMENTOS...");
      return 0;
    }
    if (args[0] == "--phrases" && args.size() > 1) {
      phrases = args[1];
      args.erase(args.begin());
    } else if (args[0] == "--nostart") {
      start = false;
    }
    args.erase(args.begin());
  }
  if (args.empty()) return 2;
  for (const auto& a : args)
    if (a == "--nobreak") ConsoleSettings().checkBreak = false;
  if (start) SpeechStart(0, phrases);
  Run(args[0], args);
  Result("done");
  if (start) SpeechEnd();
  return 0;
}
