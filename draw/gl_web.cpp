// The web drawing layer: the primitives' immediate-mode calls are collected per glBegin ... glEnd
// and drawn as the desktop rasteriser (Mesa) draws them: a convex polygon as a triangle fan, a
// line wider than one pixel as a parallelogram stretched across its minor axis, and bitmap text
// as the glyph pixels of GLUT's own font. Lighting only decides the colour of text (no light or
// material exists, so lit text takes the default ambient 0.2 x 0.2); it is tracked, not sent.
#define PARAVIB_GL_WEB_IMPLEMENTATION
#include "draw/gl_web.h"

#include <emscripten.h>

#include <cmath>

#include "glut_helvetica_18.h"

namespace {

// Most vertices between glBegin and glEnd: a disc has 100, a curve two per sample of 1501.
constexpr int max_vertices = 4096;

// Colour of lit geometry with no light and no material: default material ambient 0.2 times
// default light-model ambient 0.2.
constexpr float lit_grey = 0.2f * 0.2f;

struct colour4 {
    float r, g, b, a;
};

// What the calls since glBegin collected, and the part of the OpenGL state the layer keeps itself.
struct state {
    GLenum mode = GL_LINES;
    int count = 0;
    float x[max_vertices] = {};
    float y[max_vertices] = {};
    // Texture coordinates of each vertex, and the current ones.
    float s[max_vertices] = {};
    float t[max_vertices] = {};
    float current_s = 0.0f, current_t = 0.0f;
    bool texturing = false;
    colour4 colour = {1.0f, 1.0f, 1.0f, 1.0f};
    float line_width = 1.0f;
    bool lighting = false;
    // Raster position in window pixels and its colour, fixed when the position is set.
    float raster_x = 0.0f, raster_y = 0.0f;
    bool raster_valid = true;
    colour4 raster_colour = {1.0f, 1.0f, 1.0f, 1.0f};
    // What glPushAttrib (GL_CURRENT_BIT, the only bit the primitives push) saved.
    colour4 saved_colour = {}, saved_raster_colour = {};
    float saved_raster_x = 0.0f, saved_raster_y = 0.0f;
    bool saved_raster_valid = true;
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

// A line of the current width as Mesa's rasteriser draws it: the end points moved by half the
// width both ways along the minor axis, the four corners filled as two triangles.
void wide_lines() {
    const pixel_map v = current_map();
    const float half = 0.5f * gl.line_width;
    static float px[max_vertices], py[max_vertices];
    for (int i = 0; i < gl.count; ++i) to_pixels(v, gl.x[i], gl.y[i], px[i], py[i]);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_TRIANGLES);
    for (int i = 0; i + 1 < gl.count; i += 2) {
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
    for (int i = 0; i < gl.count; ++i) {
        if (gl.texturing) glTexCoord2f(gl.s[i], gl.t[i]);
        glVertex2f(gl.x[i], gl.y[i]);
    }
    glEnd();
}

}  // namespace

// The font handle GLUT_BITMAP_HELVETICA_18 points to; its glyphs are the tables above.
void* glutBitmapHelvetica18 = nullptr;

void web_begin(GLenum mode) {
    gl.mode = mode;
    gl.count = 0;
}

void web_vertex(double x, double y) {
    if (gl.count == max_vertices) return;
    gl.x[gl.count] = static_cast<float>(x);
    gl.y[gl.count] = static_cast<float>(y);
    gl.s[gl.count] = gl.current_s;
    gl.t[gl.count] = gl.current_t;
    ++gl.count;
}

void web_end() {
    if (gl.mode == GL_POLYGON) {
        plain_vertices(GL_TRIANGLE_FAN);  // every polygon drawn is convex (a disc)
    } else if (gl.mode == GL_LINES && gl.line_width > 1.0f) {
        wide_lines();
    } else {
        plain_vertices(gl.mode);
    }
    gl.count = 0;
}

void web_color(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    gl.colour = {red, green, blue, alpha};
    send_colour(gl.colour);
}

void web_line_width(GLfloat width) { gl.line_width = width; }

void web_enable(GLenum capability) {
    if (capability == GL_LIGHTING) {
        gl.lighting = true;
    } else {
        if (capability == GL_TEXTURE_2D) gl.texturing = true;
        glEnable(capability);
    }
}

void web_disable(GLenum capability) {
    if (capability == GL_LIGHTING) {
        gl.lighting = false;
    } else {
        if (capability == GL_TEXTURE_2D) gl.texturing = false;
        glDisable(capability);
    }
}

void web_tex_coord(GLfloat s, GLfloat t) {
    gl.current_s = s;
    gl.current_t = t;
}

// WebGL clamps to the edge only; sampled at texel centres, as the shading is, both are the same.
void web_tex_parameter(GLenum target, GLenum name, GLint value) {
    glTexParameteri(target, name, value == GL_CLAMP ? GL_CLAMP_TO_EDGE : value);
}

// WebGL 1 takes the unsized format only, which holds 8 bits per channel as GL_RGB8 does.
void web_tex_image(GLenum target, GLint level, GLint internal_format, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void* pixels) {
    glTexImage2D(target, level, internal_format == GL_RGB8 ? GL_RGB : internal_format, width,
                 height, border, format, type, pixels);
}

void web_push_attrib(GLbitfield) {
    gl.saved_colour = gl.colour;
    gl.saved_raster_colour = gl.raster_colour;
    gl.saved_raster_x = gl.raster_x;
    gl.saved_raster_y = gl.raster_y;
    gl.saved_raster_valid = gl.raster_valid;
}

void web_pop_attrib() {
    gl.colour = gl.saved_colour;
    gl.raster_colour = gl.saved_raster_colour;
    gl.raster_x = gl.saved_raster_x;
    gl.raster_y = gl.saved_raster_y;
    gl.raster_valid = gl.saved_raster_valid;
    send_colour(gl.colour);
}

void web_raster_pos(GLfloat x, GLfloat y) {
    gl.raster_valid = to_pixels(current_map(), x, y, gl.raster_x, gl.raster_y);
    gl.raster_colour = gl.lighting ? colour4{lit_grey, lit_grey, lit_grey, 1.0f} : gl.colour;
}

// One glyph as glBitmap draws it: its lower left corner at the raster position less the origin,
// rounded down to a pixel; each run of set bits in a row becomes one rectangle of whole pixels.
// The raster position then advances by the glyph's width. Codes below 1 draw nothing.
void web_bitmap_character(void*, int character) {
    if (!gl.raster_valid || character < 1 || character > 255 || glyph_offsets[character] < 0) {
        return;
    }
    const unsigned char* face = glyph_bytes + glyph_offsets[character];
    const int width = face[0];
    const int row_bytes = (width + 7) / 8;
    const pixel_map v = current_map();
    const float left = std::floor(gl.raster_x - glyph_x_origin);
    const float bottom = std::floor(gl.raster_y - glyph_y_origin);

    send_colour(gl.raster_colour);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_TRIANGLES);
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
    glEnd();
    glPopMatrix();
    send_colour(gl.colour);
    gl.raster_x += static_cast<float>(width);
}

// Nothing to swap on a canvas (the browser shows the picture when control returns to it); each
// finished picture is counted for the page.
void web_swap_buffers() {
    EM_ASM({
        if (Module.paravibFrame) Module.paravibFrame();
    });
}
