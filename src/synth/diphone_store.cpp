#include "synth/diphone_store.hpp"

#include <algorithm>
#include <cmath>

#include "platform/wave_file.hpp"

namespace teluma::synth {

namespace diphone {
namespace {

const uint8_t* Bytes(std::string_view s) { return reinterpret_cast<const uint8_t*>(s.data()); }
uint32_t Le32(std::string_view s, size_t at) { return platform::LoadLe32(Bytes(s) + at); }
uint16_t Le16(std::string_view s, size_t at) { return platform::LoadLe16(Bytes(s) + at); }

bool SameId(std::string_view file, size_t at, const char* id) {
  return file.size() >= at + 4 && platform::ChunkIdIs(Bytes(file) + at, id);
}

}  // namespace

void DiphoneIndex::Assign(std::string bytes) { bytes_ = std::move(bytes); }

std::string_view DiphoneIndex::NameAt(size_t i) const {
  std::string_view entry(bytes_.data() + i * kIndexEntrySize, kIndexEntrySize);
  size_t length = std::min<size_t>(static_cast<uint8_t>(entry[0]), kMaxUnitName);
  return entry.substr(1, length);
}

IndexEntry DiphoneIndex::At(size_t i) const {
  std::string_view entry(bytes_.data() + i * kIndexEntrySize, kIndexEntrySize);
  return IndexEntry{std::string(NameAt(i)), Le16(entry, 9), Le32(entry, 11)};
}

bool DiphoneIndex::Find(std::string_view name, IndexEntry& entry) const {
  size_t low = 0, high = Count();
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    std::string_view here = NameAt(middle);
    if (here == name) {
      entry = At(middle);
      return true;
    }
    if (UnitNameLess(here, name))
      low = middle + 1;
    else
      high = middle;
  }
  return false;
}

bool UnitNameLess(std::string_view a, std::string_view b) {
  // char_traits<char> compares as unsigned bytes, and a prefix sorts first.
  return a.compare(b) < 0;
}

std::string EncodeIndexEntry(const IndexEntry& entry) {
  std::string out(kIndexEntrySize, '\0');
  size_t length = std::min(entry.name.size(), kMaxUnitName);
  out[0] = static_cast<char>(length);
  std::copy_n(entry.name.begin(), length, out.begin() + 1);
  uint8_t tail[6];
  platform::StoreLe16(tail, entry.length);
  platform::StoreLe32(tail + 2, entry.offset);
  std::copy_n(tail, 6, reinterpret_cast<uint8_t*>(out.data()) + 9);
  return out;
}

bool FindWaveData(std::string_view file, WaveData& out) {
  if (file.size() < 20 || !SameId(file, 0, "RIFF") || !SameId(file, 12, "fmt ")) return false;
  uint32_t fmtSize = Le32(file, 16);
  if (fmtSize >= 16 && file.size() >= 36) {
    out.format = Le16(file, 20);
    out.channels = Le16(file, 22);
    out.rate = static_cast<int>(Le32(file, 24));
    out.bits = Le16(file, 34);
  }
  // Chunk bodies are padded to an even size; sizes past the end just end the search.
  uint64_t at = 20 + static_cast<uint64_t>(fmtSize) + (fmtSize & 1);
  while (const auto chunk = platform::NextChunk(Bytes(file), file.size(), at, true)) {
    if (SameId(file, chunk->head, "data")) {
      out.offset = chunk->body;
      out.size = std::min<size_t>(chunk->size, file.size() - out.offset);
      return out.size > 0;
    }
  }
  return false;
}

std::string WaveSamplesAs8BitMono(std::string_view file) {
  WaveData wave;
  if (!FindWaveData(file, wave)) return {};
  std::string_view data = file.substr(wave.offset, wave.size);
  if (wave.format != 1 || (wave.bits != 8 && wave.bits != 16) || wave.channels < 1 ||
      wave.channels > 8 || wave.rate < 1000 || wave.rate > 192000)
    return {};
  if (wave.bits == 8 && wave.channels == 1 && wave.rate == kSampleRate) return std::string(data);
  size_t frameBytes = static_cast<size_t>(wave.bits / 8) * wave.channels;
  size_t frames = data.size() / frameBytes;
  auto sample = [&](size_t frame) {  // mono value in -1 .. 1
    double sum = 0;
    for (int c = 0; c < wave.channels; ++c) {
      size_t at = frame * frameBytes + static_cast<size_t>(c) * (wave.bits / 8);
      if (wave.bits == 8)
        sum += (static_cast<uint8_t>(data[at]) - 128) / 128.0;
      else
        sum += static_cast<int16_t>(Le16(data, at)) / 32768.0;
    }
    return sum / wave.channels;
  };
  size_t outFrames = static_cast<size_t>(
      static_cast<double>(frames) * kSampleRate / wave.rate);
  std::string out(outFrames, '\x80');
  for (size_t i = 0; i < outFrames; ++i) {
    double position = static_cast<double>(i) * wave.rate / kSampleRate;
    size_t left = static_cast<size_t>(position);
    double part = position - static_cast<double>(left);
    double value = sample(std::min(left, frames - 1)) * (1 - part) +
                   sample(std::min(left + 1, frames - 1)) * part;
    int byte = static_cast<int>(std::lround(value * 127.0)) + 128;
    out[i] = static_cast<char>(std::clamp(byte, 0, 255));
  }
  return out;
}

void WriteWaveHeader(uint8_t* h, uint32_t dataSize, int rate, int channels, int bits) {
  platform::PutWaveHeader(h, dataSize, rate, static_cast<int16_t>(channels),
                          static_cast<int16_t>(bits),
                          static_cast<uint16_t>(channels * bits / 8));
}

}  // namespace diphone

}  // namespace teluma::synth
