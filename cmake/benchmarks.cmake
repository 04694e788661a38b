# teluma_bench(<name> SOURCES <source>... LIBS <library>... [UNLISTED])
# teluma_bench(SCRIPT <script>)
#
# A benchmark program (Google Benchmark or plain figures) built into build/bench/bin by the
# `benchmarks` target, or a whole-program measurement script. `make bench` runs every program
# and script in the order they were added, except UNLISTED programs, which a script runs.
add_custom_target(benchmarks)
set_property(GLOBAL PROPERTY TELUMA_BENCH_LIST "")

function(teluma_bench name)
  cmake_parse_arguments(B "UNLISTED" "" "SOURCES;LIBS" ${ARGN})
  if(name STREQUAL "SCRIPT")
    set_property(GLOBAL APPEND PROPERTY TELUMA_BENCH_LIST ${B_UNPARSED_ARGUMENTS})
    return()
  endif()
  add_executable(${name} EXCLUDE_FROM_ALL ${B_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench/bin)
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  add_dependencies(benchmarks ${name})
  if(NOT B_UNLISTED)
    set_property(GLOBAL APPEND PROPERTY TELUMA_BENCH_LIST ${name})
  endif()
endfunction()
