# The drawing floor of the web build: the same sources on WebGL through Emscripten's OpenGL
# emulation. gl_web.h is included ahead of each of them and routes what WebGL lacks (polygons,
# 2-pixel lines, bitmap text, attribute push and pop) to gl_web.cpp. The glyphs are GLUT's own:
# a small host program reads them from Debian's libglut at build time.
find_program(host_cxx NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
find_file(host_libglut NAMES libglut.so.3.12 libglut.so.3
          PATHS /usr/lib/x86_64-linux-gnu /usr/lib/aarch64-linux-gnu /usr/lib64 /usr/lib
          REQUIRED NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)

set(glyph_header ${CMAKE_CURRENT_BINARY_DIR}/glut_helvetica_18.h)
add_custom_command(
  OUTPUT ${glyph_header}
  COMMAND ${host_cxx} -O1 -o ${CMAKE_CURRENT_BINARY_DIR}/glut_font_table
          ${CMAKE_CURRENT_SOURCE_DIR}/glut_font_table.cpp -ldl
  COMMAND ${CMAKE_CURRENT_BINARY_DIR}/glut_font_table ${host_libglut} ${glyph_header}
  DEPENDS glut_font_table.cpp
  COMMENT "Reading the Helvetica 18 glyphs from ${host_libglut}"
  VERBATIM)

set(shared_drawing_sources draw_primitives.cpp response_view.cpp stability_chart.cpp)
add_library(paravib_draw STATIC ${shared_drawing_sources} gl_web.cpp ${glyph_header})
set_source_files_properties(${shared_drawing_sources} PROPERTIES
  COMPILE_OPTIONS "-include;${CMAKE_CURRENT_SOURCE_DIR}/gl_web.h")
target_include_directories(paravib_draw PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(paravib_draw PUBLIC paravib_response paravib_state)

# The explorer's drawings and its off-screen picture, on the same layer.
set(explore_drawing_sources explore_view.cpp explore_picture.cpp)
add_library(paravib_explore_draw STATIC ${explore_drawing_sources})
set_source_files_properties(${explore_drawing_sources} PROPERTIES
  COMPILE_OPTIONS "-include;${CMAKE_CURRENT_SOURCE_DIR}/gl_web.h")
target_link_libraries(paravib_explore_draw PUBLIC paravib_draw paravib_explore_state)
