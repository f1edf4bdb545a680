// Hill matrices of the Mathieu equation, one harmonic balance per row, filled anew for every
// evaluation and handed to determinant(). delta stands only on the diagonal with factor +1, so each
// function is a monic polynomial in delta of the matrix order, without poles.
#include "stability/hill_determinants.h"

#include <cstring>

#include "stability/determinant.h"

namespace {

constexpr int stride = hill_storage_order;

// One set per thread, so that scans on several threads never share a matrix.
thread_local double storage_dc1[stride * stride];
thread_local double storage_ds1[stride * stride];
thread_local double storage_dc2[stride * stride];
thread_local double storage_ds2[stride * stride];
thread_local double storage_b1[stride * stride];
thread_local double storage_b2[stride * stride];

// Zeroes the order x order block; whole rows are cleared at once, since the columns right of the
// block are never written and stay zero.
void clear_block(double* m, int order) { std::memset(m, 0, sizeof(double) * stride * order); }

void put(double* m, int row, int column, double value) { m[row * stride + column] = value; }

// The half-odd harmonics (2k + 1) / 2 for k >= 1, shared by Dc2 and Ds2, whose first rows differ
// only by the folded term +h (cosines) or -h (sines).
int fill_half_odd(double* m, double delta, double eps, double fold_sign) {
    const int order = hill_order_dc2;
    double h = eps / 2.0;
    clear_block(m, order);
    put(m, 0, 0, fold_sign > 0 ? (delta - 0.25) + h : (delta - 0.25) - h);
    put(m, 0, 1, h);
    for (int k = 1; k < order; ++k) {
        int w = 2 * k + 1;
        put(m, k, k - 1, h);
        put(m, k, k, delta - static_cast<double>(w * w) / 4.0);
        if (k <= order - 2) put(m, k, k + 1, h);
    }
    return order;
}

int fill_dc1(double delta, double eps) {
    const int order = hill_order_dc1;
    double* m = storage_dc1;
    double h = eps / 2.0;
    clear_block(m, order);
    put(m, 0, 0, delta);
    put(m, 0, 1, h);
    // The constant term reaches the cos t balance through both halves of eps cos t.
    put(m, 1, 0, eps);
    put(m, 1, 1, delta - 1.0);
    put(m, 1, 2, h);
    for (int n = 2; n < order; ++n) {
        put(m, n, n - 1, h);
        put(m, n, n, delta - static_cast<double>(n * n));
        if (n <= order - 2) put(m, n, n + 1, h);
    }
    return order;
}

int fill_ds1(double delta, double eps) {
    const int order = hill_order_ds1;
    double* m = storage_ds1;
    double h = eps / 2.0;
    clear_block(m, order);
    put(m, 0, 0, delta - 1.0);
    put(m, 0, 1, h);
    for (int i = 1; i < order; ++i) {
        int w = i + 1;
        put(m, i, i - 1, h);
        put(m, i, i, delta - static_cast<double>(w * w));
        if (i <= order - 2) put(m, i, i + 1, h);
    }
    return order;
}

int fill_dc2(double delta, double eps) { return fill_half_odd(storage_dc2, delta, eps, +1.0); }

int fill_ds2(double delta, double eps) { return fill_half_odd(storage_ds2, delta, eps, -1.0); }

int fill_b1(double beta, double delta, double eps) {
    const int harmonics = hill_order_b1;
    const int order = 2 * harmonics + 1;
    double* m = storage_b1;
    double h = eps / 2.0;
    clear_block(m, order);
    put(m, 0, 0, delta);
    put(m, 0, 1, h);
    put(m, 1, 0, eps);
    put(m, 1, 1, delta - 1.0);
    put(m, 1, 2, 2.0 * beta);
    put(m, 1, 3, h);
    // The first sine balance has no folded term: sin(0 t) vanishes.
    put(m, 2, 1, -2.0 * beta);
    put(m, 2, 2, delta - 1.0);
    put(m, 2, 4, h);
    for (int n = 2; n <= harmonics; ++n) {
        int c = 2 * n - 1;
        int s = 2 * n;
        double diagonal = delta - static_cast<double>(n * n);
        put(m, c, c - 2, h);
        put(m, c, c, diagonal);
        put(m, c, s, static_cast<double>(2 * n) * beta);
        if (n <= harmonics - 1) put(m, c, c + 2, h);
        put(m, s, s - 2, h);
        put(m, s, c, static_cast<double>(-2 * n) * beta);
        put(m, s, s, diagonal);
        if (n <= harmonics - 1) put(m, s, s + 2, h);
    }
    return order;
}

int fill_b2(double beta, double delta, double eps) {
    const int harmonics = hill_order_b2;
    const int order = 2 * harmonics;
    double* m = storage_b2;
    double h = eps / 2.0;
    clear_block(m, order);
    // Harmonic 1/2: the lower half of eps cos t folds back onto itself, +h for the cosine and
    // -h for the sine; the damping couples them with +-beta (= +-w beta, w = 1).
    put(m, 0, 0, (delta - 0.25) + h);
    put(m, 0, 1, beta);
    put(m, 0, 2, h);
    put(m, 1, 0, -beta);
    put(m, 1, 1, (delta - 0.25) - h);
    put(m, 1, 3, h);
    for (int k = 1; k < harmonics; ++k) {
        int c = 2 * k;
        int s = 2 * k + 1;
        int w = 2 * k + 1;
        double diagonal = delta - static_cast<double>(w * w) / 4.0;
        put(m, c, c - 2, h);
        put(m, c, c, diagonal);
        put(m, c, s, static_cast<double>(w) * beta);
        if (k <= harmonics - 2) put(m, c, c + 2, h);
        put(m, s, s - 2, h);
        put(m, s, c, static_cast<double>(-w) * beta);
        put(m, s, s, diagonal);
        if (k <= harmonics - 2) put(m, s, s + 2, h);
    }
    return order;
}

}  // namespace

double hill_dc1(double delta, double eps) {
    return determinant(fill_dc1(delta, eps), storage_dc1, stride);
}

double hill_ds1(double delta, double eps) {
    return determinant(fill_ds1(delta, eps), storage_ds1, stride);
}

double hill_dc2(double delta, double eps) {
    return determinant(fill_dc2(delta, eps), storage_dc2, stride);
}

double hill_ds2(double delta, double eps) {
    return determinant(fill_ds2(delta, eps), storage_ds2, stride);
}

double hill_b1(double beta, double delta, double eps) {
    return determinant(fill_b1(beta, delta, eps), storage_b1, stride);
}

double hill_b2(double beta, double delta, double eps) {
    return determinant(fill_b2(beta, delta, eps), storage_b2, stride);
}

int hill_matrix(char kind, double beta, double delta, double eps) {
    switch (kind) {
        case '1': return fill_dc1(delta, eps);
        case '2': return fill_ds1(delta, eps);
        case '3': return fill_dc2(delta, eps);
        case '4': return fill_ds2(delta, eps);
        case '5': return fill_b1(beta, delta, eps);
        case '6': return fill_b2(beta, delta, eps);
        default: return 0;
    }
}

const double* hill_storage(char kind) {
    switch (kind) {
        case '1': return storage_dc1;
        case '2': return storage_ds1;
        case '3': return storage_dc2;
        case '4': return storage_ds2;
        case '5': return storage_b1;
        case '6': return storage_b2;
        default: return nullptr;
    }
}
