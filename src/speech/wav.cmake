# The wave output device: the pure pieces (blocks, RIFF walking, shortening) apart, so they
# build and test without the console.
add_library(teluma_wav_parts STATIC ${CMAKE_CURRENT_LIST_DIR}/tlwav_parts.cpp)
target_link_libraries(teluma_wav_parts PUBLIC teluma_platform)

add_library(teluma_wav STATIC ${CMAKE_CURRENT_LIST_DIR}/tlwav.cpp)
target_link_libraries(teluma_wav PUBLIC teluma_wav_parts teluma_console)
