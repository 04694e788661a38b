add_executable(teluma-play ${CMAKE_CURRENT_LIST_DIR}/teluma-play.cpp)
target_link_libraries(teluma-play PRIVATE teluma_wav)
