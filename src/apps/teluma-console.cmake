add_executable(teluma-console ${CMAKE_CURRENT_LIST_DIR}/teluma-console.cpp)
target_link_libraries(teluma-console PRIVATE teluma_console)
