// The window picture: a rocket against a starry sky, drawn by code into a 24-bit BMP with the
// 40-byte header the console accepts.
#pragma once
#include <string>

namespace teluma::tools::recordings {

bool WriteRocketPicture(const std::string& path);

}  // namespace teluma::tools::recordings
