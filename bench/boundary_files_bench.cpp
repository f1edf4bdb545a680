// Benchmarks of the boundary files: scanning and writing all 22 stored tables (what the build
// step does), and the load a user waits for after typing a tabled beta. Files go to a fresh
// temporary folder that is removed afterwards.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "bench_folder.h"
#include "data/boundary_files.h"
#include "state/program_state.h"

namespace {

// Scans and writes the stored tables whose names start with prefix ("" for all 22).
bool generate_files(const std::string& folder, const std::string& prefix) {
    for (const boundary_file_entry& file : boundary_file_list) {
        if (std::string(file.name).rfind(prefix, 0) != 0) continue;
        const std::string path = folder + "/" + file.name;
        if (generate_boundary_file(path.c_str(), file.kind, file.beta, epsilon_intervals) !=
            boundary_written)
            return false;
    }
    return true;
}

void generate_stored_tables(benchmark::State& state) {
    bench_folder folder;
    if (folder.path.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    for (auto _ : state) {
        if (!generate_files(folder.path, "")) {
            state.SkipWithError("writing a boundary file failed");
            break;
        }
    }
    state.counters["files"] = boundary_file_count;
}
BENCHMARK(generate_stored_tables)->Unit(benchmark::kSecond)->Iterations(1);

// Loading both tables of one tabled beta from files, with the console lines sent to /dev/null.
void load_tabled_beta(benchmark::State& state) {
    bench_folder folder;
    const std::filesystem::path previous = std::filesystem::current_path();
    if (folder.path.empty() || !generate_files(folder.path, "fileb1010") ||
        !generate_files(folder.path, "fileb2010")) {
        state.SkipWithError("cannot prepare the boundary files");
        return;
    }
    std::filesystem::current_path(folder.path);
    std::fflush(stdout);
    const int saved_stdout = dup(STDOUT_FILENO);
    const int null_device = open("/dev/null", O_WRONLY);
    dup2(null_device, STDOUT_FILENO);
    close(null_device);
    epsilon_steps = epsilon_intervals;
    for (auto _ : state) {
        load_boundary_files(0.1);
        benchmark::ClobberMemory();
    }
    std::fflush(stdout);
    dup2(saved_stdout, STDOUT_FILENO);
    close(saved_stdout);
    std::filesystem::current_path(previous);
}
BENCHMARK(load_tabled_beta)->Unit(benchmark::kMillisecond);

}  // namespace
