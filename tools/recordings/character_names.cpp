#include "phrases.hpp"
#include "platform/cp1252.hpp"
#include "tts/uttsPreproc.hpp"

using namespace teluma::tts;

namespace teluma::tools::recordings {

// The names the Portuguese front end reads symbols with, so that a character sounds the same
// whether it is played from its recording or spoken by the synthesizer.
std::string CharacterName(int code) {
  std::string name = SymbolName(static_cast<unsigned char>(code));
  size_t start = name.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : platform::Cp1252ToUtf8(name.substr(start));
}

}  // namespace teluma::tools::recordings
