// Fuzz target: the registry files. Parts: the data tree's registry file and the player's own
// (read after it); the voice's key and a few malformed paths are looked up in them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "fuzz_input.hpp"
#include "tts/minireg.hpp"

using namespace teluma;
using namespace teluma::tts;

namespace {
std::string tree, mine;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string top = "/tmp/teluma-fuzz-registry-" + std::to_string(getpid());
  tree = top + "/root";
  mine = top + "/mine";
  for (const std::string& f : {top, tree, tree + "/windows", mine}) mkdir(f.c_str(), 0700);
  setenv("TELUMA_ROOT", tree.c_str(), 1);
  setenv("TELUMA_WINDIR", mine.c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  auto parts = fuzz::Parts(data, size, 2);
  for (auto [folder, part] : {std::pair{tree + "/windows", 0}, std::pair{mine, 1}}) {
    std::string path = folder + "/registro.reg";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << parts[part];
  }
  for (const char* key : {"SOFTWARE\\TCTS\\Mbrola\\databases\\br4", "SOFTWARE\\TCTS\\Mbrola\\",
                          "\\", "", "SOFTWARE\\\\x", "software\\tcts\\mbrola\\databases\\BR4"}) {
    std::string value = "antes";
    if (!ReadRegistryString(kHkeyLocalMachine, key, value) && value != "antes") __builtin_trap();
  }
  return 0;
}
