// Equation of motion and the Runge-Kutta-Gill step: the stiffness of both excitations, one-step
// reference values, the switch of the square wave inside a step, and the order of the method.
#include "response/equation_of_motion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "state/program_state.h"

namespace {

class EquationOfMotion : public ::testing::Test {
protected:
    void SetUp() override {
        system_kind = 'm';
        two_beta = 0.0;
        delta = 1.0;
        epsilon = 0.0;
    }
};

TEST_F(EquationOfMotion, SquareWaveStiffnessSwitchesAtHalfAndFullPeriod) {
    system_kind = 'r';
    delta = 1.0;
    epsilon = 0.5;
    struct k_case {
        const char* name;
        double t;
        double k;
    } cases[] = {
        {"start of the period", 0.0, 1.5},
        {"half period, second half begins", 3.14159265358979, 0.5},
        {"just before half period", 3.1415926535, 1.5},
        {"full period itself is not folded", 6.28318530717959, 0.5},
        {"just after full period folds back", 6.2831853072, 1.5},
        {"second period, second half", 6.28318530717959 + 3.2, 0.5},
    };
    for (const k_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stiffness(c.t), c.k);
        double x[2] = {2.0, 0.0};
        EXPECT_EQ(equation_of_motion(1, c.t, x), -c.k * 2.0);
    }
}

TEST_F(EquationOfMotion, StiffnessOfMathieuAndOfOtherKinds) {
    epsilon = 0.5;
    EXPECT_EQ(stiffness(0.1), std::cos(0.1) * 0.5 + 1.0);
    EXPECT_EQ(stiffness(100.0), std::cos(100.0) * 0.5 + 1.0);  // no reduction to one period
    system_kind = 'q';
    EXPECT_EQ(stiffness(0.0), 1.0);
    EXPECT_EQ(stiffness(2.0), 1.0);
    two_beta = 0.2;
    const double x[2] = {3.0, -2.0};
    EXPECT_EQ(equation_of_motion(0, 0.0, x), -2.0);
    EXPECT_EQ(equation_of_motion(1, 0.0, x), -0.2 * -2.0 - 1.0 * 3.0);
}

TEST_F(EquationOfMotion, OneStepReferenceValues) {
    // Twelve-digit reference values of one Gill step from (1, 0) with h = 0.01, computed by hand
    // with Gill's short decimal coefficients.
    struct step_case {
        const char* name;
        char kind;
        double t, two_beta, delta, eps, y, v;
    };
    const step_case cases[] = {
        {"harmonic, Mathieu", 'm', 0.0, 0.0, 1.0, 0.0, 0.999950000417, -0.00999983333000},
        {"harmonic, square wave", 'r', 0.0, 0.0, 1.0, 0.0, 0.999950000417, -0.00999983333000},
        {"damped Mathieu", 'm', 0.0, 0.2, 1.0, 0.5, 0.999925051121, -0.0149845520784},
        {"square wave switching inside the step", 'r', 3.135, 0.2, 1.0, 0.5, 0.999925050913,
         -0.0133180935400},
    };
    for (const step_case& c : cases) {
        SCOPED_TRACE(c.name);
        system_kind = c.kind;
        two_beta = c.two_beta;
        delta = c.delta;
        epsilon = c.eps;
        const double x_in[2] = {1.0, 0.0};
        double x_out[2] = {0.0, 0.0};
        rkg_step(c.t, 0.01, x_in, x_out, 2);
        EXPECT_NEAR(x_out[0], c.y, 5e-13);
        EXPECT_NEAR(x_out[1], c.v, std::fabs(c.v) * 5e-12);
        EXPECT_EQ(x_in[0], 1.0);
        EXPECT_EQ(x_in[1], 0.0);
    }
}

TEST_F(EquationOfMotion, SwitchInsideAStepIsSampledOnlyAtStageTimes) {
    // The same step with K = 1.5 throughout: same y, clearly different v.
    system_kind = 'm';
    two_beta = 0.2;
    delta = 1.5;
    epsilon = 0.0;
    const double x_in[2] = {1.0, 0.0};
    double x_out[2];
    rkg_step(3.135, 0.01, x_in, x_out, 2);
    EXPECT_NEAR(x_out[0], 0.999925050913, 5e-13);
    EXPECT_NEAR(x_out[1], -0.0149846353650, 1e-13);
}

TEST_F(EquationOfMotion, OutputMayBeTheLiveState) {
    double live[2] = {1.0, 0.0};
    double prev[2] = {live[0], live[1]};
    rkg_step(0.0, 0.01, prev, live, 2);
    EXPECT_NEAR(live[0], 0.999950000417, 5e-13);
    EXPECT_EQ(prev[0], 1.0);
}

TEST_F(EquationOfMotion, OneStepErrorIsFifthOrder) {
    // y'' + y = 0 from (1, 0): exact (cos h, -sin h). A fourth-order step has local error ~ h^5, so
    // halving h divides it by about 32 (a first-order slip shows about 4). Gill's 8-digit constants
    // add an error of about 1e-9 h, so h stays large enough for the h^5 term to dominate.
    double previous_error = 0.0;
    for (double h : {0.8, 0.4, 0.2}) {
        const double x_in[2] = {1.0, 0.0};
        double x_out[2];
        rkg_step(0.0, h, x_in, x_out, 2);
        double error = std::hypot(x_out[0] - std::cos(h), x_out[1] + std::sin(h));
        if (previous_error > 0.0) {
            double ratio = previous_error / error;
            EXPECT_GT(ratio, 25.0) << "h " << h;
            EXPECT_LT(ratio, 40.0) << "h " << h;
        }
        previous_error = error;
    }
}

}  // namespace
