// Letter case of Windows-1252 bytes as the system's programs change it.
#pragma once
#include <cstdint>

namespace teluma::platform {

// a-z, and every code above 223, move down by 32 (the division sign and y with diaeresis as
// well, as the system does).
inline uint8_t UpperCp1252(uint8_t c) {
  return (c >= 'a' && c <= 'z') || c > 223 ? uint8_t(c - 32) : c;
}

}  // namespace teluma::platform
