// A temporary folder for the benchmarks that write boundary files, removed with its files when the
// benchmark ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

// path is empty when no folder could be made.
struct bench_folder {
    std::string path;
    bench_folder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "paravib-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path = pattern;
    }
    ~bench_folder() {
        if (!path.empty()) std::filesystem::remove_all(path);
    }
};
