# Installation layout and the Debian package: the program, the generator, the launcher that
# starts the program beside its boundary files, and the 22 files themselves.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows-zip.cmake)
  return()
endif()
include(GNUInstallDirs)

install(TARGETS paravib paravib-explore paravib-boundaries RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/paravib-run
                 ${CMAKE_CURRENT_SOURCE_DIR}/scripts/paravib-explore-run
        DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/boundaries/ DESTINATION ${CMAKE_INSTALL_DATADIR}/paravib/boundaries)
install(FILES README.md docs/experiments.tsv docs/worksheet.md docs/worksheet.ja.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME paravib)
set(CPACK_PACKAGE_VENDOR "paravib team")
set(CPACK_PACKAGE_CONTACT "paravib team <team@paravib.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Teaching program on parametrically excited vibration and Mathieu stability charts")
set(CPACK_PACKAGE_INSTALL_DIRECTORY paravib)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# Shared-library dependencies (libglut, libGL, libX11, libstdc++) are read off the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
