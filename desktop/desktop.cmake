# The Koral voice for the whole desktop: its speech-dispatcher module file goes where the
# service reads module files (Debian's speech-dispatcher: /etc/speech-dispatcher/modules, where
# a file named *-generic.conf is loaded at start as a module of the same name without editing
# speechd.conf). The module runs "koral" from the PATH.
set(SPEECHD_MODULE_CONF_DIR "/etc/speech-dispatcher/modules" CACHE PATH
  "Folder of speech-dispatcher's module files")
install(FILES ${CMAKE_CURRENT_LIST_DIR}/koral-generic.conf
  DESTINATION ${SPEECHD_MODULE_CONF_DIR})
