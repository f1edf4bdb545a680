// The program's Hill evaluation beside the plain dense elimination, in one process: nanoseconds per
// evaluation of each Hill kind along a scan's walk (one point per call, and four per call as the
// scan takes B1 and B2), both damped scans at beta 0.3, and the 22 stored tables. Each is run five
// times in turn with the plain elimination and with the program's evaluation; the counters give
// the best processor time of each and their ratio. The two results are compared bit for bit
// (tables and files byte for byte) before anything is reported.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_folder.h"
#include "data/boundary_files.h"
#include "plain_elimination.h"
#include "stability/boundary_scan.h"
#include "stability/hill_banded.h"
#include "state/numbers.h"

namespace {

constexpr int rounds = 5;

// Processor time of this thread, so that other processes on a shared machine do not count.
double cpu_seconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The walk of one column, delta from -1 to 10 in steps of 0.02, at eps = 0, 1, ..., 10 and
// beta 0.3: 6 061 evaluations, their values into values.
int walk(characteristic_function d, char kind, std::vector<double>& values) {
    int count = 0;
    for (int column = 0; column <= 10; ++column) {
        double eps = column;
        for (int step = 0; step <= 550; ++step)
            values[count++] = d(kind, 0.3, -1.0 + 0.02 * step, eps);
    }
    return count;
}

// The same walk four points per call, as the scan evaluates B1 and B2.
int batched_walk(char kind, std::vector<double>& values) {
    int count = 0;
    for (int column = 0; column <= 10; ++column) {
        double eps = column;
        for (int step = 0; step <= 550; step += hill_batch_size) {
            double delta[hill_batch_size];
            int n = std::min(hill_batch_size, 551 - step);
            for (int l = 0; l < n; ++l) delta[l] = -1.0 + 0.02 * (step + l);
            hill_banded_batch(kind, 0.3, delta, n, eps, &values[count]);
            count += n;
        }
    }
    return count;
}

void report(benchmark::State& state, const char* unit, double plain, double banded, double scale) {
    state.counters[std::string("plain_") + unit] = plain * scale;
    state.counters[std::string("banded_") + unit] = banded * scale;
    state.counters["ratio"] = banded / plain;
    state.SetIterationTime(banded);
}

void hill_evaluation(benchmark::State& state, char kind) {
    std::vector<double> plain_values(6061), banded_values(6061), batch_values(6061);
    int n = walk(plain_characteristic, kind, plain_values);
    walk(characteristic_value, kind, banded_values);
    batched_walk(kind, batch_values);
    if (std::memcmp(plain_values.data(), banded_values.data(), sizeof(double) * n) != 0 ||
        std::memcmp(plain_values.data(), batch_values.data(), sizeof(double) * n) != 0) {
        state.SkipWithError("the two evaluations differ");
        return;
    }
    for (auto _ : state) {
        double plain = 1e300, banded = 1e300, batch = 1e300;
        for (int round = 0; round < rounds; ++round) {
            double start = cpu_seconds();
            walk(plain_characteristic, kind, plain_values);
            plain = std::min(plain, cpu_seconds() - start);
            start = cpu_seconds();
            walk(characteristic_value, kind, banded_values);
            banded = std::min(banded, cpu_seconds() - start);
            start = cpu_seconds();
            batched_walk(kind, batch_values);
            batch = std::min(batch, cpu_seconds() - start);
        }
        report(state, "ns", plain / n, banded / n, 1e9);
        state.counters["batch_ns"] = batch / n * 1e9;
        state.counters["batch_ratio"] = batch / plain;
    }
}
BENCHMARK_CAPTURE(hill_evaluation, dc1, '1')->Iterations(1)->UseManualTime();
BENCHMARK_CAPTURE(hill_evaluation, ds1, '2')->Iterations(1)->UseManualTime();
BENCHMARK_CAPTURE(hill_evaluation, dc2, '3')->Iterations(1)->UseManualTime();
BENCHMARK_CAPTURE(hill_evaluation, ds2, '4')->Iterations(1)->UseManualTime();
BENCHMARK_CAPTURE(hill_evaluation, b1, '5')->Iterations(1)->UseManualTime();
BENCHMARK_CAPTURE(hill_evaluation, b2, '6')->Iterations(1)->UseManualTime();

boundary_table plain_b1, plain_b2, banded_b1, banded_b2;

void damped_scans(characteristic_function d, boundary_table& b1, boundary_table& b2) {
    boundary_scan('5', 0.3, b1.counts, b1.points, epsilon_intervals, d);
    boundary_scan('6', 0.3, b2.counts, b2.points, epsilon_intervals, d);
}

// What a user waits for after typing a beta without stored files (here 0.3).
void damped_scans_against_plain(benchmark::State& state) {
    for (auto _ : state) {
        double plain = 1e300, banded = 1e300;
        for (int round = 0; round < rounds; ++round) {
            double start = cpu_seconds();
            damped_scans(plain_characteristic, plain_b1, plain_b2);
            plain = std::min(plain, cpu_seconds() - start);
            start = cpu_seconds();
            damped_scans(characteristic_value, banded_b1, banded_b2);
            banded = std::min(banded, cpu_seconds() - start);
        }
        if (std::memcmp(&plain_b1, &banded_b1, sizeof plain_b1) != 0 ||
            std::memcmp(&plain_b2, &banded_b2, sizeof plain_b2) != 0) {
            state.SkipWithError("the tables differ");
            break;
        }
        report(state, "s", plain, banded, 1.0);
    }
}
BENCHMARK(damped_scans_against_plain)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

bool generate_all(characteristic_function d, const std::string& folder) {
    for (const boundary_file_entry& file : boundary_file_list) {
        const std::string path = folder + "/" + file.name;
        if (generate_boundary_file(path.c_str(), file.kind, file.beta, epsilon_intervals, d) !=
            boundary_written)
            return false;
    }
    return true;
}

std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the build step does: scan and write the 22 stored tables.
void stored_tables_against_plain(benchmark::State& state) {
    bench_folder plain_folder, banded_folder;
    if (plain_folder.path.empty() || banded_folder.path.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    for (auto _ : state) {
        double plain = 1e300, banded = 1e300;
        bool written = true;
        for (int round = 0; round < rounds && written; ++round) {
            double start = cpu_seconds();
            written = generate_all(plain_characteristic, plain_folder.path);
            plain = std::min(plain, cpu_seconds() - start);
            start = cpu_seconds();
            written = written && generate_all(characteristic_value, banded_folder.path);
            banded = std::min(banded, cpu_seconds() - start);
        }
        if (!written) {
            state.SkipWithError("writing a boundary file failed");
            break;
        }
        for (const boundary_file_entry& file : boundary_file_list) {
            if (file_text(plain_folder.path + "/" + file.name) !=
                file_text(banded_folder.path + "/" + file.name)) {
                state.SkipWithError("the files differ");
                return;
            }
        }
        report(state, "s", plain, banded, 1.0);
    }
}
BENCHMARK(stored_tables_against_plain)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
