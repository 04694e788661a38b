// The program's pseudo-random generator and the arithmetic of the faults.
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>

#include "game/events.hpp"

namespace {
std::mt19937_64& Generator() {
  static std::mt19937_64 generator(1);
  return generator;
}
}  // namespace

void SeedRandom(uint64_t seed) { Generator().seed(seed); }

uint64_t StartupSeed() {
  if (const char* text = std::getenv("TELUMA_SEED")) {
    char* end = nullptr;
    unsigned long long seed = std::strtoull(text, &end, 10);
    if (end != text && *end == '\0') return seed;
  }
  return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

int RandomBelow(int n) {
  if (n <= 1) return 0;
  // Drawn by hand (not with a standard distribution) so that a seed gives the same game on every
  // standard library.
  uint64_t limit = UINT64_MAX - UINT64_MAX % static_cast<uint64_t>(n);
  uint64_t x;
  do x = Generator()(); while (x >= limit);
  return static_cast<int>(x % static_cast<uint64_t>(n));
}

bool ChanceOneIn(int n) { return RandomBelow(n) == 0; }

int CloggedBurn(int burn, int r) { return burn * r / 5; }

int DrainFuel(int& fuel, int amount) {
  if (fuel - amount < 0) {
    amount = fuel;
    fuel = 0;
  } else {
    fuel -= amount;
  }
  return amount;
}
