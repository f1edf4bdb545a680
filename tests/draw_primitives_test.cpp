// Plot primitives drawn for real (Mesa under Xvfb) and read back from the back buffer: disc
// sizes, line widths and the GL state each primitive leaves, text colour, grid and curve extents.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/window.h"
#include "draw/draw_primitives.h"
#include "tests/gl_test_window.h"

namespace {

constexpr double pixels_per_unit = window_size / 2;  // 400: window coordinates to pixels
constexpr double pi = 3.14159265358979;
// Half a pixel in window units: places a line through pixel centres, not on their borders.
constexpr double half_pixel = 0.5 / pixels_per_unit;

class primitives : public ::testing::Test {
protected:
    void SetUp() override {
        if (!open_test_window()) GTEST_SKIP() << "no X display (run under tests/with_xvfb.sh)";
        begin_frame();
    }
};

// Pixels of a vertical red test segment at x = 0.5 + half a pixel, counted across one row.
int red_segment_width() {
    draw_segment({0.5 + half_pixel, -0.9}, {0.5 + half_pixel, -0.1}, red);
    read_frame();
    return count_colour(pure_red, 580, pixel_of(-0.5), 620, pixel_of(-0.5));
}

TEST_F(primitives, discs_cover_pi_r_squared_with_their_colour) {
    struct disc_case {
        const char* name;
        double radius;
    };
    const disc_case cases[] = {
        {"boundary dot, 2.4 px across", 0.003},
        {"support and red point, 8 px across", 0.01},
        {"mass, 32 px across", 0.04},
    };
    for (const disc_case& c : cases) {
        SCOPED_TRACE(c.name);
        begin_frame();
        // Centre on a pixel centre, so the covered area does not depend on the border rule.
        const point centre = {0.25 + half_pixel, -0.25 + half_pixel};
        draw_disc(centre, c.radius, palette[2]);
        read_frame();

        const double r = c.radius * pixels_per_unit;
        const int cx = pixel_of(centre.x), cy = pixel_of(centre.y);
        EXPECT_EQ(pixel(cx, cy), pure_blue);
        // Area within one perimeter's worth of edge pixels of pi r^2.
        const int area = count_colour(pure_blue, cx - 40, cy - 40, cx + 40, cy + 40);
        EXPECT_NEAR(area, pi * r * r, 2.0 * pi * r);
        EXPECT_NEAR(run_length_in_column(pure_blue, cx, cy), 2.0 * r, 1.5);
        EXPECT_NEAR(run_length_in_row(pure_blue, cx, cy), 2.0 * r, 1.5);
    }
}

// Line width and lighting are the state a primitive leaves for the next one; the string of the
// mass and the boundary dots depend on them.
TEST_F(primitives, leave_line_width_and_lighting_as_documented) {
    const double samples[3] = {0.0, 0.1, 0.2};
    struct state_case {
        const char* name;
        void (*draw)(const double*);
        float width_before;  // set through glLineWidth before the primitive
        float width_after;
        int segment_pixels;  // width of a segment drawn next
        bool lit_after;      // lighting is switched off before the primitive
    };
    const state_case cases[] = {
        {"axes widen to 2",
         [](const double*) {
             draw_axes({-0.5, 0.5}, 0.0);
         },
         1.0f, 2.0f, 2, true},
        {"grid narrows to 1",
         [](const double*) {
             draw_grid({-0.5, 0.5}, 0.0, 1, 0.1, 0.1);
         },
         2.0f, 1.0f, 1, true},
        {"curve widens to 2",
         [](const double* v) {
             draw_curve({-0.9, 0.8}, 0.1, 0.5, 2, v, palette[1]);
         },
         1.0f, 2.0f, 2, true},
        {"empty curve still widens to 2, draws and lights nothing",
         [](const double* v) {
             draw_curve({-0.9, 0.8}, 0.1, 0.5, 0, v, palette[1]);
         },
         1.0f, 2.0f, 2, false},
        {"segment keeps 1",
         [](const double*) {
             draw_segment({-0.9, -0.9}, {-0.8, -0.9}, black);
         },
         1.0f, 1.0f, 1, true},
        {"disc keeps 2",
         [](const double*) {
             draw_disc({-0.5, -0.5}, 0.04, red);
         },
         2.0f, 2.0f, 2, true},
        {"no discs: nothing changes", [](const double*) { draw_discs(nullptr, 0, 0.04, red); },
         2.0f, 2.0f, 2, false},
    };
    for (const state_case& c : cases) {
        SCOPED_TRACE(c.name);
        begin_frame();
        glLineWidth(c.width_before);
        glDisable(GL_LIGHTING);
        c.draw(samples);

        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, c.lit_after);
        GLfloat width = 0.0f;
        glGetFloatv(GL_LINE_WIDTH, &width);
        EXPECT_EQ(width, c.width_after);
        EXPECT_EQ(red_segment_width(), c.segment_pixels);
    }
}

TEST_F(primitives, text_is_near_black_after_any_colour) {
    struct text_case {
        const char* name;
        void (*before)();
    };
    const text_case cases[] = {
        {"after a red disc",
         [] {
             draw_disc({0.5, 0.5}, 0.04, red);
         }},
        {"after a green curve",
         [] {
             const double v[2] = {0.0, 0.0};
             draw_curve({0.2, 0.5}, 0.1, 1.0, 1, v, palette[1]);
         }},
        {"after the black grid",
         [] {
             draw_grid({0.5, 0.5}, 0.0, 1, 0.05, 0.05);
         }},
    };
    for (const text_case& c : cases) {
        SCOPED_TRACE(c.name);
        begin_frame();
        c.before();
        const int x0 = pixel_of(-0.9), y0 = pixel_of(-0.1);
        draw_text(-0.9f, -0.1f, "red   : response y(t)");
        read_frame();

        const int text_pixels = count_colour(lit_text, x0, y0 - 8, x0 + 250, y0 + 20);
        EXPECT_GT(text_pixels, 300);
        EXPECT_EQ(count_colour(pure_red, x0, y0 - 8, x0 + 250, y0 + 20), 0);
        EXPECT_EQ(count_colour(pure_green, x0, y0 - 8, x0 + 250, y0 + 20), 0);
    }
}

TEST_F(primitives, grid_has_two_n_plus_one_lines_each_way) {
    struct grid_case {
        const char* name;
        int n;
        double step;
    };
    const grid_case cases[] = {
        {"chart grid, n = 10", 10, 0.05},
        {"time grid, n = 30", 30, 0.02},
    };
    for (const grid_case& c : cases) {
        SCOPED_TRACE(c.name);
        begin_frame();
        draw_grid({half_pixel, half_pixel}, 0.0, c.n, c.step, c.step);
        read_frame();

        const int between = pixel_of(half_pixel + c.step / 2);  // a row and a column between lines
        EXPECT_EQ(runs_in_row(pure_black, between, 0, window_size - 1), 2 * c.n + 1);
        EXPECT_EQ(runs_in_column(pure_black, between, 0, window_size - 1), 2 * c.n + 1);
        // Lines span the grid only: 2 n steps, centred on the origin.
        const double span = 2.0 * c.n * c.step * pixels_per_unit;
        EXPECT_NEAR(run_length_in_column(pure_black, pixel_of(half_pixel), between), span, 2.0);
        EXPECT_NEAR(run_length_in_row(pure_black, between, pixel_of(half_pixel)), span, 2.0);
        EXPECT_EQ(run_length_in_row(pure_black, pixel_of(half_pixel), between), 1);
    }
}

TEST_F(primitives, curve_reads_samples_zero_to_last_only) {
    // Sample 5 would leave the window if it were read.
    const double values[6] = {0.0, 0.2, 0.2, 0.2, 0.2, 50.0};
    draw_curve({-0.5, 0.0}, 0.1, 0.5, 4, values, palette[1]);
    read_frame();

    const int flat = pixel_of(0.1);  // 0.5 x 0.2 above the origin
    EXPECT_TRUE(colour_near(pure_green, pixel_of(-0.25), flat, 1));
    EXPECT_TRUE(colour_near(pure_green, pixel_of(-0.11), flat, 1));   // the last sample, x = -0.1
    EXPECT_FALSE(colour_near(pure_green, pixel_of(-0.05), flat, 3));  // nothing beyond it
    EXPECT_EQ(count_colour(pure_green, pixel_of(-0.09), 0, window_size - 1, window_size - 1), 0);
}

}  // namespace
