// The explorer's motion box: the fitted scale, its ticks and the mass (the phase plane itself is
// drawn in explore_view.cpp). Drawn with the plot primitives only.
#include "draw/motion_box.h"

#include <cmath>
#include <cstdio>

#include "draw/explore_view.h"
#include "state/program_state.h"

const rgba mass_colour = {0.6f, 0.0f, 0.8f, 0.0f};

namespace {

constexpr double box_centre_x = 0.5 * (phase_plane_left + phase_plane_right);
constexpr double box_centre_y = 0.5 * (phase_plane_bottom + phase_plane_top);
constexpr double tick_half_length = 0.015;
constexpr double mass_radius = 0.04;
constexpr double support_radius = 0.01;
constexpr double support_inset = 0.05;

}  // namespace

double fitted_tick_value(double extent) {
    if (!(extent > 0.0)) return 1.0;
    if (std::isinf(extent)) return extent;
    // One decade below the logarithm's guess, in case it rounds up at a power of ten.
    const int decade = static_cast<int>(std::floor(std::log10(extent))) - 1;
    const double mantissas[3] = {1.0, 2.0, 5.0};
    for (int k = decade;; ++k) {
        const double power = std::pow(10.0, k);
        for (double m : mantissas)
            if (m * power >= extent) return m * power;
    }
}

double shown_extent(bool with_velocity) {
    double extent = std::fabs(y_now);
    if (with_velocity) extent = std::fmax(extent, std::fabs(v_now));
    for (int i = 0; i <= sample_index; ++i) {
        extent = std::fmax(extent, std::fabs(y_history[i]));
        if (with_velocity) extent = std::fmax(extent, std::fabs(v_history[i]));
    }
    return extent;
}

double motion_box_tick_value(bool with_velocity) {
    return fitted_tick_value(shown_extent(with_velocity));
}

void draw_motion_box_ticks(double tick_value, bool across) {
    const double r = motion_box_tick_reach;
    const double h = tick_half_length;
    const double sides[2] = {-1.0, 1.0};
    for (double side : sides) {
        const double y = box_centre_y + side * r;
        draw_segment({box_centre_x - h, y}, {box_centre_x + h, y}, black);
        if (!across) continue;
        const double x = box_centre_x + side * r;
        draw_segment({x, box_centre_y - h}, {x, box_centre_y + h}, black);
    }
    char text[48];
    std::snprintf(text, sizeof text, "ticks at +-%g", tick_value);
    draw_text(static_cast<float>(phase_plane_left + 0.01),
              static_cast<float>(phase_plane_bottom + 0.02), text);
}

void draw_motion_box_mass() {
    const double tick_value = motion_box_tick_value(false);
    const point left = {phase_plane_left + support_inset, box_centre_y};
    const point right = {phase_plane_right - support_inset, box_centre_y};
    draw_segment({box_centre_x, phase_plane_bottom}, {box_centre_x, phase_plane_top}, black);
    draw_motion_box_ticks(tick_value, false);
    if (std::isinf(tick_value)) return;  // the motion has overflowed: no place to show it
    const point mass = {box_centre_x, box_centre_y + motion_box_tick_reach * y_now / tick_value};
    draw_segment(left, mass, mass_colour);
    draw_segment(mass, right, mass_colour);
    draw_disc(left, support_radius, mass_colour);
    draw_disc(right, support_radius, mass_colour);
    draw_disc(mass, mass_radius, mass_colour);
}
