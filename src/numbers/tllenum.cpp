// Playing number words: the recordings of the words are joined into one buffer (a 44-byte
// header and up to kNumberChunkBytes of samples) and played chunk by chunk.
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "numbers/tllenum.hpp"
#include "platform/events.hpp"
#include "platform/paths.hpp"
#include "playback/tlwin_playback.hpp"
#include "playback/tlwin_settings.hpp"

namespace {

constexpr size_t kHeaderBytes = 44;
constexpr int32_t kRate = 11025;

// The samples of a number-word recording: everything after its 44-byte header. Files that
// cannot be read, are shorter than a header or are not RIFF/WAVE files give nothing.
std::vector<uint8_t> ReadWordSamples(const std::string& systemPath) {
  std::ifstream in(platform::MapPath(systemPath), std::ios::binary);
  if (!in) return {};
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() <= kHeaderBytes || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
    return {};
  return std::vector<uint8_t>(bytes.begin() + kHeaderBytes, bytes.end());
}

class ChunkPlayer {
 public:
  ChunkPlayer() : buffer_(kHeaderBytes + kNumberChunkBytes) {}

  // Appends samples, playing the buffer first whenever they would not fit. A recording longer
  // than the whole buffer goes out in several full chunks.
  void Append(const std::vector<uint8_t>& samples) {
    if (filled_ + samples.size() > kNumberChunkBytes) Flush();
    size_t pos = 0;
    while (samples.size() - pos > kNumberChunkBytes) {
      std::memcpy(buffer_.data() + kHeaderBytes, samples.data() + pos, kNumberChunkBytes);
      filled_ = kNumberChunkBytes;
      Flush();
      pos += kNumberChunkBytes;
    }
    std::memcpy(buffer_.data() + kHeaderBytes + filled_, samples.data() + pos,
                samples.size() - pos);
    filled_ += samples.size() - pos;
  }

  void Flush() {
    if (filled_ == 0) return;
    MakeWaveHeader(buffer_.data(), static_cast<uint32_t>(filled_), kRate, 1, 8);
    PlayWaveImage(buffer_.data(), kHeaderBytes + filled_);
    while (SpeechBusy()) platform::WaitMessage();
    filled_ = 0;
  }

 private:
  std::vector<uint8_t> buffer_;
  size_t filled_ = 0;
};

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    size_t start = i;
    while (i < text.size() && text[i] != ' ') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

}  // namespace

void SayWordsRecorded(std::string_view words, bool feminine) {
  const std::vector<std::string_view> list = SplitWords(words);
  ChunkPlayer player;
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string name = NumberWordFile(list[i], feminine && i + 1 == list.size());
    const std::vector<uint8_t> samples = ReadWordSamples(LettersFolder() + name + ".wav");
    if (!samples.empty()) player.Append(samples);
  }
  player.Flush();
}
