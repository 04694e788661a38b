# The translator's rule and exception files, beside the diphone database, as Windows-1252 with
# CR LF line ends (the translator reads both line ends).
set(difones_dir ${TELUMA_DATA_ROOT}/qorbel/som/difones)
set(difones_outputs)
foreach(name regras.rgr portug.exc)
  add_custom_command(OUTPUT ${difones_dir}/${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${difones_dir}
    COMMAND sh ${TELUMA_TO_CP1252} ${CMAKE_CURRENT_SOURCE_DIR}/difones/${name} ${difones_dir}/${name}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/difones/${name} ${TELUMA_TO_CP1252}
    COMMENT "Dados: qorbel/som/difones/${name}")
  list(APPEND difones_outputs ${difones_dir}/${name})
endforeach()
add_custom_target(data_translator_files DEPENDS ${difones_outputs})
add_dependencies(datatree data_translator_files)
