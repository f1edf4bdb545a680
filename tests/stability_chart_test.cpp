// The stability chart drawn for real over the response view: boundary dots where hand-made
// tables put them and in the colours of the curve set, the red point, the grid, and the chart
// shown only after the keys 'a', 'z' and 'Z'.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "app/keyboard.h"
#include "app/window.h"
#include "draw/draw_primitives.h"
#include "draw/response_view.h"
#include "draw/stability_chart.h"
#include "tests/gl_test_window.h"

namespace {

class stability_chart : public ::testing::Test {
protected:
    void SetUp() override {
        if (!open_test_window()) GTEST_SKIP() << "no X display (run under tests/with_xvfb.sh)";
        reset_chart_state();
    }
    // At rest on the zero line, so the response view stays out of the chart's quadrant; the
    // red point at delta = 2, epsilon = 1; all six tables empty.
    static void reset_chart_state() {
        reset_state('m', 0.1, 2.0, 1.0, 0.0, 0.0, 'a');
        for (boundary_table* t : {&boundary_dc1, &boundary_ds1, &boundary_dc2, &boundary_ds2,
                                  &boundary_b1, &boundary_b2})
            std::memset(t, 0, sizeof *t);
    }
};

// Window place of (delta, epsilon) at the dialog's chart scales.
int column_of(double delta_value) { return pixel_of(0.09 * delta_value); }
int row_of(double epsilon_value) { return pixel_of(0.1 * epsilon_value); }

void put_column(boundary_table& t, int column, double eps, int count, const double* roots,
                int rows_written) {
    t.counts[column] = count;
    t.points[0][column] = eps;
    for (int j = 0; j < rows_written; ++j) t.points[j + 1][column] = roots[j];
}

enum class dot { red, black, none };

TEST_F(stability_chart, boundary_dots_follow_the_tables_of_the_curve_set) {
    struct table_dot {
        boundary_table* table;
        double delta, eps;
    };
    // Half-integer (delta, epsilon): between the grid lines of both views.
    const table_dot places[6] = {
        {&boundary_dc1, 0.5, 1.5}, {&boundary_ds1, 1.5, 2.5}, {&boundary_dc2, 2.5, 3.5},
        {&boundary_ds2, 3.5, 4.5}, {&boundary_b1, 4.5, 5.5},  {&boundary_b2, 5.5, 6.5},
    };
    struct set_case {
        const char* name;
        char kind;
        double beta_value;
        dot expected[6];  // dc1, ds1, dc2, ds2, b1, b2
    };
    const set_case cases[] = {
        {"undamped Mathieu: four curves",
         'm',
         0.0,
         {dot::red, dot::red, dot::black, dot::black, dot::none, dot::none}},
        {"beta -0 counts as undamped",
         'm',
         -0.0,
         {dot::red, dot::red, dot::black, dot::black, dot::none, dot::none}},
        {"damped Mathieu: B1 and B2",
         'm',
         0.01,
         {dot::none, dot::none, dot::none, dot::none, dot::red, dot::black}},
        {"square wave, undamped too: B1 and B2",
         'r',
         0.0,
         {dot::none, dot::none, dot::none, dot::none, dot::red, dot::black}},
        {"other kind: B1 and B2",
         'x',
         0.0,
         {dot::none, dot::none, dot::none, dot::none, dot::red, dot::black}},
    };
    for (const set_case& c : cases) {
        SCOPED_TRACE(c.name);
        reset_chart_state();
        system_kind = c.kind;
        beta = c.beta_value;
        for (const table_dot& p : places) {
            // Column numbers as a scan would use them; B2's is the last one drawn (epsilon_steps).
            const int column =
                p.table == &boundary_b2 ? epsilon_steps : static_cast<int>(p.eps * 50);
            put_column(*p.table, column, p.eps, 1, &p.delta, 1);
        }
        // B1 gets three roots in its column: three dots at one height.
        const double b1_roots[3] = {4.5, 6.5, 8.5};
        put_column(boundary_b1, static_cast<int>(5.5 * 50), 5.5, 3, b1_roots, 3);
        // Not drawn: a column with count 0 (a visible value in row 1) and one past epsilon_steps.
        const double hidden[1] = {7.5};
        put_column(boundary_b1, 10, 7.5, 0, hidden, 1);
        const double past_end[1] = {9.5};
        put_column(boundary_b2, epsilon_steps + 1, 8.5, 1, past_end, 1);

        display();
        read_frame();

        for (int i = 0; i < 6; ++i) {
            const int x = column_of(places[i].delta), y = row_of(places[i].eps);
            SCOPED_TRACE(i);
            EXPECT_EQ(colour_near(pure_red, x, y, 2), c.expected[i] == dot::red);
            EXPECT_EQ(colour_near(pure_black, x, y, 2), c.expected[i] == dot::black);
        }
        const bool b1_drawn = c.expected[4] == dot::red;
        EXPECT_EQ(colour_near(pure_red, column_of(6.5), row_of(5.5), 2), b1_drawn);
        EXPECT_EQ(colour_near(pure_red, column_of(8.5), row_of(5.5), 2), b1_drawn);
        EXPECT_FALSE(colour_near(pure_red, column_of(7.5), row_of(7.5), 3));
        EXPECT_FALSE(colour_near(pure_black, column_of(9.5), row_of(8.5), 3));
    }
}

TEST_F(stability_chart, one_boundary_dot_covers_five_pixels) {
    // Centred on the centre of pixel (600, 600): a disc of radius 0.003 (1.2 pixels) holds that
    // centre and the four at 1 pixel, not the four diagonal ones at 1.41 (radius 0.004 would).
    const double at = 600.5 / (window_size / 2) - 1.0;
    static boundary_table one_dot;
    put_column(one_dot, 0, at, 1, &at, 1);
    begin_frame();
    draw_boundary_table({0.0, 0.0}, 1.0, 1.0, 0, one_dot.counts, one_dot.points, black);
    read_frame();
    EXPECT_EQ(count_colour(pure_black, 590, 590, 610, 610), 5);
    EXPECT_EQ(pixel(600, 600), pure_black);
}

TEST_F(stability_chart, red_point_lies_at_the_chosen_delta_epsilon_on_top) {
    display();
    read_frame();
    // delta = 2, epsilon = 1 at scales 0.09, 0.1: (0.18, 0.1), a grid crossing.
    const int x = pixel_of(0.18), y = pixel_of(0.1);
    EXPECT_EQ(pixel(x, y), pure_red);
    EXPECT_NEAR(run_length_in_column(pure_red, x, y), 8.0, 2.0);  // radius 0.01: 8 pixels
    EXPECT_EQ(count_colour(pure_black, x - 2, y - 2, x + 2, y + 2), 0);
}

TEST_F(stability_chart, scales_beyond_single_precision_leave_later_frames_intact) {
    // 1000 presses of Z and of y: scales OpenGL's floats cannot hold; then the dialog's again.
    chart_scale_delta = 0.09 / std::pow(0.9, 1000);
    chart_scale_epsilon = 0.1 / std::pow(0.9, 1000);
    y_scale = 0.5 * std::pow(0.9, 1000);
    display();
    reset_state('m', 0.1, 2.0, 1.0, 0.0, 0.0, 'a');
    display();
    read_frame();
    EXPECT_EQ(pixel(pixel_of(0.18), pixel_of(0.1)), pure_red);
}

TEST_F(stability_chart, grid_has_21_lines_each_way_from_the_screen_centre) {
    // Zoomed out so that all 20 x 20 cells fit into the upper right quadrant.
    chart_scale_delta = 0.04;
    chart_scale_epsilon = 0.045;
    display();
    read_frame();
    // The line at delta = 0 (epsilon = 0) merges with the axis into one run.
    const int row = pixel_of(2.5 * chart_scale_epsilon);
    const int column = pixel_of(2.5 * chart_scale_delta);
    EXPECT_EQ(runs_in_row(pure_black, row, pixel_of(-0.0125), window_size - 1), 21);
    EXPECT_EQ(runs_in_column(pure_black, column, pixel_of(-0.0125), window_size - 1), 21);
    // The grid ends at delta = 20 and epsilon = 20: its last vertical line (in one of the two
    // columns at the pixel border of x = 0.8) reaches from the axis to epsilon = 20.
    const int last_line = pixel_of(20 * chart_scale_delta);
    const int reach = std::max(run_length_in_column(pure_black, last_line - 1, row),
                               run_length_in_column(pure_black, last_line, row));
    EXPECT_NEAR(reach, 20 * chart_scale_epsilon * window_size / 2, 3.0);
}

// Keys through the real keyboard callback, which stores the key, rescales and draws one frame.
TEST_F(stability_chart, shown_after_the_keys_a_z_and_Z_only) {
    struct key_case {
        unsigned char key;
        bool shown;
    };
    const key_case cases[] = {
        {'a', true},  {'z', true},  {'Z', true},  {'s', false}, {'t', false},
        {'T', false}, {'y', false}, {'Y', false}, {'q', false}, {'a', true},
    };
    for (const key_case& c : cases) {
        SCOPED_TRACE(std::string("key ") + static_cast<char>(c.key));
        keyboard(c.key, 0, 0);
        read_frame();
        // Legend below the delta axis, a grid line at delta = 5 and the red point (2, 1).
        const int legend = count_colour(lit_text, pixel_of(-0.05), pixel_of(-0.27), pixel_of(0.8),
                                        pixel_of(-0.08));
        if (c.shown) {
            EXPECT_GT(legend, 4 * 200);
        } else {
            EXPECT_EQ(legend, 0);
        }
        const int grid_x = pixel_of(5.0 * chart_scale_delta);
        const int grid_y = pixel_of(5.5 * chart_scale_epsilon);
        EXPECT_EQ(colour_near(pure_black, grid_x, grid_y, 1), c.shown);
        const int point_x = pixel_of(2.0 * chart_scale_delta);
        const int point_y = pixel_of(1.0 * chart_scale_epsilon);
        EXPECT_EQ(pixel(point_x, point_y) == pure_red, c.shown);
    }
}

}  // namespace
