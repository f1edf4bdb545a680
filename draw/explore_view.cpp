// The explorer's drawings: shading runs, phase plane, multiplier readout, in OpenGL 1.x immediate
// mode like the other views (the off-screen picture is in explore_picture.cpp).
#include "draw/explore_view.h"

#include <GL/glut.h>

#include <cstdio>

#include "draw/response_view.h"
#include "state/explore_state.h"
#include "state/program_state.h"

const rgba unstable_tint = {1.0f, 235.0f / 255.0f, 190.0f / 255.0f, 0.0f};

const char* const phase_plane_legend = "phase plane : y across, v up";

namespace {

// One design pixel in window units (the window spans 2 units over shading_pixels pixels).
constexpr double pixel_width = 2.0 / shading_pixels;

constexpr double phase_point_radius = 0.012;

void vertex_at_pixel(int column, int row) {
    glVertex2d(column * pixel_width - 1.0, row * pixel_width - 1.0);
}

// The raster as a texture: one quad per frame instead of one per run of tinted pixels, which a
// software rasteriser pays for with about 10 ms a frame. The side is a power of two, as OpenGL 1.x
// requires; the raster fills its lower left corner, texel (column, row) for design pixel (column,
// row), stable pixels in white (the shading is drawn first, on the white background).
constexpr int texture_side = 1024;

unsigned char channel_byte(float value) {
    return static_cast<unsigned char>(value * 255.0f + 0.5f);
}

void update_shading_texture() {
    const shading_raster& r = unstable_shading;
    shading_texture_copy& t = shading_texture;
    if (t.handle != 0 && t.generation == r.generation) return;
    if (t.handle == 0) {
        GLuint handle = 0;
        glGenTextures(1, &handle);
        t.handle = handle;
        glBindTexture(GL_TEXTURE_2D, t.handle);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, texture_side, texture_side, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, nullptr);
    }
    const unsigned char tint[3] = {channel_byte(unstable_tint.red),
                                   channel_byte(unstable_tint.green),
                                   channel_byte(unstable_tint.blue)};
    const unsigned char white[3] = {255, 255, 255};
    for (int row = 0; row < shading_pixels; ++row)
        for (int column = 0; column < shading_pixels; ++column) {
            const unsigned char* colour = r.unstable[row][column] ? tint : white;
            for (int k = 0; k < 3; ++k) t.texels[row][column][k] = colour[k];
        }
    glBindTexture(GL_TEXTURE_2D, t.handle);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, shading_pixels, shading_pixels, GL_RGB,
                    GL_UNSIGNED_BYTE, t.texels);
    t.generation = r.generation;
}

void texel_vertex(int column, int row) {
    // Whole texel counts over a power of two: exact in single precision.
    glTexCoord2f(static_cast<float>(column) / texture_side, static_cast<float>(row) / texture_side);
    vertex_at_pixel(column, row);
}

}  // namespace

void draw_unstable_shading() {
    if (!shading_raster_current()) return;
    update_shading_texture();
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, shading_texture.handle);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // A quad over whole pixels covers exactly the pixels whose centres it contains, and each
    // centre samples its own texel.
    glBegin(GL_QUADS);
    texel_vertex(0, 0);
    texel_vertex(shading_pixels, 0);
    texel_vertex(shading_pixels, shading_pixels);
    texel_vertex(0, shading_pixels);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void draw_phase_plane() {
    const double centre_x = 0.5 * (phase_plane_left + phase_plane_right);
    const double centre_y = 0.5 * (phase_plane_bottom + phase_plane_top);
    const double scale = phase_plane_scale_factor * y_scale;

    draw_segment({phase_plane_left, centre_y}, {phase_plane_right, centre_y}, black);
    draw_segment({centre_x, phase_plane_bottom}, {centre_x, phase_plane_top}, black);

    // The trajectory may leave the box when the motion grows; four clip planes keep it inside.
    const GLdouble planes[4][4] = {{1.0, 0.0, 0.0, -phase_plane_left},
                                   {-1.0, 0.0, 0.0, phase_plane_right},
                                   {0.0, 1.0, 0.0, -phase_plane_bottom},
                                   {0.0, -1.0, 0.0, phase_plane_top}};
    for (int i = 0; i < 4; ++i) {
        glClipPlane(GL_CLIP_PLANE0 + i, planes[i]);
        glEnable(GL_CLIP_PLANE0 + i);
    }
    glLineWidth(2.0f);
    glDisable(GL_LIGHTING);
    glColor4f(red.red, red.green, red.blue, red.alpha);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i <= sample_index; ++i) {
        glVertex2d(centre_x + scale * y_history[i], centre_y + scale * v_history[i]);
    }
    glEnd();
    glEnable(GL_LIGHTING);
    draw_disc({centre_x + scale * y_now, centre_y + scale * v_now}, phase_point_radius, red);
    for (int i = 0; i < 4; ++i) glDisable(GL_CLIP_PLANE0 + i);

    // Inside the box at its top: the foot of the window holds the status line.
    draw_text(static_cast<float>(phase_plane_left + 0.01),
              static_cast<float>(phase_plane_top - 0.04), GLUT_BITMAP_HELVETICA_18,
              phase_plane_legend);
}

const char* format_multiplier_readout(double max_modulus, bool stable, char* text, int capacity) {
    std::snprintf(text, capacity, "|mu|max = %.4g per period: %s", max_modulus,
                  stable ? "stable" : "unstable");
    return text;
}

void draw_multiplier_readout() {
    if (!multiplier_readout_current()) return;
    const multiplier_readout& r = chosen_point_readout;
    char text[96];
    draw_text(-0.05f, -0.30f, GLUT_BITMAP_HELVETICA_18,
              format_multiplier_readout(r.max_modulus, r.stable, text, sizeof text));
}

namespace {

// Text positions relative to a point they name: a label's lower left corner, in window units.
constexpr double tick_gap = 0.06;  // least distance between two labels on one axis
constexpr double label_room = 0.98;
// Cells of the chart grid from its origin on each axis.
constexpr int chart_grid_cells = 20;

// Every first, second, fifth or tenth grid line, whichever is the first to give labels room.
int label_stride(double scale) {
    const int strides[] = {1, 2, 5, 10};
    for (int stride : strides)
        if (stride * scale >= tick_gap) return stride;
    return 20;
}

bool in_window(double x) { return x > -label_room && x < label_room; }

}  // namespace

const char* format_status_line(char* text, int capacity) {
    const char* equation = system_kind == 'm'   ? "Mathieu"
                           : system_kind == 'r' ? "square wave"
                                                : "no equation";
    const int used = std::snprintf(text, capacity, "%s  beta=%.4g  delta=%.3f  eps=%.3f  t=%.2f",
                                   equation, beta, delta, epsilon, t_now);
    if (multiplier_readout_current() && used >= 0 && used < capacity) {
        const multiplier_readout& r = chosen_point_readout;
        std::snprintf(text + used, capacity - used, "  |mu|max=%.4g %s", r.max_modulus,
                      r.stable ? "stable" : "unstable");
    }
    return text;
}

void draw_status_line() {
    char text[160];
    draw_text(-0.98f, -0.985f, GLUT_BITMAP_HELVETICA_18, format_status_line(text, sizeof text));
}

void draw_chart_labels() {
    char text[32];
    const int delta_stride = label_stride(chart_scale_delta);
    for (int i = 0; i <= chart_grid_cells; i += delta_stride) {
        const double x = chart_origin.x + i * chart_scale_delta;
        if (!in_window(x) || !in_window(chart_origin.y - 0.05)) continue;
        std::snprintf(text, sizeof text, "%d", i);
        draw_text(static_cast<float>(x - 0.01), static_cast<float>(chart_origin.y - 0.05),
                  GLUT_BITMAP_HELVETICA_18, text);
    }
    const int epsilon_stride = label_stride(chart_scale_epsilon);
    for (int i = epsilon_stride; i <= chart_grid_cells; i += epsilon_stride) {
        const double y = chart_origin.y + i * chart_scale_epsilon;
        if (!in_window(y) || !in_window(chart_origin.x - 0.06)) continue;
        std::snprintf(text, sizeof text, "%d", i);
        draw_text(static_cast<float>(chart_origin.x - (i < 10 ? 0.035 : 0.06)),
                  static_cast<float>(y - 0.012), GLUT_BITMAP_HELVETICA_18, text);
    }
    // Tongue n grows from delta = n^2/4; a label needs about 0.16 units across, and odd and even
    // tongues take two rows, so the first tongues, closest together, are all named.
    double last_label[2] = {-2.0, -2.0};
    for (int n = 1; n <= 2 * chart_grid_cells; ++n) {
        const double x = chart_origin.x + chart_scale_delta * n * n / 4.0;
        double& last = last_label[n % 2];
        if (!in_window(x) || x - last < 0.16) continue;
        std::snprintf(text, sizeof text, "n=%d %s", n, n % 2 == 1 ? "4pi" : "2pi");
        draw_text(static_cast<float>(x + 0.01),
                  static_cast<float>(chart_origin.y + (n % 2 == 1 ? 0.11 : 0.065)),
                  GLUT_BITMAP_HELVETICA_18, text);
        last = x;
    }
    draw_text(-0.05f, -0.36f, GLUT_BITMAP_HELVETICA_18, "inside a tongue (shaded): unstable");
}
