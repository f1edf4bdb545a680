// The desktop's layers of the picture: a framebuffer object with an RGBA texture of the viewport's
// size (OpenGL 3.0), colour written as drawn and alpha 0 marking the pixels written, copied back
// with the alpha test. Windows' opengl32 has no framebuffer objects: there draw_backend_no_layers.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glut.h>

#include "draw/draw_backend.h"

namespace {

// A layer's framebuffer and texture (0 before the first), the texture's size, and the colour and
// line width its drawing left in OpenGL.
struct chart_layer_texture_gl {
    GLuint framebuffer, texture;
    int width, height;
    float colour_after[4];
    float line_width_after;
};

chart_layer_texture_gl layers[backend_layer_slots];

// The texture and its framebuffer at width x height, the framebuffer bound; false when it is
// incomplete.
bool make_target(chart_layer_texture_gl& layer, int width, int height) {
    if (layer.framebuffer != 0 && layer.width == width && layer.height == height) {
        glBindFramebuffer(GL_FRAMEBUFFER, layer.framebuffer);
        return true;
    }
    if (layer.framebuffer == 0) {
        GLuint handle = 0;
        glGenFramebuffers(1, &handle);
        layer.framebuffer = handle;
        glGenTextures(1, &handle);
        layer.texture = handle;
    }
    glBindTexture(GL_TEXTURE_2D, layer.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindFramebuffer(GL_FRAMEBUFFER, layer.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, layer.texture, 0);
    layer.width = width;
    layer.height = height;
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// draw_part into the texture; the frame's framebuffer, viewport and clear colour restored.
bool draw_into(chart_layer_texture_gl& layer, int width, int height, void (*draw_part)()) {
    GLint frame_buffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &frame_buffer);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLfloat clear_colour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear_colour);
    const bool complete = make_target(layer, width, height);
    if (complete) {
        glViewport(0, 0, width, height);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        // Colour replaces what is there, as without blending; alpha becomes 0 wherever a
        // fragment lands, whatever its own (lit text carries 1, the primitives' colours 0).
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_ONE, GL_ZERO, GL_ZERO, GL_ZERO);
        draw_part();
        glDisable(GL_BLEND);
        glGetFloatv(GL_CURRENT_COLOR, layer.colour_after);
        glGetFloatv(GL_LINE_WIDTH, &layer.line_width_after);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, frame_buffer);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glClearColor(clear_colour[0], clear_colour[1], clear_colour[2], clear_colour[3]);
    return complete;
}

// The texture over the viewport, one texel per pixel, only where alpha 0 marks a written pixel.
void copy_over_frame(const chart_layer_texture_gl& layer) {
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, layer.texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_LESS, 0.5f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2d(-1.0, -1.0);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2d(1.0, -1.0);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2d(1.0, 1.0);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2d(-1.0, 1.0);
    glEnd();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
    glColor4fv(layer.colour_after);
    glLineWidth(layer.line_width_after);
}

}  // namespace

bool backend_layer_record(int slot, void (*draw_part)()) {
    if (slot < 0 || slot >= backend_layer_slots) return false;
    int width = 0, height = 0;
    backend_viewport_size(&width, &height);
    return draw_into(layers[slot], width, height, draw_part);
}

void backend_layer_copy(int slot) {
    if (slot >= 0 && slot < backend_layer_slots) copy_over_frame(layers[slot]);
}
