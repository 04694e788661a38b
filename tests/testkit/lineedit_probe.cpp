// Test program for the spoken input and the spoken numbers: runs one operation headless and
// reports its result as a RESULT event of the transcript (the speech itself shows as PLAY,
// IMAGE and SPEAK events). The letters and phrase folders come from TELUMA.INI
// ("TRADUTOR"/"DIRLETRAS") without starting the synthesizers, so a test tree needs no voice.
//
//   lineedit-probe edit [TEXT] [--at COL ROW] [--width W] [--max M] [--readonly] [--clip TEXT]
//                       [--nobreak]     (Ctrl+Break checking off, so that Alt keys reach the queue)
//   lineedit-probe review [--put COL ROW TEXT] [--attr N] [--at COL ROW] [--synth]
//                       (fills the screen in order, then runs the screen review mode)
//   lineedit-probe modifiers           (yes when the console reports Shift and Alt)
//   lineedit-probe readline [--at COL ROW]
//   lineedit-probe waitkey COUNT
//   lineedit-probe flush              (drops queued keys, then reads one spoken key)
//   lineedit-probe number N [fem]      lineedit-probe words TEXT [fem]
//   lineedit-probe time H M            lineedit-probe date D M Y
//   lineedit-probe dial TEXT
#include <cstdlib>
#include <string>
#include <vector>

#include "console/TlCrt.hpp"
#include "numbers/tlHora.hpp"
#include "numbers/tllenum.hpp"
#include "platform/cp1252.hpp"
#include "platform/profile.hpp"
#include "platform/transcript.hpp"
#include "speech/lineedit.hpp"
#include "speech/review.hpp"
#include "speech/tlwin.hpp"

namespace {

void Result(const std::string& cp1252) { platform::Transcript::Get().TextEvent("RESULT", cp1252); }

int Number(const std::vector<std::string>& args, size_t i) {
  return i < args.size() ? std::atoi(args[i].c_str()) : 0;
}

int Edit(const std::vector<std::string>& args) {
  for (const auto& a : args)
    if (a == "--nobreak") ConsoleSettings().checkBreak = false;
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
    } else if (args[i] == "--nobreak") {
    } else if (args[i] == "--readonly") {
      editable = false;
    } else if (args[i] == "--clip" && i + 1 < args.size()) {
      CopyToClipboard(platform::Utf8ToCp1252(args[++i]));
    } else {
      text = platform::Utf8ToCp1252(args[i]);
    }
  }
  const uint8_t key = EditLine(text, column, row, editable, width, length);
  Result(std::to_string(key) + " " + std::to_string(EditCursorPosition()) + " [" + text + "]");
  Result("clipboard [" + PasteFromClipboard(4096) + "]");
  return 0;
}

// --put writes a text at a position in the current attribute, --attr sets it, --at places the
// cursor, --synth lets text go to the (empty) outside engine slot.
int Review(const std::vector<std::string>& args) {
  OpenConsole();
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--put" && i + 3 < args.size()) {
      MoveCursor(Number(args, i + 1), Number(args, i + 2));
      Write(platform::Utf8ToCp1252(args[i + 3]));
      i += 3;
    } else if (args[i] == "--attr") {
      TextAttr() = static_cast<uint8_t>(std::strtol(args.at(++i).c_str(), nullptr, 0));
    } else if (args[i] == "--at") {
      MoveCursor(Number(args, i + 1), Number(args, i + 2));
      i += 2;
    } else if (args[i] == "--synth") {
      SynthActive() = true;
    }
  }
  ScreenReview();
  Result("cursor " + std::to_string(CursorColumn()) + " " + std::to_string(CursorRow()));
  Result("clipboard [" + PasteFromClipboard(8192) + "]");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "--version") {
    Write(TELUMA_VERSION "\r\n");
    return 0;
  }
  if (args.empty() || args[0] == "--help") {
    Write("uso: lineedit-probe edit|review|readline|waitkey|flush|number|words|time|date|dial ...\r\n");
    return 0;
  }
  LettersFolder() = platform::GetPrivateProfileString("TRADUTOR", "DIRLETRAS",
                                                      "c:\\qorbel\\som\\letras\\", 256,
                                                      "TELUMA.INI");
  if (!LettersFolder().empty() && LettersFolder().back() != '\\') LettersFolder() += '\\';
  PhraseFolder() = LettersFolder();

  const std::string& what = args[0];
  const bool feminine = args.size() > 2 && args[2] == "fem";
  if (what == "edit") return Edit(args);
  if (what == "review") return Review(args);
  if (what == "modifiers") {
    Result("yes");
    return 0;
  }
  if (what == "readline") {
    if (args.size() >= 4 && args[1] == "--at") MoveCursor(Number(args, 2), Number(args, 3));
    Result("[" + ReadLineSpoken() + "]");
  } else if (what == "waitkey" || what == "flush") {
    if (what == "flush") {
      Pause(1000);  // lets timed keys arrive first
      FlushKeys();
    }
    for (int i = 0, n = what == "flush" ? 1 : Number(args, 1); i < n; ++i) {
      uint8_t second = 0;
      const uint8_t key = WaitKeySpoken(second);
      Result(std::to_string(key) + " " + std::to_string(second));
    }
  } else if (what == "number") {
    SayWordsRecorded(NumberToWords(std::atoll(args.at(1).c_str())), feminine);
  } else if (what == "words") {
    SayWordsRecorded(platform::Utf8ToCp1252(args.at(1)), feminine);
  } else if (what == "time") {
    SpeakTime(Number(args, 1), Number(args, 2));
  } else if (what == "date") {
    SpeakDate(Number(args, 1), Number(args, 2), Number(args, 3));
  } else if (what == "dial") {
    PlayDialTones(args.at(1));
  }
  Result("done");
  return 0;
}
