// The desktop's off-screen buffer: a framebuffer object (OpenGL 3.0), apart from the rest of the
// desktop backend because the OpenGL 1.1 of Windows' opengl32 does not export it.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glut.h>

#include "draw/draw_backend.h"

namespace {

// The buffer drawn into, and the window's viewport and line width to restore.
struct offscreen_target {
    GLuint framebuffer, colour;
    GLint viewport[4];
    GLfloat line_width;
};

offscreen_target target;

}  // namespace

bool backend_offscreen_begin(int side) {
    glGetIntegerv(GL_VIEWPORT, target.viewport);
    target.line_width = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &target.line_width);
    target.framebuffer = 0;
    target.colour = 0;
    glGenFramebuffers(1, &target.framebuffer);
    glGenRenderbuffers(1, &target.colour);
    glBindRenderbuffer(GL_RENDERBUFFER, target.colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, side, side);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, target.colour);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        backend_offscreen_end();
        return false;
    }
    glViewport(0, 0, side, side);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return true;
}

void backend_offscreen_end() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &target.colour);
    glDeleteFramebuffers(1, &target.framebuffer);
    glReadBuffer(GL_BACK);
    glViewport(target.viewport[0], target.viewport[1], target.viewport[2], target.viewport[3]);
    glLineWidth(target.line_width);
}
