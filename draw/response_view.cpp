// The display callback and the two drawing routines only the response view uses. Each call
// advances the motion first and then draws from scratch; nothing drawn is cached.
#include "draw/response_view.h"

#include "draw/draw_backend.h"
#include "draw/draw_primitives.h"
#include "draw/stability_chart.h"
#include "response/response_frame.h"
#include "state/program_hooks.h"

namespace {

// Right end of the string and x of its right support.
constexpr double string_right_end = 0.99;
constexpr double support_radius = 0.01;
constexpr double mass_radius = 0.04;

// The time grid has 30 lines on each side of its centre, which lies 30 columns left of the
// screen centre, so the grid ends at the screen centre; its rows are 0.2 units of y.
constexpr int time_grid_half_lines = 30;
constexpr double time_grid_row_in_y = 0.2;

// v and K are drawn at a fifth of the displacement scale.
constexpr double slow_curve_divisor = 5.0;

void draw_legends() {
    draw_text(-0.95f, 0.95f, "red   : response y(t)");
    draw_text(-0.95f, 0.90f, "green : velocity v(t)");
    draw_text(-0.95f, 0.85f, "blue  : variable spring rigidity K(t)");
}

// One column of the grid is one unit of time: a frame moves the curves time_scale to the right
// and the time on by steps_per_frame * time_step.
void draw_time_grid() {
    const double frame_advance = steps_per_frame * time_step;
    const point centre = {screen_centre.x - (time_grid_half_lines * time_scale) / frame_advance,
                          screen_centre.y};
    draw_grid(centre, 0.0, time_grid_half_lines, time_scale / frame_advance,
              time_grid_row_in_y * y_scale);
}

}  // namespace

void display() {
    if (hooks.before_frame != nullptr) hooks.before_frame();
    begin_frame();
    // Integrate and sample before anything is drawn: the mass shows the new displacement and
    // the curves end at the new sample.
    advance_frame();
    draw_picture();
    end_frame();
}

void draw_picture() {
    if (hooks.under_picture != nullptr) hooks.under_picture();
    if (hooks.instead_of_mass == nullptr || !hooks.instead_of_mass()) {
        draw_mass_chain(response_origin, y_scale, 1, live_state);
    }
    draw_legends();

    const double curve_scales[curve_count] = {y_scale, y_scale / slow_curve_divisor,
                                              y_scale / slow_curve_divisor};
    draw_curves(response_origin, time_scale, curve_scales, curve_count, sample_index,
                &response_history[0][0], history_length);

    // Axes and grid lie over the curves; no depth test is used.
    draw_axes(response_origin, 0.0);
    draw_time_grid();

    if (chart_shown() && (hooks.instead_of_chart == nullptr || !hooks.instead_of_chart()))
        draw_stability_chart();
    if (hooks.over_picture != nullptr) hooks.over_picture();
}

void draw_mass_chain(const point& origin, double scale, int n, const double* values) {
    const rgba& colour = red;
    const double dx = (string_right_end - origin.x) / (n + 1);

    point p = origin;
    for (int i = 0; i < n; ++i) {
        const point q = p;
        p.x = q.x + dx;
        p.y = scale * values[i] + origin.y;
        draw_segment(q, p, colour);
    }
    const point right_support = {string_right_end, origin.y};
    draw_segment(p, right_support, colour);

    draw_disc(origin, support_radius, colour);
    draw_disc(right_support, support_radius, colour);

    double x = origin.x;
    for (int i = 0; i < n; ++i) {
        x = x + dx;
        draw_disc({x, scale * values[i] + origin.y}, mass_radius, palette[i]);
    }
    backend().flush();
}

void draw_curves(const point& origin, double dx, const double* scales, int count, int last,
                 const double* rows, int row_stride) {
    for (int i = 0; i < count; ++i) {
        draw_curve(origin, dx, scales[i], last, rows + row_stride * i, palette[i]);
    }
}
