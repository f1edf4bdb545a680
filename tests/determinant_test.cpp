// Determinant by elimination with partial pivoting: small cases whose outcome IEEE arithmetic
// fixes exactly, and agreement bit for bit with the unskipped elimination on banded and dense matrices.
#include "stability/determinant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/plain_determinant.h"

namespace {

struct det_case {
    const char* name;
    int n;
    double a[9];
    double expected;
};

TEST(Determinant, SmallMatricesExactly) {
    const det_case cases[] = {
        {"order one returns the entry", 1, {-3.5}, -3.5},
        {"one exchange negates the sign", 2, {0, 1, 1, 0}, -1.0},
        {"three-cycle of rows keeps the sign", 3, {0, 0, 1, 1, 0, 0, 0, 1, 0}, +1.0},
        {"tie in magnitude keeps the first row", 2, {2, 1, -2, 3}, 8.0},
        // Rows 2 and 3 reduce to (0, 0.2 - 0.1, ...) = (0, 0, 0.1) and (0, 0.1, 0.7 - 0.1): one
        // exchange, then -1 * 0.1 * 0.1. The last row as first pivot ends in ...004 instead.
        {"tie whose choice changes the rounding",
         3,
         {1, 0.1, 0.1, 1, 0.1, 0.2, 1, 0.2, 0.7},
         -(0.1 * 0.1)},
        {"upper triangular is its diagonal product", 3, {2, 7, 1, 0, 3, 5, 0, 0, 4}, 24.0},
    };
    for (const det_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(determinant(c.n, c.a, c.n), c.expected);
    }
}

TEST(Determinant, ZeroPivots) {
    // First column all zero: 0/0 multipliers spread NaN.
    const double zero_column[] = {0, 1, 0, 2};
    EXPECT_TRUE(std::isnan(determinant(2, zero_column, 2)));
    const double zero_column3[] = {0, 1, 2, 0, 3, 4, 0, 5, 7};
    EXPECT_TRUE(std::isnan(determinant(3, zero_column3, 3)));
    // Zero pivot only in the last column: one exchange, 2 * (+0) negated gives -0.
    const double last_zero[] = {1, 0, 2, 0};
    double d = determinant(2, last_zero, 2);
    EXPECT_EQ(d, 0.0);
    EXPECT_TRUE(std::signbit(d));
}

TEST(Determinant, NonFiniteEntriesGiveNonFiniteResult) {
    const double with_nan[] = {1, NAN, 2, 3};
    EXPECT_TRUE(std::isnan(determinant(2, with_nan, 2)));
    const double with_inf[] = {INFINITY, 1, 2, 3};
    EXPECT_FALSE(std::isfinite(determinant(2, with_inf, 2)));
}

TEST(Determinant, ReadsOnlyTheLeadingBlock) {
    // 3 x 3 Hilbert block inside a 5-wide, 4-row array; det = 1/2160.
    double a[4][5];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 5; ++j) a[i][j] = 1.0 / (i + j + 1);
    double before = determinant(3, &a[0][0], 5);
    EXPECT_NEAR(before, 1.0 / 2160.0, 1e-12 / 2160.0 * 100);
    for (int j = 3; j < 5; ++j) a[0][j] = a[1][j] = a[2][j] = 1e300;
    for (int j = 0; j < 5; ++j) a[3][j] = NAN;
    EXPECT_EQ(determinant(3, &a[0][0], 5), before);
}

TEST(Determinant, HilbertFourToRounding) {
    double a[16];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) a[i * 4 + j] = 1.0 / (i + j + 1);
    // Exact value 1/6048000; condition number about 1.6e4 times a few ulps.
    EXPECT_NEAR(determinant(4, a, 4), 1.0 / 6048000.0, 1.6e4 * 1e-15 / 6048000.0);
}

void expect_same_bits(double fast, double plain) {
    if (std::isnan(plain)) {
        EXPECT_TRUE(std::isnan(fast));
    } else if (plain == 0.0) {
        EXPECT_EQ(fast, 0.0);  // only the sign of a zero may differ
    } else {
        EXPECT_EQ(fast, plain);
    }
}

TEST(Determinant, SparseEliminationMatchesThePlainOneBitForBit) {
    std::mt19937_64 rng(20261207);
    std::uniform_real_distribution<double> value(-12.0, 12.0);
    std::uniform_int_distribution<int> coin(0, 3);
    for (int trial = 0; trial < 600; ++trial) {
        int n = trial % 3 == 0 ? 10 : (trial % 3 == 1 ? 20 : 21);
        double a[30 * 30] = {};
        // A band of width 2 on each side with holes, like the Hill matrices, plus stray entries;
        // every fifth matrix dense.
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                bool in_band = std::abs(i - j) <= 2 && coin(rng) != 0;
                bool dense = trial % 5 == 4;
                if (in_band || dense || (coin(rng) == 0 && coin(rng) == 0 && coin(rng) == 0))
                    a[i * 30 + j] = value(rng);
            }
        if (trial % 50 == 7) a[3 * 30 + 3] = INFINITY;
        if (trial % 50 == 9) a[2 * 30 + 4] = NAN;
        SCOPED_TRACE(trial);
        expect_same_bits(determinant(n, a, 30), plain_determinant(n, a, 30));
    }
}

}  // namespace
