# paravib-explore: its drawings under a private Xvfb (label "display") and the real explorer end to
# end (label "e2e").
add_test(NAME e2e_explore_pick_and_picture
         COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/e2e/explore_scenarios.py
                 $<TARGET_FILE:paravib-explore> ${CMAKE_BINARY_DIR}/boundaries pick_and_picture)
set_tests_properties(e2e_explore_pick_and_picture PROPERTIES LABELS e2e TIMEOUT 120 COST 120)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_SOURCE_DIR}/with_xvfb.sh)
paravib_test(explore_view_test explore_view_test.cpp gl_test_window.cpp
             LIBS paravib_explore_app LABELS display)
unset(CMAKE_CROSSCOMPILING_EMULATOR)

paravib_test(explore_analysis_test explore_analysis_test.cpp LIBS paravib_explore LABELS numerics)

paravib_test(explore_options_test explore_options_test.cpp LIBS paravib_explore LABELS console)
target_compile_definitions(explore_options_test PRIVATE
  EXPERIMENTS_TABLE="${PROJECT_SOURCE_DIR}/docs/experiments.tsv")
add_test(NAME e2e_explore_options_in_english
         COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/e2e/explore_scenarios.py
                 $<TARGET_FILE:paravib-explore> ${CMAKE_BINARY_DIR}/boundaries options_in_english)
set_tests_properties(e2e_explore_options_in_english PROPERTIES LABELS e2e TIMEOUT 120 COST 60)
