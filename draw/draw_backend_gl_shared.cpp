// What the desktop and the web backends do with the same OpenGL calls: the viewport, the
// projection, the clear colour and the shading's kind of texture.
#include <GL/glut.h>

#include "draw/draw_backend.h"

void backend_viewport(int x, int y, int width, int height) { glViewport(x, y, width, height); }

void backend_reset_projection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

void backend_clear_colour(float red, float green, float blue, float alpha) {
    glClearColor(red, green, blue, alpha);
}

// WebGL 1 takes the internal format equal to the format, and knows no GL_CLAMP.
#ifdef __EMSCRIPTEN__
constexpr GLint texture_format = GL_RGB;
constexpr GLint texture_wrap = GL_CLAMP_TO_EDGE;
#else
constexpr GLint texture_format = GL_RGB8;
constexpr GLint texture_wrap = GL_CLAMP;
#endif

unsigned int backend_texture_create(int side) {
    GLuint handle = 0;
    glGenTextures(1, &handle);
    glBindTexture(GL_TEXTURE_2D, handle);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, texture_wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, texture_wrap);
    glTexImage2D(GL_TEXTURE_2D, 0, texture_format, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 nullptr);
    note_texture(handle, side);
    return handle;
}

void backend_texture_upload(unsigned int texture, int width, int height, const unsigned char* rgb) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    note_texture_texels(texture, width, height, rgb);
}

void backend_viewport_size(int* width, int* height) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    *width = viewport[2];
    *height = viewport[3];
}
