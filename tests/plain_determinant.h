// The reference the determinant tests compare with: Gaussian elimination with partial pivoting
// exactly as written out, every row updated in every column, no shortcut for zeros.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

// det of the leading n x n block of the row-major a; the pivot is the first row of largest
// magnitude, the sign the parity of the row order, the result the pivots' product from the left.
inline double plain_determinant(int n, const double* a, int row_stride) {
    std::vector<double> lu(n * n);
    std::vector<int> order(n), copy(n), inverse(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) lu[i * n + j] = a[i * row_stride + j];
    for (int k = 0; k < n; ++k) order[k] = k;
    for (int k = 0; k < n; ++k) {
        int p = k;
        double best = std::fabs(lu[order[k] * n + k]);
        for (int j = k + 1; j < n; ++j) {
            double v = std::fabs(lu[order[j] * n + k]);
            if (v > best) {
                p = j;
                best = v;
            }
        }
        std::swap(order[k], order[p]);
        int pr = order[k];
        double pivot = lu[pr * n + k];
        for (int i = k + 1; i < n; ++i) {
            int r = order[i];
            double m = lu[r * n + k] / pivot;
            lu[r * n + k] = m;
            for (int j = k + 1; j < n; ++j) lu[r * n + j] = lu[r * n + j] - m * lu[pr * n + j];
        }
    }
    copy = order;
    for (int i = 0; i < n; ++i) inverse[copy[i]] = i;
    double result = 1.0;
    for (int i = 0; i < n - 1; ++i) {
        int j = copy[i];
        if (j != i) {
            copy[inverse[i]] = j;
            inverse[j] = inverse[i];
            result = -result;
        }
    }
    for (int i = 0; i < n; ++i) result = result * lu[order[i] * n + i];
    return result;
}
