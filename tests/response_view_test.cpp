// The response view through real display calls under Xvfb, the picture read back: mass, curve
// colours, legend text and time grid. The frame's advance itself is tested without a display.
#include <gtest/gtest.h>

#include <cmath>

#include "app/window.h"
#include "draw/draw_primitives.h"
#include "draw/response_view.h"
#include "response/response_frame.h"
#include "tests/gl_test_window.h"

namespace {

constexpr double pixels_per_unit = window_size / 2;

class response_view : public ::testing::Test {
protected:
    void SetUp() override {
        if (!open_test_window()) GTEST_SKIP() << "no X display (run under tests/with_xvfb.sh)";
        reset_state('m', 0.0, 1.0, 0.0, 1.0, 0.0, 'k');
    }
};

TEST_F(response_view, mass_chain_places_masses_and_supports) {
    struct chain_case {
        const char* name;
        int n;
        double values[3];
        rgb colours[3];
    };
    const chain_case cases[] = {
        {"one mass in the middle", 1, {0.5, 0, 0}, {pure_red}},
        {"three masses in palette order", 3, {0.5, -0.5, 0.5}, {pure_red, pure_green, pure_blue}},
    };
    const point origin = {-0.99, 0.0};
    const double scale = 0.5;
    for (const chain_case& c : cases) {
        SCOPED_TRACE(c.name);
        begin_frame();
        draw_mass_chain(origin, scale, c.n, c.values);
        read_frame();

        const double dx = (0.99 - origin.x) / (c.n + 1);
        for (int i = 0; i < c.n; ++i) {
            const int x = pixel_of(origin.x + (i + 1) * dx), y = pixel_of(scale * c.values[i]);
            EXPECT_EQ(pixel(x, y), c.colours[i]) << "mass " << i;
            // Radius 0.04: 32 pixels from top to bottom.
            EXPECT_NEAR(run_length_in_column(c.colours[i], x, y), 0.08 * pixels_per_unit, 2.0);
        }
        // Supports of radius 0.01 at both ends of the string, on its line.
        for (double x : {-0.99, 0.99}) {
            EXPECT_NEAR(run_length_in_column(pure_red, pixel_of(x), pixel_of(0.0)),
                        0.02 * pixels_per_unit, 2.0)
                << "support at " << x;
        }
    }
}

TEST_F(response_view, display_draws_the_mass_at_the_new_displacement) {
    // From y = 0 with v = 2: after the frame y = 2 sin 0.1, the mass 0.1 above the axis.
    reset_state('m', 0.0, 1.0, 0.0, 0.0, 2.0, 's');
    display();
    read_frame();
    // The mass sits at x = 0, on the last grid column; look just right of that line.
    const int x = pixel_of(0.0) + 8;
    const int y = pixel_of(y_scale * 2.0 * std::sin(0.1));
    EXPECT_EQ(pixel(x, y), pure_red);
    // 8 pixels off the centre, the chord of a 16-pixel radius is 2 sqrt(16^2 - 8^2) = 27.7.
    EXPECT_NEAR(run_length_in_column(pure_red, x, y), 27.7, 2.0);
    EXPECT_NE(pixel(x, pixel_of(y_scale * 2.0 * std::sin(0.1) + 0.06)), pure_red);
}

TEST_F(response_view, motion_past_the_double_range_leaves_the_window) {
    // delta = -20 grows like e^(4.5 t): past 1e308 within the 2000 frames, which wrap the sweep
    // at the history's end (time scale after 30 presses of t).
    reset_state('m', 0.0, -20.0, 10.0, 1.0, 0.0, 's');
    time_scale = 0.01 * std::pow(0.9, 30);
    for (int call = 0; call < 1999; ++call) advance_frame();
    display();
    EXPECT_FALSE(std::isfinite(y_now));
    read_frame();
    EXPECT_EQ(count_colour(pure_red, pixel_of(-0.05), 0, pixel_of(0.05), window_size - 1), 0);
}

TEST_F(response_view, curves_are_red_green_blue_at_their_scales) {
    // A history of constant samples 0 ... 50; kind 'x' with delta 0 and v = 0 keeps the motion
    // still, so the display adds entry 51 with the same y, v and leaves K.
    reset_state('x', 0.0, 0.0, 0.0, 0.7, 0.0, 's');
    for (int s = 0; s <= 51; ++s) {
        y_history[s] = 0.7;   // 0.35 at y_scale 0.5
        v_history[s] = 1.75;  // 0.175 at y_scale / 5
        k_history[s] = 1.25;  // 0.125 at y_scale / 5
    }
    sample_index = 50;
    display();
    ASSERT_EQ(sample_index, 51);
    read_frame();

    struct curve_case {
        const char* name;
        rgb colour;
        double height;
    };
    const curve_case cases[] = {
        {"y red at y_scale", pure_red, 0.35},
        {"v green at y_scale / 5", pure_green, 1.75 * 0.1},
        {"K blue at y_scale / 5", pure_blue, 1.25 * 0.1},
    };
    for (const curve_case& c : cases) {
        SCOPED_TRACE(c.name);
        const int y = pixel_of(c.height);
        // Columns between the grid's vertical lines, within the sweep (x = -0.99 ... -0.48).
        for (double x : {-0.85, -0.75, -0.65, -0.55}) {
            EXPECT_TRUE(colour_near(c.colour, pixel_of(x), y, 1)) << "x = " << x;
            EXPECT_EQ(count_colour(c.colour, pixel_of(x), y - 3, pixel_of(x), y + 3), 2);
        }
        // Nothing beyond the newest sample.
        EXPECT_FALSE(colour_near(c.colour, pixel_of(-0.4), y, 3));
    }
}

TEST_F(response_view, legends_are_near_black_text) {
    display();
    read_frame();
    const int x0 = pixel_of(-0.95), x1 = pixel_of(-0.2);
    const int y0 = pixel_of(0.83), y1 = pixel_of(0.99);
    EXPECT_GT(count_colour(lit_text, x0, y0, x1, y1), 3 * 300);
    for (rgb c : {pure_red, pure_green, pure_blue}) EXPECT_EQ(count_colour(c, x0, y0, x1, y1), 0);
}

TEST_F(response_view, time_grid_follows_time_and_displacement_scales) {
    struct grid_case {
        const char* name;
        double time_scale;
        double y_scale;
        int columns_in_left_half;  // lines at x = -0.975 ... 0 (a column is time_scale / 0.1)
        int rows_in_window;        // lines at y = -0.975 ... 0.975 (a row is 0.2 y_scale)
    };
    const grid_case cases[] = {
        {"dialog scales: 0.1 by 0.1", 0.01, 0.5, 10, 19},
        {"t pressed: columns of 0.09", 0.009, 0.5, 11, 19},
        {"wider time scale: columns of 0.2", 0.02, 0.5, 5, 19},
        {"smaller y scale: rows of 0.05", 0.01, 0.25, 10, 39},
    };
    for (const grid_case& c : cases) {
        SCOPED_TRACE(c.name);
        // At rest on the zero line: the string and curves lie under the time axis.
        reset_state('m', 0.0, 1.0, 0.0, 0.0, 0.0, 's');
        time_scale = c.time_scale;
        y_scale = c.y_scale;
        display();
        read_frame();

        const int between_rows = pixel_of(0.1 * c.y_scale);  // half a row above the axis
        EXPECT_EQ(runs_in_row(pure_black, between_rows, pixel_of(-0.975), pixel_of(0.0)),
                  c.columns_in_left_half);
        EXPECT_EQ(runs_in_row(pure_black, between_rows, pixel_of(0.01), window_size - 1), 0);
        const double column = c.time_scale / 0.1;
        const int between_columns = pixel_of(-(std::floor(0.5 / column) + 0.5) * column);
        EXPECT_EQ(runs_in_column(pure_black, between_columns, pixel_of(-0.975), pixel_of(0.975)),
                  c.rows_in_window);
        // Right of the screen centre only the time axis crosses.
        EXPECT_EQ(runs_in_column(pure_black, pixel_of(0.5), pixel_of(-0.975), pixel_of(0.975)), 1);
    }
}

}  // namespace
