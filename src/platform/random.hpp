// The program's pseudo-random generator: a 64-bit Mersenne twister of our own, so that a seed
// gives the same draws whatever standard library the program was built with.
#pragma once
#include <array>
#include <cstdint>

namespace teluma::platform {

class Random {
 public:
  explicit Random(uint64_t seed = 5489) { Seed(seed); }
  void Seed(uint64_t seed);
  uint64_t Next();
  // A uniform integer in [0, n) (0 when n <= 1), drawn without the bias of a plain modulo.
  int Below(int n);

 private:
  static constexpr int kWords = 312;
  std::array<uint64_t, kWords> state_{};
  int index_ = kWords;
  void Twist();
};

}  // namespace teluma::platform
