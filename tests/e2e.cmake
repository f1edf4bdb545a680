# End-to-end tests of the real program (label "e2e"): each scenario starts paravib on a
# pseudo-terminal beside the 22 boundary files, against its own Xvfb, answers the dialog, presses
# keys in the window and checks what only the executable shows: window, caption, keys, the dialog
# re-entered from the window and the exit status. Then the installed tree and the Debian package,
# with their menu entries and manual pages. The scenarios need Xvfb, xdotool, xwd and xprop, the
# install tests desktop-file-validate and man, and they fail without them.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(e2e_dir ${CMAKE_CURRENT_SOURCE_DIR}/e2e)

# scenario, time limit in seconds. COST lets CTest start the longest ones first.
set(e2e_scenarios
  window 90
  reentry 90
  interrupt 60
  teaching_picture 90)

while(e2e_scenarios)
  list(POP_FRONT e2e_scenarios scenario limit)
  add_test(NAME e2e_${scenario}
           COMMAND Python3::Interpreter ${e2e_dir}/scenarios.py
                   $<TARGET_FILE:paravib> ${CMAKE_BINARY_DIR}/boundaries ${scenario})
  set_tests_properties(e2e_${scenario} PROPERTIES LABELS e2e TIMEOUT ${limit} COST ${limit})
endwhile()

add_test(NAME e2e_install
         COMMAND Python3::Interpreter ${e2e_dir}/install_test.py install ${CMAKE_BINARY_DIR}
                 ${CMAKE_COMMAND})
add_test(NAME e2e_package
         COMMAND Python3::Interpreter ${e2e_dir}/install_test.py package ${CMAKE_BINARY_DIR}
                 ${CMAKE_CPACK_COMMAND})
set_tests_properties(e2e_install e2e_package PROPERTIES LABELS e2e TIMEOUT 300)
set_tests_properties(e2e_package PROPERTIES SKIP_RETURN_CODE 77)
# cpack first brings the build up to date (its preinstall step), so the two never overlap.
set_tests_properties(e2e_install e2e_package PROPERTIES RESOURCE_LOCK paravib_install)
