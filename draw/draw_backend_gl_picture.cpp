// The desktop's picture for export: drawn into the window's back buffer and read before any swap,
// apart from the rest of the desktop backend because only paravib-explore takes pictures.
#include <GL/glut.h>

#include "draw/draw_backend.h"

bool backend_render_picture(int side, void (*draw)(), unsigned char* rgb) {
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
    for (int tile_y = 0; tile_y < side; tile_y += window_height) {
        for (int tile_x = 0; tile_x < side; tile_x += window_width) {
            const int columns = side - tile_x < window_width ? side - tile_x : window_width;
            const int rows = side - tile_y < window_height ? side - tile_y : window_height;
            glViewport(-tile_x, -tile_y, side, side);
            draw();
            glFinish();
            // OpenGL's row 0 is the bottom one; the picture starts at the top.
            for (int row = 0; row < rows; ++row) {
                const int picture_row = side - 1 - (tile_y + row);
                glReadPixels(0, row, columns, 1, GL_RGB, GL_UNSIGNED_BYTE,
                             rgb + 3 * (side * picture_row + tile_x));
            }
        }
    }
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glLineWidth(line_width);
    return glGetError() == GL_NO_ERROR;
}
