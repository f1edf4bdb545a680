# Boundary files: reader and writer, the replacement of a file as a whole, loader, the replay of
# the reader's fuzz corpus, and the generator's command line and the tables the build made with it.
paravib_test(boundary_file_corpus_test fuzz/boundary_file_replay_test.cpp fuzz/boundary_file_check.cpp
  LABELS data)
target_compile_definitions(boundary_file_corpus_test PRIVATE
  BOUNDARY_FILE_CORPUS="${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus")

# Native builds only: these tests use FIFOs, links, permissions and descriptors. A Windows build
# checks its writer through the generator instead: its 22 files byte for byte as the Linux build's,
# also written over existing ones (scripts/test-windows.sh).
if(CMAKE_CROSSCOMPILING)
  return()
endif()
paravib_test(boundary_file_io_test boundary_file_io_test.cpp LABELS data)
paravib_test(boundary_file_loader_test boundary_file_loader_test.cpp LABELS data)
target_compile_definitions(boundary_file_loader_test PRIVATE
  DIALOG_TEXTS="${CMAKE_CURRENT_SOURCE_DIR}/data/dialog_texts.txt")
paravib_test(file_replace_test file_replace_test.cpp LABELS data)
paravib_test(printable_path_test printable_path_test.cpp LABELS data)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME boundary_generator_test
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/boundary_generator_test.py
          $<TARGET_FILE:paravib-boundaries> ${CMAKE_BINARY_DIR}/boundaries)
set_tests_properties(boundary_generator_test PROPERTIES LABELS data)

# The stored tables checked against Floquet analysis, and damaged copies that must fail.
add_test(NAME boundary_verify_test
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/boundary_verify_test.py
          $<TARGET_FILE:paravib-boundaries> ${CMAKE_BINARY_DIR}/boundaries)
set_tests_properties(boundary_verify_test PROPERTIES LABELS data TIMEOUT 1500)
