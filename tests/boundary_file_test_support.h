// Helpers of the boundary-file tests: a scratch folder that is removed afterwards, whole-file
// reads and writes, and a table filled with a recognisable pattern.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "state/boundary_table.h"

// A fresh folder under the system's temporary folder, removed with everything in it.
struct scratch_folder {
    std::filesystem::path path;
    scratch_folder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "paravib-data-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path = pattern;
    }
    ~scratch_folder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

inline void write_text(const std::string& file_name, const std::string& text) {
    std::ofstream out(file_name, std::ios::binary);
    out << text;
}

inline std::string read_text(const std::string& file_name) {
    std::ifstream in(file_name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Counts 77 (impossible in a file) and points 1000 + 10 row + column / 10000, so that any cell
// a read or a scan writes by mistake differs from its old value.
inline void fill_with_pattern(boundary_table& table) {
    for (int i = 0; i < boundary_columns; ++i) {
        table.counts[i] = 77;
        for (int j = 0; j < boundary_rows; ++j)
            table.points[j][i] = 1000.0 + 10.0 * j + i / 10000.0;
    }
}

inline bool same_bytes(const boundary_table& a, const boundary_table& b) {
    return std::memcmp(&a, &b, sizeof(boundary_table)) == 0;
}
