# The Portuguese voice database "br4", harvested from espeak-ng's Brazilian voice, with the
# front end's diphone list made from its inventory and the registry file that points the engine
# at it (the default value of HKEY_LOCAL_MACHINE\SOFTWARE\TCTS\Mbrola\databases\br4).
add_executable(make-voice voice/make_voice.cpp voice/harvest.cpp voice/phoneme_set.cpp)
target_include_directories(make-voice PRIVATE ${ESPEAK_NG_INCLUDE} ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(make-voice PRIVATE teluma_voice ${ESPEAK_NG_LIB})
target_compile_definitions(make-voice PRIVATE TELUMA_VERSION="${TELUMA_VERSION}")

set(voice_folder ${TELUMA_DATA_ROOT}/qorbel/koraltts)
set(voice_outputs ${voice_folder}/br4 ${voice_folder}/portug.dfn
                  ${TELUMA_DATA_ROOT}/windows/registro.reg)
add_custom_command(OUTPUT ${voice_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${voice_folder} ${TELUMA_DATA_ROOT}/windows
  COMMAND make-voice --out ${voice_folder}/br4 --dfn ${voice_folder}/portug.dfn
          --registry ${TELUMA_DATA_ROOT}/windows/registro.reg
          --system-path "c:\\qorbel\\koraltts\\br4"
  DEPENDS make-voice
  COMMENT "Voz br4: difones da voz brasileira do espeak-ng"
  VERBATIM)
add_custom_target(voice_database DEPENDS ${voice_outputs})
add_dependencies(datatree voice_database)
