if(TARGET teluma_game)
  add_executable(moondrop ${CMAKE_CURRENT_LIST_DIR}/moondrop.cpp)
  target_link_libraries(moondrop PRIVATE teluma_game)
endif()
