// Tests of writing and reading one boundary file: the exact text written, the round trip to six
// decimals, line ends, and files that must be refused without touching the table or beta.
#include "data/boundary_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <random>
#include <string>

#include "boundary_file_test_support.h"
#include "state/program_state.h"

namespace {

// A hand-made table of three columns (n = 2) and the text it must become.
void fill_small_table(boundary_table& table) {
    fill_with_pattern(table);
    table.counts[0] = 0;
    table.points[0][0] = 0.0;
    table.points[1][0] = no_root_marker;  // a scan's no-root marker, never written
    table.counts[1] = 2;
    table.points[0][1] = 0.02;
    table.points[1][1] = -0.5;
    table.points[2][1] = 1.25;
    table.counts[2] = 1;
    table.points[0][2] = 0.04;
    table.points[1][2] = 9.87654321;
}

const char* const small_table_text =
    "  0.050000\n"
    "  0  0.000000\n"
    "  2  0.020000 -0.500000  1.250000\n"
    "  1  0.040000  9.876543\n";

class boundary_file_io : public ::testing::Test {
protected:
    void SetUp() override {
        beta = -7.0;
        fill_with_pattern(table);
        before = table;
    }
    bool read(const std::string& text, int n = 2) {
        write_text(folder.file("table"), text);
        return read_boundary_file(folder.file("table").c_str(), n, table.counts, table.points,
                                  &beta);
    }
    scratch_folder folder;
    boundary_table table;
    boundary_table before;
};

TEST_F(boundary_file_io, writes_the_fixed_width_text) {
    boundary_table source;
    fill_small_table(source);
    ASSERT_EQ(
        write_boundary_file(folder.file("out").c_str(), 0.05, 2, source.counts, source.points),
        boundary_written);
    EXPECT_EQ(read_text(folder.file("out")), small_table_text);
    // Only the final name is left: the temporary file was renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(boundary_file_io, round_trip_keeps_counts_and_six_decimals) {
    boundary_table source;
    fill_small_table(source);
    source.points[1][1] = -0.12345649;  // rounds down at the sixth decimal
    source.points[2][1] = 3.00000051;   // rounds up
    ASSERT_EQ(
        write_boundary_file(folder.file("table").c_str(), 0.1, 2, source.counts, source.points),
        boundary_written);
    ASSERT_TRUE(
        read_boundary_file(folder.file("table").c_str(), 2, table.counts, table.points, &beta));

    EXPECT_EQ(beta, 0.1);
    const int counts[3] = {0, 2, 1};
    const double rounded[3][3] = {{0.0}, {0.02, -0.123456, 3.000001}, {0.04, 9.876543}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table.counts[i], counts[i]);
        for (int j = 0; j <= counts[i]; ++j) EXPECT_EQ(table.points[j][i], rounded[i][j]);
        // Rows above the count keep what they held: the no-root marker is not in the file.
        for (int j = counts[i] + 1; j < boundary_rows; ++j)
            EXPECT_EQ(table.points[j][i], before.points[j][i]);
    }
    for (int i = 3; i < boundary_columns; ++i) {
        ASSERT_EQ(table.counts[i], before.counts[i]) << "column " << i;
        for (int j = 0; j < boundary_rows; ++j) ASSERT_EQ(table.points[j][i], before.points[j][i]);
    }
}

// Any white space separates numbers: the same table in each layout.
TEST_F(boundary_file_io, line_ends_and_layout_do_not_matter) {
    ASSERT_TRUE(read(small_table_text));
    const boundary_table lf = table;
    struct layout_case {
        const char* name;
        const char* text;
    };
    const layout_case cases[] = {
        {"CRLF",
         "  0.050000\r\n  0  0.000000\r\n  2  0.020000 -0.500000  1.250000\r\n"
         "  1  0.040000  9.876543\r\n"},
        {"one line, no final line end", "0.05 0 0 2 0.02 -0.5 1.25 1 0.04 9.876543"},
        {"tabs and blank lines",
         "\n0.050000\t\n\n0\t0.000000\n2 0.02\n-0.5 1.25\n1 0.04 9.876543\n\n"},
    };
    for (const layout_case& c : cases) {
        SCOPED_TRACE(c.name);
        table = before;
        beta = -7.0;
        ASSERT_TRUE(read(c.text));
        EXPECT_TRUE(same_bytes(table, lf));
        EXPECT_EQ(beta, 0.05);
    }
}

// Each file must be refused as a whole: no cell of the table and not beta may change.
TEST_F(boundary_file_io, refused_files_leave_table_and_beta_untouched) {
    struct bad_case {
        const char* name;
        const char* text;
    };
    const bad_case cases[] = {
        {"empty file", ""},
        {"white space only", " \r\n\t\n"},
        {"beta only", "  0.050000\n"},
        {"last column missing", "  0.050000\n  0  0.000000\n  2  0.020000 -0.500000  1.250000\n"},
        {"last root missing",
         "  0.050000\n  0  0.000000\n  2  0.020000 -0.500000  1.250000\n  1  0.040000\n"},
        {"count 10", "0.05\n0 0\n10 0.02 1 2 3 4 5 6 7 8 9 10\n1 0.04 9.8\n"},
        {"count -1", "0.05\n0 0\n-1 0.02\n1 0.04 9.8\n"},
        {"count with a fraction", "0.05\n0 0\n2.0 0.02 -0.5 1.25\n1 0.04 9.8\n"},
        {"count 3.5", "0.05\n0 0\n3.5 0.02 -0.5 1.25\n1 0.04 9.8\n"},
        {"count far beyond int", "0.05\n0 0\n99999999999999999999 0.02\n1 0.04 9.8\n"},
        {"text in a number", "0.05\n0 0\n2 0.02 -0.5 1.2x5\n1 0.04 9.8\n"},
        {"word for a number", "0.05\n0 0\n2 0.02 minus 1.25\n1 0.04 9.8\n"},
        {"two numbers run together", "0.05\n0 0\n2 0.02 -0.5-1.25\n1 0.04 9.8 0\n"},
        {"NaN root", "0.05\n0 0\n2 0.02 nan 1.25\n1 0.04 9.8\n"},
        {"infinite epsilon", "0.05\n0 inf\n2 0.02 -0.5 1.25\n1 0.04 9.8\n"},
        {"overflow to infinity", "0.05\n0 0\n2 0.02 -0.5 1e400\n1 0.04 9.8\n"},
        {"beta is NaN", "nan\n0 0\n2 0.02 -0.5 1.25\n1 0.04 9.8\n"},
        {"beta is text", "beta\n0 0\n2 0.02 -0.5 1.25\n1 0.04 9.8\n"},
        {"trailing garbage", "0.05\n0 0\n2 0.02 -0.5 1.25\n1 0.04 9.8\nend\n"},
        {"one column too many", "0.05\n0 0\n2 0.02 -0.5 1.25\n1 0.04 9.8\n0 0.06\n"},
        {"epsilon of another column", "0.05\n0 0\n2 0.04 -0.5 1.25\n1 0.02 9.8\n"},
        {"epsilon off in the sixth decimal", "0.05\n0 0\n2 0.020001 -0.5 1.25\n1 0.04 9.8\n"},
    };
    for (const bad_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(read(c.text));
        EXPECT_TRUE(same_bytes(table, before));
        EXPECT_EQ(beta, -7.0);
    }
}

// Only a regular file is read. A FIFO would block an ordinary open until some writer comes: the
// alarm ends the test process if the reader ever waits for one.
TEST_F(boundary_file_io, missing_and_irregular_files_are_refused_at_once) {
    ASSERT_EQ(mkfifo(folder.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink("fifo", folder.file("link-to-fifo").c_str()), 0);
    struct file_case {
        std::string name;
        int reason;  // errno after the refusal
    };
    const file_case cases[] = {
        {folder.file("absent"), ENOENT}, {folder.file("fifo"), 0}, {folder.file("link-to-fifo"), 0},
        {folder.path.string(), 0},       {"/dev/null", 0},
    };
    alarm(60);
    for (const file_case& c : cases) {
        SCOPED_TRACE(c.name);
        errno = -1;
        EXPECT_FALSE(read_boundary_file(c.name.c_str(), 2, table.counts, table.points, &beta));
        EXPECT_EQ(errno, c.reason);
    }
    alarm(0);
    EXPECT_TRUE(same_bytes(table, before));
    EXPECT_EQ(beta, -7.0);
}

TEST_F(boundary_file_io, bad_column_range_is_refused) {
    write_text(folder.file("table"), small_table_text);
    EXPECT_FALSE(
        read_boundary_file(folder.file("table").c_str(), -1, table.counts, table.points, &beta));
    EXPECT_FALSE(read_boundary_file(folder.file("table").c_str(), boundary_columns, table.counts,
                                    table.points, &beta));
    EXPECT_TRUE(same_bytes(table, before));
    EXPECT_EQ(beta, -7.0);
}

// A table that could not be read back is not written, and nothing is left in the folder.
TEST_F(boundary_file_io, unwritable_tables_and_paths_write_nothing) {
    boundary_table source;
    fill_small_table(source);
    struct write_case {
        const char* name;
        int column;
        int count;
        double root;
        int n;
        double beta;
        boundary_write_result expected;
    };
    const write_case cases[] = {
        {"count 10", 1, 10, 0.5, 2, 0.0, boundary_table_invalid},
        {"count -1", 1, -1, 0.5, 2, 0.0, boundary_table_invalid},
        {"NaN root", 2, 1, NAN, 2, 0.0, boundary_table_invalid},
        {"infinite root", 2, 1, INFINITY, 2, 0.0, boundary_table_invalid},
        {"root 100 fills its field", 2, 1, 100.0, 2, 0.0, boundary_table_invalid},
        {"root rounding up to 100", 2, 1, 99.9999996, 2, 0.0, boundary_table_invalid},
        {"root -10 fills its field", 2, 1, -10.0, 2, 0.0, boundary_table_invalid},
        {"NaN beta", 2, 1, 0.5, 2, NAN, boundary_table_invalid},
        {"beta line longer than the reader reads", 2, 1, 0.5, 2, 1e308, boundary_table_invalid},
        {"n beyond the table", 2, 1, 0.5, boundary_columns, 0.0, boundary_table_invalid},
        {"negative n", 2, 1, 0.5, -1, 0.0, boundary_table_invalid},
    };
    for (const write_case& c : cases) {
        SCOPED_TRACE(c.name);
        boundary_table bad = source;
        bad.counts[c.column] = c.count;
        bad.points[1][c.column] = c.root;
        EXPECT_EQ(
            write_boundary_file(folder.file("out").c_str(), c.beta, c.n, bad.counts, bad.points),
            c.expected);
    }
    EXPECT_EQ(write_boundary_file(folder.file("no/such/folder").c_str(), 0.0, 2, source.counts,
                                  source.points),
              boundary_create_failed);
    EXPECT_EQ(write_boundary_file(folder.path.c_str(), 0.0, 2, source.counts, source.points),
              boundary_target_not_regular);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}

// Whatever the writer accepts, the reader takes back: the same counts, and each number as its
// six-decimal text reads. Random tables of up to four columns, with dampings and values from the
// everyday to the extreme, a few epsilons out of place; what the writer refuses leaves no file.
TEST_F(boundary_file_io, whatever_is_written_reads_back) {
    std::mt19937_64 random(20261207);
    const double betas[] = {0.0,   -0.0,   0.1,   5.0,    -2.5,  123.5,  1e-320, 1e100,
                            1e118, -1e118, 1e119, -1e119, 1e120, -1e120, 1e200,  1e308};
    const double values[] = {0.0,        -0.0,       0.5,        -0.9999995, 9.9999994,
                             99.9999994, 99.9999996, -9.9999994, -9.9999996, 1e-7,
                             -1e-7,      1e300,      NAN};
    auto six_decimals = [](double x) {
        char text[400];
        std::snprintf(text, sizeof text, "%.6f", x);
        return std::strtod(text, nullptr);
    };
    int written = 0, refused = 0;
    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE(trial);
        const int n = static_cast<int>(random() % 4);
        const double file_beta = betas[random() % std::size(betas)];
        boundary_table source;
        fill_with_pattern(source);
        for (int i = 0; i <= n; ++i) {
            source.counts[i] = static_cast<int>(random() % 11);  // 10 now and then: refused
            const int shift = static_cast<int>(random() % 16);   // epsilon off in 1 of 16
            source.points[0][i] = i * 0.02 + (shift == 0 ? 1e-6 : shift == 1 ? 4e-7 : 0.0);
            for (int j = 1; j < boundary_rows; ++j)
                source.points[j][i] = random() % 4 == 0 ? values[random() % std::size(values)]
                                                        : -1.0 + 11.0 * (random() % 1000000) / 1e6;
        }
        const std::string name = folder.file("table");
        std::filesystem::remove(name);
        if (write_boundary_file(name.c_str(), file_beta, n, source.counts, source.points) !=
            boundary_written) {
            EXPECT_FALSE(std::filesystem::exists(name));
            ++refused;
            continue;
        }
        ++written;
        double read_beta = -7.0;
        ASSERT_TRUE(read_boundary_file(name.c_str(), n, table.counts, table.points, &read_beta))
            << read_text(name);
        EXPECT_EQ(read_beta, six_decimals(file_beta));
        for (int i = 0; i <= n; ++i) {
            ASSERT_EQ(table.counts[i], source.counts[i]);
            for (int j = 0; j <= source.counts[i]; ++j)
                EXPECT_EQ(table.points[j][i], six_decimals(source.points[j][i])) << i << " " << j;
        }
    }
    EXPECT_GT(written, 30);
    EXPECT_GT(refused, 30);
}

// The widest values whose fields still start with a blank read back as written.
TEST_F(boundary_file_io, widest_separated_fields_round_trip) {
    boundary_table source;
    fill_small_table(source);
    source.points[1][1] = -9.9999994;
    source.points[2][1] = 99.9999994;
    ASSERT_EQ(
        write_boundary_file(folder.file("table").c_str(), 123.5, 2, source.counts, source.points),
        boundary_written);
    ASSERT_TRUE(
        read_boundary_file(folder.file("table").c_str(), 2, table.counts, table.points, &beta));
    EXPECT_EQ(table.points[1][1], -9.999999);
    EXPECT_EQ(table.points[2][1], 99.999999);
    EXPECT_EQ(beta, 123.5);  // line 1 stands alone, so beta may fill its field
}

TEST_F(boundary_file_io, writing_replaces_an_earlier_file) {
    write_text(folder.file("out"),
               "old text that is longer than the new table, so no tail may remain\n"
               "old text that is longer than the new table, so no tail may remain\n");
    boundary_table source;
    fill_small_table(source);
    ASSERT_EQ(
        write_boundary_file(folder.file("out").c_str(), 0.05, 2, source.counts, source.points),
        boundary_written);
    EXPECT_EQ(read_text(folder.file("out")), small_table_text);
}

}  // namespace
