add_library(teluma_console STATIC
  ${CMAKE_CURRENT_LIST_DIR}/TlCrt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tone.cpp)
target_link_libraries(teluma_console PUBLIC teluma_platform teluma_window)
