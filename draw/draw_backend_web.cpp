// The screen backend of the web page: WebGL through Emscripten's immediate-mode emulation, drawn
// as the desktop rasteriser (Mesa) draws it: a convex polygon as a triangle fan, a line wider
// than one pixel as a parallelogram stretched across its minor axis, and bitmap text as the glyph
// pixels of GLUT's own font. Lighting only decides the colour of text (no light or material
// exists, so lit text takes the default ambient 0.2 x 0.2); it is tracked, not sent.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <emscripten.h>

#include <cmath>

#include "draw/draw_backend.h"
#include "glut_helvetica_18.h"

namespace {

// Most vertices between begin and end: a disc has 100, a curve two per sample of 1501.
constexpr int max_vertices = 4096;

// Colour of lit geometry with no light and no material: default material ambient 0.2 times
// default light-model ambient 0.2.
constexpr float lit_grey = 0.2f * 0.2f;

struct colour4 {
    float r, g, b, a;
};

// What the calls since begin collected, and the part of the OpenGL state the layer keeps itself.
struct state {
    shape kind = shape::lines;
    int count = 0;
    float x[max_vertices] = {};
    float y[max_vertices] = {};
    colour4 colour = {1.0f, 1.0f, 1.0f, 1.0f};
    float line_width = 1.0f;
    bool lighting = false;
    // The off-screen buffer (a texture as its colour, which WebGL 1 can read back) and the
    // viewport and line width it restores.
    GLuint framebuffer = 0, framebuffer_texture = 0;
    GLint saved_viewport[4] = {};
    float saved_line_width = 1.0f;
};

state gl;

// Object coordinates to window pixels: the model-view matrix (the projection stays the identity
// throughout the program), then the viewport. Read once per primitive.
struct pixel_map {
    GLfloat m[16];
    float x0, y0, half_width, half_height;
};

pixel_map current_map() {
    pixel_map map;
    glGetFloatv(GL_MODELVIEW_MATRIX, map.m);
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    map.x0 = static_cast<float>(v[0]);
    map.y0 = static_cast<float>(v[1]);
    map.half_width = 0.5f * static_cast<float>(v[2]);
    map.half_height = 0.5f * static_cast<float>(v[3]);
    return map;
}

// False when the point lies outside the view volume (where a raster position is invalid).
bool to_pixels(const pixel_map& map, float x, float y, float& px, float& py) {
    const float nx = map.m[0] * x + map.m[4] * y + map.m[12];
    const float ny = map.m[1] * x + map.m[5] * y + map.m[13];
    px = map.x0 + (nx + 1.0f) * map.half_width;
    py = map.y0 + (ny + 1.0f) * map.half_height;
    return nx >= -1.0f && nx <= 1.0f && ny >= -1.0f && ny <= 1.0f;
}

// Vertices given in window pixels, drawn with an identity model-view matrix.
void pixel_vertex(const pixel_map& map, float px, float py) {
    glVertex2f((px - map.x0) / map.half_width - 1.0f, (py - map.y0) / map.half_height - 1.0f);
}

void send_colour(const colour4& c) { glColor4f(c.r, c.g, c.b, c.a); }

// Lines of the current width as Mesa's rasteriser draws them: the end points moved by half the
// width both ways along the minor axis, the four corners filled as two triangles. step 2 takes
// the vertices as separate pairs, step 1 as a polyline.
void wide_lines(int step) {
    const pixel_map v = current_map();
    const float half = 0.5f * gl.line_width;
    static float px[max_vertices], py[max_vertices];
    for (int i = 0; i < gl.count; ++i) to_pixels(v, gl.x[i], gl.y[i], px[i], py[i]);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_TRIANGLES);
    for (int i = 0; i + 1 < gl.count; i += step) {
        const bool x_major = std::fabs(px[i + 1] - px[i]) >= std::fabs(py[i + 1] - py[i]);
        const float ox = x_major ? 0.0f : half;
        const float oy = x_major ? half : 0.0f;
        pixel_vertex(v, px[i] - ox, py[i] - oy);
        pixel_vertex(v, px[i + 1] - ox, py[i + 1] - oy);
        pixel_vertex(v, px[i + 1] + ox, py[i + 1] + oy);
        pixel_vertex(v, px[i] - ox, py[i] - oy);
        pixel_vertex(v, px[i + 1] + ox, py[i + 1] + oy);
        pixel_vertex(v, px[i] + ox, py[i] + oy);
    }
    glEnd();
    glPopMatrix();
}

void plain_vertices(GLenum mode) {
    glBegin(mode);
    for (int i = 0; i < gl.count; ++i) glVertex2f(gl.x[i], gl.y[i]);
    glEnd();
}

void clear() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

// Nothing to swap on a canvas (the browser shows the picture when control returns to it); each
// finished picture is counted for the page.
void finish_frame() {
    glFlush();
    EM_ASM({
        if (Module.paravibFrame) Module.paravibFrame();
    });
}

void flush() { glFlush(); }

void colour(float red, float green, float blue, float alpha) {
    gl.colour = {red, green, blue, alpha};
    send_colour(gl.colour);
}

void line_width(float pixels) { gl.line_width = pixels; }

float current_line_width() { return gl.line_width; }

void lighting(bool on) { gl.lighting = on; }

void push_matrix() { glPushMatrix(); }
void pop_matrix() { glPopMatrix(); }
void translate(double x, double y) { glTranslated(x, y, 0.0); }
void rotate(double degrees) { glRotated(degrees, 0.0, 0.0, 1.0); }

void begin(shape kind) {
    gl.kind = kind;
    gl.count = 0;
}

void vertex(double x, double y) {
    if (gl.count == max_vertices) return;
    gl.x[gl.count] = static_cast<float>(x);
    gl.y[gl.count] = static_cast<float>(y);
    ++gl.count;
}

void end() {
    const bool wide = gl.line_width > 1.0f;
    switch (gl.kind) {
        case shape::polygon: plain_vertices(GL_TRIANGLE_FAN); break;  // every polygon is convex
        case shape::lines: wide ? wide_lines(2) : plain_vertices(GL_LINES); break;
        case shape::line_strip: wide ? wide_lines(1) : plain_vertices(GL_LINE_STRIP); break;
    }
    gl.count = 0;
}

// Each glyph as glBitmap draws it: its lower left corner at the raster position less the origin,
// rounded down to a pixel; each run of set bits in a row becomes one rectangle of whole pixels.
// The raster position then advances by the glyph's width. Codes below 1 draw nothing, and
// nothing is drawn from a position outside the window (an invalid raster position).
void text(float x, float y, const char* text) {
    const pixel_map v = current_map();
    float raster_x = 0.0f, raster_y = 0.0f;
    if (!to_pixels(v, x, y, raster_x, raster_y)) return;
    send_colour(gl.lighting ? colour4{lit_grey, lit_grey, lit_grey, 1.0f} : gl.colour);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_TRIANGLES);
    for (const char* c = text; *c != '\0'; ++c) {
        const int character = static_cast<signed char>(*c);
        if (character < 1 || glyph_offsets[character] < 0) continue;
        const unsigned char* face = glyph_bytes + glyph_offsets[character];
        const int width = face[0];
        const int row_bytes = (width + 7) / 8;
        const float left = std::floor(raster_x - glyph_x_origin);
        const float bottom = std::floor(raster_y - glyph_y_origin);
        for (int row = 0; row < glyph_height; ++row) {
            const unsigned char* bits = face + 1 + row * row_bytes;
            const float y0 = bottom + static_cast<float>(row);
            int column = 0;
            while (column < width) {
                if (!(bits[column / 8] & (0x80 >> (column % 8)))) {
                    ++column;
                    continue;
                }
                const int start = column;
                while (column < width && (bits[column / 8] & (0x80 >> (column % 8)))) ++column;
                const float x0 = left + static_cast<float>(start);
                const float x1 = left + static_cast<float>(column);
                pixel_vertex(v, x0, y0);
                pixel_vertex(v, x1, y0);
                pixel_vertex(v, x1, y0 + 1.0f);
                pixel_vertex(v, x0, y0);
                pixel_vertex(v, x1, y0 + 1.0f);
                pixel_vertex(v, x0, y0 + 1.0f);
            }
        }
        raster_x += static_cast<float>(width);
    }
    glEnd();
    glPopMatrix();
    send_colour(gl.colour);
}

void blit_texture(unsigned int texture, double x0, double y0, double x1, double y1, float s0,
                  float t0, float s1, float t1) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_TRIANGLE_FAN);
    glTexCoord2f(s0, t0);
    glVertex2f(static_cast<float>(x0), static_cast<float>(y0));
    glTexCoord2f(s1, t0);
    glVertex2f(static_cast<float>(x1), static_cast<float>(y0));
    glTexCoord2f(s1, t1);
    glVertex2f(static_cast<float>(x1), static_cast<float>(y1));
    glTexCoord2f(s0, t1);
    glVertex2f(static_cast<float>(x0), static_cast<float>(y1));
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// WebGL has no clip planes: the scissor box over the pixels whose centres lie inside the
// rectangle, which gives the same picture wherever a primitive's pixels are cut at the edge.
void clip_rectangle(double left, double right, double bottom, double top) {
    const pixel_map v = current_map();
    float x0, y0, x1, y1;
    to_pixels(v, static_cast<float>(left), static_cast<float>(bottom), x0, y0);
    to_pixels(v, static_cast<float>(right), static_cast<float>(top), x1, y1);
    const int column = static_cast<int>(std::ceil(x0 - 0.5f));
    const int row = static_cast<int>(std::ceil(y0 - 0.5f));
    glScissor(column, row, static_cast<int>(std::ceil(x1 - 0.5f)) - column,
              static_cast<int>(std::ceil(y1 - 0.5f)) - row);
    glEnable(GL_SCISSOR_TEST);
}

void clip_off() { glDisable(GL_SCISSOR_TEST); }

}  // namespace

const drawing_backend screen_backend = {
    clear,    finish_frame, flush,      colour,       line_width,     current_line_width,
    lighting, push_matrix,  pop_matrix, translate,    rotate,         begin,
    vertex,   end,          text,       blit_texture, clip_rectangle, clip_off,
};

namespace {

void offscreen_end() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &gl.framebuffer);
    glDeleteTextures(1, &gl.framebuffer_texture);
    glViewport(gl.saved_viewport[0], gl.saved_viewport[1], gl.saved_viewport[2],
               gl.saved_viewport[3]);
    gl.line_width = gl.saved_line_width;
}

// WebGL draws the picture into a framebuffer of its own: the canvas keeps what it shows.
bool offscreen_begin(int side) {
    glGetIntegerv(GL_VIEWPORT, gl.saved_viewport);
    gl.saved_line_width = gl.line_width;
    glGenTextures(1, &gl.framebuffer_texture);
    glBindTexture(GL_TEXTURE_2D, gl.framebuffer_texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &gl.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, gl.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           gl.framebuffer_texture, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        offscreen_end();
        return false;
    }
    glViewport(0, 0, side, side);
    return true;
}

}  // namespace

// WebGL reads RGBA bytes only: one row at a time, its alpha dropped.
void backend_read_rgb(int width, int height, bool top_row_first, unsigned char* rgb) {
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    constexpr int widest_row = 4096;
    static unsigned char rgba[4 * widest_row];
    if (width > widest_row) return;
    for (int row = 0; row < height; ++row) {
        glReadPixels(0, row, width, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        unsigned char* out = rgb + 3 * width * (top_row_first ? height - 1 - row : row);
        for (int i = 0; i < width; ++i)
            for (int k = 0; k < 3; ++k) out[3 * i + k] = rgba[4 * i + k];
    }
}

bool backend_render_picture(int side, void (*draw)(), unsigned char* rgb) {
    if (!offscreen_begin(side)) return false;
    draw();
    backend_read_rgb(side, side, true, rgb);
    offscreen_end();
    return true;
}

namespace {

bool redisplay_wanted = false;

}  // namespace

void backend_redisplay_soon() { redisplay_wanted = true; }

bool backend_redisplay_asked() {
    const bool asked = redisplay_wanted;
    redisplay_wanted = false;
    return asked;
}
