// Delivers the key script to the program: untimed keys one by one at key waits, timed lines
// at their moment of the virtual clock.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/headless/keyscript.hpp"

namespace platform::headless {

class KeySource {
 public:
  // The script named by TELUMA_KEYS, loaded at the first use (only with the virtual clock).
  static KeySource& Get();

  // Replaces the script (tests); schedules its first timed line.
  void Load(KeyScript script);

  // Posts the next untimed key when the script's head is untimed; false otherwise.
  bool DeliverUntimed();

  // True while keys remain to be delivered.
  bool Pending() const;

 private:
  KeySource() = default;
  void LoadFromEnvironment();
  void ScheduleHead();
  KeyScript script_;
  size_t line_ = 0;
  size_t key_ = 0;
  bool loaded_ = false;
  uint64_t timer_ = 0;
  int64_t lastDelivery_ = 0;
};

}  // namespace platform::headless
