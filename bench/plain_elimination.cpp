// Gaussian elimination with partial pivoting as written out, for timing the scans against it.
#include "plain_elimination.h"

#include <cmath>
#include <cstdlib>

#include "stability/boundary_scan.h"
#include "stability/hill_determinants.h"
#include "state/heap.h"

double plain_determinant(int n, const double* a, int row_stride) {
    double* lu = static_cast<double*>(zero_alloc(static_cast<std::size_t>(n) * n, sizeof(double)));
    int* row_order = static_cast<int*>(zero_alloc(n, sizeof(int)));
    int* order_inverse = static_cast<int*>(zero_alloc(n, sizeof(int)));
    int* order_copy = static_cast<int*>(zero_alloc(n, sizeof(int)));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) lu[i * n + j] = a[i * row_stride + j];
    for (int k = 0; k < n; ++k) row_order[k] = k;

    for (int k = 0; k < n; ++k) {
        int p = k;
        double best = std::fabs(lu[row_order[k] * n + k]);
        for (int j = k + 1; j < n; ++j) {
            double v = std::fabs(lu[row_order[j] * n + k]);
            if (v > best) {
                p = j;
                best = v;
            }
        }
        int swap = row_order[k];
        row_order[k] = row_order[p];
        row_order[p] = swap;
        int pr = row_order[k];
        double pivot = lu[pr * n + k];
        for (int i = k + 1; i < n; ++i) {
            int r = row_order[i];
            double m = lu[r * n + k] / pivot;
            lu[r * n + k] = m;
            for (int j = k + 1; j < n; ++j) lu[r * n + j] = lu[r * n + j] - m * lu[pr * n + j];
        }
    }

    // Parity of row_order: bring value i to position i by single exchanges.
    for (int i = 0; i < n; ++i) order_copy[i] = row_order[i];
    for (int i = 0; i < n; ++i) order_inverse[order_copy[i]] = i;
    double result = 1.0;
    for (int i = 0; i < n - 1; ++i) {
        int j = order_copy[i];
        if (j != i) {
            order_copy[order_inverse[i]] = j;
            order_inverse[j] = order_inverse[i];
            result = -result;
        }
    }
    for (int i = 0; i < n; ++i) result = result * lu[row_order[i] * n + i];

    std::free(lu);
    std::free(row_order);
    std::free(order_inverse);
    std::free(order_copy);
    return result;
}

double plain_characteristic(char kind, double beta, double delta, double eps) {
    int n = hill_matrix(kind, beta, delta, eps);
    if (n == 0) return characteristic_value(kind, beta, delta, eps);
    return plain_determinant(n, hill_storage(kind), hill_storage_order);
}
