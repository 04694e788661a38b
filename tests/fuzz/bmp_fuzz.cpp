// Fuzz target: any bytes as the console's BMP picture decode or are refused, never read out of
// the file, and a decoded picture has one pixel per point.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "console/picture.hpp"

using namespace teluma;
using namespace teluma::console;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  // The exact size, so that ASan sees a read past the end of the file.
  file.shrink_to_fit();
  auto picture = teluma::console::DecodeBmp(file);
  if (picture && (picture->width <= 0 || picture->height <= 0 ||
                  picture->pixels.size() !=
                      static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height)))
    __builtin_trap();
  return 0;
}
