# The outside voices: espeak-ng voices rendered on the engine's own thread into the sound
# output's speech voice or a wave file.
add_library(teluma_voices STATIC ${CMAKE_CURRENT_LIST_DIR}/voices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/voices_engine.cpp ${CMAKE_CURRENT_LIST_DIR}/voices_file.cpp)
target_include_directories(teluma_voices PRIVATE ${ESPEAK_NG_INCLUDE})
target_link_libraries(teluma_voices PUBLIC teluma_platform PRIVATE ${ESPEAK_NG_LIB})
