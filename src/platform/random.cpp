#include "platform/random.hpp"

namespace teluma::platform {
namespace {
constexpr int kMiddle = 156;
constexpr uint64_t kMatrix = 0xB5026F5AA96619E9ULL;
constexpr uint64_t kUpper = 0xFFFFFFFF80000000ULL;
constexpr uint64_t kLower = 0x7FFFFFFFULL;
}  // namespace

void Random::Seed(uint64_t seed) {
  state_[0] = seed;
  for (int i = 1; i < kWords; ++i)
    state_[i] = 6364136223846793005ULL * (state_[i - 1] ^ (state_[i - 1] >> 62)) + i;
  index_ = kWords;
}

void Random::Twist() {
  for (int i = 0; i < kWords; ++i) {
    uint64_t x = (state_[i] & kUpper) | (state_[(i + 1) % kWords] & kLower);
    uint64_t next = x >> 1;
    if (x & 1) next ^= kMatrix;
    state_[i] = state_[(i + kMiddle) % kWords] ^ next;
  }
  index_ = 0;
}

uint64_t Random::Next() {
  if (index_ >= kWords) Twist();
  uint64_t x = state_[index_++];
  x ^= (x >> 29) & 0x5555555555555555ULL;
  x ^= (x << 17) & 0x71D67FFFEDA60000ULL;
  x ^= (x << 37) & 0xFFF7EEE000000000ULL;
  x ^= x >> 43;
  return x;
}

int Random::Below(int n) {
  if (n <= 1) return 0;
  const uint64_t span = static_cast<uint64_t>(n);
  const uint64_t limit = UINT64_MAX - UINT64_MAX % span;
  uint64_t x;
  do x = Next(); while (x >= limit);
  return static_cast<int>(x % span);
}

}  // namespace teluma::platform
