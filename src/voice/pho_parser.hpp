// MBROLA lines into phonemes: "NAME DURATION [POSITION PITCH]...", ";" comments, blank lines,
// "#" flush marks. Bytes arrive in any pieces; nothing in them is trusted.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "voice/teluma_mbrola.h"

namespace teluma::voice {

struct PitchTarget {
  double position = 0;  // percent of the phoneme, 0..100
  double hertz = 0;
};

struct PhoneLine {
  std::string name;
  double durationMs = 0;
  std::vector<PitchTarget> targets;  // in the order given
};

struct ParseError {
  int code = MBR_ERROR_NONE;
  std::string text;  // Windows-1252
};

// One complete line (without its line end). Returns true for a phoneme (in phone), false for
// a comment, a blank line or a line with no usable phoneme; every fault goes to errors.
// A phoneme line with faults is repaired as far as it can be (see teluma_mbrola.h).
bool ParsePhoLine(std::string_view line, PhoneLine& phone, std::vector<ParseError>& errors);

// True for a flush mark ("#", blanks around it allowed).
bool IsFlushMark(std::string_view line);

// Cuts a byte stream into lines, keeping an unfinished line for the next piece. Of a line longer
// than MBR_MAX_LINE only the first MBR_MAX_LINE bytes are kept (memory stays bounded), and
// overlong tells.
class LineSplitter {
 public:
  // Appends bytes; complete lines can then be taken with Next.
  void Feed(std::string_view bytes);
  // The next complete line (CR before LF dropped); false when none is complete.
  bool Next(std::string& line, bool& overlong);
  // The unfinished line as a last line (at a flush); false when empty.
  bool TakeRest(std::string& line, bool& overlong);
  void Clear();

 private:
  void EndLine();
  // Complete lines, each as a flag byte (1 when overlong), its text and "\n"; the buffers keep
  // their capacity, so a steady stream of lines allocates nothing.
  std::string complete_;
  size_t readAt_ = 0;
  std::string partial_;
  bool overlong_ = false;
};

}  // namespace teluma::voice
