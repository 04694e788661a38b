add_executable(teluma-say ${CMAKE_CURRENT_LIST_DIR}/teluma-say.cpp)
target_link_libraries(teluma-say PRIVATE teluma_speech)
