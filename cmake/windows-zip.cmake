# The Windows zip: paravib.exe, paravib-boundaries.exe, the 22 boundary files in boundaries\,
# the launcher paravib.cmd and README.txt (both with CR LF line ends, for cmd and Notepad).
# `cpack` in the build folder writes paravib-<version>-win64.zip.
configure_file(${PROJECT_SOURCE_DIR}/scripts/windows/paravib.cmd ${CMAKE_BINARY_DIR}/paravib.cmd
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/scripts/windows/README.txt ${CMAKE_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS paravib paravib-boundaries RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/paravib.cmd ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
install(DIRECTORY ${CMAKE_BINARY_DIR}/boundaries/ DESTINATION boundaries)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME paravib)
set(CPACK_PACKAGE_FILE_NAME paravib-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
