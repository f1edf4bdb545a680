// The explorer's Floquet aids on the program state: the raster of unstable (delta, epsilon) pairs
// under the chart and the multipliers of the chosen point, each recomputed only when what it
// depends on has changed.
#pragma once

// The raster covers the chart grid's quadrant (0 <= delta, epsilon <= chart_grid_extent) inside
// the window, at the centre of each design pixel.
constexpr double chart_grid_extent = 20.0;

// While the chart is shown and the system is 'm' or 'r', makes unstable_shading current for
// system_kind, beta, the chart scales and chart_origin, unless it already is. A pixel is unstable
// when the largest Floquet multiplier at its (delta, epsilon) is finite and exceeds 1
// (floquet_is_stable; a non-finite one is left unshaded, undecided), and
// every pixel is computed, so the raster is floquet_is_stable at each pixel centre (a smooth
// boundary function can reach zero between any two evaluated pixels, so no verdict is inferred).
// Returns whether a raster was built now.
bool refresh_unstable_shading();

// Makes chosen_point_readout current for system_kind, beta, delta and epsilon ('m' or 'r'; for
// another system it is marked invalid).
void refresh_multiplier_readout();

// Both refreshes: called before every picture of the explorer.
void refresh_explore_analysis();

// Exact verdict evaluations made by the last raster build (for the benchmark and the tests).
int last_shading_evaluations();
