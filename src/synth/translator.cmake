# The letter-to-sound translator: pure text processing over the rule and exception files.
add_library(teluma_translator STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/translator_rules.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/translator_exceptions.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/translator_text.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/translator_files.cpp)
target_link_libraries(teluma_translator PUBLIC teluma_platform)
