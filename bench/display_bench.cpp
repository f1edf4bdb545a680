// One display call as the user sees it, under a real OpenGL context (run it under
// tests/with_xvfb.sh): ten integrator steps plus the whole picture, rendered to the end.
// A frame at 60 Hz lasts 16.7 ms; the response view and the chart must stay far below it. Also
// the explorer's raster of unstable pairs and its chart frame.
#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "app/explore_hooks.h"
#include "app/keyboard.h"
#include "app/window.h"
#include "control/explore_analysis.h"
#include "control/explore_keys.h"
#include "control/parameter_dialog.h"
#include "control/shading_worker.h"
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
// (the whole window, 800 x 800 pixels, on every hardware thread), and a chart frame with the raster
// and the readout drawn, to set against chart_damped_mathieu and chart_undamped_mathieu above.
void shading_raster_build(benchmark::State& state, char kind, double beta_value) {
    dialog_state(kind, beta_value, 'a');
    for (auto _ : state) {
        unstable_shading.valid = false;
        refresh_unstable_shading();
    }
    state.counters["pixels"] = shading_pixels * shading_pixels;
    state.counters["evaluated"] = last_shading_evaluations();
}
BENCHMARK_CAPTURE(shading_raster_build, damped_mathieu, 'm', 0.1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(shading_raster_build, undamped_mathieu, 'm', 0.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(shading_raster_build, damped_square_wave, 'r', 0.1)
    ->Unit(benchmark::kMillisecond);

// A chart frame of the explorer (a frame of the running motion with the chart kept), its parts
// copied from their textures or, as before they were kept, drawn directly.
void explore_chart_call(benchmark::State& state, char kind, double beta_value, bool cached) {
    if (!open_bench_window()) {
        state.SkipWithError("no X display (run under tests/with_xvfb.sh)");
        return;
    }
    fill_tables();
    dialog_state(kind, beta_value, 'a');
    install_explore_hooks();
    refresh_explore_analysis();
    chart_layers_cached = cached;
    display();  // the shading texture and the chart's textures made outside the timing
    glFinish();
    for (auto _ : state) {
        display();  // finds the raster current: nothing is recomputed
        glFinish();
    }
    chart_layers_cached = true;
    hooks = {};
}
BENCHMARK_CAPTURE(explore_chart_call, damped_mathieu_direct, 'm', 0.1, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(explore_chart_call, damped_mathieu_cached, 'm', 0.1, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(explore_chart_call, undamped_mathieu_direct, 'm', 0.0, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(explore_chart_call, undamped_mathieu_cached, 'm', 0.0, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Holding 'z' for a second: 30 keys 33 ms apart, each delivered to the window once its time has
// come (keys that came while a frame was drawn wait, as in the X queue), GLUT's loop run between
// them as glutMainLoop would, sleeping 1 ms when there is nothing to do. The time is from the last
// key to idle: the last scale drawn and its shading built and shown. "drawn_ms" is the time from
// the last key to the first frame after it. With folded false, the keys are taken as before they
// were folded: each drawn at once, with the chart drawn directly (the raster still built off the
// key path, which before took 48 / 89 ms more per key for the quarter of the window it covered).
void zoom_burst(benchmark::State& state, double beta_value, bool folded) {
    if (!open_bench_window()) {
        state.SkipWithError("no X display (run under tests/with_xvfb.sh)");
        return;
    }
    using clock = std::chrono::steady_clock;
    constexpr int keys = 30;
    const auto key_gap = std::chrono::microseconds(33333);
    fill_tables();
    install_explore_hooks();
    chart_layers_cached = folded;
    double drawn_seconds = 0.0;
    for (auto _ : state) {
        dialog_state('m', beta_value, 'a');
        chart_pinned = true;
        refresh_explore_analysis();
        display();
        glFinish();
        const auto start = clock::now();
        int sent = 0;
        while (sent < keys) {
            while (sent < keys && clock::now() >= start + sent * key_gap) {
                if (folded) {
                    keyboard('z', 0, 0);
                } else {
                    apply_explore_key('z');
                    display();
                }
                ++sent;
            }
            glutMainLoopEvent();
            glFinish();
            if (sent < keys) std::this_thread::sleep_until(start + sent * key_gap);
        }
        const auto last_key = start + (keys - 1) * key_gap;
        drawn_seconds += std::chrono::duration<double>(clock::now() - last_key).count();
        while (unstable_shading_pending() || !shading_raster_current()) {
            glutMainLoopEvent();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        glFinish();
        state.SetIterationTime(std::chrono::duration<double>(clock::now() - last_key).count());
    }
    state.counters["drawn_ms"] = 1000.0 * drawn_seconds / state.iterations();
    chart_layers_cached = true;
    hooks = {};
}
// Three bursts each, timed by hand from the last key.
void burst_runs(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
}
BENCHMARK_CAPTURE(zoom_burst, damped_folded, 0.1, true)->Apply(burst_runs);
BENCHMARK_CAPTURE(zoom_burst, undamped_folded, 0.0, true)->Apply(burst_runs);
BENCHMARK_CAPTURE(zoom_burst, damped_each_key_drawn, 0.1, false)->Apply(burst_runs);
BENCHMARK_CAPTURE(zoom_burst, undamped_each_key_drawn, 0.0, false)->Apply(burst_runs);

// The shading alone on a cleared frame (one textured quad over the window), against the
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
