// The effect voice (the system's sndPlaySoundA): a new sound cuts off the one still playing;
// and the entry to the speech voice.
#include <fstream>
#include <iterator>

#include "platform/paths.hpp"
#include "platform/sound.hpp"
#include "platform/sound/output.hpp"
#include "platform/sound/riff.hpp"

namespace teluma::platform {

namespace {

// Larger files are not taken as effects (a minute of CD-quality stereo is about 10 MB).
constexpr std::streamoff kLargestEffectFile = 64 << 20;

bool HasExtension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

bool ReadWhole(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size <= 0 || size > kLargestEffectFile) return false;
  in.seekg(0);
  bytes.resize(size_t(size));
  return bool(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

}  // namespace

bool PlayEffectImage(const std::vector<uint8_t>& image, bool loop) {
  const auto info = ParseWaveImage(image.data(), image.size());
  if (!info || info->dataLength == 0) {
    StopEffect();
    return false;
  }
  auto sound = std::make_unique<EffectSound>();
  sound->format = info->format;
  sound->loop = loop;
  const auto first = image.begin() + std::ptrdiff_t(info->dataOffset);
  sound->samples.assign(first, first + std::ptrdiff_t(info->dataLength));
  Output().PlayEffect(std::move(sound));
  return true;
}

bool PlayEffectFile(const std::string& hostPath) {
  std::string path = hostPath;
  if (!FileExists(path) && !HasExtension(path)) path = ResolveCase(path + ".wav");
  std::vector<uint8_t> image;
  if (!ReadWhole(path, image)) {
    StopEffect();
    return false;
  }
  return PlayEffectImage(image, false);
}

void StopEffect() { Output().StopEffect(); }

void QueueSpeech(std::unique_ptr<SpeechSound> piece) { Output().QueueSpeech(std::move(piece)); }

void PurgeSpeech() { Output().PurgeSpeech(); }

}  // namespace teluma::platform
