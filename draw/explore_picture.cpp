// The explorer's off-screen picture for the export: a framebuffer object (OpenGL 3.0), which the
// Windows build, made with the OpenGL 1.1 of opengl32 and without the explorer, leaves out.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glut.h>

#include "draw/draw_primitives.h"
#include "draw/explore_view.h"
#include "draw/response_view.h"

void note_shown_frame_line_width() { glGetFloatv(GL_LINE_WIDTH, &shown_frame_line_width); }

bool render_picture(unsigned char* rgb, float start_line_width) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLfloat line_width = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &line_width);
    GLuint framebuffer = 0, colour = 0;
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, picture_pixels, picture_pixels);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete) {
        glViewport(0, 0, picture_pixels, picture_pixels);
        glLineWidth(start_line_width);
        begin_frame();
        draw_picture();
        glFinish();
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        // OpenGL's row 0 is the bottom one; the picture file starts at the top.
        for (int row = 0; row < picture_pixels; ++row) {
            glReadPixels(0, picture_pixels - 1 - row, picture_pixels, 1, GL_RGB, GL_UNSIGNED_BYTE,
                         rgb + 3 * picture_pixels * row);
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &colour);
    glDeleteFramebuffers(1, &framebuffer);
    glReadBuffer(GL_BACK);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glLineWidth(line_width);
    return complete;
}
