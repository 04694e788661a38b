// Runs console operations named by its arguments, in order. Results of queries go to standard
// error, so that the grid only holds what the operations themselves wrote.
//   w:TEXT  l:TEXT     Write / WriteLn (escapes \r \n \t \b \a \\ \xHH; UTF-8 otherwise)
//   rep:N:TEXT         one Write of TEXT repeated N times
//   fg:N bg:N attr:N   colours and the attribute byte       at:C,R   MoveCursor
//   cls eol            ClearScreen, ClearToLineEnd           pos ta   cursor and attribute
//   cell:C,R           character and attribute of a cell     key      WaitForKey
//   keys:N             N times WaitForKey                    line     ReadLn
//   wait               KeyWaiting                            br:N     SetBrailleMode
//   tone:N notone      StartTone / StopTone                  pause:N  Pause
//   close quit ret:N   the close path, the quit message, return N from main
//   copy:TEXT paste:N  the clipboard
//   eof nobreak        before the console opens: Ctrl+Z ends a line; Ctrl+Break is off
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
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto colon = a.find(':');
    std::string cmd = a.substr(0, colon);
    std::string arg = colon == std::string::npos ? "" : Unescape(platform::Utf8ToCp1252(a.substr(colon + 1)));
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
    else if (cmd == "pos") Report("pos " + std::to_string(CursorColumn()) + "," + std::to_string(CursorRow()));
    else if (cmd == "ta") Report("attr " + std::to_string(TextAttr()));
    else if (cmd == "cell") Report("cell " + std::to_string(CharAt(n, m)) + " " + std::to_string(AttrAt(n, m)));
    else if (cmd == "key") Report("key " + std::to_string(WaitForKey()));
    else if (cmd == "keys") for (int k = 0; k < n; ++k) Report("key " + std::to_string(WaitForKey()));
    else if (cmd == "line") Report("line [" + platform::Cp1252ToUtf8(ReadLn()) + "]");
    else if (cmd == "wait") Report(KeyWaiting() ? "waiting yes" : "waiting no");
    else if (cmd == "br") SetBrailleMode(n);
    else if (cmd == "tone") StartTone(static_cast<uint16_t>(n));
    else if (cmd == "notone") StopTone();
    else if (cmd == "pause") Pause(static_cast<uint16_t>(n));
    else if (cmd == "close") CloseConsole();
    else if (cmd == "quit") platform::PostMessage({platform::MessageKind::Quit, 0, 0});
    else if (cmd == "ret") return n;
    else if (cmd == "copy") CopyToClipboard(arg);
    else if (cmd == "paste") Report("paste [" + platform::Cp1252ToUtf8(PasteFromClipboard(static_cast<size_t>(n))) + "]");
    else if (cmd == "eof") ConsoleSettings().checkEof = true;
    else if (cmd == "nobreak") ConsoleSettings().checkBreak = false;
    else Report("unknown " + cmd);
  }
  return 0;
}
