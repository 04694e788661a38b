// Fuzz target: MBROLA lines into the voice library's entry points, with the database of the
// data tree. The input is cut into pieces at bytes of value 1 (lines arrive in any pieces);
// the first byte chooses the no-error mode, the read capacity and where flushes fall.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "voice/teluma_mbrola.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const bool opened = [] {
    if (init_MBR(TELUMA_FUZZ_ROOT "/qorbel/koraltts/br4") < 0) __builtin_trap();
    return true;
  }();
  (void)opened;
  setNoError_MBR(data[0] & 1);
  static const int kCapacities[] = {1, 7, 160, 16000};
  int capacity = kCapacities[(data[0] >> 1) & 3];
  bool flushEachPiece = data[0] & 8;
  reset_MBR();
  std::vector<short> buffer(16000);
  std::string piece;
  auto drain = [&] {
    while (read_MBR(buffer.data(), capacity) > 0) {
    }
  };
  for (size_t i = 1; i <= size; ++i) {
    if (i == size || data[i] == 1) {
      write_MBR(piece.c_str());  // a NUL byte inside only ends the piece early
      if (flushEachPiece) flush_MBR();
      drain();
      piece.clear();
      continue;
    }
    piece += static_cast<char>(data[i]);
  }
  flush_MBR();
  drain();
  char text[64];
  lastErrorStr_MBR(text, sizeof text);
  return 0;
}
