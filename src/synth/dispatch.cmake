# The synthesizer dispatch: the current outside engine and its five operations, with the
# engine modules the program brings (engines.cpp).
add_library(teluma_dispatch STATIC ${CMAKE_CURRENT_LIST_DIR}/dispatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engines.cpp)
target_link_libraries(teluma_dispatch PUBLIC teluma_platform
  $<TARGET_NAME_IF_EXISTS:teluma_console>)
