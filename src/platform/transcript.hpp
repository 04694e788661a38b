// The event transcript of the automation contract (TELUMA_TRANSCRIPT): one line per event,
// "<ms> <EVENT> <data>", UTF-8, texts quoted with the escapes \r \n \t \" \\.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace teluma::platform {

class Transcript {
 public:
  // Writes to path ("" for no transcript); an unwritable path is reported once on standard
  // error and the program goes on without a transcript.
  explicit Transcript(const std::string& path);

  // The transcript of the program's environment (TELUMA_TRANSCRIPT).
  static Transcript& Get();

  bool Enabled() const { return file_ != nullptr; }

  // Where the time of each line comes from (the virtual or the real clock, in ms).
  void SetClock(std::function<int64_t()> clock) { clock_ = std::move(clock); }

  // An event with raw data ("PLAY c:\x.wav", "TONE 800", "EXIT 0").
  void Event(std::string_view name, std::string_view data = {});
  // An event whose data is a Windows-1252 text, converted and quoted.
  void TextEvent(std::string_view name, std::string_view cp1252Text);
  // A line without a clock (the rows after SCREEN and ATTR).
  void RawLine(std::string_view utf8);
  void Flush();

  // Opens another file (tests); an empty path closes the transcript.
  void Reopen(const std::string& path);

  // Quotes a Windows-1252 text as the transcript writes it.
  static std::string Quote(std::string_view cp1252Text);

  ~Transcript();
  Transcript(const Transcript&) = delete;
  Transcript& operator=(const Transcript&) = delete;

 private:
  std::FILE* file_ = nullptr;
  std::function<int64_t()> clock_;
};

}  // namespace teluma::platform
