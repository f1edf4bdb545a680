// The explorer's picture for the export, drawn again into the window's back buffer and read from
// there before any swap: OpenGL 1.1 has all it needs, so the picture path is one on every desktop.
#include <GL/glut.h>

#include "draw/draw_primitives.h"
#include "draw/explore_view.h"
#include "draw/response_view.h"

void note_shown_frame_line_width() { glGetFloatv(GL_LINE_WIDTH, &shown_frame_line_width); }

// A window smaller than the picture holds it in tiles of the window's size: the viewport of the
// whole picture is shifted by a whole number of pixels per tile, so each tile rasterises exactly
// as that part of one 800 x 800 frame, and what falls outside the window is simply not drawn.
bool render_picture(unsigned char* rgb, float start_line_width) {
    const int window_width = glutGet(GLUT_WINDOW_WIDTH);
    const int window_height = glutGet(GLUT_WINDOW_HEIGHT);
    if (window_width <= 0 || window_height <= 0) return false;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLfloat line_width = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &line_width);
    // Errors left by earlier drawing are not this picture's; OpenGL keeps one flag per kind.
    for (int flag = 0; flag < 8 && glGetError() != GL_NO_ERROR; ++flag) {}
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int tile_y = 0; tile_y < picture_pixels; tile_y += window_height) {
        for (int tile_x = 0; tile_x < picture_pixels; tile_x += window_width) {
            const int columns =
                picture_pixels - tile_x < window_width ? picture_pixels - tile_x : window_width;
            const int rows =
                picture_pixels - tile_y < window_height ? picture_pixels - tile_y : window_height;
            glViewport(-tile_x, -tile_y, picture_pixels, picture_pixels);
            glLineWidth(start_line_width);
            begin_frame();
            draw_picture();
            glFinish();
            // OpenGL's row 0 is the bottom one; the picture file starts at the top.
            for (int row = 0; row < rows; ++row) {
                const int picture_row = picture_pixels - 1 - (tile_y + row);
                glReadPixels(0, row, columns, 1, GL_RGB, GL_UNSIGNED_BYTE,
                             rgb + 3 * (picture_pixels * picture_row + tile_x));
            }
        }
    }
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glLineWidth(line_width);
    return glGetError() == GL_NO_ERROR;
}
