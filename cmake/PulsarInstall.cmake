# Installing: the show, its launcher module and its archive (where the installed show looks for
# them, ../lib/.../pulsar and ../share/pulsar seen from bin), a desktop entry and an icon.
# `cpack -G DEB` packs the same tree into a .deb.
include(GNUInstallDirs)

install(TARGETS pulsar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET pulsar_launcher)
  install(TARGETS pulsar_launcher LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/pulsar)
endif()
if(TARGET demo_dat)
  install(FILES ${CMAKE_BINARY_DIR}/demo.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/pulsar)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/pulsar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/pulsar.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME pulsar)
set(CPACK_PACKAGE_VENDOR "Pulsar")
set(CPACK_PACKAGE_CONTACT "Pulsar developers <pulsar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual show")
set(CPACK_PACKAGE_DESCRIPTION "A fixed 204.2-second show of animated 3D scenes, particle systems, captions, \
slides, flashes and post-processing, timed against one music track and pulsing with its level. \
It draws with OpenGL 4.5 and compiles its HLSL shaders at run time.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY pulsar)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Libraries the program links come from dpkg-shlibdeps; the OpenGL and EGL drivers are loaded at
# run time through libepoxy and SDL, which the shared-library scan cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1, libglx-mesa0 | libglx-vendor, libegl-mesa0 | libegl-vendor")
include(CPack)
