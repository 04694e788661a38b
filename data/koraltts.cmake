# Rule files of the Portuguese text-to-speech front end, written into the data tree as
# Windows-1252 with CR LF. (The conversion script makes the destination folder itself.)
set(koraltts_outputs "")
# portug.dfn is made from the voice database (tools/make-voice.cmake).
foreach(name portug.nrl portug.exc portug.abr portug.pro)
  set(out ${TELUMA_DATA_ROOT}/qorbel/koraltts/${name})
  add_custom_command(OUTPUT ${out}
    COMMAND sh ${TELUMA_TO_CP1252} ${CMAKE_CURRENT_SOURCE_DIR}/koraltts/${name} ${out}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/koraltts/${name} ${TELUMA_TO_CP1252}
    COMMENT "Dados: qorbel/koraltts/${name}")
  list(APPEND koraltts_outputs ${out})
endforeach()
add_custom_target(koraltts_data DEPENDS ${koraltts_outputs})
add_dependencies(datatree koraltts_data)
# Whoever needs the rule files needs the diphone list made with the voice database too.
if(TARGET voice_database)
  add_dependencies(koraltts_data voice_database)
endif()
