// The socket of the window's display connection, so that the window thread can sleep on it
// together with its own wake-up descriptor; -1 when the display is not X11.
#pragma once

struct SDL_Window;

namespace teluma::platform::window {

int DisplayConnectionFd(SDL_Window* window);

}  // namespace teluma::platform::window
