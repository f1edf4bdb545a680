# Drawing tests with a real OpenGL context: each test process opens one window on a private Xvfb
# started by with_xvfb.sh, which also runs the test discovery. Label "display"; without X they skip.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_SOURCE_DIR}/with_xvfb.sh)

foreach(display_test draw_primitives_test response_view_test stability_chart_test window_test)
  paravib_test(${display_test} ${display_test}.cpp gl_test_window.cpp
               LIBS paravib_app LABELS display)
endforeach()

unset(CMAKE_CROSSCOMPILING_EMULATOR)
