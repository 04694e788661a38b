# Installation, manual pages, menu entry and the Debian package. Included once, after every
# target exists; it only names targets.
#
# Layout under the prefix:
#   bin/                      the commands
#   lib/teluma/               libteluma-mbrola.so, found through the programs' RUNPATH
#   share/teluma/             the data tree (read only; found beside bin/ with no setting)
#   share/applications/, share/icons/hicolor/128x128/apps/, share/man/man1, man6
include(GNUInstallDirs)

set(TELUMA_PROGRAMS moondrop koral teluma-console teluma-diphone teluma-mbrola-command
                    teluma-play teluma-say)
set(TELUMA_PRIVATE_LIBDIR lib/teluma)

foreach(program ${TELUMA_PROGRAMS})
  set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/../${TELUMA_PRIVATE_LIBDIR}")
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
install(TARGETS teluma-mbrola LIBRARY DESTINATION ${TELUMA_PRIVATE_LIBDIR} NAMELINK_SKIP)
install(TARGETS teluma-mbrola LIBRARY DESTINATION ${TELUMA_PRIVATE_LIBDIR} NAMELINK_ONLY)

# The data tree's two folders as the build wrote them, without what a developer's `make play`
# or a stray run left in them.
install(DIRECTORY ${TELUMA_DATA_ROOT}/windows ${TELUMA_DATA_ROOT}/qorbel DESTINATION share/teluma
        PATTERN "luplacar.ini*" EXCLUDE
        PATTERN "*.stamp" EXCLUDE
        PATTERN "*.tmp" EXCLUDE)

# Menu entry and its icon, the rocket picture made square.
set(icon ${CMAKE_BINARY_DIR}/share/moondrop.png)
set(picture ${TELUMA_DATA_ROOT}/qorbel/som/moondrop/foguete.bmp)
add_custom_command(OUTPUT ${icon}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/make-icon.py ${picture} 128 ${icon}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-icon.py datatree
  COMMENT "Ícone do jogo")
set(install_outputs ${icon})
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/moondrop.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

# Manual pages made from each command's --help and --version.
find_program(HELP2MAN help2man)
set(man_pages
  "moondrop|6|jogo falado de alunisagem"
  "koral|1|sintetizador de fala em português do Brasil"
  "teluma-console|1|console de texto falado"
  "teluma-diphone|1|tradução e síntese por difones"
  "teluma-mbrola|1|voz br4 a partir de linhas MBROLA"
  "teluma-play|1|toca arquivos de som pelo dispositivo de onda"
  "teluma-say|1|fala um texto")
foreach(entry ${man_pages})
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 command)
  list(GET entry 1 section)
  list(GET entry 2 summary)
  set(target ${command})
  if(command STREQUAL "teluma-mbrola")
    set(target teluma-mbrola-command)
  endif()
  if(NOT HELP2MAN)
    message(WARNING "help2man não encontrado: sem página de manual para ${command}")
    continue()
  endif()
  set(page ${CMAKE_BINARY_DIR}/share/man/${command}.${section})
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/man
    COMMAND ${CMAKE_COMMAND} -E env TELUMA_BACKEND=headless
            ${HELP2MAN} --locale=C.UTF-8 --no-info --no-discard-stderr --section=${section} --name=${summary}
            --output=${page} $<TARGET_FILE:${target}>
    DEPENDS ${target}
    COMMENT "Página de manual: ${command}(${section})")
  list(APPEND install_outputs ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
add_custom_target(install-files ALL DEPENDS ${install_outputs})

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
