# The speech front end (module tlwin). teluma_speech_core holds the parts that need only the
# platform layer (settings, text rules, wave headers, the choice of program for a page), so they
# build and test on their own; teluma_speech adds playback, speaking and start-up.
set(teluma_speech_core_sources
  ${CMAKE_CURRENT_LIST_DIR}/tlwinSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tlwinText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tlwinPageChoice.cpp)
add_library(teluma_speech_core STATIC ${teluma_speech_core_sources})
target_link_libraries(teluma_speech_core PUBLIC teluma_platform)

file(GLOB teluma_speech_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/tlwin*.cpp)
list(REMOVE_ITEM teluma_speech_sources ${teluma_speech_core_sources})
if(teluma_speech_sources)
  add_library(teluma_speech STATIC ${teluma_speech_sources})
  set(teluma_speech_scope PUBLIC)
else()
  add_library(teluma_speech INTERFACE)
  set(teluma_speech_scope INTERFACE)
endif()
# The libraries below call back into this one (waits, phrases): cycles between static
# libraries are resolved by the linker.
target_link_libraries(teluma_speech ${teluma_speech_scope} teluma_speech_core
  $<TARGET_NAME_IF_EXISTS:teluma_console> $<TARGET_NAME_IF_EXISTS:teluma_wav>
  $<TARGET_NAME_IF_EXISTS:teluma_diphone> $<TARGET_NAME_IF_EXISTS:teluma_translator>
  $<TARGET_NAME_IF_EXISTS:teluma_numbers> $<TARGET_NAME_IF_EXISTS:teluma_dispatch>
  $<TARGET_NAME_IF_EXISTS:teluma_lineedit>)
