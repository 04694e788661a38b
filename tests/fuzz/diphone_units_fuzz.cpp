// Fuzz target: the diphone database as the synthesizer reads it from disk. Parts: the index
// (".IND"), the data file (".DIF") whose units the index's offsets and lengths point into, and
// the phonetic text spoken with them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input.hpp"
#include "synth/diphone.hpp"

using namespace teluma;
using namespace teluma::synth;

namespace {
std::string difones;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string root = "/tmp/teluma-fuzz-difones-" + std::to_string(getpid());
  for (const char* sub : {"", "/qorbel", "/qorbel/som", "/qorbel/som/letras", "/qorbel/som/difones"})
    mkdir((root + sub).c_str(), 0700);
  difones = root + "/qorbel/som/difones/";
  for (const char* rules : {"regras.rgr", "portug.exc"})
    std::ofstream(difones + rules, std::ios::binary) << fuzz::ShippedText(std::string("difones/") + rules);
  setenv("TELUMA_ROOT", root.c_str(), 1);
  setenv("TELUMA_WINDIR", root.c_str(), 1);  // no TELUMA.INI: every folder has its default
  DiphoneDatabase() = "FUZZ";
  SetDiphonePlayer([](const uint8_t*, size_t) {}, [] { return false; });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  auto parts = fuzz::Parts(data, size, 3);
  std::ofstream(difones + "FUZZ.IND", std::ios::binary | std::ios::trunc) << parts[0];
  std::ofstream(difones + "FUZZ.DIF", std::ios::binary | std::ios::trunc) << parts[1];
  if (DiphoneOpen() != 0) __builtin_trap();
  DiphoneSpeak(parts[2], data[0] & 1);
  DiphoneClose();
  return 0;
}
