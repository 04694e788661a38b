// Fuzz target: profile file lookups. Parts: the file, the section, the key; the selector byte is
// the caller's buffer size for the lookup through a file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.hpp"
#include "platform/profile.hpp"

using namespace teluma;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  auto parts = fuzz::Parts(data, size, 3);
  std::string value;
  bool found = platform::FindProfileValue(parts[0], parts[1], parts[2], value);
  if (!found && !value.empty()) __builtin_trap();

  std::string path = fuzz::WriteFile("test.ini", parts[0]);
  size_t buffer = data[0];
  std::string read =
      platform::GetPrivateProfileString(parts[1], parts[2], "padr\xE3o ", buffer, path);
  if (read.size() + (buffer ? 1 : 0) > buffer && !(buffer == 0 && read.empty())) __builtin_trap();
  return 0;
}
