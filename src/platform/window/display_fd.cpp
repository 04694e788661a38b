// Kept apart: the X11 headers define macros (None, Status, Bool) that clash with our names.
#include "platform/window/display_fd.hpp"

#include <SDL.h>
#include <SDL_syswm.h>

namespace teluma::platform::window {

int DisplayConnectionFd(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
    return ConnectionNumber(info.info.x11.display);
#endif
  return -1;
}

}  // namespace teluma::platform::window
