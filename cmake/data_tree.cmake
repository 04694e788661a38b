# teluma_data_files(<target> <folder> <source>...)
#
# Hand-written data is kept in UTF-8 in git; the programs read Windows-1252 with CR LF line ends.
# Writes each source (relative to the calling folder) under its own name into folder, a folder
# of the data tree given relative to its root (then <target> joins `datatree`) or an absolute
# folder of the build tree, and makes <target> stand for the written files.
set(TELUMA_TO_CP1252 ${CMAKE_SOURCE_DIR}/data/to-cp1252.sh)

function(teluma_data_files target folder)
  if(IS_ABSOLUTE "${folder}")
    set(out_dir ${folder})
  else()
    set(out_dir ${TELUMA_DATA_ROOT}/${folder})
  endif()
  set(outputs)
  foreach(source ${ARGN})
    get_filename_component(input ${source} ABSOLUTE)
    get_filename_component(name ${source} NAME)
    set(out ${out_dir}/${name})
    file(RELATIVE_PATH shown ${CMAKE_BINARY_DIR} ${out})
    add_custom_command(OUTPUT ${out}
      COMMAND sh ${TELUMA_TO_CP1252} ${input} ${out}
      DEPENDS ${input} ${TELUMA_TO_CP1252}
      COMMENT "Dados: ${shown}")
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(${target} DEPENDS ${outputs})
  if(NOT IS_ABSOLUTE "${folder}")
    add_dependencies(datatree ${target})
  endif()
endfunction()
