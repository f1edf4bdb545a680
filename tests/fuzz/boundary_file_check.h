// The promises of the boundary-file reader, checked on one input file: shared by the fuzz target
// and by the replay of its corpus in the ordinary test run.
#pragma once

// Columns 0 ... 3 are read from each input: small enough for a fuzzer to build valid files.
constexpr int fuzz_intervals = 3;

// Reads the file at path into a table full of a known pattern and checks: a refused file changed
// neither the table nor beta; an accepted one changed only columns 0 ... 3, rows 0 ... count, has
// counts 0 ... 9, finite values and the epsilon i * 0.02 in row 0 of column i, and reads to exactly the same numbers as a plain "%lf"/"%d"
// reader would, with nothing after them. Sets *accepted to the reader's answer. Returns nullptr
// when all holds, else a description of what broke.
const char* check_boundary_file(const char* path, bool* accepted);
