# The Windows zip: paravib.exe, paravib-boundaries.exe, the 22 boundary files in boundaries\,
# the launcher paravib.cmd and README.txt (both with CR LF line ends, for cmd and Notepad);
# paravib-explore.exe and its launcher paravib-explore.cmd once the explorer is built for Windows.
# `cpack` in the build folder writes paravib-<version>-win64.zip.
configure_file(${PROJECT_SOURCE_DIR}/scripts/windows/paravib.cmd ${CMAKE_BINARY_DIR}/paravib.cmd
               @ONLY NEWLINE_STYLE CRLF)
# README.txt names the explorer's launcher only when the zip holds the explorer.
set(explore_files "")
if(TARGET paravib-explore)
  set(explore_files "  paravib-explore.cmd      starts paravib-explore.exe, the explorer of the chart (click to pick
                           delta and epsilon, w saves a PNG picture into the folder it was
                           started from), inside the boundaries folder
")
endif()
configure_file(${PROJECT_SOURCE_DIR}/scripts/windows/README.txt ${CMAKE_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS paravib paravib-boundaries RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/paravib.cmd ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
# The explorer and its launcher, once the explorer is built for Windows.
if(TARGET paravib-explore)
  configure_file(${PROJECT_SOURCE_DIR}/scripts/windows/paravib-explore.cmd
                 ${CMAKE_BINARY_DIR}/paravib-explore.cmd @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS paravib-explore RUNTIME DESTINATION .)
  install(FILES ${CMAKE_BINARY_DIR}/paravib-explore.cmd DESTINATION .)
endif()
install(DIRECTORY ${CMAKE_BINARY_DIR}/boundaries/ DESTINATION boundaries)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME paravib)
set(CPACK_PACKAGE_FILE_NAME paravib-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
