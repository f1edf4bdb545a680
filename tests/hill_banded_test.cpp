// Banded Hill evaluation: every value, single or batched, equals the dense route (the kind's matrix
// and determinant) bit for bit, NaN and signed zeros included, on the scan's grid, at random points and at extreme
// and non-finite inputs, where the dense route takes over.
#include "stability/hill_banded.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "stability/hill_determinants.h"

namespace {

const char hill_kinds[] = {'1', '2', '3', '4', '5', '6'};

double dense_value(char kind, double beta, double delta, double eps) {
    switch (kind) {
        case '1': return hill_dc1(delta, eps);
        case '2': return hill_ds1(delta, eps);
        case '3': return hill_dc2(delta, eps);
        case '4': return hill_ds2(delta, eps);
        case '5': return hill_b1(beta, delta, eps);
        default: return hill_b2(beta, delta, eps);
    }
}

std::uint64_t bits(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

// Counts the points where a banded value is not the dense one, bit for bit, alone, as the first of
// a batch of four and as the second of a batch of three (a pair and a single); reports the first.
int mismatches = 0;
void expect_same(char kind, double beta, double delta, double eps) {
    double dense = dense_value(kind, beta, delta, eps);
    const double four[4] = {delta, 0.37, 2.1, 5.5};
    const double three[3] = {0.37, delta, 1.0};
    double from_four[4], from_three[3];
    hill_banded_batch(kind, beta, four, 4, eps, from_four);
    hill_banded_batch(kind, beta, three, 3, eps, from_three);
    for (double banded : {hill_banded(kind, beta, delta, eps), from_four[0], from_three[1]}) {
        if (bits(banded) == bits(dense)) continue;
        if (mismatches++ == 0)
            ADD_FAILURE() << kind << " beta " << beta << " delta " << delta << " eps " << eps
                          << ": " << banded << " against " << dense;
    }
}

class HillBanded : public ::testing::Test {
protected:
    void SetUp() override { mismatches = 0; }
    void TearDown() override { EXPECT_EQ(mismatches, 0); }
};

// The points of the scans: delta walked as running sums from -1 in the fine and the coarse step,
// eps on the 0.02 grid (every 25th column), the damping of the stored tables and others.
TEST_F(HillBanded, EqualsTheDenseRouteOnTheScanGrid) {
    for (char kind : hill_kinds)
        for (double beta : {0.0, 0.01, 0.3, 5.0})
            for (int column = 0; column <= 500; column += 25) {
                double eps = column * 0.02;
                for (double delta = -1.0; delta <= 10.0; delta = delta + (delta < eps ? 0.02 : 0.1))
                    expect_same(kind, beta, delta, eps);
                if (kind < '5') break;  // beta is not used
            }
}

// Random points over and beyond the program's range, negative eps and beta included, and the
// exact zeros of the diagonal at eps = 0 (a zero pivot: NaN before the last column, else zero).
TEST_F(HillBanded, EqualsTheDenseRouteAtRandomPointsAndZeroPivots) {
    std::mt19937_64 rng(20261207);
    std::uniform_real_distribution<double> near(-20.0, 120.0);
    std::uniform_real_distribution<double> exponent(-300.0, 300.0);
    for (int trial = 0; trial < 4000; ++trial) {
        double beta = near(rng) / 10.0, delta = near(rng), eps = near(rng) / 5.0 - 4.0;
        if (trial % 4 == 3) eps = std::copysign(std::pow(10.0, exponent(rng)), eps);
        if (trial % 8 == 5) delta = std::copysign(std::pow(10.0, exponent(rng)), delta);
        for (char kind : hill_kinds) expect_same(kind, beta, delta, eps);
    }
    for (char kind : hill_kinds)
        for (int n = 0; n <= 21; ++n) {
            expect_same(kind, 0.3, static_cast<double>(n * n), 0.0);
            expect_same(kind, 0.3, static_cast<double>((2 * n + 1) * (2 * n + 1)) / 4.0, 0.0);
        }
}

// Every combination of signed zeros, infinities, NaN and 1e+-300 in beta, delta and eps.
TEST_F(HillBanded, EqualsTheDenseRouteAtExtremeAndNonFiniteInputs) {
    const double special[] = {0.0,    -0.0,   INFINITY, -INFINITY, NAN, 1e300,
                              -1e300, 1e-300, -1e-300,  0.5,       3.0};
    for (char kind : hill_kinds)
        for (double beta : special)
            for (double delta : special)
                for (double eps : special) expect_same(kind, beta, delta, eps);
}

}  // namespace
