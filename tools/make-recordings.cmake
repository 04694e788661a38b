# The recordings, effects and picture of the data tree, made by our own tool.
add_executable(make-recordings
  recordings/make_recordings.cpp recordings/sound.cpp recordings/voice.cpp
  recordings/effects.cpp recordings/picture.cpp recordings/phrases.cpp
  recordings/character_names.cpp)
target_include_directories(make-recordings PRIVATE ${ESPEAK_NG_INCLUDE} ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(make-recordings PRIVATE teluma_game_catalogue teluma_tts teluma_platform ${ESPEAK_NG_LIB})

set(recordings_stamp ${TELUMA_DATA_ROOT}/qorbel/som/recordings.stamp)
add_custom_command(OUTPUT ${recordings_stamp}
  COMMAND make-recordings ${TELUMA_DATA_ROOT}
  COMMAND ${CMAKE_COMMAND} -E touch ${recordings_stamp}
  DEPENDS make-recordings
  COMMENT "Gravações, efeitos e figura do jogo")
add_custom_target(recordings DEPENDS ${recordings_stamp})
add_dependencies(datatree recordings)

# A page with the waveform and spectrogram of every effect: make effects-page.
add_executable(effects-page-tool EXCLUDE_FROM_ALL recordings/effects_page.cpp
  recordings/effects.cpp recordings/sound.cpp)
target_link_libraries(effects-page-tool PRIVATE teluma_platform)
set_target_properties(effects-page-tool PROPERTIES OUTPUT_NAME effects-page)
add_custom_target(effects-page
  COMMAND effects-page-tool ${TELUMA_DATA_ROOT} ${CMAKE_BINARY_DIR}/effects
  DEPENDS effects-page-tool recordings)
