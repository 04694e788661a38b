# Our diphone voice: the synthesis core (static, also linked by the tools and the fuzz targets)
# and libteluma-mbrola.so, the MBROLA programming interface over it, built into build/lib.
add_library(teluma_voice STATIC
  ${CMAKE_CURRENT_LIST_DIR}/voice_database.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pho_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pitch_contour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/voice_synth.cpp)
target_include_directories(teluma_voice PUBLIC ${CMAKE_SOURCE_DIR}/src)

add_library(teluma-mbrola SHARED ${CMAKE_CURRENT_LIST_DIR}/mbrola_api.cpp)
target_link_libraries(teluma-mbrola PRIVATE teluma_voice)
target_compile_definitions(teluma-mbrola PRIVATE TELUMA_VERSION="${TELUMA_VERSION}")
# Only the 23 entry points are exported (nothing of the static libraries inside it).
target_link_options(teluma-mbrola PRIVATE -Wl,--exclude-libs,ALL)
set_target_properties(teluma-mbrola PROPERTIES
  LIBRARY_OUTPUT_DIRECTORY ${TELUMA_LIBRARY_DIR}
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)
set_target_properties(teluma_voice PROPERTIES CXX_VISIBILITY_PRESET hidden)
target_link_libraries(teluma_voice PUBLIC teluma_platform)
