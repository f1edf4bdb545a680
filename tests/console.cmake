# Console dialog and key table. The dialog runs in dialog_driver (core library only) under
# console_dialog_test.py, through a pipe and through a pseudo-terminal; one CTest entry per group.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_executable(dialog_driver dialog_driver.cpp)
target_link_libraries(dialog_driver PRIVATE paravib_core)
foreach(group pipe_dialog refused_numbers end_of_input window_keys terminal job_control)
  add_test(NAME console_${group}
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/console_dialog_test.py
                   $<TARGET_FILE:dialog_driver> ${group})
  set_tests_properties(console_${group} PROPERTIES LABELS console TIMEOUT 300)
endforeach()

paravib_test(key_commands_test key_commands_test.cpp LABELS console)
