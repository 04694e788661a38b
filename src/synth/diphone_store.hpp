// The diphone database's file formats and the wave files of the letters folder, kept apart from
// the synthesizer's state so the database tool and the tests share them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace teluma::synth {

namespace diphone {

// One index entry: name length (0..8), 8 name bytes, unit length (u16 LE), offset (u32 LE).
constexpr size_t kIndexEntrySize = 15;
constexpr size_t kMaxUnitName = 8;
constexpr int kSampleRate = 11025;

struct IndexEntry {
  std::string name;
  uint16_t length = 0;
  uint32_t offset = 0;
};

// The index as read from disk. Entries are expected in ascending byte order of their names; an
// unsorted index only makes lookups miss. A trailing partial entry is ignored.
class DiphoneIndex {
 public:
  void Assign(std::string bytes);
  void Clear() { bytes_.clear(); }
  size_t Count() const { return bytes_.size() / kIndexEntrySize; }
  IndexEntry At(size_t i) const;
  // Bisection over the entries; name must already be upper case.
  bool Find(std::string_view name, IndexEntry& entry) const;

 private:
  std::string_view NameAt(size_t i) const;
  std::string bytes_;
};

// Ascending byte order, shorter name first when one is a prefix of the other.
bool UnitNameLess(std::string_view a, std::string_view b);
std::string EncodeIndexEntry(const IndexEntry& entry);

// Where the samples of a RIFF/WAVE file are: the file must start with "RIFF", then a "fmt "
// chunk; chunks are skipped up to "data". Identifiers are compared without regard to case.
struct WaveData {
  size_t offset = 0;
  size_t size = 0;  // cut to the bytes the file really holds
  int format = 1;
  int channels = 1;
  int rate = kSampleRate;
  int bits = 8;
};
bool FindWaveData(std::string_view file, WaveData& out);

// The samples of a wave file as unsigned 8-bit mono at 11025 samples per second (8- and 16-bit
// PCM of any rate and channel count are converted; other formats give nothing).
std::string WaveSamplesAs8BitMono(std::string_view file);

// The 44-byte RIFF/WAVE header for PCM data.
void WriteWaveHeader(uint8_t* header, uint32_t dataSize, int rate, int channels, int bits);

}  // namespace diphone

}  // namespace teluma::synth
