# Spoken numbers, time and date. teluma_numwords is the pure word building (no sound), so that it
# builds and tests on its own; teluma_numbers plays the words and speaks time and date.
add_library(teluma_numwords STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tllenum_words.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tlHora_calendar.cpp)
target_link_libraries(teluma_numwords PUBLIC teluma_platform)

add_library(teluma_numbers STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tllenum.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tlHora.cpp)
# The clock comes from the console.
if(EXISTS ${CMAKE_SOURCE_DIR}/src/console/TlCrt.hpp)
  target_sources(teluma_numbers PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tlHora_clock.cpp)
endif()
target_link_libraries(teluma_numbers PUBLIC teluma_numwords
  $<TARGET_NAME_IF_EXISTS:teluma_speech> $<TARGET_NAME_IF_EXISTS:teluma_console>)
