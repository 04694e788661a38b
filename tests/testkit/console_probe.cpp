// Runs the console operations named by its arguments, in order:
//   w:TEXT  write        l:TEXT  write a line     fg:N bg:N  colours     at:C,R  move cursor
//   key     wait for a key and write its code      line       read a line and write it back
//   br:N    braille mode  tone:N / notone          pause:N    cls / eol  clear
//   copy:TEXT  paste:N    attr:N  set the attribute byte      wait   test for a key
//   ret:N   return N from main                           close      the close path
//   quit    post the quit message                        clock      date and time
//   err:TEXT  a line on standard error
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/TlCrt.hpp"
#include "platform/cp1252.hpp"
#include "platform/events.hpp"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto colon = a.find(':');
    std::string cmd = a.substr(0, colon);
    std::string arg = colon == std::string::npos ? "" : platform::Utf8ToCp1252(a.substr(colon + 1));
    int n = std::atoi(arg.c_str());
    if (cmd == "w") Write(arg);
    else if (cmd == "l") WriteLn(arg);
    else if (cmd == "fg") SetForeground(static_cast<uint8_t>(n));
    else if (cmd == "bg") SetBackground(static_cast<uint8_t>(n));
    else if (cmd == "attr") TextAttr() = static_cast<uint8_t>(n);
    else if (cmd == "at") MoveCursor(n, std::atoi(arg.substr(arg.find(',') + 1).c_str()));
    else if (cmd == "key") WriteLn("k" + std::to_string(WaitForKey()));
    else if (cmd == "line") WriteLn("[" + ReadLn() + "]");
    else if (cmd == "br") SetBrailleMode(n);
    else if (cmd == "tone") StartTone(static_cast<uint16_t>(n));
    else if (cmd == "notone") StopTone();
    else if (cmd == "pause") Pause(static_cast<uint16_t>(n));
    else if (cmd == "cls") ClearScreen();
    else if (cmd == "eol") ClearToLineEnd();
    else if (cmd == "copy") CopyToClipboard(arg);
    else if (cmd == "paste") WriteLn("<" + PasteFromClipboard(static_cast<size_t>(n)) + ">");
    else if (cmd == "wait") WriteLn(KeyWaiting() ? "yes" : "no");
    else if (cmd == "ret") return n;
    else if (cmd == "quit") platform::PostMessage({platform::MessageKind::Quit, 0, 0});
    else if (cmd == "clock") {
      uint16_t y, mo, d, wd, h, mi, se, hs;
      CurrentDate(y, mo, d, wd);
      CurrentTime(h, mi, se, hs);
      WriteLn("clock " + std::to_string(y) + " " + std::to_string(mo) + " " + std::to_string(d) + " " +
              std::to_string(wd) + " " + std::to_string(((h * 60 + mi) * 60 + se) * 100 + hs));
    }
    else if (cmd == "close") CloseConsole();
    else if (cmd == "err") std::fprintf(stderr, "%s\n", platform::Cp1252ToUtf8(arg).c_str());
    else if (cmd == "pos") WriteLn(std::to_string(CursorColumn()) + "," + std::to_string(CursorRow()));
  }
  return 0;
}
