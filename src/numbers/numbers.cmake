# Spoken numbers, time and date. teluma_numwords is the pure word building (no sound), so that it
# builds and tests on its own; teluma_numbers plays the words and speaks time and date.
add_library(teluma_numwords STATIC ${CMAKE_CURRENT_LIST_DIR}/tllenum_words.cpp)
target_link_libraries(teluma_numwords PUBLIC teluma_platform)

add_library(teluma_numbers STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tllenum.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tlHora.cpp)
target_link_libraries(teluma_numbers PUBLIC teluma_numwords
  $<TARGET_NAME_IF_EXISTS:teluma_speech> $<TARGET_NAME_IF_EXISTS:teluma_console>)
