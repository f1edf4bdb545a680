// The chart's cached parts: a framebuffer object with an RGBA texture of the viewport's size
// (OpenGL 3.0), colour written as drawn and alpha 0 marking the pixels written, copied back with
// the alpha test. The Windows build, on the OpenGL 1.1 of opengl32, draws directly.
#define GL_GLEXT_PROTOTYPES 1
#include "draw/chart_layer.h"

#include <GL/glut.h>

#include <cstring>

#include "state/program_state.h"

namespace {

#ifndef _WIN32

// FNV-1a over the 64-bit words of the tables the chart shows.
unsigned long long tables_hash() {
    const boundary_table* tables[] = {&boundary_b1,  &boundary_b2,  &boundary_dc1,
                                      &boundary_ds1, &boundary_dc2, &boundary_ds2};
    unsigned long long hash = 1469598103934665603ull;
    for (const boundary_table* t : tables) {
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(t);
        for (unsigned long i = 0; i + 8 <= sizeof *t; i += 8) {
            unsigned long long word;
            std::memcpy(&word, bytes + i, 8);
            hash = (hash ^ word) * 1099511628211ull;
        }
    }
    return hash;
}

chart_layer_key present_key(int width, int height) {
    return {system_kind,         beta,           epsilon_steps,  tables_hash(), chart_scale_delta,
            chart_scale_epsilon, chart_origin.x, chart_origin.y, width,         height};
}

bool same_key(const chart_layer_key& a, const chart_layer_key& b) {
    return a.system == b.system && a.beta == b.beta && a.epsilon_steps == b.epsilon_steps &&
           a.tables == b.tables && a.scale_delta == b.scale_delta &&
           a.scale_epsilon == b.scale_epsilon && a.origin_x == b.origin_x &&
           a.origin_y == b.origin_y && a.width == b.width && a.height == b.height;
}

// The texture and its framebuffer at width x height, the framebuffer bound; false when it is
// incomplete.
bool make_target(chart_layer_texture& layer, int width, int height) {
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
bool draw_into(chart_layer_texture& layer, const chart_layer_key& key, void (*draw_part)()) {
    GLint frame_buffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &frame_buffer);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLfloat clear_colour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear_colour);
    layer.valid = false;
    const bool complete = make_target(layer, key.width, key.height);
    if (complete) {
        glViewport(0, 0, key.width, key.height);
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
        layer.made_for = key;
        layer.valid = true;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, frame_buffer);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glClearColor(clear_colour[0], clear_colour[1], clear_colour[2], clear_colour[3]);
    return complete;
}

// The texture over the viewport, one texel per pixel, only where alpha 0 marks a written pixel.
void copy_over_frame(const chart_layer_texture& layer) {
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

#endif

}  // namespace

void draw_through_layer(chart_layer_texture& layer, void (*draw_part)()) {
#ifdef _WIN32
    (void)layer;
    draw_part();
#else
    if (!chart_layers_cached) {
        draw_part();
        return;
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const chart_layer_key key = present_key(viewport[2], viewport[3]);
    if (!(layer.valid && same_key(layer.made_for, key)) && !draw_into(layer, key, draw_part)) {
        draw_part();
        return;
    }
    copy_over_frame(layer);
#endif
}
