add_executable(teluma-diphone ${CMAKE_CURRENT_LIST_DIR}/teluma-diphone.cpp)
target_link_libraries(teluma-diphone PRIVATE teluma_diphone teluma_speech_core)
