// Several boundary scans at once: each job is one table of one kind and damping, the jobs are
// shared among a few threads, and the caller hears of each finished table in the order of the jobs.
#pragma once

#include "state/boundary_table.h"

// One table to scan: columns 0 ... n of kind at beta into *table, as boundary_scan does.
struct boundary_scan_job {
    char kind;
    double beta;
    boundary_table* table;
    int n;
};

// Called on the caller's thread once job index and every job before it are complete; returning
// false stops the work: no job after it is reported, and no further job is started.
using boundary_scan_ready = bool (*)(int index, void* context);

// The threads a scan can use on this machine: its hardware threads (at least 1), or 1 in a build
// without threads (the web build, whose WebAssembly has none).
int boundary_scan_thread_count();

// Most jobs one call takes (the 22 stored tables fit).
constexpr int max_boundary_scan_jobs = 32;

// Scans jobs[0 ... count - 1] (count at most max_boundary_scan_jobs) on up to threads threads, the caller's among them, and calls
// ready(i, context) for i = 0, 1, ... in order on the caller's thread. Every table is the one a
// single boundary_scan gives. With one thread, without threads in the build, or when no further
// thread can be started, the jobs run one after the other, each reported before the next starts.
// Returns when every job started has ended; the result is the number of jobs reported.
int boundary_scan_jobs(const boundary_scan_job* jobs, int count, int threads,
                       boundary_scan_ready ready, void* context);
