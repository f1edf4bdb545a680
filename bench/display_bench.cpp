// One display call as the user sees it, under a real OpenGL context (run it under
// tests/with_xvfb.sh): ten integrator steps plus the whole picture, rendered to the end.
// A frame at 60 Hz lasts 16.7 ms; the response view and the chart must stay far below it. Also
// the explorer's raster of unstable pairs and its chart frame.
#include <GL/glut.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include "app/explore_hooks.h"
#include "app/window.h"
#include "control/explore_analysis.h"
#include "control/parameter_dialog.h"
#include "draw/explore_view.h"
#include "draw/response_view.h"
#include "stability/boundary_scan.h"
#include "state/explore_state.h"
#include "state/program_hooks.h"
#include "state/program_state.h"

namespace {

bool window_open = false;
bool window_tried = false;

// One window for the whole run; false without an X display.
bool open_bench_window() {
    if (window_tried) return window_open;
    window_tried = true;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    XCloseDisplay(display);
    static char name[] = "display_bench";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    create_window(&argc, argv);
    reshape(window_size, window_size);
    window_open = true;
    return true;
}

// The program state a dialog pass leaves for the given equation and damping, at delta = 2,
// epsilon = 1, y0 = 1, v0 = 0.
void dialog_state(char kind, double beta_value, char key) {
    command_key = key;
    system_kind = kind;
    beta = beta_value;
    two_beta = 2.0 * beta_value;
    delta = 2.0;
    epsilon = 1.0;
    y_init = 1.0;
    v_init = 0.0;
    reset_response_and_views();
    epsilon_steps = 500;
}

// Tables as the dialog leaves them: B1, B2 of the damped equation (beta = 0.1) and the four
// undamped curves (the boundaries the beta = 0 files hold). Scanned once, outside the timing.
bool tables_filled = false;
void fill_tables() {
    if (tables_filled) return;
    boundary_scan('5', 0.1, boundary_b1.counts, boundary_b1.points, 500);
    boundary_scan('6', 0.1, boundary_b2.counts, boundary_b2.points, 500);
    boundary_scan('1', 0.0, boundary_dc1.counts, boundary_dc1.points, 500);
    boundary_scan('2', 0.0, boundary_ds1.counts, boundary_ds1.points, 500);
    boundary_scan('3', 0.0, boundary_dc2.counts, boundary_dc2.points, 500);
    boundary_scan('4', 0.0, boundary_ds2.counts, boundary_ds2.points, 500);
    tables_filled = true;
}

int dots_drawn(char kind, double beta_value) {
    auto sum = [](const boundary_table& t) {
        int dots = 0;
        for (int i = 0; i <= 500; ++i) dots += t.counts[i];
        return dots;
    };
    if (kind == 'm' && beta_value == 0.0) {
        return sum(boundary_dc1) + sum(boundary_ds1) + sum(boundary_dc2) + sum(boundary_ds2);
    }
    return sum(boundary_b1) + sum(boundary_b2);
}

// Display calls in a running sweep (curves of 0 ... 100 samples, 50 on average), each finished
// with glFinish so that the rasteriser's work is counted, not only its queueing.
void display_call(benchmark::State& state, char kind, double beta_value, char key) {
    if (!open_bench_window()) {
        state.SkipWithError("no X display (run under tests/with_xvfb.sh)");
        return;
    }
    if (key == 'a') fill_tables();
    dialog_state(kind, beta_value, key);
    for (auto _ : state) {
        display();
        glFinish();
    }
    if (key == 'a') state.counters["dots"] = dots_drawn(kind, beta_value);
}
BENCHMARK_CAPTURE(display_call, response_view, 'm', 0.1, 's')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(display_call, chart_damped_mathieu, 'm', 0.1, 'a')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(display_call, chart_undamped_mathieu, 'm', 0.0, 'a')
    ->Unit(benchmark::kMillisecond);

// paravib-explore: the raster of unstable pairs, built once per change of beta, system or zoom
// (the chart quadrant at the first scales, 400 x 400 pixels), and a chart frame with the raster
// and the readout drawn, to set against chart_damped_mathieu and chart_undamped_mathieu above.
void shading_raster_build(benchmark::State& state, char kind, double beta_value) {
    dialog_state(kind, beta_value, 'a');
    for (auto _ : state) {
        unstable_shading.valid = false;
        refresh_unstable_shading();
    }
    const shading_raster& r = unstable_shading;
    state.counters["pixels"] = (r.row_end - r.row_begin) * (r.column_end - r.column_begin);
    state.counters["evaluated"] = last_shading_evaluations();
}
BENCHMARK_CAPTURE(shading_raster_build, damped_mathieu, 'm', 0.1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(shading_raster_build, undamped_mathieu, 'm', 0.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(shading_raster_build, damped_square_wave, 'r', 0.1)
    ->Unit(benchmark::kMillisecond);

void explore_chart_call(benchmark::State& state, char kind, double beta_value) {
    if (!open_bench_window()) {
        state.SkipWithError("no X display (run under tests/with_xvfb.sh)");
        return;
    }
    fill_tables();
    dialog_state(kind, beta_value, 'a');
    install_explore_hooks();
    refresh_explore_analysis();
    for (auto _ : state) {
        refresh_explore_analysis();  // finds the raster current: nothing is recomputed
        display();
        glFinish();
    }
    hooks = {};
}
BENCHMARK_CAPTURE(explore_chart_call, damped_mathieu, 'm', 0.1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(explore_chart_call, undamped_mathieu, 'm', 0.0)->Unit(benchmark::kMillisecond);

// The shading alone on a cleared frame (one textured quad over the chart quadrant), against the
// clearing alone: what the raster adds to every chart frame.
void shading_quad(benchmark::State& state, bool shaded) {
    if (!open_bench_window()) {
        state.SkipWithError("no X display (run under tests/with_xvfb.sh)");
        return;
    }
    dialog_state('m', 0.0, 'a');
    refresh_unstable_shading();
    for (auto _ : state) {
        begin_frame();
        if (shaded) draw_unstable_shading();
        glFinish();
    }
}
BENCHMARK_CAPTURE(shading_quad, cleared_frame, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(shading_quad, cleared_frame_and_shading, true)->Unit(benchmark::kMillisecond);

}  // namespace
