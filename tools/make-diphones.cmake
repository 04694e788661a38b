# The diphone synthesizer's voice databases, rendered with espeak-ng's Brazilian Portuguese
# voice. The unit inventory comes from running the word list (package wbrazilian), the game's
# messages and every consonant-vowel syllable through the translator's rules and the
# synthesizer's unit lookup; each speed step gets its own database rendered at its own rate.
add_executable(make-diphones
  ${CMAKE_CURRENT_LIST_DIR}/make-diphones.cpp
  ${CMAKE_CURRENT_LIST_DIR}/make-diphones-units.cpp
  ${CMAKE_CURRENT_LIST_DIR}/make-diphones-render.cpp)
target_include_directories(make-diphones PRIVATE ${ESPEAK_NG_INCLUDE} ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(make-diphones PRIVATE teluma_diphone teluma_translator ${ESPEAK_NG_LIB})
if(TARGET teluma_game_catalogue)
  target_link_libraries(make-diphones PRIVATE teluma_game_catalogue)
  target_compile_definitions(make-diphones PRIVATE TELUMA_HAVE_CATALOGUE=1)
endif()

set(TELUMA_WORD_LIST /usr/share/dict/brazilian CACHE FILEPATH "Brazilian Portuguese word list")
set(diphone_rules ${CMAKE_BINARY_DIR}/tools/diphone-rules)
set(diphone_inventory ${CMAKE_BINARY_DIR}/tools/diphone-units.txt)
set(diphone_folder ${TELUMA_DATA_ROOT}/qorbel/som/difones)
set(diphone_word_list)
if(EXISTS ${TELUMA_WORD_LIST})
  set(diphone_word_list ${TELUMA_WORD_LIST})
endif()
add_custom_command(OUTPUT ${diphone_rules}/regras.rgr ${diphone_rules}/portug.exc
  COMMAND sh ${CMAKE_SOURCE_DIR}/data/to-cp1252.sh ${CMAKE_SOURCE_DIR}/data/difones/regras.rgr
          ${diphone_rules}/regras.rgr
  COMMAND sh ${CMAKE_SOURCE_DIR}/data/to-cp1252.sh ${CMAKE_SOURCE_DIR}/data/difones/portug.exc
          ${diphone_rules}/portug.exc
  DEPENDS ${CMAKE_SOURCE_DIR}/data/difones/regras.rgr ${CMAKE_SOURCE_DIR}/data/difones/portug.exc
  COMMENT "Difones: regras do tradutor")
add_custom_command(OUTPUT ${diphone_inventory}
  COMMAND make-diphones --inventory ${diphone_inventory} --rules ${diphone_rules}/
          --words ${TELUMA_WORD_LIST} --catalogue yes
  DEPENDS make-diphones ${diphone_rules}/regras.rgr ${diphone_rules}/portug.exc
          ${diphone_word_list}
  COMMENT "Difones: inventário de unidades")
set(diphone_outputs)
# Speaking rate (words per minute) of the voice for the units of each speed step.
set(diphone_steps 1 2 3 4 5)
set(diphone_rates 150 175 205 240 285)
foreach(step rate IN ZIP_LISTS diphone_steps diphone_rates)
  set(name DIFONES${step})
  add_custom_command(OUTPUT ${diphone_folder}/${name}.IND ${diphone_folder}/${name}.DIF
    COMMAND ${CMAKE_COMMAND} -E make_directory ${diphone_folder}
    COMMAND make-diphones --render ${diphone_inventory} --rate ${rate} --out ${diphone_folder}
            --name ${name}
    DEPENDS make-diphones ${diphone_inventory}
    COMMENT "Difones: banco ${name} (${rate} palavras por minuto)")
  list(APPEND diphone_outputs ${diphone_folder}/${name}.IND)
endforeach()
add_custom_target(diphone_databases DEPENDS ${diphone_outputs})
add_dependencies(datatree diphone_databases)
