// One frame of the running response, without a display: ten steps of the integrator, then the
// history entry it records (first sample, sweep wrap, stiffness of both kinds, the square wave's
// time fold).
#include "response/response_frame.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/program_state_setup.h"

namespace {

constexpr double h = 0.01;  // the integration step
// Ten fourth-order steps on y'' + y = 0: a local error below h^5 each.
constexpr double ten_step_error = 10 * h * h * h * h * h;
// Rounding of t after some hundred additions of 0.01.
constexpr double time_rounding = 1e-12;
constexpr double two_pi = 6.28318530717959;

class response_frame : public ::testing::Test {
protected:
    void SetUp() override { reset_state('m', 0.0, 1.0, 0.0, 1.0, 0.0, 'k'); }
};

TEST_F(response_frame, first_frame_advances_ten_steps_and_records_entry_one) {
    advance_frame();
    EXPECT_NEAR(t_now, 0.1, time_rounding);
    EXPECT_EQ(sample_index, 1);
    // y'' + y = 0 from (1, 0): y = cos t, v = -sin t; K = delta for epsilon = 0.
    EXPECT_NEAR(y_history[1], std::cos(0.1), ten_step_error);
    EXPECT_NEAR(v_history[1], -std::sin(0.1), ten_step_error);
    EXPECT_EQ(k_history[1], 1.0);
    EXPECT_EQ(y_now, y_history[1]);
}

TEST_F(response_frame, sweep_restarts_after_its_last_entry) {
    double thirty_t_presses = 0.01;
    for (int i = 0; i < 30; ++i) thirty_t_presses *= 0.9;
    struct sweep_case {
        const char* name;
        double time_scale;
        int last_entry;
    };
    // The sweep keeps entry s while s <= 1 / time_scale in binary64.
    const sweep_case cases[] = {
        {"1 / 0.01 is exactly 100", 0.01, 100},
        {"after T, 1 / (0.01 / 0.9) rounds to exactly 90", 0.01 / 0.9, 90},
        {"after t, 1 / (0.01 * 0.9) is 111.1", 0.01 * 0.9, 111},
        {"a quotient one ulp below 90 ends at 89", std::nextafter(1.0 / 90.0, 1.0), 89},
        {"after 30 presses of t the history length bounds it", thirty_t_presses, history_last},
    };
    for (const sweep_case& c : cases) {
        SCOPED_TRACE(c.name);
        reset_state('m', 0.0, 1.0, 0.0, 1.0, 0.0, 's');
        time_scale = c.time_scale;
        if (c.last_entry < history_last) y_history[c.last_entry + 1] = -7.0;

        bool in_order = true;
        for (int call = 1; call <= c.last_entry; ++call) {
            advance_frame();
            in_order = in_order && sample_index == call;
        }
        EXPECT_TRUE(in_order);
        advance_frame();
        EXPECT_EQ(sample_index, 0);
        if (c.last_entry < history_last) {
            EXPECT_EQ(y_history[c.last_entry + 1], -7.0);
        }
    }
}

TEST_F(response_frame, stiffness_samples_follow_the_system_kind) {
    const double delta_value = 2.0, epsilon_value = 0.5;
    struct stiffness_case {
        const char* name;
        char kind;
        int calls;
        double expected_k;
        double expected_t;
    };
    const stiffness_case cases[] = {
        {"Mathieu: epsilon cos t + delta", 'm', 1, epsilon_value * std::cos(0.1) + delta_value,
         0.1},
        {"square wave, t = 3.1 below half a period", 'r', 31, delta_value + epsilon_value, 3.1},
        {"square wave, t = 3.2 past half a period", 'r', 32, delta_value - epsilon_value, 3.2},
        {"square wave, t = 6.2 not yet folded", 'r', 62, delta_value - epsilon_value, 6.2},
        {"square wave, t = 6.3 folded by one period", 'r', 63, delta_value + epsilon_value,
         6.3 - two_pi},
    };
    for (const stiffness_case& c : cases) {
        SCOPED_TRACE(c.name);
        reset_state(c.kind, 0.0, delta_value, epsilon_value, 1.0, 0.0, 's');
        for (int call = 0; call < c.calls; ++call) advance_frame();
        EXPECT_EQ(sample_index, c.calls);
        EXPECT_NEAR(k_history[c.calls], c.expected_k, 1e-15);
        EXPECT_NEAR(t_now, c.expected_t, time_rounding);
    }
}

TEST_F(response_frame, other_system_kind_leaves_stiffness_samples_alone) {
    reset_state('x', 0.0, 1.0, 0.5, 1.0, 0.0, 's');
    for (int s = 1; s <= 5; ++s) k_history[s] = 42.0;
    for (int call = 0; call < 5; ++call) advance_frame();
    for (int s = 1; s <= 5; ++s) EXPECT_EQ(k_history[s], 42.0) << "entry " << s;
}

}  // namespace
