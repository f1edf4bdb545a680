# The Windows zip: paravib.exe, paravib-explore.exe, paravib-boundaries.exe, the 22 boundary files
# in boundaries\, the launchers paravib.cmd and paravib-explore.cmd and README.txt (all three with
# CR LF line ends, for cmd and Notepad), the experiments table and the worksheets in docs\.
# `cpack` in the build folder writes paravib-<version>-win64.zip.
foreach(launcher paravib.cmd paravib-explore.cmd)
  configure_file(${PROJECT_SOURCE_DIR}/scripts/windows/${launcher} ${CMAKE_BINARY_DIR}/${launcher}
                 @ONLY NEWLINE_STYLE CRLF)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/scripts/windows/README.txt ${CMAKE_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS paravib paravib-explore paravib-boundaries RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/paravib.cmd ${CMAKE_BINARY_DIR}/paravib-explore.cmd
              ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/experiments.tsv ${PROJECT_SOURCE_DIR}/docs/worksheet.md
              ${PROJECT_SOURCE_DIR}/docs/worksheet.ja.md DESTINATION docs)
install(DIRECTORY ${CMAKE_BINARY_DIR}/boundaries/ DESTINATION boundaries)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME paravib)
set(CPACK_PACKAGE_FILE_NAME paravib-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
