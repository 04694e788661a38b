# The graphical console window (SDL2, SDL2_ttf, fontconfig). It registers itself as the
# "window" backend from a static initializer, so programs link it whole (see the top level).
add_library(teluma_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/window_backend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/display_fd.cpp)
target_link_libraries(teluma_window PUBLIC teluma_platform teluma_sound PkgConfig::SDL2
  PkgConfig::SDL2_TTF PkgConfig::FONTCONFIG)
