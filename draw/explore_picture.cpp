// The explorer's picture for the export, drawn again where the screen does not show it (the
// desktop's back buffer before any swap, which OpenGL 1.1 has, or the page's own framebuffer) and
// read back: one picture path on every platform.
#include "draw/draw_backend.h"
#include "draw/draw_primitives.h"
#include "draw/explore_view.h"
#include "draw/response_view.h"

void note_shown_frame_line_width() { shown_frame_line_width = backend().current_line_width(); }

namespace {

// The line width the picture on show started with, for every tile of the picture.
float picture_line_width = 1.0f;

void draw_whole_picture() {
    backend().line_width(picture_line_width);
    begin_frame();
    draw_picture();
}

}  // namespace

bool render_picture(unsigned char* rgb, float start_line_width) {
    picture_line_width = start_line_width;
    return backend_render_picture(picture_pixels, draw_whole_picture, rgb);
}
