// The program's pseudo-random generator and the arithmetic of the faults.
#include "game/chance.hpp"
#include "platform/env.hpp"
#include "platform/random.hpp"

namespace {
platform::Random& Generator() {
  static platform::Random generator(1);
  return generator;
}
}  // namespace

void SeedRandom(uint64_t seed) { Generator().Seed(seed); }

uint64_t StartupSeed() { return platform::Env::Default().Seed(); }

int RandomBelow(int n) { return Generator().Below(n); }

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
