// The screen backend of the desktop: OpenGL 1.x immediate mode and GLUT's bitmap text, the only
// desktop drawing source that calls OpenGL.
#include <GL/glut.h>

#include "draw/draw_backend.h"

namespace {

GLenum gl_mode(shape kind) {
    switch (kind) {
        case shape::lines: return GL_LINES;
        case shape::line_strip: return GL_LINE_STRIP;
        case shape::polygon: return GL_POLYGON;
    }
    return GL_LINES;
}

void clear() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

void finish_frame() {
    glFlush();
    glutSwapBuffers();
}

void flush() { glFlush(); }

void colour(float red, float green, float blue, float alpha) { glColor4f(red, green, blue, alpha); }

void line_width(float pixels) { glLineWidth(pixels); }

float current_line_width() {
    GLfloat width = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    return width;
}

void lighting(bool on) {
    if (on) {
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHTING);
    }
}

void push_matrix() { glPushMatrix(); }
void pop_matrix() { glPopMatrix(); }
void translate(double x, double y) { glTranslated(x, y, 0.0); }
void rotate(double degrees) { glRotated(degrees, 0.0, 0.0, 1.0); }

void begin(shape kind) { glBegin(gl_mode(kind)); }
void vertex(double x, double y) { glVertex2d(x, y); }
void end() { glEnd(); }

void text(float x, float y, const char* text) {
    // The raster colour is fixed here, by the lighting state of this moment.
    glPushAttrib(GL_CURRENT_BIT);
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, static_cast<signed char>(*c));
    }
    glPopAttrib();
}

void blit_texture(unsigned int texture, double x0, double y0, double x1, double y1, float s0,
                  float t0, float s1, float t1) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2d(x0, y0);
    glTexCoord2f(s1, t0);
    glVertex2d(x1, y0);
    glTexCoord2f(s1, t1);
    glVertex2d(x1, y1);
    glTexCoord2f(s0, t1);
    glVertex2d(x0, y1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// Four clip planes: they cut the primitives themselves, so a line crossing the edge ends there.
void clip_rectangle(double left, double right, double bottom, double top) {
    const GLdouble planes[4][4] = {{1.0, 0.0, 0.0, -left},
                                   {-1.0, 0.0, 0.0, right},
                                   {0.0, 1.0, 0.0, -bottom},
                                   {0.0, -1.0, 0.0, top}};
    for (int i = 0; i < 4; ++i) {
        glClipPlane(GL_CLIP_PLANE0 + i, planes[i]);
        glEnable(GL_CLIP_PLANE0 + i);
    }
}

void clip_off() {
    for (int i = 0; i < 4; ++i) glDisable(GL_CLIP_PLANE0 + i);
}

}  // namespace

const drawing_backend screen_backend = {
    clear,    finish_frame, flush,      colour,       line_width,     current_line_width,
    lighting, push_matrix,  pop_matrix, translate,    rotate,         begin,
    vertex,   end,          text,       blit_texture, clip_rectangle, clip_off,
};

void backend_read_rgb(int width, int height, bool top_row_first, unsigned char* rgb) {
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!top_row_first) {
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        return;
    }
    // OpenGL's row 0 is the bottom one.
    for (int row = 0; row < height; ++row) {
        glReadPixels(0, height - 1 - row, width, 1, GL_RGB, GL_UNSIGNED_BYTE,
                     rgb + 3 * width * row);
    }
}

void backend_redisplay_soon() { glutPostRedisplay(); }

bool backend_redisplay_asked() { return false; }
