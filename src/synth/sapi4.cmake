# SAPI 4 voices through the desktop's speech service. libspeechd is loaded at run time, so only
# its headers are needed here and the game starts on a machine without it.
if(SPEECHD_FOUND AND TARGET teluma_wav)
  add_library(teluma_sapi4 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/sapi4.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sapi4_service.cpp)
  target_include_directories(teluma_sapi4 PRIVATE ${SPEECHD_INCLUDE_DIRS})
  target_link_libraries(teluma_sapi4 PUBLIC teluma_platform teluma_console teluma_wav
    Threads::Threads ${CMAKE_DL_LIBS})
  target_link_libraries(teluma_dispatch PUBLIC teluma_sapi4)
  target_compile_definitions(teluma_dispatch PRIVATE TELUMA_HAVE_SAPI4=1)
endif()
