// Hill determinants: reference values, exact diagonal products at eps = 0, the sign far from the
// roots and factorisation identities at beta = 0 (agreement with an unskipped elimination is in
// hill_banded_test.cpp, with the banded route's).
#include "stability/hill_determinants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "stability/boundary_scan.h"

namespace {

struct value_case {
    const char* name;
    char kind;
    double expected;  // 8 significant digits, evaluated independently of this program
};

TEST(HillDeterminants, ValuesAtHalfDeltaUnitEpsilon) {
    const value_case cases[] = {
        {"Dc1", '1', -7.0175272e10}, {"Ds1", '2', 4.1851813e12}, {"Dc2", '3', -9.0510852e11},
        {"Ds2", '4', 1.0448180e11},  {"B1", '5', 3.2215872e25},  {"B2", '6', -8.6333830e22},
    };
    for (const value_case& c : cases) {
        SCOPED_TRACE(c.name);
        double v = characteristic_value(c.kind, 0.1, 0.5, 1.0);
        EXPECT_NEAR(v / c.expected, 1.0, 1e-7);
    }
}

// Product of (delta - d_k) over the diagonal, multiplied from the left.
double diagonal_product(double delta, const std::vector<double>& diagonal) {
    double p = 1.0;
    for (double d : diagonal) p = p * (delta - d);
    return p;
}

TEST(HillDeterminants, UnexcitedMatricesAreTheirDiagonalProductsBitForBit) {
    std::vector<double> cosines, sines, half_odd;
    for (int n = 0; n <= 9; ++n) cosines.push_back(n * n);
    for (int n = 1; n <= 10; ++n) sines.push_back(n * n);
    for (int k = 0; k <= 9; ++k) half_odd.push_back((2 * k + 1) * (2 * k + 1) / 4.0);
    for (double delta : {-0.7, 0.3, 2.5, 7.25, 30.1, 99.9, 150.0}) {
        SCOPED_TRACE(delta);
        EXPECT_EQ(hill_dc1(delta, 0.0), diagonal_product(delta, cosines));
        EXPECT_EQ(hill_ds1(delta, 0.0), diagonal_product(delta, sines));
        EXPECT_EQ(hill_dc2(delta, 0.0), diagonal_product(delta, half_odd));
        EXPECT_EQ(hill_ds2(delta, 0.0), diagonal_product(delta, half_odd));
    }
    // A zero on the diagonal: NaN unless it is the last pivot, then zero.
    EXPECT_TRUE(std::isnan(hill_dc1(4.0, 0.0)));
    EXPECT_EQ(hill_dc1(81.0, 0.0), 0.0);
    EXPECT_TRUE(std::isnan(hill_ds1(1.0, 0.0)));
    EXPECT_EQ(hill_ds1(100.0, 0.0), 0.0);
    EXPECT_TRUE(std::isnan(hill_dc2(0.25, 0.0)));
    EXPECT_EQ(hill_ds2(361.0 / 4.0, 0.0), 0.0);
    EXPECT_TRUE(std::isnan(hill_b1(0.3, 0.0, 0.0)));
}

TEST(HillDeterminants, SignFarFromTheRoots) {
    // Monic polynomials in delta of order 10, 10, 10, 10, 21, 20: positive at +1000, and at -1000
    // negative only for the odd order of B1.
    const char kinds[] = {'1', '2', '3', '4', '5', '6'};
    for (char kind : kinds)
        for (double beta : {0.0, 0.5, 5.0})
            for (double eps : {0.0, 1.0, 10.0}) {
                SCOPED_TRACE(std::string(1, kind) + " beta " + std::to_string(beta) + " eps " +
                             std::to_string(eps));
                EXPECT_GT(characteristic_value(kind, beta, 1000.0, eps), 0.0);
                double low = characteristic_value(kind, beta, -1000.0, eps);
                if (kind == '5') {
                    EXPECT_LT(low, 0.0);
                } else {
                    EXPECT_GT(low, 0.0);
                }
            }
}

// Relative agreement allowing for the rounding of two eliminations of order ~20.
void expect_relatively_near(double a, double b, double tolerance) {
    EXPECT_LE(std::fabs(a - b), tolerance * std::fabs(b)) << a << " vs " << b;
}

TEST(HillDeterminants, UndampedFactorisations) {
    for (double delta : {-0.5, 0.4, 1.3, 3.7, 6.1})
        for (double eps : {0.2, 1.0, 4.0}) {
            SCOPED_TRACE(std::to_string(delta) + ", " + std::to_string(eps));
            // Without damping the half-odd cosines and sines decouple.
            expect_relatively_near(hill_b2(0.0, delta, eps),
                                   hill_dc2(delta, eps) * hill_ds2(delta, eps), 1e-10);
            // Damping of either sign couples sines to cosines the same way.
            expect_relatively_near(hill_b1(-0.3, delta, eps), hill_b1(0.3, delta, eps), 1e-10);
            expect_relatively_near(hill_b2(-0.3, delta, eps), hill_b2(0.3, delta, eps), 1e-10);
        }
}

}  // namespace
