// CTest starts these test programs directly, without an X server: the window is then drawn by
// SDL's offscreen driver, named on purpose so the window backend accepts it.
#include <stdlib.h>

namespace {
const bool kDriverChosen = [] {
  const char* display = getenv("DISPLAY");
  if (!display || !*display) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  return true;
}();
}  // namespace
