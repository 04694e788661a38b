# The sound output: wave stream and effect voice over SDL2 audio or the virtual sink.
add_library(teluma_sound STATIC
  ${CMAKE_CURRENT_LIST_DIR}/effect.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/riff.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/virtual_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_out.cpp)
target_link_libraries(teluma_sound PUBLIC teluma_platform PRIVATE PkgConfig::SDL2)
