// Gaussian elimination with partial pivoting on a private copy, rows exchanged through an index
// vector, the determinant as the signed product of the pivots.
//
// Why the result is the plain elimination's: the Hill matrices are banded and mostly zero, and the
// elimination leaves out only work that cannot change a nonzero value. With m = lu[r][k] / pivot,
// the update lu[r][j] = lu[r][j] - m * lu[pr][j] leaves lu[r][j] as it is when m is an exact zero
// and the pivot row is finite, or when lu[pr][j] is an exact zero and m is finite (m * 0 is a zero,
// and x - 0 is x for every x but a zero, whose sign may differ). A row whose first nonzero column
// lies right of k has never been updated and is zero in column k, so its multiplier is a zero too;
// only the rows that reached column k (the active rows) can win the pivot search or change. The
// pivot search over them picks the largest magnitude and, among equals, the earliest position, as
// the scan over all positions does. Every nonzero entry, every pivot and the result therefore come
// from the same operations in the same order. As soon as a zero, infinite or NaN pivot or a
// non-finite pivot row appears (or the order exceeds the bookkeeping), the elimination goes on over
// every row and column exactly as written, so NaN spreads as it would; a non-finite entry elsewhere
// meets the same operations as in the plain elimination wherever it can change.
#include "stability/determinant.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "state/heap.h"

namespace {
constexpr int max_sparse_order = 32;
}

double determinant(int n, const double* a, int row_stride) {
    double* lu = static_cast<double*>(zero_alloc(static_cast<std::size_t>(n) * n, sizeof(double)));
    int* row_order = static_cast<int*>(zero_alloc(n, sizeof(int)));
    int* order_inverse = static_cast<int*>(zero_alloc(n, sizeof(int)));
    int* order_copy = static_cast<int*>(zero_alloc(n, sizeof(int)));

    bool sparse = n <= max_sparse_order;
    int first_column[max_sparse_order];  // first nonzero column of each row of the input
    int row_end[max_sparse_order];       // last column of a row that may be nonzero
    for (int i = 0; i < n; ++i) {
        const double* source = a + static_cast<std::size_t>(i) * row_stride;
        double* target = lu + static_cast<std::size_t>(i) * n;
        std::memcpy(target, source, sizeof(double) * n);
        // First and last entry that is not a zero (a NaN counts as not a zero).
        if (sparse) {
            int first = 0, last = n - 1;
            while (first < n && target[first] == 0.0) ++first;
            while (last > first && target[last] == 0.0) --last;
            first_column[i] = first;
            row_end[i] = first < n ? last : -1;
        }
    }
    for (int k = 0; k < n; ++k) row_order[k] = k;

    // Rows by first nonzero column, so each column admits the rows that reach it.
    int by_first_column[max_sparse_order];
    int position[max_sparse_order];  // inverse of row_order
    int active[max_sparse_order];
    int active_count = 0, admitted = 0;
    int nonzero_columns[max_sparse_order];
    if (sparse) {
        // Insertion sort: a banded matrix is nearly in order already.
        for (int r = 0; r < n; ++r) {
            int t = r;
            while (t > 0 && first_column[by_first_column[t - 1]] > first_column[r]) {
                by_first_column[t] = by_first_column[t - 1];
                --t;
            }
            by_first_column[t] = r;
        }
        for (int r = 0; r < n; ++r) position[r] = r;
    }

    for (int k = 0; k < n; ++k) {
        int p = k;
        if (sparse) {
            while (admitted < n && first_column[by_first_column[admitted]] <= k)
                active[active_count++] = by_first_column[admitted++];
            double best = std::fabs(lu[row_order[k] * n + k]);
            for (int t = 0; t < active_count; ++t) {
                int r = active[t];
                double v = std::fabs(lu[r * n + k]);
                if (v > best || (v == best && position[r] < p)) {
                    p = position[r];
                    best = v;
                }
            }
        } else {
            double best = std::fabs(lu[row_order[k] * n + k]);
            for (int j = k + 1; j < n; ++j) {
                double v = std::fabs(lu[row_order[j] * n + k]);
                if (v > best) {
                    p = j;
                    best = v;
                }
            }
        }
        int swap = row_order[k];
        row_order[k] = row_order[p];
        row_order[p] = swap;

        int pr = row_order[k];
        double pivot = lu[pr * n + k];
        const double* pivot_row = lu + pr * n;

        if (sparse) {
            position[row_order[k]] = k;
            position[row_order[p]] = p;
            for (int t = 0; t < active_count; ++t)
                if (active[t] == pr) {
                    active[t] = active[--active_count];
                    break;
                }
            int column_count = 0;
            bool pivot_row_finite = true;
            for (int j = k + 1; j <= row_end[pr]; ++j) {
                double u = pivot_row[j];
                if (u != 0.0) {
                    nonzero_columns[column_count++] = j;
                    if (!std::isfinite(u)) pivot_row_finite = false;
                }
            }
            if (pivot != 0.0 && std::isfinite(pivot) && pivot_row_finite) {
                for (int t = 0; t < active_count; ++t) {
                    int r = active[t];
                    double* row = lu + r * n;
                    if (row[k] == 0.0) continue;
                    double m = row[k] / pivot;
                    row[k] = m;
                    if (m == 0.0) continue;
                    if (std::isfinite(m)) {
                        for (int c = 0; c < column_count; ++c) {
                            int j = nonzero_columns[c];
                            row[j] = row[j] - m * pivot_row[j];
                        }
                        if (row_end[pr] > row_end[r]) row_end[r] = row_end[pr];
                    } else {
                        for (int j = k + 1; j < n; ++j) row[j] = row[j] - m * pivot_row[j];
                        row_end[r] = n - 1;
                    }
                }
                continue;
            }
            sparse = false;  // from here on every row and column, as written
        }

        for (int i = k + 1; i < n; ++i) {
            double* row = lu + row_order[i] * n;
            double m = row[k] / pivot;
            row[k] = m;
            for (int j = k + 1; j < n; ++j) row[j] = row[j] - m * pivot_row[j];
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
