# The Koral engine of the dispatch: the settings, the Portuguese engine and the console's waits.
add_library(teluma_koral_glue STATIC ${CMAKE_CURRENT_LIST_DIR}/koral.cpp)
target_link_libraries(teluma_koral_glue PUBLIC teluma_koral teluma_speech_core teluma_console)
target_link_libraries(teluma_dispatch PUBLIC teluma_koral_glue)
target_compile_definitions(teluma_dispatch PRIVATE TELUMA_HAVE_KORAL=1)
