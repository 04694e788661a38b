// Runs the console operations named by its arguments, in order:
//   w:TEXT  l:TEXT     Write / WriteLn                       rep:N:TEXT  one Write of TEXT N times
//   fg:N bg:N attr:N   colours and the attribute byte        at:C,R      MoveCursor
//   cls eol            ClearScreen, ClearToLineEnd           pos ta      cursor and attribute
//   cell:C,R           character and attribute of a cell     key         WaitForKey
//   keys:N             N times WaitForKey                    line        ReadLn
//   wait               KeyWaiting                            br:N        SetBrailleMode
//   tone:N notone      StartTone / StopTone                  pause:N     Pause
//   close quit ret:N   the close path, the quit message, return N from main
//   copy:TEXT paste:N  the clipboard                         clock       date and time
//   err:TEXT           a line on standard error
//   eof nobreak        before the console opens: Ctrl+Z ends a line; Ctrl+Break is off
// Answers to queries are written on the screen ("k65", "[line]", "<pasted>", "yes", "C,R").
// After a first argument "--answers-to-stderr" they go to standard error instead ("key 65",
// "line [...]", ...), so that the grid only holds what the operations themselves wrote; TEXT
// then takes the escapes \r \n \t \b \a \\ \xHH, and unknown operations are reported.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/TlCrt.hpp"
#include "platform/cp1252.hpp"
#include "platform/events.hpp"

namespace {

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      out += s[i];
      continue;
    }
    char c = s[++i];
    switch (c) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'b': out += '\b'; break;
      case 'a': out += '\a'; break;
      case 'x':
        out += static_cast<char>(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
        i += 2;
        break;
      default: out += c;
    }
  }
  return out;
}

void Report(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  const bool toStderr = argc > 1 && std::string(argv[1]) == "--answers-to-stderr";
  if (toStderr) ++first;
  for (int i = first; i < argc; ++i) {
    std::string a = argv[i];
    auto colon = a.find(':');
    std::string cmd = a.substr(0, colon);
    std::string arg = colon == std::string::npos ? "" : platform::Utf8ToCp1252(a.substr(colon + 1));
    if (toStderr) arg = Unescape(arg);
    int n = std::atoi(arg.c_str());
    int m = std::atoi(arg.substr(arg.find(',') + 1).c_str());
    if (cmd == "w") Write(arg);
    else if (cmd == "l") WriteLn(arg);
    else if (cmd == "rep") {
      std::string text, piece = arg.substr(arg.find(':') + 1);
      for (int k = 0; k < n; ++k) text += piece;
      Write(text);
    }
    else if (cmd == "fg") SetForeground(static_cast<uint8_t>(n));
    else if (cmd == "bg") SetBackground(static_cast<uint8_t>(n));
    else if (cmd == "attr") TextAttr() = static_cast<uint8_t>(n);
    else if (cmd == "at") MoveCursor(n, m);
    else if (cmd == "cls") ClearScreen();
    else if (cmd == "eol") ClearToLineEnd();
    else if (cmd == "pos") {
      std::string at = std::to_string(CursorColumn()) + "," + std::to_string(CursorRow());
      toStderr ? Report("pos " + at) : WriteLn(at);
    }
    else if (cmd == "ta") Report("attr " + std::to_string(TextAttr()));
    else if (cmd == "cell") Report("cell " + std::to_string(CharAt(n, m)) + " " + std::to_string(AttrAt(n, m)));
    else if (cmd == "key") {
      std::string code = std::to_string(WaitForKey());
      toStderr ? Report("key " + code) : WriteLn("k" + code);
    }
    else if (cmd == "keys") for (int k = 0; k < n; ++k) Report("key " + std::to_string(WaitForKey()));
    else if (cmd == "line") {
      std::string line = ReadLn();
      toStderr ? Report("line [" + platform::Cp1252ToUtf8(line) + "]") : WriteLn("[" + line + "]");
    }
    else if (cmd == "wait") {
      const char* answer = KeyWaiting() ? "yes" : "no";
      toStderr ? Report(std::string("waiting ") + answer) : WriteLn(answer);
    }
    else if (cmd == "br") SetBrailleMode(n);
    else if (cmd == "tone") StartTone(static_cast<uint16_t>(n));
    else if (cmd == "notone") StopTone();
    else if (cmd == "pause") Pause(static_cast<uint16_t>(n));
    else if (cmd == "close") CloseConsole();
    else if (cmd == "quit") platform::PostMessage({platform::MessageKind::Quit, 0, 0});
    else if (cmd == "ret") return n;
    else if (cmd == "copy") CopyToClipboard(arg);
    else if (cmd == "paste") {
      std::string text = PasteFromClipboard(static_cast<size_t>(n));
      toStderr ? Report("paste [" + platform::Cp1252ToUtf8(text) + "]") : WriteLn("<" + text + ">");
    }
    else if (cmd == "clock") {
      uint16_t y, mo, d, wd, h, mi, se, hs;
      CurrentDate(y, mo, d, wd);
      CurrentTime(h, mi, se, hs);
      WriteLn("clock " + std::to_string(y) + " " + std::to_string(mo) + " " + std::to_string(d) + " " +
              std::to_string(wd) + " " + std::to_string(((h * 60 + mi) * 60 + se) * 100 + hs));
    }
    else if (cmd == "err") std::fprintf(stderr, "%s\n", platform::Cp1252ToUtf8(arg).c_str());
    else if (cmd == "eof") ConsoleSettings().checkEof = true;
    else if (cmd == "nobreak") ConsoleSettings().checkBreak = false;
    else if (toStderr) Report("unknown " + cmd);
  }
  return 0;
}
