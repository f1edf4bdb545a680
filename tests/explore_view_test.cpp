// The explorer's drawings read back under Xvfb: the phase plane in place of the mass, the shaded
// unstable pairs against closed forms and against the boundary curves, and the multiplier readout.
#include <gtest/gtest.h>

#include <cmath>

#include "draw/explore_view.h"
#include "draw/response_view.h"
#include "state/explore_state.h"
#include "tests/gl_test_window.h"
#include "tests/program_state_setup.h"

namespace {

constexpr double two_pi = 6.28318530717959;

class explore_view : public ::testing::Test {
protected:
    void SetUp() override {
        if (!open_test_window()) GTEST_SKIP() << "no X display (run under tests/with_xvfb.sh)";
        explore_aids = true;
        phase_plane_shown = false;
    }
    void TearDown() override { explore_aids = false; }
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
    // The legend line under the box.
    EXPECT_GT(count_colour(lit_text, pixel_of(phase_plane_left), pixel_of(-0.98), pixel_of(0.7),
                           pixel_of(phase_plane_bottom)),
              200);

    // 'p' again: the mass is back.
    phase_plane_shown = false;
    display();
    read_frame();
    EXPECT_EQ(pixel(pixel_of(0.0), pixel_of(y_scale * y_now)), pure_red);
}

}  // namespace
