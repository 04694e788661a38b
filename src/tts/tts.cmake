# The Portuguese text-to-speech front end: pure text processing over the platform layer.
file(GLOB tts_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
add_library(teluma_tts STATIC ${tts_sources})
target_link_libraries(teluma_tts PUBLIC teluma_platform)
