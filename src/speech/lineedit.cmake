# Spoken key and line input: the line editor and its helpers, and the screen review mode the
# editor enters.
add_library(teluma_lineedit STATIC
  ${CMAKE_CURRENT_LIST_DIR}/lineedit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lineedit_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/review.cpp
  ${CMAKE_CURRENT_LIST_DIR}/review_grid.cpp)
target_link_libraries(teluma_lineedit PUBLIC teluma_speech teluma_numbers
  $<TARGET_NAME_IF_EXISTS:teluma_console> $<TARGET_NAME_IF_EXISTS:teluma_wav>)
