add_executable(koral ${CMAKE_CURRENT_SOURCE_DIR}/koral.cpp)
target_link_libraries(koral PRIVATE teluma_koral teluma_platform)
target_compile_definitions(koral PRIVATE TELUMA_VERSION="${TELUMA_VERSION}")
