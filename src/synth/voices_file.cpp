// The file stream of the outside voices: a wave file of 16-bit mono speech.
#include <cstdint>

#include "platform/paths.hpp"
#include "platform/wave_file.hpp"
#include "synth/voices.hpp"
#include "synth/voices_engine.hpp"

namespace teluma::synth {

namespace voices {

namespace {
void PutHeader(std::FILE* file, uint32_t dataBytes) {
  uint8_t header[platform::kWaveHeaderBytes];
  platform::PutWaveHeader(header, dataBytes, engine::SampleRate(), 1, 16, 2);
  std::fseek(file, 0, SEEK_SET);
  std::fwrite(header, 1, sizeof header, file);
}
}  // namespace

FileStream::~FileStream() { Close(); }

bool FileStream::Open(const std::string& fileName, int32_t mode, bool) {
  Close();
  std::lock_guard<std::mutex> lock(mutex_);
  if (mode != kStreamCreateForWrite || fileName.empty()) return false;
  file_ = std::fopen(platform::MapPath(fileName).c_str(), "wb");
  if (file_ == nullptr) return false;
  dataBytes_ = 0;
  failed_ = false;
  PutHeader(file_, 0);
  failed_ = std::fflush(file_) != 0;
  return !failed_;
}

bool FileStream::Write(const int16_t* samples, size_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_ == nullptr || failed_) return false;
  // Little-endian on disk whatever the machine.
  std::vector<uint8_t> bytes(count * 2);
  for (size_t i = 0; i < count; ++i) platform::StoreLe16(&bytes[2 * i], uint16_t(samples[i]));
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    failed_ = true;
    return false;
  }
  dataBytes_ += uint32_t(bytes.size());
  return true;
}

void FileStream::Finish() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_ == nullptr) return;
  PutHeader(file_, dataBytes_);
  std::fseek(file_, 0, SEEK_END);
  if (std::fflush(file_) != 0) failed_ = true;
}

void FileStream::Close() {
  Finish();
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_ == nullptr) return;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
}

bool FileStream::Failed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failed_;
}

}  // namespace voices

}  // namespace teluma::synth
