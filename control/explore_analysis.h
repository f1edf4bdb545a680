// The explorer's Floquet aids on the program state: the raster of unstable (delta, epsilon) pairs
// under the chart and the multipliers of the chosen point, each recomputed only when what it
// depends on has changed.
#pragma once

#include <atomic>

#include "state/explore_state.h"

// Threads a raster build uses: every hardware thread, at most this many (the rows are shared out
// one at a time, so each thread's share follows its speed).
constexpr int shading_max_threads = 8;

// The key a raster is built for now: system_kind, beta, the chart scales and chart_origin.
shading_key present_shading_key();

// Whether the raster is wanted now: the chart is shown and the system is 'm' or 'r'.
bool shading_wanted();

// Fills the rows of rows taken from next_row (each thread adds one and builds that row) for key:
// 1 where the pixel centre's (delta, epsilon) is unstable (floquet_is_stable false with a finite
// largest multiplier; a non-finite one is left unshaded, undecided), else 0.
// Every pixel of the window is decided by its own monodromy matrix. Stops early, leaving rows
// unfinished, once cancel is set. Returns the number of verdicts it computed.
int build_shading_rows(const shading_key& key, unsigned char (*rows)[shading_pixels],
                       std::atomic<int>& next_row, const std::atomic<bool>& cancel);

// Hardware threads a build uses: 1 ... shading_max_threads (1 in the web build).
int shading_thread_count();

// While shading_wanted(), makes unstable_shading current for the present key unless it already
// is, on shading_thread_count() threads, and returns when it is done. Every pixel of the window
// is computed, so the raster is floquet_is_stable at each pixel centre (a smooth boundary
// function can reach zero between any two evaluated pixels, so no verdict is inferred). Returns
// whether a raster was built now.
bool refresh_unstable_shading();

// Makes chosen_point_readout current for system_kind, beta, delta and epsilon ('m' or 'r'; for
// another system it is marked invalid).
void refresh_multiplier_readout();

// Both refreshes, the raster built before returning.
void refresh_explore_analysis();

// Exact verdict evaluations made by the last raster build (for the benchmark and the tests).
int last_shading_evaluations();
