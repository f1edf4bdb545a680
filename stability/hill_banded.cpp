// Banded elimination of the Hill matrices. The undamped matrices are tridiagonal; B1 and B2 have
// every entry within two places of the diagonal (lower and upper bandwidth 2).
//
// Why the values are the dense elimination's. With lower bandwidth L, the rows that can be nonzero
// in column k before step k are the rows not yet chosen as pivots among rows 0 ... k + L: exactly
// L + 1 of them, and they stand at positions k ... k + L of the row order, since a row below that
// is still zero in every column it has met and a zero never wins the pivot search. Partial
// pivoting widens the upper band to L + U, so those rows hold nothing outside columns
// k ... k + L + U. The window keeps these L + 1 rows by position, searches the pivot over them in
// position order with the strict comparison of the dense search (the earliest of equal
// magnitudes wins), exchanges two window rows where the dense routine exchanges two entries of the
// row order, and updates every window row with the same division and the same product-then-
// difference in every column, in the same column order. Rows and columns outside the window would
// receive m * 0 or 0 * u, which leaves a nonzero entry as it is and a zero entry zero; so every
// nonzero entry, every pivot and the determinant, the signed product of the pivots taken from the
// left, come out as in the dense elimination. The sign is the parity of the exchanges, which is the
// parity of the final row order.
//
// The equivalence holds while every pivot is a nonzero finite number and every multiplier and
// pivot-row entry is finite; where it does not, the dense routines spread NaN over rows the window
// does not hold. The window sums every pivot row and every multiplier into a guard, which stays
// finite unless one of them is not (a sum of large finite values may also overflow, which only
// costs a dense evaluation), and a zero pivot shows as 0/0 or x/0 in the multipliers of the rows
// below (zero rows pad the window past the last row). A guard that is not finite sends the
// evaluation to the dense function of the kind.
#include "stability/hill_banded.h"

#include <cmath>
#include <utility>

#include "stability/hill_determinants.h"

namespace {

constexpr int max_order = 2 * hill_order_b1 + 1;

// Band storage of one matrix: row i, entry d is the element (i, i - 1 + d) of a tridiagonal
// matrix, or (i, i - 2 + d) of B1 and B2.
constexpr int narrow_width = 3;
constexpr int wide_width = 5;

// The window of the damped kinds: the rows at positions k, k + 1, k + 2 of the row order, each
// from column k to k + 4.
struct wide_row {
    double x0, x1, x2, x3, x4;
};

struct wide_window {
    wide_row a, b, c;
    double product;  // the pivots multiplied from the left
    double guard;    // the sum of the multipliers
    bool odd;        // an odd number of row exchanges so far
};

// Column k: pivot search and exchange, multipliers and updates of the rows below, then the window
// moves on and row k + 3 enters (zeros past the last row). rows_below counts the rows of the
// matrix below position k, at most 2; padding rows need no work, since m * u on a zero row only
// gives zeros, and a zero last pivot shows as a zero product.
inline void wide_step(wide_window& w, int rows_below, const wide_row& entering) {
    if (rows_below > 0) {
        double fa = std::fabs(w.a.x0), fb = std::fabs(w.b.x0);
        double fc = rows_below > 1 ? std::fabs(w.c.x0) : 0.0;
        if (fb > fa) {
            if (fc > fb) {
                std::swap(w.a, w.c);
            } else {
                std::swap(w.a, w.b);
            }
            w.odd = !w.odd;
        } else if (fc > fa) {
            std::swap(w.a, w.c);
            w.odd = !w.odd;
        }
    }
    const wide_row& u = w.a;
    w.product = w.product * u.x0;
    wide_row b = {0.0, 0.0, 0.0, 0.0, 0.0};
    wide_row c = {0.0, 0.0, 0.0, 0.0, 0.0};
    if (rows_below > 0) {
        double m = w.b.x0 / u.x0;
        w.guard = w.guard + m;
        b = {w.b.x1 - m * u.x1, w.b.x2 - m * u.x2, w.b.x3 - m * u.x3, w.b.x4 - m * u.x4, 0.0};
    }
    if (rows_below > 1) {
        double m = w.c.x0 / u.x0;
        w.guard = w.guard + m;
        c = {w.c.x1 - m * u.x1, w.c.x2 - m * u.x2, w.c.x3 - m * u.x3, w.c.x4 - m * u.x4, 0.0};
    }
    w.a = b;
    w.b = c;
    w.c = entering;
}

// Determinant of the order x order matrix in wide band storage; false where the dense elimination
// must take over. The loop is unrolled so that the window stays in registers.
template <int order>
bool eliminate_wide(const double (*band)[wide_width], double* value) {
    wide_window w;
    w.a = {band[0][2], band[0][3], band[0][4], 0.0, 0.0};
    w.b = {band[1][1], band[1][2], band[1][3], band[1][4], 0.0};
    w.c = {band[2][0], band[2][1], band[2][2], band[2][3], band[2][4]};
    w.product = 1.0;
    w.guard = 0.0;
    w.odd = false;
#pragma GCC unroll 32
    for (int k = 0; k < order; ++k) {
        int next = k + 3;
        wide_row entering = {0.0, 0.0, 0.0, 0.0, 0.0};
        if (next < order)
            entering = {band[next][0], band[next][1], band[next][2], band[next][3], band[next][4]};
        wide_step(w, order - 1 - k < 2 ? order - 1 - k : 2, entering);
    }
    if (w.product == 0.0 || !std::isfinite(w.product) || !std::isfinite(w.guard)) return false;
    *value = w.odd ? -w.product : w.product;
    return true;
}

// The same for the tridiagonal matrices: rows at positions k and k + 1, columns k ... k + 2.
struct narrow_row {
    double x0, x1, x2;
};

template <int order>
bool eliminate_narrow(const double (*band)[narrow_width], double* value) {
    narrow_row a = {band[0][1], band[0][2], 0.0};
    narrow_row b = {band[1][0], band[1][1], band[1][2]};
    double product = 1.0, guard = 0.0;
    bool odd = false;
#pragma GCC unroll 16
    for (int k = 0; k < order; ++k) {
        if (k == order - 1) {
            product = product * a.x0;
            break;
        }
        if (std::fabs(b.x0) > std::fabs(a.x0)) {
            std::swap(a, b);
            odd = !odd;
        }
        product = product * a.x0;
        double m = b.x0 / a.x0;
        guard = guard + m;
        a = {b.x1 - m * a.x1, b.x2 - m * a.x2, 0.0};
        int next = k + 2;
        if (next < order) {
            b = {band[next][0], band[next][1], band[next][2]};
        } else {
            b = {0.0, 0.0, 0.0};
        }
    }
    if (product == 0.0 || !std::isfinite(product) || !std::isfinite(guard)) return false;
    *value = odd ? -product : product;
    return true;
}

double undamped(char kind, double delta, double eps) {
    constexpr int order = hill_order_dc1;
    double band[order][narrow_width];
    double h = eps / 2.0;
    for (int i = 0; i < order; ++i) {
        band[i][0] = i > 0 ? h : 0.0;
        band[i][2] = i < order - 1 ? h : 0.0;
    }
    switch (kind) {
        case '1':
            band[0][1] = delta;
            band[1][0] = eps;
            band[1][1] = delta - 1.0;
            for (int n = 2; n < order; ++n) band[n][1] = delta - static_cast<double>(n * n);
            break;
        case '2':
            band[0][1] = delta - 1.0;
            for (int i = 1; i < order; ++i)
                band[i][1] = delta - static_cast<double>((i + 1) * (i + 1));
            break;
        default:
            band[0][1] = kind == '3' ? (delta - 0.25) + h : (delta - 0.25) - h;
            for (int k = 1; k < order; ++k) {
                int w = 2 * k + 1;
                band[k][1] = delta - static_cast<double>(w * w) / 4.0;
            }
            break;
    }
    double value;
    if (eliminate_narrow<order>(band, &value)) return value;
    switch (kind) {
        case '1': return hill_dc1(delta, eps);
        case '2': return hill_ds1(delta, eps);
        case '3': return hill_dc2(delta, eps);
        default: return hill_ds2(delta, eps);
    }
}

double damped_b1(double beta, double delta, double eps) {
    constexpr int harmonics = hill_order_b1;
    constexpr int order = 2 * harmonics + 1;
    double band[max_order][wide_width];
    double h = eps / 2.0;
    band[0][0] = 0.0;
    band[0][1] = 0.0;
    band[0][2] = delta;
    band[0][3] = h;
    band[0][4] = 0.0;
    band[1][0] = 0.0;
    band[1][1] = eps;
    band[1][2] = delta - 1.0;
    band[1][3] = 2.0 * beta;
    band[1][4] = h;
    band[2][0] = 0.0;
    band[2][1] = -2.0 * beta;
    band[2][2] = delta - 1.0;
    band[2][3] = 0.0;
    band[2][4] = h;
    for (int n = 2; n <= harmonics; ++n) {
        int c = 2 * n - 1;
        int s = 2 * n;
        double diagonal = delta - static_cast<double>(n * n);
        double coupling = n <= harmonics - 1 ? h : 0.0;
        band[c][0] = h;
        band[c][1] = 0.0;
        band[c][2] = diagonal;
        band[c][3] = static_cast<double>(2 * n) * beta;
        band[c][4] = coupling;
        band[s][0] = h;
        band[s][1] = static_cast<double>(-2 * n) * beta;
        band[s][2] = diagonal;
        band[s][3] = 0.0;
        band[s][4] = coupling;
    }
    double value;
    if (eliminate_wide<order>(band, &value)) return value;
    return hill_b1(beta, delta, eps);
}

double damped_b2(double beta, double delta, double eps) {
    constexpr int harmonics = hill_order_b2;
    constexpr int order = 2 * harmonics;
    double band[max_order][wide_width];
    double h = eps / 2.0;
    band[0][0] = 0.0;
    band[0][1] = 0.0;
    band[0][2] = (delta - 0.25) + h;
    band[0][3] = beta;
    band[0][4] = h;
    band[1][0] = 0.0;
    band[1][1] = -beta;
    band[1][2] = (delta - 0.25) - h;
    band[1][3] = 0.0;
    band[1][4] = h;
    for (int k = 1; k < harmonics; ++k) {
        int c = 2 * k;
        int s = 2 * k + 1;
        int w = 2 * k + 1;
        double diagonal = delta - static_cast<double>(w * w) / 4.0;
        double coupling = k <= harmonics - 2 ? h : 0.0;
        band[c][0] = h;
        band[c][1] = 0.0;
        band[c][2] = diagonal;
        band[c][3] = static_cast<double>(w) * beta;
        band[c][4] = coupling;
        band[s][0] = h;
        band[s][1] = static_cast<double>(-w) * beta;
        band[s][2] = diagonal;
        band[s][3] = 0.0;
        band[s][4] = coupling;
    }
    double value;
    if (eliminate_wide<order>(band, &value)) return value;
    return hill_b2(beta, delta, eps);
}

}  // namespace

double hill_banded(char kind, double beta, double delta, double eps) {
    switch (kind) {
        case '1':
        case '2':
        case '3':
        case '4':
            if (!std::isfinite(delta) || !std::isfinite(eps)) break;
            return undamped(kind, delta, eps);
        case '5':
        case '6':
            if (!std::isfinite(beta) || !std::isfinite(delta) || !std::isfinite(eps)) break;
            return kind == '5' ? damped_b1(beta, delta, eps) : damped_b2(beta, delta, eps);
        default: return NAN;
    }
    switch (kind) {
        case '1': return hill_dc1(delta, eps);
        case '2': return hill_ds1(delta, eps);
        case '3': return hill_dc2(delta, eps);
        case '4': return hill_ds2(delta, eps);
        case '5': return hill_b1(beta, delta, eps);
        default: return hill_b2(beta, delta, eps);
    }
}
