// The explorer's motion box in the lower right of the window: the mass on its string or, after
// 'p', the phase plane (y, v), at a scale fitted to the motion shown and marked by ticks with
// their value, so that a growing motion never leaves the box and a decaying one never vanishes.
#pragma once

#include "draw/draw_primitives.h"

// Window units from the box centre to the ticks at +tick_value and -tick_value.
constexpr double motion_box_tick_reach = 0.2;

// The mass, its string and supports: violet, a colour no curve, boundary or point shares.
extern const rgba mass_colour;

// The least of 1, 2 and 5 times a power of ten that is not below extent: the scale steps in
// values that read at a glance and stays put until the motion outgrows it. 1 when extent is
// zero, negative or NaN; extent itself when it is infinite.
double fitted_tick_value(double extent);

// Largest |y| (with with_velocity, also |v|) over history entries 0 ... sample_index and the
// current state: the extent of the motion on show.
double shown_extent(bool with_velocity);

// The tick value of the motion on show: fitted_tick_value(shown_extent(with_velocity)).
double motion_box_tick_value(bool with_velocity);

// Short black ticks at +-tick_value on the box's vertical axis (and, with across, on its
// horizontal one) and the line "ticks at +-<value>" in the box's lower left corner.
void draw_motion_box_ticks(double tick_value, bool across);

// The mass at the box centre lifted by y_now on the fitted scale, on a string between two
// supports at the box's sides, with the vertical axis through it and its ticks.
void draw_motion_box_mass();
