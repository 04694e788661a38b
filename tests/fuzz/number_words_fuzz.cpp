// Fuzz target: the number-word recordings. The parts become the recordings of the words of a
// number (whatever their header says); the sound handed to the wave device must stay a whole
// 8-bit 11025 Hz image of at most one chunk. The speech front end around the player is
// replaced here by a device that only checks what it is given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "fuzz_input.hpp"
#include "numbers/tllenum.hpp"
#include "platform/wave_file.hpp"

using namespace teluma;
using namespace teluma::numbers;

namespace {
std::string letters;
size_t played = 0;
}  // namespace

// The playback layer's operations the number speaker calls.
namespace teluma::playback {
std::string& LettersFolder() { return letters; }
bool SpeechBusy() { return false; }
void MakeWaveHeader(uint8_t* h, uint32_t dataLength, int32_t rate, int16_t channels, int16_t bits) {
  std::memcpy(h, "RIFF", 4);
  platform::StoreLe32(h + 4, dataLength + 36);
  std::memcpy(h + 8, "WAVE", 4);
  platform::StoreLe32(h + 40, dataLength);
  platform::StoreLe32(h + 24, static_cast<uint32_t>(rate));
  platform::StoreLe16(h + 34, static_cast<uint16_t>(bits));
  platform::StoreLe16(h + 22, static_cast<uint16_t>(channels));
}
void PlayWaveImage(const uint8_t* image, size_t length) {
  if (length <= 44 || length > 44 + kNumberChunkBytes) __builtin_trap();
  if (platform::LoadLe32(image + 40) != length - 44 || platform::LoadLe32(image + 24) != 11025)
    __builtin_trap();
  played += length - 44;
}
}  // namespace teluma::playback

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  letters = "/tmp/teluma-fuzz-numbers-" + std::to_string(getpid()) + "/";
  mkdir(letters.c_str(), 0700);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // 1234 is said with the recordings _mil, _duzento, _e, _trinta and _quatro.
  static const char* const kFiles[] = {"_mil", "_duzento", "_e", "_trinta", "_quatro"};
  auto parts = fuzz::Parts(data, size, 5);
  for (size_t i = 0; i < 5; ++i)
    std::ofstream(letters + kFiles[i] + ".wav", std::ios::binary | std::ios::trunc) << parts[i];
  const std::string words = NumberToWords(1234);
  const bool feminine = data[0] & 1;
  // What the player must hand over: every readable recording's samples, once per word.
  size_t expected = 0;
  for (size_t at = 0; at < words.size();) {
    size_t end = words.find(' ', at);
    if (end == std::string::npos) end = words.size();
    std::string file = NumberWordFile(std::string_view(words).substr(at, end - at),
                                      feminine && end >= words.find_last_not_of(' '));
    for (size_t i = 0; i < 5; ++i) {
      const std::string& p = parts[i];
      if (file == kFiles[i] && p.size() > 44 && p.compare(0, 4, "RIFF") == 0 &&
          p.compare(8, 4, "WAVE") == 0)
        expected += p.size() - 44;
    }
    at = end + 1;
  }
  played = 0;
  SayWordsRecorded(words, feminine);
  if (played != expected) __builtin_trap();
  return 0;
}
