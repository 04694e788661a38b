# The built-in diphone synthesizer. It loads the translator's rules at open and plays its
# blocks through the wave device (or the player the speech front end installs).
add_library(teluma_diphone STATIC
  ${CMAKE_CURRENT_LIST_DIR}/diphone.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diphone_store.cpp)
target_link_libraries(teluma_diphone PUBLIC teluma_platform teluma_translator teluma_wav)
