// The explorer's off-screen picture for the export: drawn into the backend's off-screen buffer,
// which the Windows build, made with the OpenGL 1.1 of opengl32 and without the explorer, leaves
// out.
#include "draw/draw_backend.h"
#include "draw/draw_primitives.h"
#include "draw/explore_view.h"
#include "draw/response_view.h"

void note_shown_frame_line_width() { shown_frame_line_width = backend().current_line_width(); }

bool render_picture(unsigned char* rgb, float start_line_width) {
    if (!backend_offscreen_begin(picture_pixels)) return false;
    backend().line_width(start_line_width);
    begin_frame();
    draw_picture();
    backend_read_rgb(picture_pixels, picture_pixels, true, rgb);
    backend_offscreen_end();
    return true;
}
