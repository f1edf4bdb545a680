// Checks stored boundary tables against Floquet analysis, which shares no code with the Hill
// determinants or the square-wave function that made them: every stored root against the true
// boundary next to it, and the boundaries that a fine delta grid finds and the table lacks.
#pragma once

// A stored root farther than this from every true boundary is spurious; a boundary on the grid
// farther than this from every stored root is missed.
constexpr double verify_match_distance = 1e-4;

// Most missed boundaries a file may have and pass. The 22 files miss 135 in all, every one for a
// known reason (above the scan's last point, or two roots inside one scan step); an emptied table
// or a lost family misses hundreds (a square-wave table without its period-T boundary 501).
constexpr long long verify_max_missed = 150;

// Largest distance of a stored root from its true boundary that passes. The files keep six
// decimals (rounding up to 5e-7). The scan accepts a root once |D(root)| < 1e-6 |D(c)|, c the far
// end of its bracket; where D rises steeply across the step that leaves up to about 1e-6 more
// (1.15e-6 before rounding for B1 at beta 0.05, eps 0.66, delta 1.060931, whose bracket starts
// 0.0009 below the root).
constexpr double verify_max_deviation = 1.5e-6;

// The delta grid of the search for missed boundaries: -1 ... 10 in steps of 0.01, five to ten
// times finer than the scan's steps of 0.02 and 0.1.
constexpr double verify_grid_first = -1.0;
constexpr double verify_grid_step = 0.01;
constexpr int verify_grid_points = 1101;

// A stored root farther than this outside the grid's range (delta below -2 or above 11) is
// spurious without being integrated: a scan of -1 ... 10 never stores one there (its roots lie
// between its own points, rounded to six decimals), and the cost of an integration grows with
// |delta| without bound.
constexpr double verify_range_margin = 1.0;

// Most files one run verifies.
constexpr int verify_file_capacity = 1024;

// Detail lines (spurious, missed, deviating roots) printed per file; the rest are counted.
constexpr int verify_detail_lines = 20;

// One file to verify: its path, the determinant kind of its table ('1' ... '6', 'A', 'B') and the
// damping of its scan.
struct verify_file {
    const char* path;
    char kind;
    double beta;
};

// Verifies files[0 ... count - 1] (tables of 500 epsilon intervals). Prints one line per file on
// standard output, each followed by indented lines for the spurious, missed and deviating roots,
// and last "verified N files, M roots: max deviation X, spurious S, missed K". Files are checked
// in batches of up to 32, their lines printed when the batch is done; once the run takes longer
// than two seconds, progress goes to standard error every two seconds (the columns of the batch
// done, and the files done after each batch). A file that cannot be read or
// that the reader refuses is named and not counted in N. Kinds '1' ... '4' are checked with the
// undamped half-period conditions whatever beta says. Returns 0 when every file was read, its
// beta line matches, nothing is spurious, at most verify_max_missed are missed and the max
// deviation is at most verify_max_deviation;
// 1 otherwise.
int verify_boundary_files(const verify_file* files, int count);
