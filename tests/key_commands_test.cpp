// The key table on the program state: scales, command_key, which keys draw, and ESC's exit.
// Keys that re-enter the console dialog are tested through dialog_driver (console_dialog_test.py).
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "control/key_commands.h"
#include "state/program_state.h"

namespace {

class key_commands : public ::testing::Test {
protected:
    // The scales as every dialog leaves them, a motion under way, and a stale command key.
    void SetUp() override {
        command_key = 'k';
        time_scale = 0.01;
        y_scale = 0.5;
        chart_scale_delta = 0.09;
        chart_scale_epsilon = 0.1;
        t_now = 2.5;
    }
};

TEST(zoom_factor, is_the_double_nearest_0_9) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &zoom_factor, sizeof bits);
    EXPECT_EQ(bits, 0x3FECCCCCCCCCCCCDu);
}

// Expected scales are binary64 products and quotients of the start values with 0.9, computed
// outside the program. 0.09 / 0.9 rounds to 0x1.9999999999999p-4 while 0.09 * (1 / 0.9) gives
// 0.1: the Z row fails if the division is replaced by a product with the reciprocal.
TEST_F(key_commands, each_key_sets_its_scales_and_asks_for_a_frame) {
    struct key_case {
        const char* name;
        unsigned char key;
        double time_scale, y_scale, chart_scale_delta, chart_scale_epsilon;
    };
    const key_case cases[] = {
        {"s draws only", 's', 0.01, 0.5, 0.09, 0.1},
        {"t shortens the time axis", 't', 0x1.26e978d4fdf3cp-7, 0.5, 0.09, 0.1},
        {"T lengthens it", 'T', 0x1.6c16c16c16c17p-7, 0.5, 0.09, 0.1},
        {"y lowers the curves", 'y', 0.01, 0x1.ccccccccccccdp-2, 0.09, 0.1},
        {"Y raises them", 'Y', 0.01, 0x1.1c71c71c71c72p-1, 0.09, 0.1},
        {"z shrinks both chart axes", 'z', 0.01, 0.5, 0x1.4bc6a7ef9db23p-4, 0x1.70a3d70a3d70bp-4},
        {"Z grows both chart axes", 'Z', 0.01, 0.5, 0x1.9999999999999p-4, 0x1.c71c71c71c71dp-4},
        {"a shows the chart", 'a', 0.01, 0.5, 0.09, 0.1},
        {"an unknown key draws", 'q', 0.01, 0.5, 0.09, 0.1},
        {"M is not m", 'M', 0.01, 0.5, 0.09, 0.1},
        {"a byte above 127", 0xE9, 0.01, 0.5, 0.09, 0.1},
    };
    for (const key_case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        EXPECT_TRUE(apply_key(c.key));
        EXPECT_EQ(static_cast<unsigned char>(command_key), c.key);
        EXPECT_EQ(time_scale, c.time_scale);
        EXPECT_EQ(y_scale, c.y_scale);
        EXPECT_EQ(chart_scale_delta, c.chart_scale_delta);
        EXPECT_EQ(chart_scale_epsilon, c.chart_scale_epsilon);
        EXPECT_EQ(t_now, 2.5);
    }
}

// Twenty roundings of relative size eps / 2 at most.
TEST_F(key_commands, ten_t_then_ten_T_return_the_time_scale_within_rounding) {
    for (int i = 0; i < 10; ++i) apply_key('t');
    for (int i = 0; i < 10; ++i) apply_key('T');
    EXPECT_NEAR(time_scale, 0.01, 20 * 0.5 * 2.220446049250313e-16 * 0.01);
}

TEST_F(key_commands, scales_have_no_limit) {
    for (int i = 0; i < 30; ++i) apply_key('t');
    EXPECT_LT(1.0 / time_scale, 2500.0);
    EXPECT_GT(1.0 / time_scale, 1500.0);
    for (int i = 0; i < 400; ++i) apply_key('Y');
    EXPECT_GT(y_scale, 1e17);
}

TEST_F(key_commands, escape_ends_the_process_with_status_0) {
    EXPECT_EXIT(apply_key(27), ::testing::ExitedWithCode(0), "");
}

}  // namespace
