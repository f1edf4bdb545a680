// The explorer's drawings read back under Xvfb: the phase plane in place of the mass, the shaded
// unstable pairs against closed forms and against the boundary curves, and the multiplier readout.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/explore_hooks.h"
#include "app/window.h"
#include "control/explore_analysis.h"
#include "control/explore_keys.h"
#include "draw/explore_view.h"
#include "draw/response_view.h"
#include "stability/boundary_scan.h"
#include "state/explore_state.h"
#include "state/program_hooks.h"
#include "tests/gl_test_window.h"
#include "tests/program_state_setup.h"

namespace {

constexpr double two_pi = 6.28318530717959;

class explore_view : public ::testing::Test {
protected:
    void SetUp() override {
        if (!open_test_window()) GTEST_SKIP() << "no X display (run under tests/with_xvfb.sh)";
        install_explore_hooks();
        phase_plane_shown = false;
    }
    void TearDown() override { hooks = {}; }
};

TEST_F(explore_view, phase_plane_replaces_the_mass_and_draws_the_trajectory) {
    // y'' + y = 0 from (1, 0): y = cos t, v = -sin t, the unit circle run clockwise; at the start
    // scale (y_scale 0.5) one unit is a quarter of a window unit, 100 pixels.
    reset_state('m', 0.0, 1.0, 0.0, 1.0, 0.0, 's');
    phase_plane_shown = true;
    for (int frame = 0; frame < 70; ++frame) display();  // t = 7: more than one turn
    read_frame();

    const double centre_x = 0.5 * (phase_plane_left + phase_plane_right);
    const double centre_y = 0.5 * (phase_plane_bottom + phase_plane_top);
    const double radius = phase_plane_scale_factor * y_scale;
    for (int k = 0; k < 12; ++k) {
        const double angle = two_pi * k / 12;
        SCOPED_TRACE(k);
        EXPECT_TRUE(colour_near(pure_red, pixel_of(centre_x + radius * std::cos(angle)),
                                pixel_of(centre_y + radius * std::sin(angle)), 2));
    }
    // Inside the circle only the axes: black through the centre, white between.
    EXPECT_TRUE(colour_near(pure_black, pixel_of(centre_x), pixel_of(centre_y + 0.5 * radius), 1));
    EXPECT_TRUE(colour_near(pure_black, pixel_of(centre_x + 0.5 * radius), pixel_of(centre_y), 1));
    EXPECT_EQ(pixel(pixel_of(centre_x + 0.5 * radius), pixel_of(centre_y + 0.5 * radius)),
              pure_white);
    // No mass on the string: y(7) = cos 7 = 0.754 would put it at window (0, 0.377).
    EXPECT_EQ(
        count_colour(pure_red, pixel_of(-0.03), pixel_of(0.34), pixel_of(0.03), pixel_of(0.41)), 0);
    // The legend line at the top of the box.
    EXPECT_GT(count_colour(lit_text, pixel_of(phase_plane_left), pixel_of(phase_plane_top - 0.06),
                           pixel_of(0.7), pixel_of(phase_plane_top)),
              200);

    // 'p' again: the mass is back.
    phase_plane_shown = false;
    display();
    read_frame();
    EXPECT_EQ(pixel(pixel_of(0.0), pixel_of(y_scale * y_now)), pure_red);
}

constexpr rgb tint = {255, 235, 190};

// Window pixel of (delta, epsilon) at the chart's current scales.
int column_of(double d) { return pixel_of(chart_scale_delta * d); }
int row_of(double e) { return pixel_of(chart_scale_epsilon * e); }

// The readout line's band under the chart legend.
int readout_text() {
    return count_colour(lit_text, pixel_of(-0.05), pixel_of(-0.32), pixel_of(0.9), pixel_of(-0.28));
}

TEST_F(explore_view, unstable_pairs_are_tinted_under_the_grid_and_the_readout_follows) {
    // Damped Mathieu equation (beta = 0.1) with empty boundary tables, so only the shading, the
    // grid, the axes, the legend and the chosen point are drawn.
    reset_state('m', 0.1, 0.25, 1.2, 0.0, 0.0, 'a');
    for (boundary_table* t : {&boundary_b1, &boundary_b2}) std::memset(t, 0, sizeof *t);
    refresh_explore_analysis();
    display();
    read_frame();

    // Inside the first tongue, where the teaching example swings up; and a pair between the second
    // and third tongues that damping 0.1 keeps stable at epsilon = 0.5.
    EXPECT_EQ(pixel(column_of(0.4), row_of(1.5)), tint);
    EXPECT_EQ(pixel(column_of(2.0), row_of(0.5)), pure_white);
    // Left of the epsilon axis and below the delta axis too: at (-0.49, 0.49) and (-2, -2) the
    // stiffness delta + epsilon cos t is never positive, so the motion grows.
    EXPECT_EQ(pixel(column_of(-0.49), row_of(0.49)), tint);
    EXPECT_EQ(pixel(column_of(-2.0), row_of(-2.0)), tint);
    // The tint follows the raster pixel by pixel (off the grid lines, the legend and the point).
    int compared = 0;
    for (int row = 3; row < window_size; row += 7)
        for (int column = 3; column < window_size; column += 7) {
            const rgb p = pixel(column, row);
            if (p != tint && p != pure_white) continue;
            EXPECT_EQ(p == tint, unstable_shading.unstable[row][column] == 1)
                << column << ", " << row;
            ++compared;
        }
    EXPECT_GT(compared, 8000);
    // The grid line at epsilon = 3 stays black across the first tongue.
    EXPECT_TRUE(colour_near(pure_black, column_of(0.3), row_of(3.0), 1));
    EXPECT_GT(readout_text(), 150);

    // A raster made for another damping is never shown; nor is the readout of another point.
    // (draw_picture, not display, whose before_frame hook would bring both up to date first.)
    beta = 0.2;
    delta = 2.0;
    begin_frame();
    draw_picture();
    end_frame();
    read_frame();
    EXPECT_EQ(count_colour(tint, 0, 0, window_size - 1, window_size - 1), 0);
    EXPECT_EQ(readout_text(), 0);
}

// The chart's parts copied from their textures give the pixels that drawing them gives, in the
// frame that draws the texture again for a new view and in the frames after, whatever lies under
// them.
TEST_F(explore_view, cached_chart_parts_give_the_pixels_of_the_direct_drawing) {
    reset_state('m', 0.1, 1.26, 2.49, 1.0, 0.0, 'a');
    boundary_scan('5', beta, boundary_b1.counts, boundary_b1.points, 500);
    boundary_scan('6', beta, boundary_b2.counts, boundary_b2.points, 500);
    for (int frame = 0; frame < 30; ++frame) display();  // curves under the chart
    zoom_chart(0.9, chosen_point_on_chart());
    refresh_explore_analysis();
    struct frame_case {
        const char* name;
        bool cached;
    };
    const frame_case cases[] = {{"direct", false}, {"texture drawn", true}, {"copied", true}};
    static rgb frames[3][window_size][window_size];
    for (int i = 0; i < 3; ++i) {
        chart_layers_cached = cases[i].cached;
        begin_frame();
        draw_picture();
        read_frame();
        for (int row = 0; row < window_size; ++row)
            for (int column = 0; column < window_size; ++column)
                frames[i][row][column] = pixel(column, row);
    }
    chart_layers_cached = true;
    for (int i = 1; i < 3; ++i) {
        SCOPED_TRACE(cases[i].name);
        int differing = 0;
        for (int row = 0; row < window_size; ++row)
            for (int column = 0; column < window_size; ++column)
                differing += frames[i][row][column] != frames[0][row][column];
        EXPECT_EQ(differing, 0);
    }
    // Not an empty comparison: dots, grid and labels are drawn.
    EXPECT_GT(count_colour(pure_black, 400, 400, window_size - 1, window_size - 1), 3000);
    EXPECT_GT(count_colour(lit_text, 0, 0, window_size - 1, window_size - 1), 2000);
}

TEST_F(explore_view, paravib_itself_draws_no_aid) {
    reset_state('m', 0.1, 0.25, 1.2, 0.5, 0.0, 'a');
    refresh_explore_analysis();
    phase_plane_shown = true;
    hooks = {};
    display();
    read_frame();
    EXPECT_EQ(count_colour(tint, 0, 0, window_size - 1, window_size - 1), 0);
    EXPECT_EQ(readout_text(), 0);
    // The mass is drawn (right of the chart's epsilon axis), not the phase plane.
    EXPECT_EQ(pixel(pixel_of(0.02), pixel_of(y_scale * y_now)), pure_red);
    EXPECT_EQ(pixel(pixel_of(0.5), pixel_of(-0.65)), pure_white);
}

}  // namespace
