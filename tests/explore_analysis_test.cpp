// The explorer's Floquet aids without a display: the raster of unstable pairs against the square
// wave's closed form pixel by pixel and against the Hill-determinant boundaries of the Mathieu
// equation, its cache, and the chosen point's multipliers.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "control/explore_analysis.h"
#include "control/explore_keys.h"
#include "control/key_commands.h"
#include "control/shading_worker.h"
#include "stability/boundary_scan.h"
#include "stability/floquet.h"
#include "state/explore_state.h"
#include "state/numbers.h"
#include "state/program_state.h"

namespace {

constexpr double half_period = 3.14159265358979;
// A largest |multiplier| up to 1 + 1e-6 counts as stable.
constexpr double stability_tolerance = 1e-6;

struct matrix {
    double a, b, c, d;  // [[a, b], [c, d]] acting on (y, y')
};

matrix times(const matrix& p, const matrix& q) {
    return {p.a * q.a + p.b * q.c, p.a * q.b + p.b * q.d, p.c * q.a + p.d * q.c,
            p.c * q.b + p.d * q.d};
}

// (y, y') after a time tau of y'' + 2 b y' + k y = 0 from the unit initial states: with
// y = exp(-b t) u, u'' + (k - b^2) u = 0 is a harmonic (or hyperbolic) oscillator.
matrix constant_stiffness(double b, double k, double tau) {
    const double w2 = k - b * b;
    double c, s, sd;  // u1(tau), u2(tau), and u2'(tau) = c; u1'(tau) = sd
    if (w2 > 0) {
        const double w = std::sqrt(w2);
        c = std::cos(w * tau);
        s = std::sin(w * tau) / w;
        sd = -w * std::sin(w * tau);
    } else if (w2 < 0) {
        const double w = std::sqrt(-w2);
        c = std::cosh(w * tau);
        s = std::sinh(w * tau) / w;
        sd = w * std::sinh(w * tau);
    } else {
        c = 1.0;
        s = tau;
        sd = 0.0;
    }
    const double e = std::exp(-b * tau);
    // y1 = e (u1 + b u2), y2 = e u2, and their derivatives.
    return {e * (c + b * s), e * s, e * (sd + b * c - b * (c + b * s)), e * (c - b * s)};
}

// Largest |multiplier| of the square wave over one period, in closed form.
double square_wave_max_modulus(double b, double d, double e) {
    const matrix m =
        times(constant_stiffness(b, d - e, half_period), constant_stiffness(b, d + e, half_period));
    const double half_trace = 0.5 * (m.a + m.d), det = m.a * m.d - m.b * m.c;
    const double disc = half_trace * half_trace - det;
    return disc <= 0 ? std::sqrt(det) : std::fabs(half_trace) + std::sqrt(disc);
}

double pixel_centre(int index) { return (index + 0.5) * 2.0 / shading_pixels - 1.0; }

class explore_analysis : public ::testing::Test {
protected:
    void SetUp() override {
        system_kind = 'r';
        beta = 0.0;
        delta = 2.0;
        epsilon = 1.0;
        command_key = 'a';
        chart_scale_delta = 0.09;
        chart_scale_epsilon = 0.1;
        chart_origin = {0.0, 0.0};
        chart_pinned = false;
        unstable_shading.valid = false;
        chosen_point_readout.valid = false;
    }
};

TEST_F(explore_analysis, square_wave_raster_matches_the_closed_form_at_every_pixel) {
    struct raster_case {
        const char* name;
        double beta_value;
        double zoom;  // chart scales times this
        point origin;
    };
    const raster_case cases[] = {
        {"undamped", 0.0, 1.0, {0.0, 0.0}},
        {"beta 0.1, zoomed out, delta < 0 and epsilon < 0 a third of the window",
         0.1,
         0.45,
         {0.3, 0.3}},
    };
    for (const raster_case& c : cases) {
        SCOPED_TRACE(c.name);
        beta = c.beta_value;
        chart_scale_delta = 0.09 * c.zoom;
        chart_scale_epsilon = 0.1 * c.zoom;
        chart_origin = c.origin;
        ASSERT_TRUE(refresh_unstable_shading());
        int wrong = 0, unstable = 0;
        for (int row = 0; row < shading_pixels; ++row) {
            for (int column = 0; column < shading_pixels; ++column) {
                const double d = (pixel_centre(column) - c.origin.x) / chart_scale_delta;
                const double e = (pixel_centre(row) - c.origin.y) / chart_scale_epsilon;
                const bool expected = square_wave_max_modulus(beta, d, e) > 1 + stability_tolerance;
                wrong += (unstable_shading.unstable[row][column] != 0) != expected;
                unstable += expected;
            }
        }
        // Thin tongue tips (below a pixel wide, along epsilon = 0) may be missed: at most a few
        // pixels in ten thousand.
        EXPECT_LE(wrong, shading_pixels * shading_pixels / 2000) << unstable << " unstable";
    }
}

TEST_F(explore_analysis, raster_is_the_floquet_verdict_at_every_pixel) {
    struct raster_case {
        const char* name;
        char kind;
        double beta_value;
        double zoom;  // chart scales times this
        point origin;
    };
    const raster_case cases[] = {
        {"Mathieu, undamped", 'm', 0.0, 1.0, {0.0, 0.0}},
        {"Mathieu, beta 0.1, view moved right and down", 'm', 0.1, 1.0, {0.6, -0.4}},
        {"Mathieu, beta 0.02, zoomed in about delta = -0.5", 'm', 0.02, 2.0, {0.09, 0.0}},
        {"square wave, undamped", 'r', 0.0, 1.0, {0.0, 0.0}},
        {"square wave, beta 0.1, zoomed out", 'r', 0.1, 0.45, {-0.5, 0.2}},
    };
    for (const raster_case& c : cases) {
        SCOPED_TRACE(c.name);
        system_kind = c.kind;
        beta = c.beta_value;
        chart_scale_delta = 0.09 * c.zoom;
        chart_scale_epsilon = 0.1 * c.zoom;
        chart_origin = c.origin;
        ASSERT_TRUE(refresh_unstable_shading());
        // Every column of every third row: a fault in the pixel map or a verdict inferred for a
        // block shows in them.
        int wrong = 0;
        for (int row = 0; row < shading_pixels; row += 3)
            for (int column = 0; column < shading_pixels; ++column) {
                const double d = (pixel_centre(column) - c.origin.x) / chart_scale_delta;
                const double e = (pixel_centre(row) - c.origin.y) / chart_scale_epsilon;
                const bool stable = floquet_is_stable(floquet_monodromy(system_kind, beta, d, e));
                wrong += (unstable_shading.unstable[row][column] == 0) != stable;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(explore_analysis, mathieu_raster_changes_its_verdict_at_every_boundary_of_the_curves) {
    // Boundaries from the Hill determinants (kinds 5 and 6, beta = 0.1): at each root of a row,
    // the pixels three to the left and three to the right must differ, unless another root lies
    // within eight pixels (two boundaries close together, such as a tongue's tip).
    system_kind = 'm';
    beta = 0.1;
    ASSERT_TRUE(refresh_unstable_shading());
    static int counts[2][boundary_columns];
    static double points[2][boundary_rows][boundary_columns];
    boundary_scan('5', beta, counts[0], points[0], epsilon_intervals);
    boundary_scan('6', beta, counts[1], points[1], epsilon_intervals);
    int checked = 0;
    for (int i = 25; i <= epsilon_intervals; i += 50) {  // epsilon = 0.5, 1.5, ... 9.5
        const int row = static_cast<int>((points[0][0][i] * chart_scale_epsilon + 1.0) * 400);
        // Roots of both curves in this column, in window pixels.
        double roots[2 * max_roots_per_column];
        int n = 0;
        for (int t = 0; t < 2; ++t)
            for (int j = 1; j <= counts[t][i]; ++j) roots[n++] = points[t][j][i];
        for (int j = 0; j < n; ++j) {
            const int column = static_cast<int>((roots[j] * chart_scale_delta + 1.0) * 400);
            if (roots[j] < 0.3 || column + 4 >= shading_pixels) continue;
            bool lonely = true;
            for (int k = 0; k < n; ++k)
                if (k != j && std::fabs(roots[k] - roots[j]) * chart_scale_delta * 400 < 8)
                    lonely = false;
            if (!lonely) continue;
            SCOPED_TRACE(testing::Message()
                         << "epsilon " << points[0][0][i] << " root " << roots[j]);
            EXPECT_NE(unstable_shading.unstable[row][column - 3],
                      unstable_shading.unstable[row][column + 3]);
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
    // Inside the first tongue, where the motion of the teaching example grows.
    const int column = static_cast<int>((0.25 * chart_scale_delta + 1.0) * 400);
    const int row = static_cast<int>((1.2 * chart_scale_epsilon + 1.0) * 400);
    EXPECT_EQ(unstable_shading.unstable[row][column], 1);
}

TEST_F(explore_analysis, raster_is_rebuilt_only_for_another_beta_system_or_zoom) {
    struct step {
        const char* name;
        void (*change)();
        bool rebuilt;
    };
    const step steps[] = {
        {"first chart", [] {}, true},
        {"next frame", [] {}, false},
        {"another point", [] { delta = 3.0; }, false},
        {"chart hidden", [] { command_key = 's'; }, false},
        {"chart shown again", [] { command_key = 'a'; }, false},
        {"zoom", [] { chart_scale_delta *= 0.9, chart_scale_epsilon *= 0.9; }, true},
        {"damping", [] { beta = 0.2; }, true},
        {"system", [] { system_kind = 'm'; }, true},
        {"another kind: no raster", [] { system_kind = 'x'; }, false},
    };
    for (const step& s : steps) {
        SCOPED_TRACE(s.name);
        s.change();
        EXPECT_EQ(refresh_unstable_shading(), s.rebuilt);
    }
}

// At a damping whose exponentials overflow the multipliers are not finite: no pixel may be shaded
// unstable from that, though the readout still belongs to the point.
TEST_F(explore_analysis, multipliers_that_are_not_finite_shade_nothing) {
    beta = 1e300;
    static unsigned char rows[shading_pixels][shading_pixels];
    for (char kind : {'m', 'r'}) {
        SCOPED_TRACE(kind);
        system_kind = kind;
        std::memset(rows, 7, sizeof rows);
        std::atomic<int> next_row{shading_pixels - 2};  // the top two rows only
        const std::atomic<bool> never{false};
        build_shading_rows(present_shading_key(), rows, next_row, never);
        for (int row = shading_pixels - 2; row < shading_pixels; ++row)
            for (int column = 0; column < shading_pixels; ++column)
                ASSERT_EQ(rows[row][column], 0) << row << " " << column;
        refresh_multiplier_readout();
        ASSERT_TRUE(chosen_point_readout.valid);
        EXPECT_FALSE(std::isfinite(chosen_point_readout.max_modulus));
    }
}

// The background build: a build abandoned for a newer view is never taken, and the one taken is
// the raster that the build on the caller's thread makes.
TEST_F(explore_analysis, background_raster_is_taken_only_for_the_view_on_show) {
    ASSERT_TRUE(request_unstable_shading());
    EXPECT_FALSE(shading_raster_current());
    const double first_scale = chart_scale_delta;
    chart_scale_delta = first_scale * 0.9;  // a zoom key while the first build runs
    ASSERT_TRUE(request_unstable_shading());
    finish_unstable_shading();
    ASSERT_TRUE(shading_raster_current());
    static unsigned char background[shading_pixels][shading_pixels];
    std::memcpy(background, unstable_shading.unstable, sizeof background);
    unstable_shading.valid = false;
    ASSERT_TRUE(refresh_unstable_shading());
    EXPECT_EQ(std::memcmp(background, unstable_shading.unstable, sizeof background), 0);
    // A build finished for a view no longer shown is dropped; a view starts its build once it has
    // stayed for 50 ms.
    unstable_shading.valid = false;
    ASSERT_TRUE(request_unstable_shading());
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    ASSERT_TRUE(request_unstable_shading());
    chart_scale_delta = first_scale;
    while (unstable_shading_pending()) collect_unstable_shading();
    EXPECT_FALSE(shading_raster_current());
    EXPECT_FALSE(unstable_shading.valid);
}

TEST_F(explore_analysis, a_click_after_zooming_keeps_the_scales_and_picks_under_the_pointer) {
    struct click_case {
        const char* name;
        const char* keys;
        double zoom;  // chart scales after the keys, relative to the dialog's
    };
    const click_case cases[] = {
        {"at the dialog's scales", "a", 1.0},
        {"after z z", "zz", 0.9 * 0.9},
        {"after Z", "Z", 1 / 0.9},
    };
    for (const click_case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const char* k = c.keys; *k != '\0'; ++k) apply_key(static_cast<unsigned char>(*k));
        const double scale_delta = chart_scale_delta, scale_epsilon = chart_scale_epsilon;
        // Pixel (600, 100) of the 800 x 800 window has its centre at window (0.50125, 0.74875).
        ASSERT_TRUE(pick_on_chart(600, 100, 800, 800));
        EXPECT_EQ(chart_scale_delta, scale_delta);
        EXPECT_EQ(chart_scale_epsilon, scale_epsilon);
        EXPECT_NEAR(delta, 0.50125 / (0.09 * c.zoom), 1e-12);
        EXPECT_NEAR(epsilon, 0.74875 / (0.1 * c.zoom), 1e-12);
    }
}

// The explorer's view keys: z and Z keep the red point's window place and pin the chart, s keeps a
// pinned chart, a takes it away; an arrow moves the point by one 800-pixel window pixel (Shift
// ten); Ctrl+arrow slides the view. Expected places from the chart's linear map.
TEST_F(explore_analysis, view_keys_zoom_about_the_point_pan_and_steer) {
    delta = 1.3;
    epsilon = 2.7;
    const point before = chosen_point_on_chart();
    ASSERT_EQ(apply_explore_key('Z'), explore_key_outcome::view);
    EXPECT_NEAR(chart_scale_delta, 0.09 / 0.9, 1e-15);
    const point after = chosen_point_on_chart();
    EXPECT_NEAR(after.x, before.x, 1e-15);
    EXPECT_NEAR(after.y, before.y, 1e-15);
    EXPECT_TRUE(chart_shown());
    ASSERT_EQ(apply_explore_key('s'), explore_key_outcome::draw);
    EXPECT_TRUE(chart_shown());
    struct steer_case {
        const char* name;
        int right, up;
        double window_dx, window_dy;
    };
    const steer_case steers[] = {
        {"one pixel right", 1, 0, 2.0 / 800, 0.0},
        {"ten pixels down", 0, -10, 0.0, -20.0 / 800},
    };
    for (const steer_case& c : steers) {
        SCOPED_TRACE(c.name);
        const point from = chosen_point_on_chart();
        steer_point(c.right, c.up);
        const point to = chosen_point_on_chart();
        EXPECT_NEAR(to.x - from.x, c.window_dx, 1e-14);
        EXPECT_NEAR(to.y - from.y, c.window_dy, 1e-14);
        EXPECT_EQ(t_now, 0.0);
    }
    const point from = chosen_point_on_chart();
    pan_chart(0.1, -0.2);
    EXPECT_NEAR(chosen_point_on_chart().x - from.x, 0.1, 1e-15);
    EXPECT_NEAR(chosen_point_on_chart().y - from.y, -0.2, 1e-15);
    ASSERT_EQ(apply_explore_key('a'), explore_key_outcome::draw);
    EXPECT_FALSE(chart_shown());
    EXPECT_EQ(apply_explore_key('s'), explore_key_outcome::passed);
}

TEST_F(explore_analysis, readout_gives_the_chosen_points_largest_multiplier) {
    struct readout_case {
        const char* name;
        char kind;
        double beta_value, delta_value, epsilon_value;
    };
    const readout_case cases[] = {
        {"square wave in the first tongue", 'r', 0.0, 0.25, 0.2},
        {"square wave, damped and stable", 'r', 0.1, 2.0, 0.5},
        {"square wave, damped, second tongue", 'r', 0.05, 1.0, 0.8},
    };
    for (const readout_case& c : cases) {
        SCOPED_TRACE(c.name);
        system_kind = c.kind;
        beta = c.beta_value;
        delta = c.delta_value;
        epsilon = c.epsilon_value;
        refresh_multiplier_readout();
        const double expected = square_wave_max_modulus(beta, delta, epsilon);
        ASSERT_TRUE(chosen_point_readout.valid);
        EXPECT_NEAR(chosen_point_readout.max_modulus, expected, 1e-9 * expected);
        EXPECT_EQ(chosen_point_readout.stable, expected <= 1 + stability_tolerance);
    }
    system_kind = 'x';
    refresh_multiplier_readout();
    EXPECT_FALSE(chosen_point_readout.valid);
}

}  // namespace
