// The Hill kinds evaluated by the plain elimination that the determinant tests also compare with,
// for timing the scans against it.
#include "plain_elimination.h"

#include "stability/boundary_scan.h"
#include "stability/hill_determinants.h"
#include "tests/plain_determinant.h"

double plain_characteristic(char kind, double beta, double delta, double eps) {
    int n = hill_matrix(kind, beta, delta, eps);
    if (n == 0) return characteristic_value(kind, beta, delta, eps);
    return plain_determinant(n, hill_storage(kind), hill_storage_order);
}
