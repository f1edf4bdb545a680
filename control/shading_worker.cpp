// One build at a time on shading_thread_count() detached threads, which share the rows of a
// private raster through one counter and count themselves out when done; the program state is
// read and written on the caller's thread only, so the threads see nothing but their key.
#include "control/shading_worker.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "control/explore_analysis.h"
#include "state/explore_state.h"

namespace {

#ifndef __EMSCRIPTEN__

// The build in flight: its key, the rows it fills, the row counter, the threads still at work
// and the verdicts they computed. Touched by the threads only between start and count-out.
struct background_build {
    bool started;
    shading_key key;
    unsigned char rows[shading_pixels][shading_pixels];
    std::atomic<int> next_row;
    std::atomic<bool> cancel;
    std::atomic<int> running;
    std::atomic<int> evaluations;
};
background_build build;

void build_thread() {
    build.evaluations += build_shading_rows(build.key, build.rows, build.next_row, build.cancel);
    build.running.fetch_sub(1, std::memory_order_release);
}

// A build starts once the view has stayed for settle_time: a held key (autorepeat about every
// 33 ms) starts none, so its frames have both cores, and the last view's build starts 50 ms
// after the key is let go.
constexpr std::chrono::milliseconds settle_time{50};
struct settling_view {
    bool waiting;
    shading_key key;
    std::chrono::steady_clock::time_point since;
};
settling_view settling;

void start_build(const shading_key& key) {
    settling.waiting = false;
    build.started = true;
    build.key = key;
    build.next_row = 0;
    build.cancel = false;
    build.evaluations = 0;
    const int threads = shading_thread_count();
    build.running = threads;
    for (int i = 0; i < threads; ++i) std::thread(build_thread).detach();
}

bool threads_done() { return build.running.load(std::memory_order_acquire) == 0; }

void wait_for_threads() {
    while (!threads_done()) std::this_thread::yield();
}

#endif

}  // namespace

#ifdef __EMSCRIPTEN__

bool request_unstable_shading() {
    refresh_unstable_shading();
    return false;
}
bool collect_unstable_shading() { return false; }
bool unstable_shading_pending() { return false; }
void finish_unstable_shading() {}

#else

bool request_unstable_shading() {
    if (!shading_wanted() || shading_raster_current()) {
        settling.waiting = false;
        return false;
    }
    const shading_key key = present_shading_key();
    if (build.started && same_shading_key(build.key, key)) return true;
    if (build.started) {
        build.cancel = true;
        wait_for_threads();
        build.started = false;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!settling.waiting || !same_shading_key(settling.key, key)) {
        settling = {true, key, now};
        return true;
    }
    if (now - settling.since >= settle_time) start_build(key);
    return true;
}

bool collect_unstable_shading() {
    if (!build.started || !threads_done()) return false;
    build.started = false;
    if (!same_shading_key(build.key, present_shading_key())) return false;
    shading_raster& r = unstable_shading;
    std::memcpy(r.unstable, build.rows, sizeof r.unstable);
    r.made_for = build.key;
    shading_build.evaluations = build.evaluations;
    ++r.generation;
    r.valid = true;
    return true;
}

bool unstable_shading_pending() { return build.started || settling.waiting; }

void finish_unstable_shading() {
    if (request_unstable_shading() && !build.started) start_build(present_shading_key());
    if (!build.started) return;
    wait_for_threads();
    collect_unstable_shading();
}

#endif
