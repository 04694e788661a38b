// Reading the console's picture: a BMP file whose info header is 40 bytes long.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.hpp"

namespace teluma::console {

// Decodes a BMP image held in memory (1, 4, 8, 24 or 32 bits per pixel, uncompressed).
// Nothing when the header is not 40 bytes long, the sizes do not fit the data or the
// format is not one of these.
std::optional<platform::Picture> DecodeBmp(const std::vector<uint8_t>& file);

// The same from a host file; nothing when it cannot be read.
std::optional<platform::Picture> LoadBmp(const std::string& hostPath);

}  // namespace teluma::console
