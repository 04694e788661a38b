# The voice on its own: MBROLA lines in, a wave file out, through libteluma-mbrola.so.
add_executable(teluma-mbrola-command ${CMAKE_CURRENT_LIST_DIR}/teluma-mbrola.cpp)
set_target_properties(teluma-mbrola-command PROPERTIES OUTPUT_NAME teluma-mbrola)
target_link_libraries(teluma-mbrola-command PRIVATE teluma_platform)
# Loaded at run time, but it must be there.
add_dependencies(teluma-mbrola-command teluma-mbrola)
