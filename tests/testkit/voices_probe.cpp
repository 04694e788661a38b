// Test program: starts speech from the TELUMA.INI of the tree it runs in, runs its arguments in
// turn ("say:TEXT" speaks a text, "phrase:KEY" plays a recording) and ends speech.
#include <cstdio>
#include <string>

#include "platform/cp1252.hpp"
#include "speech/tlwin.hpp"

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]).starts_with("--")) {
    std::puts("voices-probe say:TEXTO phrase:CHAVE ...");
    return 0;
  }
  SpeechStart(0, "c:\\frases");
  for (int i = 1; i < argc; ++i) {
    const std::string arg = platform::Utf8ToCp1252(argv[i]);
    if (arg.starts_with("say:")) SpeakText(arg.substr(4));
    if (arg.starts_with("phrase:")) PlayPhrase(arg.substr(7));
  }
  SpeechEnd();
  return 0;
}
