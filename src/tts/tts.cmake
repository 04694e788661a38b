# The Portuguese text-to-speech front end: pure text processing over the platform layer.
# teluma_koral adds the engine that renders it through the voice library and the wave device.
set(koral_engine_sources
  ${CMAKE_CURRENT_SOURCE_DIR}/uttsKoral.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/mbrola.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/minireg.cpp)
file(GLOB tts_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
list(REMOVE_ITEM tts_sources ${koral_engine_sources})
add_library(teluma_tts STATIC ${tts_sources})
target_link_libraries(teluma_tts PUBLIC teluma_platform)

add_library(teluma_koral STATIC ${koral_engine_sources})
target_link_libraries(teluma_koral PUBLIC teluma_tts teluma_wav)
