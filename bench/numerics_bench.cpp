// Benchmarks of the stability numerics: one evaluation of each characteristic function and of a
// Floquet monodromy matrix, and the two scans a user waits for after typing a beta that has no
// stored boundary files, in turn and on two threads.
#include <benchmark/benchmark.h>

#include "stability/boundary_scan.h"
#include "stability/boundary_scan_jobs.h"
#include "stability/floquet.h"
#include "state/numbers.h"

namespace {

boundary_table scratch;

// Evaluations made by the scans below, counted by the characteristic function they are handed.
long long evaluation_count = 0;

double counted_characteristic(char kind, double beta, double delta, double eps) {
    ++evaluation_count;
    return characteristic_value(kind, beta, delta, eps);
}

void characteristic_evaluation(benchmark::State& state, char kind) {
    double delta = 0.37;
    for (auto _ : state) {
        benchmark::DoNotOptimize(characteristic_value(kind, 0.3, delta, 1.3));
        delta = delta + 1e-9;
    }
}
BENCHMARK_CAPTURE(characteristic_evaluation, dc1, '1');
BENCHMARK_CAPTURE(characteristic_evaluation, ds1, '2');
BENCHMARK_CAPTURE(characteristic_evaluation, dc2, '3');
BENCHMARK_CAPTURE(characteristic_evaluation, ds2, '4');
BENCHMARK_CAPTURE(characteristic_evaluation, b1, '5');
BENCHMARK_CAPTURE(characteristic_evaluation, b2, '6');
BENCHMARK_CAPTURE(characteristic_evaluation, square_t, 'A');
BENCHMARK_CAPTURE(characteristic_evaluation, square_2t, 'B');

// One monodromy matrix of the Floquet analysis, the unit of work of paravib-boundaries --verify.
void floquet_evaluation(benchmark::State& state, char system) {
    double delta = 0.37;
    for (auto _ : state) {
        benchmark::DoNotOptimize(floquet_monodromy(system, 0.3, delta, 1.3));
        delta = delta + 1e-9;
    }
}
BENCHMARK_CAPTURE(floquet_evaluation, mathieu, 'm');
BENCHMARK_CAPTURE(floquet_evaluation, square_wave, 'r');

// One scan of the program's epsilon_intervals (500), as the program runs it; reports the
// characteristic evaluations of the same scan made one at a time and counted (not timed).
void scan(benchmark::State& state, char first, char second, double beta = 0.3) {
    for (auto _ : state) {
        boundary_scan(first, beta, scratch.counts, scratch.points, epsilon_intervals);
        if (second) boundary_scan(second, beta, scratch.counts, scratch.points, epsilon_intervals);
        benchmark::ClobberMemory();
    }
    evaluation_count = 0;
    boundary_scan(first, beta, scratch.counts, scratch.points, epsilon_intervals,
                  counted_characteristic);
    if (second) {
        boundary_scan(second, beta, scratch.counts, scratch.points, epsilon_intervals,
                      counted_characteristic);
    }
    state.counters["evaluations"] = static_cast<double>(evaluation_count);
}
BENCHMARK_CAPTURE(scan, b1_beta_0_3, '5', '\0')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scan, b2_beta_0_3, '6', '\0')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scan, b1_and_b2_beta_0_3, '5', '6')->Unit(benchmark::kMillisecond);
// A huge damping overflows the determinants; the pair should cost about what it costs at 0.3.
BENCHMARK_CAPTURE(scan, b1_and_b2_beta_1e20, '5', '6', 1e20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scan, b1_and_b2_beta_minus_1e20, '5', '6', -1e20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scan, square_t_beta_0_3, 'A', '\0')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scan, square_2t_beta_0_3, 'B', '\0')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scan, square_both_beta_0_3, 'A', 'B')->Unit(benchmark::kMillisecond);

// The two scans of a computed beta as the dialog runs them, on one thread (in turn) and on two:
// wall time, which is what the user waits for.
boundary_table pair_tables[2];

bool keep_going(int, void*) { return true; }

void scan_pair_on(benchmark::State& state, char first, char second) {
    const int threads = static_cast<int>(state.range(0));
    const boundary_scan_job jobs[] = {{first, 0.3, &pair_tables[0], epsilon_intervals},
                                      {second, 0.3, &pair_tables[1], epsilon_intervals}};
    for (auto _ : state) {
        boundary_scan_jobs(jobs, 2, threads, keep_going, nullptr);
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(scan_pair_on, b1_and_b2_beta_0_3, '5', '6')
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scan_pair_on, square_both_beta_0_3, 'A', 'B')
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
