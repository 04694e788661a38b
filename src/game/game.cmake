# The message catalogue alone (no speech): the data-tree tool links it to record every message.
add_library(teluma_game_catalogue STATIC ${CMAKE_CURRENT_LIST_DIR}/catalogue.cpp)
target_include_directories(teluma_game_catalogue PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(teluma_game_catalogue PUBLIC teluma_platform)

# The game's rules without console or speech: physics, score, files, reports, list keys.
add_library(teluma_game_rules STATIC
  ${CMAKE_CURRENT_LIST_DIR}/physics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/difficulty_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/score_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_logic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/files.cpp)
target_include_directories(teluma_game_rules PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(teluma_game_rules PUBLIC teluma_game_catalogue teluma_platform)

# The game itself, on the console and the speech front end.
if(TARGET teluma_console AND TARGET teluma_speech)
  add_library(teluma_game STATIC
    ${CMAKE_CURRENT_LIST_DIR}/messages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/difficulty.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flight.cpp
    ${CMAKE_CURRENT_LIST_DIR}/events.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reports.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scores.cpp
    ${CMAKE_CURRENT_LIST_DIR}/selection_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/driver.cpp)
  target_link_libraries(teluma_game PUBLIC teluma_game_rules teluma_speech teluma_console
    teluma_platform)
endif()
