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
// The equivalence needs every pivot to be a nonzero finite number and every multiplier and entry
// to stay finite; otherwise the dense routines spread NaN over rows the window does not hold. A
// zero pivot before the last column makes the multipliers below it x/0 or 0/0, a multiplier that
// overflows is infinite, and a pivot that is not finite gives NaN times zero; the guard sums all
// of these, so it is then not finite (it cannot overflow otherwise: partial pivoting keeps every
// multiplier within -1 ... 1). An entry that becomes infinite or NaN stays so under every later
// update, and when its row is the pivot row, m * u passes it on to every other window row in that
// column; so in that column's own step some window row still holds it, and it becomes a pivot or a
// multiplier. A zero last pivot makes the product zero or NaN. Any of these sends the evaluation
// to the dense function of the kind. A product that overflows among finite pivots is the dense
// routine's infinity, since rounding is symmetric in the sign; one that underflows to zero only
// costs a dense evaluation.
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
    double guard;    // the sum of the multipliers and of the pivots times zero
    bool odd;        // an odd number of row exchanges so far
};

wide_row pick(bool q, const wide_row& x, const wide_row& y) {
    return {q ? x.x0 : y.x0, q ? x.x1 : y.x1, q ? x.x2 : y.x2, q ? x.x3 : y.x3, q ? x.x4 : y.x4};
}

// Column k: pivot search and exchange, multipliers and updates of the rows below, then the window
// moves on and row k + 3 enters (zeros past the last row). rows_below counts the rows of the
// matrix below position k, at most 2; padding rows need no work, since m * u on a zero row only
// gives zeros, and a zero last pivot shows as a zero product. The exchange is made by selection
// rather than by branches, which the pivot pattern of a scan would often mispredict.
inline void wide_step(wide_window& w, int rows_below, const wide_row& entering) {
    // Strictly greater wins, in position order: b if it beats a and c does not beat b, else c if
    // it beats a. A NaN never wins.
    bool take_b = false, take_c = false;
    if (rows_below > 0) {
        double fa = std::fabs(w.a.x0), fb = std::fabs(w.b.x0);
        double fc = rows_below > 1 ? std::fabs(w.c.x0) : 0.0;
        take_b = fb > fa && !(fc > fb);
        take_c = !take_b && fc > fa;
        w.odd = w.odd != (take_b || take_c);
    }
    const wide_row u = pick(take_b, w.b, pick(take_c, w.c, w.a));
    const wide_row r = pick(take_b, w.a, w.b);  // position k + 1 after the exchange
    const wide_row s = pick(take_c, w.a, w.c);  // position k + 2
    w.product = w.product * u.x0;
    w.guard = w.guard + u.x0 * 0.0;
    w.a = {0.0, 0.0, 0.0, 0.0, 0.0};
    w.b = {0.0, 0.0, 0.0, 0.0, 0.0};
    if (rows_below > 0) {
        double m = r.x0 / u.x0;
        w.guard = w.guard + m;
        w.a = {r.x1 - m * u.x1, r.x2 - m * u.x2, r.x3 - m * u.x3, r.x4 - m * u.x4, 0.0};
    }
    if (rows_below > 1) {
        double m = s.x0 / u.x0;
        w.guard = w.guard + m;
        w.b = {s.x1 - m * u.x1, s.x2 - m * u.x2, s.x3 - m * u.x3, s.x4 - m * u.x4, 0.0};
    }
    w.c = entering;
}

// B1 or B2 for one or two values of delta: the entries off the diagonal in band storage (shared),
// and the diagonal of each.
template <int lanes>
struct wide_matrix {
    double band[max_order][wide_width];  // entry 2, the diagonal, is not used
    double diagonal[max_order][lanes];
};

template <int lanes>
wide_row band_row(const wide_matrix<lanes>& m, int i, int lane) {
    return {m.band[i][0], m.band[i][1], m.diagonal[i][lane], m.band[i][3], m.band[i][4]};
}

// Determinant of the order x order matrix of each lane; exact[lane] false where the dense
// elimination must take over. The lanes are independent and interleaved, so that some fill the
// pipeline while others wait on a division; the loop is unrolled so that every index is a constant
// and the windows live in registers as far as they fit.
template <int order, int lanes>
void eliminate_wide(const wide_matrix<lanes>& m, double* values, bool* exact) {
    wide_window w[lanes];
    for (int l = 0; l < lanes; ++l) {
        wide_row row0 = band_row(m, 0, l), row1 = band_row(m, 1, l);
        w[l].a = {row0.x2, row0.x3, row0.x4, 0.0, 0.0};
        w[l].b = {row1.x1, row1.x2, row1.x3, row1.x4, 0.0};
        w[l].c = band_row(m, 2, l);
        w[l].product = 1.0;
        w[l].guard = 0.0;
        w[l].odd = false;
    }
#pragma GCC unroll 32
    for (int k = 0; k < order; ++k) {
        int next = k + 3;
        int rows_below = order - 1 - k < 2 ? order - 1 - k : 2;
        for (int l = 0; l < lanes; ++l) {
            wide_row entering = {0.0, 0.0, 0.0, 0.0, 0.0};
            if (next < order) entering = band_row(m, next, l);
            wide_step(w[l], rows_below, entering);
        }
    }
    for (int l = 0; l < lanes; ++l) {
        double p = w[l].product;
        exact[l] = p != 0.0 && !std::isnan(p) && std::isfinite(w[l].guard);
        values[l] = w[l].odd ? -p : p;
    }
}

template <int lanes>
void fill_b1(double beta, const double* delta, double eps, wide_matrix<lanes>& m) {
    constexpr int harmonics = hill_order_b1;
    double h = eps / 2.0;
    for (int d = 0; d < wide_width; ++d) m.band[0][d] = 0.0;
    m.band[0][3] = h;
    m.band[1][0] = 0.0;
    m.band[1][1] = eps;
    m.band[1][3] = 2.0 * beta;
    m.band[1][4] = h;
    m.band[2][0] = 0.0;
    m.band[2][1] = -2.0 * beta;
    m.band[2][3] = 0.0;
    m.band[2][4] = h;
    for (int l = 0; l < lanes; ++l) {
        m.diagonal[0][l] = delta[l];
        m.diagonal[1][l] = delta[l] - 1.0;
        m.diagonal[2][l] = delta[l] - 1.0;
    }
    for (int n = 2; n <= harmonics; ++n) {
        int c = 2 * n - 1;
        int s = 2 * n;
        double coupling = n <= harmonics - 1 ? h : 0.0;
        m.band[c][0] = h;
        m.band[c][1] = 0.0;
        m.band[c][3] = static_cast<double>(2 * n) * beta;
        m.band[c][4] = coupling;
        m.band[s][0] = h;
        m.band[s][1] = static_cast<double>(-2 * n) * beta;
        m.band[s][3] = 0.0;
        m.band[s][4] = coupling;
        for (int l = 0; l < lanes; ++l) {
            m.diagonal[c][l] = delta[l] - static_cast<double>(n * n);
            m.diagonal[s][l] = m.diagonal[c][l];
        }
    }
}

template <int lanes>
void fill_b2(double beta, const double* delta, double eps, wide_matrix<lanes>& m) {
    constexpr int harmonics = hill_order_b2;
    double h = eps / 2.0;
    m.band[0][0] = 0.0;
    m.band[0][1] = 0.0;
    m.band[0][3] = beta;
    m.band[0][4] = h;
    m.band[1][0] = 0.0;
    m.band[1][1] = -beta;
    m.band[1][3] = 0.0;
    m.band[1][4] = h;
    for (int l = 0; l < lanes; ++l) {
        m.diagonal[0][l] = (delta[l] - 0.25) + h;
        m.diagonal[1][l] = (delta[l] - 0.25) - h;
    }
    for (int k = 1; k < harmonics; ++k) {
        int c = 2 * k;
        int s = 2 * k + 1;
        int w = 2 * k + 1;
        double coupling = k <= harmonics - 2 ? h : 0.0;
        m.band[c][0] = h;
        m.band[c][1] = 0.0;
        m.band[c][3] = static_cast<double>(w) * beta;
        m.band[c][4] = coupling;
        m.band[s][0] = h;
        m.band[s][1] = static_cast<double>(-w) * beta;
        m.band[s][3] = 0.0;
        m.band[s][4] = coupling;
        for (int l = 0; l < lanes; ++l) {
            m.diagonal[c][l] = delta[l] - static_cast<double>(w * w) / 4.0;
            m.diagonal[s][l] = m.diagonal[c][l];
        }
    }
}

// B1 ('5') or B2 ('6') at lanes values of delta, each equal to hill_b1 or hill_b2 there.
template <int lanes>
void damped(char kind, double beta, const double* delta, double eps, double* values) {
    wide_matrix<lanes> m;
    bool exact[lanes];
    if (kind == '5') {
        fill_b1(beta, delta, eps, m);
        eliminate_wide<2 * hill_order_b1 + 1, lanes>(m, values, exact);
    } else {
        fill_b2(beta, delta, eps, m);
        eliminate_wide<2 * hill_order_b2, lanes>(m, values, exact);
    }
    for (int l = 0; l < lanes; ++l) {
        if (exact[l]) continue;
        values[l] = kind == '5' ? hill_b1(beta, delta[l], eps) : hill_b2(beta, delta[l], eps);
    }
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
            guard = guard + a.x0 * 0.0;
            break;
        }
        if (std::fabs(b.x0) > std::fabs(a.x0)) {
            std::swap(a, b);
            odd = !odd;
        }
        product = product * a.x0;
        double m = b.x0 / a.x0;
        guard = guard + (m + a.x0 * 0.0);
        a = {b.x1 - m * a.x1, b.x2 - m * a.x2, 0.0};
        int next = k + 2;
        if (next < order) {
            b = {band[next][0], band[next][1], band[next][2]};
        } else {
            b = {0.0, 0.0, 0.0};
        }
    }
    if (product == 0.0 || std::isnan(product) || !std::isfinite(guard)) return false;
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
            {
                double value;
                damped<1>(kind, beta, &delta, eps, &value);
                return value;
            }
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

void hill_banded_batch(char kind, double beta, const double* delta, int count, double eps,
                       double* values) {
    bool finite = std::isfinite(beta) && std::isfinite(eps);
    for (int l = 0; l < count; ++l) finite = finite && std::isfinite(delta[l]);
    int done = 0;
    if ((kind == '5' || kind == '6') && finite) {
        if (count == 4) {
            damped<4>(kind, beta, delta, eps, values);
            return;
        }
        if (count >= 2) {
            damped<2>(kind, beta, delta, eps, values);
            done = 2;
        }
    }
    for (int l = done; l < count; ++l) values[l] = hill_banded(kind, beta, delta[l], eps);
}
