// Delivers the key script to the program: untimed keys one by one at key waits, timed lines
// at their moment of the virtual clock.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/headless/keyscript.hpp"

namespace teluma::platform {
class Env;
}

namespace teluma::platform::headless {

class KeySource {
 public:
  // Delivers through env's queue and clock.
  explicit KeySource(Env& env) : env_(env) {}

  // The key source of the program's environment.
  static KeySource& Get();

  // Loads a key script file; a file that cannot be read is said on standard error and gives
  // no keys.
  void LoadFile(const std::string& path);

  // Replaces the script (tests); schedules its first timed line.
  void Load(KeyScript script);

  // Posts the next untimed key when the script's head is untimed; false otherwise.
  bool DeliverUntimed();

  // True while keys remain to be delivered.
  bool Pending() const;

 private:
  void ScheduleHead();
  Env& env_;
  KeyScript script_;
  size_t line_ = 0;
  size_t key_ = 0;
  uint64_t timer_ = 0;
  int64_t lastDelivery_ = 0;
};

}  // namespace teluma::platform::headless
