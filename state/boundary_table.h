// The boundary table: for each epsilon column the delta roots of one characteristic function.
// Shared by the boundary scan, the boundary files and the stability chart.
#pragma once

// 1501 columns (epsilon values) of 10 rows: row 0 is the column's epsilon, rows 1 ... 9 its roots.
constexpr int boundary_columns = 1501;
constexpr int boundary_rows = 10;
constexpr int max_roots_per_column = boundary_rows - 1;

// Stored in row 1 of a scanned column that has no root (never written to a file).
constexpr double no_root_marker = 1e10;

struct boundary_table {
    int counts[boundary_columns];                    // roots found in column i, 0 ... 9
    double points[boundary_rows][boundary_columns];  // points[row][column]
};
