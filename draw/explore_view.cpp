// The explorer's drawings: shading runs, phase plane, multiplier readout, on the drawing backend
// like the other views (the exported picture is in explore_picture.cpp).
#include "draw/explore_view.h"

#include <cmath>
#include <cstdio>

#include "draw/draw_backend.h"
#include "draw/motion_box.h"
#include "draw/response_view.h"
#include "state/explore_state.h"
#include "state/explore_texts.h"
#include "state/program_state.h"

const rgba unstable_tint = {1.0f, 235.0f / 255.0f, 190.0f / 255.0f, 0.0f};

namespace {

// One design pixel in window units (the window spans 2 units over shading_pixels pixels).
constexpr double pixel_width = 2.0 / shading_pixels;

constexpr double phase_point_radius = 0.012;

double window_at_pixel(int pixel) { return pixel * pixel_width - 1.0; }

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
    if (t.handle == 0) t.handle = backend_texture_create(texture_side);
    const unsigned char tint[3] = {channel_byte(unstable_tint.red),
                                   channel_byte(unstable_tint.green),
                                   channel_byte(unstable_tint.blue)};
    const unsigned char white[3] = {255, 255, 255};
    for (int row = 0; row < shading_pixels; ++row)
        for (int column = 0; column < shading_pixels; ++column) {
            const unsigned char* colour = r.unstable[row][column] ? tint : white;
            for (int k = 0; k < 3; ++k) t.texels[row][column][k] = colour[k];
        }
    backend_texture_upload(t.handle, shading_pixels, shading_pixels, &t.texels[0][0][0]);
    t.generation = r.generation;
}

// Whole texel counts over a power of two: exact in single precision.
float texel_at_pixel(int pixel) { return static_cast<float>(pixel) / texture_side; }

}  // namespace

void draw_unstable_shading() {
    if (!shading_raster_current()) return;
    update_shading_texture();
    backend().lighting(false);
    // A quad over whole pixels covers exactly the pixels whose centres it contains, and each
    // centre samples its own texel.
    backend().blit_texture(shading_texture.handle, window_at_pixel(0), window_at_pixel(0),
                           window_at_pixel(shading_pixels), window_at_pixel(shading_pixels),
                           texel_at_pixel(0), texel_at_pixel(0), texel_at_pixel(shading_pixels),
                           texel_at_pixel(shading_pixels));
    backend().lighting(true);
}

void draw_phase_plane() {
    const double centre_x = 0.5 * (phase_plane_left + phase_plane_right);
    const double centre_y = 0.5 * (phase_plane_bottom + phase_plane_top);
    const double tick_value = motion_box_tick_value(true);
    const double scale = motion_box_tick_reach / tick_value;

    draw_segment({phase_plane_left, centre_y}, {phase_plane_right, centre_y}, black);
    draw_segment({centre_x, phase_plane_bottom}, {centre_x, phase_plane_top}, black);

    // The trajectory may leave the box when the motion grows; the clip keeps it inside.
    backend().clip_rectangle(phase_plane_left, phase_plane_right, phase_plane_bottom,
                             phase_plane_top);
    draw_motion_box_ticks(tick_value, true);
    backend().line_width(2.0f);
    backend().lighting(false);
    backend().colour(red.red, red.green, red.blue, red.alpha);
    backend().begin(shape::line_strip);
    for (int i = 0; i <= sample_index; ++i) {
        backend().vertex(centre_x + scale * y_history[i], centre_y + scale * v_history[i]);
    }
    backend().end();
    backend().lighting(true);
    draw_disc({centre_x + scale * y_now, centre_y + scale * v_now}, phase_point_radius, red);
    backend().clip_off();

    // Inside the box at its top: the foot of the window holds the status line.
    draw_text(static_cast<float>(phase_plane_left + 0.01),
              static_cast<float>(phase_plane_top - 0.04),
              explore_text().window->phase_plane_legend);
}

const char* format_multiplier_readout(double max_modulus, bool stable, char* text, int capacity) {
    const window_texts& w = *explore_text().window;
    // A multiplier that overflowed or came from non-finite parameters decides nothing: saying
    // "unstable" would read a failed computation as growth.
    if (!std::isfinite(max_modulus))
        std::snprintf(text, capacity, "%s", w.no_verdict_readout);
    else
        std::snprintf(text, capacity, w.readout, max_modulus, stable ? w.stable : w.unstable);
    return text;
}

void draw_multiplier_readout() {
    if (!multiplier_readout_current()) return;
    const multiplier_readout& r = chosen_point_readout;
    char text[96];
    draw_text(-0.05f, -0.30f,
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

namespace {

// The status line's words, with or without the time of the motion.
const char* format_state_line(char* text, int capacity, bool with_time) {
    const window_texts& w = *explore_text().window;
    const char* equation = system_kind == 'm'   ? w.mathieu
                           : system_kind == 'r' ? w.square_wave
                                                : w.no_equation;
    int used = std::snprintf(text, capacity, w.status, equation, beta, delta, epsilon);
    if (with_time && used >= 0 && used < capacity)
        used += std::snprintf(text + used, capacity - used, w.status_time, t_now);
    if (multiplier_readout_current() && used >= 0 && used < capacity) {
        const multiplier_readout& r = chosen_point_readout;
        if (!std::isfinite(r.max_modulus))
            std::snprintf(text + used, capacity - used, "%s", w.no_verdict_status);
        else
            std::snprintf(text + used, capacity - used, w.status_readout, r.max_modulus,
                          r.stable ? w.stable : w.unstable);
    }
    return text;
}

}  // namespace

const char* format_status_line(char* text, int capacity) {
    return format_state_line(text, capacity, true);
}

const char* format_readout_line(char* text, int capacity) {
    return format_state_line(text, capacity, false);
}

void draw_status_line() {
    char text[160];
    draw_text(-0.98f, -0.985f, format_status_line(text, sizeof text));
}

void draw_chart_labels() {
    char text[32];
    const int delta_stride = label_stride(chart_scale_delta);
    for (int i = 0; i <= chart_grid_cells; i += delta_stride) {
        const double x = chart_origin.x + i * chart_scale_delta;
        if (!in_window(x) || !in_window(chart_origin.y - 0.05)) continue;
        std::snprintf(text, sizeof text, "%d", i);
        draw_text(static_cast<float>(x - 0.01), static_cast<float>(chart_origin.y - 0.05), text);
    }
    const int epsilon_stride = label_stride(chart_scale_epsilon);
    for (int i = epsilon_stride; i <= chart_grid_cells; i += epsilon_stride) {
        const double y = chart_origin.y + i * chart_scale_epsilon;
        if (!in_window(y) || !in_window(chart_origin.x - 0.06)) continue;
        std::snprintf(text, sizeof text, "%d", i);
        draw_text(static_cast<float>(chart_origin.x - (i < 10 ? 0.035 : 0.06)),
                  static_cast<float>(y - 0.012), text);
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
                  static_cast<float>(chart_origin.y + (n % 2 == 1 ? 0.11 : 0.065)), text);
        last = x;
    }
    draw_text(-0.05f, -0.36f, explore_text().window->tongue_legend);
}
