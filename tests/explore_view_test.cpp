// The explorer's drawings read back under Xvfb: the motion box with the phase plane or the mass,
// the chart's labels kept over the running motion, the shaded unstable pairs against closed forms
// and against the boundary curves, and the multiplier readout.
#include <gtest/gtest.h>

#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/explore_hooks.h"
#include "app/window.h"
#include "control/explore_analysis.h"
#include "control/explore_keys.h"
#include "draw/explore_view.h"
#include "draw/motion_box.h"
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

// A text's pixels when drawn alone at (x, y) on a cleared frame, with the rectangle around them
// widened by a glyph's width on each side: where the chart must show exactly these pixels in
// the text's colour, found without the chart's layout code.
struct text_pixels {
    std::vector<rgb> colours;  // row by row over the rectangle
    int x0, y0, x1, y1;
};
text_pixels rendered_text(double x, double y, const char* text) {
    begin_frame();
    draw_segment({-2.0, -2.0}, {-2.0, -2.0}, black);  // lighting left on, as in every picture
    draw_text(static_cast<float>(x), static_cast<float>(y), text);
    end_frame();
    read_frame();
    text_pixels t = {{}, window_size, window_size, -1, -1};
    for (int row = 0; row < window_size; ++row)
        for (int column = 0; column < window_size; ++column)
            if (pixel(column, row) != pure_white) {
                t.x0 = std::min(t.x0, column - 8), t.x1 = std::max(t.x1, column + 8);
                t.y0 = std::min(t.y0, row), t.y1 = std::max(t.y1, row);
            }
    for (int row = t.y0; row <= t.y1; ++row)
        for (int column = t.x0; column <= t.x1; ++column) t.colours.push_back(pixel(column, row));
    return t;
}
// In the frame read last: the text's pixels in its colour, and the pixels around them that differ
// from the text drawn alone (0 when exactly the text is shown).
struct text_match {
    int shown, wrong;
};
text_match text_in_frame(const text_pixels& t) {
    text_match m = {0, 0};
    auto it = t.colours.begin();
    for (int row = t.y0; row <= t.y1; ++row)
        for (int column = t.x0; column <= t.x1; ++column, ++it) {
            const bool lit = *it == lit_text, now = pixel(column, row) == lit_text;
            m.shown += lit && now;
            m.wrong += lit != now;
        }
    return m;
}
bool text_shown(const text_pixels& t) {
    const text_match m = text_in_frame(t);
    return m.shown > 5 && m.wrong == 0;
}

TEST(motion_box_scale, tick_value_is_the_least_one_two_five_step_not_below_the_extent) {
    const double cases[][2] = {{0.2, 0.2},  {0.21, 0.5}, {1.0, 1.0},   {1.0000001, 2.0},
                               {4.99, 5.0}, {7.0, 10.0}, {3e-4, 5e-4}, {123456.0, 2e5},
                               {0.0, 1.0},  {-3.0, 1.0}, {NAN, 1.0},   {INFINITY, INFINITY}};
    for (const auto& c : cases) EXPECT_EQ(fitted_tick_value(c[0]), c[1]) << c[0];
}

TEST_F(explore_view, motion_box_holds_the_phase_plane_or_the_mass_on_the_fitted_scale) {
    // y'' + y = 0 from (1.5, 0): y = 1.5 cos t, v = -1.5 sin t, a circle run clockwise; its
    // extent 1.5 puts the ticks at +-2, so the circle's radius is 1.5 / 2 of the tick reach.
    reset_state('m', 0.0, 1.0, 0.0, 1.5, 0.0, 's');
    const double centre_x = 0.5 * (phase_plane_left + phase_plane_right);
    const double centre_y = 0.5 * (phase_plane_bottom + phase_plane_top);
    const double radius = 0.75 * motion_box_tick_reach;
    const text_pixels scale_line =
        rendered_text(phase_plane_left + 0.01, phase_plane_bottom + 0.02, "ticks at +-2");
    phase_plane_shown = true;
    for (int frame = 0; frame < 70; ++frame) display();  // t = 7: more than one turn
    read_frame();
    for (int k = 0; k < 12; ++k) {
        const double angle = two_pi * k / 12;
        SCOPED_TRACE(k);
        EXPECT_TRUE(colour_near(pure_red, pixel_of(centre_x + radius * std::cos(angle)),
                                pixel_of(centre_y + radius * std::sin(angle)), 2));
    }
    EXPECT_EQ(pixel(pixel_of(centre_x + 0.5 * radius), pixel_of(centre_y + 0.5 * radius)),
              pure_white);
    EXPECT_TRUE(text_shown(scale_line));
    EXPECT_EQ(count_colour(rgb{153, 0, 204}, 0, 0, window_size - 1, window_size - 1), 0);

    // 'p' again: the violet mass at the box centre, lifted by y on the same scale (|y| alone
    // reaches 1.5 too); nothing at the window's centre, where the chart has its origin.
    phase_plane_shown = false;
    display();
    read_frame();
    EXPECT_EQ(pixel(pixel_of(centre_x), pixel_of(centre_y + 0.1 * y_now)), (rgb{153, 0, 204}));
    EXPECT_TRUE(text_shown(scale_line));
    EXPECT_EQ(
        count_colour(pure_red, pixel_of(-0.05), pixel_of(-0.45), pixel_of(0.05), pixel_of(0.45)),
        0);
}

TEST_F(explore_view, chart_names_its_grid_lines_and_tongues_and_stays_up_while_the_motion_runs) {
    // Square wave (the fastest raster), beta = 0.1, the dialog's scales: a grid line every
    // 0.09 window units of delta and 0.1 of epsilon from the origin at the window's centre; each
    // label a little below its delta line, left of its epsilon line, right of a tongue's foot
    // at delta = n^2 / 4 (odd n one row higher).
    reset_state('r', 0.1, 2.0, 1.0, 0.5, 0.0, 's');
    struct label {
        double x, y;
        const char* text;
    };
    const double d = 0.09, e = 0.1;
    const label labels[] = {
        {1 * d - 0.01, -0.05, "1"},   {4 * d - 0.01, -0.05, "4"},
        {10 * d - 0.01, -0.05, "10"}, {-0.035, 1 * e - 0.012, "1"},
        {-0.035, 9 * e - 0.012, "9"}, {d / 4 + 0.01, 0.11, "n=1 4pi"},
        {d + 0.01, 0.065, "n=2 2pi"}, {25 * d / 4 + 0.01, 0.11, "n=5 4pi"},
    };
    std::vector<text_pixels> expected;
    for (const label& l : labels) expected.push_back(rendered_text(l.x, l.y, l.text));

    ASSERT_TRUE(hooks.key('a'));
    for (int frame = 0; frame < 3; ++frame) ASSERT_TRUE(hooks.key('s'));
    read_frame();
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(text_shown(expected[i])) << labels[i].text << " at " << labels[i].x;
    ASSERT_TRUE(hooks.key('a'));  // 'a' again takes the chart and its labels away
    read_frame();
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(text_in_frame(expected[i]).shown, 0) << labels[i].text << " at " << labels[i].x;
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

TEST(explore_text, a_multiplier_that_is_not_finite_gives_no_verdict) {
    struct text_case {
        double max_modulus;
        bool stable;
        const char* verdict;
    };
    const text_case cases[] = {{0.5, true, ": stable"},
                               {2.0, false, ": unstable"},
                               {NAN, false, "no verdict"},
                               {INFINITY, false, "no verdict"}};
    for (const text_case& c : cases) {
        char text[96];
        const char* line = format_multiplier_readout(c.max_modulus, c.stable, text, sizeof text);
        EXPECT_NE(std::strstr(line, c.verdict), nullptr) << line;
        if (!std::isfinite(c.max_modulus)) {
            EXPECT_EQ(std::strstr(line, "stable"), nullptr) << line;
        }
    }
}

// A window smaller than the picture holds it in tiles, each of which must rasterise as its part of
// the one 800 x 800 frame: the picture equals the one taken from the full window.
TEST_F(explore_view, picture_from_a_small_window_equals_the_full_one) {
    reset_state('m', 0.1, 1.0, 0.4, 0.2, 0.0, 'a');
    refresh_explore_analysis();
    phase_plane_shown = true;
    for (int frame = 0; frame < 20; ++frame) display();
    static unsigned char full[picture_pixels * picture_pixels * 3];
    static unsigned char tiled[picture_pixels * picture_pixels * 3];
    ASSERT_TRUE(render_picture(full, 1.0f));
    glutDisplayFunc([] {});  // the window's events must not advance the motion meanwhile
    const bool resized = resize_test_window(500, 300);
    const bool rendered = render_picture(tiled, 1.0f);
    const bool restored = resize_test_window(window_size, window_size);
    glutDisplayFunc(display);
    ASSERT_TRUE(resized && rendered && restored);
    EXPECT_EQ(std::memcmp(full, tiled, sizeof full), 0);
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
