// Benchmarks of paravib-boundaries --verify: the check of stored tables (generated into a temporary
// folder first), and the delta grid of one epsilon column for the ten Mathieu dampings of the
// stored tables, one integration per point and damping against one set of shared half periods.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "bench_folder.h"
#include "data/boundary_files.h"
#include "stability/floquet.h"
#include "state/numbers.h"
#include "tools/boundary_verify.h"

namespace {

constexpr double grid_eps = 2.0;
constexpr double dampings[] = {0.0, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0};
constexpr int damping_count = sizeof dampings / sizeof dampings[0];
constexpr int grid_values = damping_count * verify_grid_points;

double grid_delta(int k) { return verify_grid_first + k * verify_grid_step; }

// P_T of each damping at each grid point; beta 0 takes the undamped half-period matrix, as the
// undamped tables do, the others the monodromy.
double one_at_a_time[grid_values], shared[grid_values];

void grid_one_at_a_time() {
    for (int b = 0; b < damping_count; ++b)
        for (int k = 0; k < verify_grid_points; ++k) {
            double delta = grid_delta(k);
            one_at_a_time[b * verify_grid_points + k] =
                b == 0 ? floquet_half_period('m', 0.0, delta, grid_eps).a[1][0]
                       : floquet_p_t(floquet_monodromy('m', dampings[b], delta, grid_eps));
        }
}

double wanted[grid_values], distinct[grid_values];
transfer_matrix half[grid_values];

void grid_shared() {
    for (int b = 0; b < damping_count; ++b)
        for (int k = 0; k < verify_grid_points; ++k)
            wanted[b * verify_grid_points + k] = grid_delta(k) - dampings[b] * dampings[b];
    std::copy(wanted, wanted + grid_values, distinct);
    std::sort(distinct, distinct + grid_values);
    int count = static_cast<int>(std::unique(distinct, distinct + grid_values) - distinct);
    floquet_half_periods(grid_eps, distinct, count, half);
    for (int i = 0; i < grid_values; ++i) {
        const transfer_matrix& h =
            half[std::lower_bound(distinct, distinct + count, wanted[i]) - distinct];
        double beta = dampings[i / verify_grid_points];
        shared[i] = beta == 0.0 ? h.a[1][0] : floquet_p_t(floquet_monodromy_of_half(beta, h));
    }
}

void verify_grid(benchmark::State& state, void (*grid)()) {
    for (auto _ : state) {
        grid();
        benchmark::ClobberMemory();
    }
    grid_one_at_a_time();
    grid_shared();
    if (std::memcmp(one_at_a_time, shared, sizeof shared) != 0)
        state.SkipWithError("the shared grid differs from the one computed point by point");
}
BENCHMARK_CAPTURE(verify_grid, one_at_a_time, grid_one_at_a_time)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(verify_grid, shared, grid_shared)->Unit(benchmark::kMillisecond);

// --verify of the stored tables whose names start with prefix, their report sent to /dev/null.
void verify_stored(benchmark::State& state, const char* prefix) {
    bench_folder folder;
    std::string paths[boundary_file_count];
    verify_file files[boundary_file_count];
    int count = 0;
    for (const boundary_file_entry& file : boundary_file_list) {
        if (std::strncmp(file.name, prefix, std::strlen(prefix)) != 0) continue;
        paths[count] = folder.path + "/" + file.name;
        if (folder.path.empty() ||
            generate_boundary_file(paths[count].c_str(), file.kind, file.beta, epsilon_intervals) !=
                boundary_written) {
            state.SkipWithError("no boundary files");
            return;
        }
        files[count] = {paths[count].c_str(), file.kind, file.beta};
        ++count;
    }
    std::fflush(stdout);
    int kept = dup(1), null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    int status = 0;
    for (auto _ : state) status |= verify_boundary_files(files, count);
    std::fflush(stdout);
    dup2(kept, 1);
    close(kept);
    close(null);
    if (status != 0) state.SkipWithError("a stored table failed its check");
}
BENCHMARK_CAPTURE(verify_stored, all_22, "")
    ->Unit(benchmark::kSecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK_CAPTURE(verify_stored, undamped_4, "filed")
    ->Unit(benchmark::kSecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
