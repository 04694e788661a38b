# `make package`: a Debian package of what the install rules put under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME moondrop)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Moondrop <moondrop@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "spoken moon-landing game for blind players (Brazilian Portuguese)")
set(CPACK_PACKAGE_DESCRIPTION
  "Moondrop is a real-time moon-landing game played by ear, in Brazilian Portuguese.\n\
It comes with its whole speech suite: a text console that speaks, number and letter\n\
recordings, a diphone synthesizer, the Koral text-to-speech front end with its own\n\
br4 voice, and bridges to espeak-ng and speech-dispatcher.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries the programs link (SDL2, SDL2_ttf, fontconfig, espeak-ng, the C++ run time) come
# from dpkg-shlibdeps. Named here: what is only read at run time and needed (espeak-ng's voice
# data, the window's fixed-width font), and as recommendations what is loaded by name only
# when there (libspeechd for the SAPI 4 voices and the speech service it talks to; without
# them those voices are missing and the rest plays).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "espeak-ng-data, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libspeechd2, speech-dispatcher")
# Files under /etc are the administrator's once installed: an upgrade must not overwrite them
# unasked.
if(SPEECHD_MODULE_CONF_DIR MATCHES "^/etc/")
  file(WRITE ${CMAKE_BINARY_DIR}/debian/conffiles "${SPEECHD_MODULE_CONF_DIR}/koral-generic.conf\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/conffiles)
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
