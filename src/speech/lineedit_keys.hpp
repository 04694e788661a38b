// Inside the spoken line input: the modifier keys that were held when the last key was taken
// from the console's queue.
#pragma once

namespace teluma::speech {

struct KeyModifiers {
  bool shift = false;
  bool alt = false;
};

KeyModifiers HeldModifiers();

}  // namespace teluma::speech
