// The explorer's Floquet aids on the program state: the raster of unstable (delta, epsilon) pairs
// under the chart and the multipliers of the chosen point, each recomputed only when what it
// depends on has changed.
#pragma once

// The raster covers the chart grid's quadrant (0 <= delta, epsilon <= chart_grid_extent) inside
// the window, at the centre of each design pixel.
constexpr double chart_grid_extent = 20.0;

// Coarsest lattice of the raster: the verdict is computed exactly at every shading_lattice-th
// pixel, and a block between lattice pixels is split in four, down to single pixels, wherever its
// corners disagree or come near a boundary (see refresh_unstable_shading).
constexpr int shading_lattice = 8;

// While the chart is shown and the system is 'm' or 'r', makes unstable_shading current for
// system_kind, beta, the chart scales and chart_origin, unless it already is. A pixel is unstable
// when the largest Floquet multiplier at its (delta, epsilon) exceeds 1 (floquet_is_stable). Only
// the pixels near a boundary are computed one by one: the verdict depends on the monodromy
// matrix M only through g = |tr M| - (1 + det M), which is negative where both multipliers stay
// within the unit circle and positive where one leaves it, so a block whose four corners agree
// and whose smallest |g| exceeds the spread of g over the corners is taken as uniform (a smooth g
// cannot reach zero inside it). A tongue narrower than that rule can see (the undamped tongues'
// tips, far below a pixel wide) may be left out. Returns whether a raster was built now.
bool refresh_unstable_shading();

// Makes chosen_point_readout current for system_kind, beta, delta and epsilon ('m' or 'r'; for
// another system it is marked invalid).
void refresh_multiplier_readout();

// Both refreshes: called before every picture of the explorer.
void refresh_explore_analysis();

// Exact verdict evaluations made by the last raster build (for the benchmark and the tests).
int last_shading_evaluations();
