# The drawing floor of the web build: the same sources on the WebGL backend, which draws through
# Emscripten's OpenGL emulation what WebGL has and by hand what it lacks (polygons, 2-pixel lines,
# bitmap text). The glyphs are GLUT's own: a small host program reads them from Debian's libglut
# at build time.
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

add_library(paravib_draw STATIC draw_backend.cpp draw_backend_web.cpp draw_backend_gl_shared.cpp
            draw_primitives.cpp response_view.cpp stability_chart.cpp ${glyph_header})
target_include_directories(paravib_draw PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(paravib_draw PUBLIC paravib_response paravib_state)

# The explorer's drawings, its pictures and the SVG recorder, on the same backend.
add_library(paravib_explore_draw STATIC explore_view.cpp explore_picture.cpp motion_box.cpp
            svg_picture.cpp chart_layer.cpp draw_backend_no_layers.cpp)
target_link_libraries(paravib_explore_draw PUBLIC paravib_draw paravib_explore_state)
