# Spoken numbers, time and date. teluma_numwords is the pure word building (no sound), so that it
# builds and tests on its own; teluma_numbers plays the words and speaks time and date.
add_library(teluma_numwords STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tllenum_words.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tlHora_calendar.cpp)
target_link_libraries(teluma_numwords PUBLIC teluma_platform)

add_library(teluma_numbers STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tllenum.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tlHora.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tlHora_clock.cpp)
# The speech front end calls back into this library (number runs): the linker resolves the
# cycle between the two static libraries.
target_link_libraries(teluma_numbers PUBLIC teluma_numwords teluma_speech teluma_console)
