// Tests of the loader for tabled damping values: the exact console bytes, which files fill which
// tables, the beta left behind, and the scan that replaces a missing or damaged file.
#include "data/boundary_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "boundary_file_test_support.h"
#include "stability/boundary_scan.h"
#include "state/program_state.h"

namespace {

// The text NAME of the golden copy of the console texts: its lines joined, \n as a line feed.
std::string dialog_text(const std::string& name) {
    std::istringstream lines(read_text(DIALOG_TEXTS));
    std::string line, text;
    while (std::getline(lines, line)) {
        if (line.compare(0, name.size() + 1, name + "\t") != 0) continue;
        for (std::size_t i = name.size() + 1; i < line.size(); ++i) {
            const bool escape = line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 'n';
            text += escape ? '\n' : line[i];
            i += escape;
        }
    }
    return text;
}

std::string replaced(std::string text, const std::string& field, const std::string& value) {
    return text.replace(text.find(field), field.size(), value);
}

std::string undamped_lines() {
    return "\n" + dialog_text("LOAD_DC1") + dialog_text("LOAD_DS1") + dialog_text("LOAD_DC2") +
           dialog_text("LOAD_DS2");
}

std::string damped_lines(const std::string& shown_beta) {
    return "\n" + replaced(dialog_text("LOAD_B1"), "{beta}", shown_beta) +
           replaced(dialog_text("LOAD_B2"), "{beta}", shown_beta);
}

std::string unreadable(const std::string& name) {
    return replaced(dialog_text("UNREADABLE_FILE"), "{name}", name);
}

// A valid file of three columns (epsilon_steps = 2 in these tests) whose first root is marker
// (-10 < marker < 100, so that its field keeps a leading blank), to recognise where it went. The
// beta line holds file_beta in full, so that betas that differ only beyond the six decimals of a
// file (the same damping to the loader) tell which file was read last.
std::string marked_file(double file_beta, double marker) {
    char text[256];
    std::snprintf(text, sizeof text, "%.17g\n  0  0.000000\n  1  0.020000%10.6f\n  0  0.040000\n",
                  file_beta, marker);
    return text;
}

// Everything load_boundary_files writes on standard output, captured at the descriptor.
std::string load_and_capture(double typed_beta) {
    std::fflush(stdout);
    char capture_name[] = "/tmp/paravib-stdout-XXXXXX";
    const int capture = mkstemp(capture_name);
    const int saved = dup(STDOUT_FILENO);
    dup2(capture, STDOUT_FILENO);
    load_boundary_files(typed_beta);
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(capture);
    std::string text = read_text(capture_name);
    unlink(capture_name);
    return text;
}

class boundary_file_loader : public ::testing::Test {
protected:
    void SetUp() override {
        previous_folder = std::filesystem::current_path();
        std::filesystem::current_path(folder.path);
        epsilon_steps = 2;
        beta = -7.0;
        two_beta = -14.0;
        for (boundary_table* table : tables) fill_with_pattern(*table);
        boundary_dc1.points[0][1500] = 1.0;  // tell the tables apart
        boundary_ds1.points[0][1500] = 2.0;
        boundary_dc2.points[0][1500] = 3.0;
        boundary_ds2.points[0][1500] = 4.0;
        boundary_b1.points[0][1500] = 5.0;
        boundary_b2.points[0][1500] = 6.0;
    }
    void TearDown() override { std::filesystem::current_path(previous_folder); }

    // The table as a scan of kind and beta over the pattern leaves it (what the fallback must give).
    static boundary_table scanned_over(const boundary_table& old, char kind, double scan_beta) {
        boundary_table expected = old;
        boundary_scan(kind, scan_beta, expected.counts, expected.points, 2);
        return expected;
    }

    scratch_folder folder;
    std::filesystem::path previous_folder;
    boundary_table* const tables[6] = {&boundary_dc1, &boundary_ds1, &boundary_dc2,
                                       &boundary_ds2, &boundary_b1,  &boundary_b2};
};

TEST_F(boundary_file_loader, undamped_files_fill_the_four_tables_in_order) {
    // Distinct betas on line 1 show which file was read last.
    write_text("filedc1", marked_file(1e-7, 1.5));
    write_text("fileds1", marked_file(2e-7, 2.5));
    write_text("filedc2", marked_file(3e-7, 3.5));
    write_text("fileds2", marked_file(4e-7, 4.5));
    const boundary_table b1 = boundary_b1, b2 = boundary_b2;

    EXPECT_EQ(load_and_capture(0.0), undamped_lines());
    EXPECT_EQ(boundary_dc1.points[1][1], 1.5);
    EXPECT_EQ(boundary_ds1.points[1][1], 2.5);
    EXPECT_EQ(boundary_dc2.points[1][1], 3.5);
    EXPECT_EQ(boundary_ds2.points[1][1], 4.5);
    EXPECT_EQ(beta, 4e-7);
    EXPECT_EQ(two_beta, -14.0);
    EXPECT_TRUE(same_bytes(boundary_b1, b1));
    EXPECT_TRUE(same_bytes(boundary_b2, b2));
}

TEST_F(boundary_file_loader, each_tabled_beta_reads_its_own_pair) {
    struct pair_case {
        double typed;
        const char* b1;
        const char* b2;
        const char* shown;
    };
    const pair_case cases[] = {
        {0.01, "fileb1001", "fileb2001", "0.01"}, {0.02, "fileb1002", "fileb2002", "0.02"},
        {0.05, "fileb1005", "fileb2005", "0.05"}, {0.1, "fileb1010", "fileb2010", "0.10"},
        {0.2, "fileb1020", "fileb2020", "0.20"},  {0.5, "fileb1050", "fileb2050", "0.50"},
        {1.0, "fileb1100", "fileb2100", "1.00"},  {2.0, "fileb1200", "fileb2200", "2.00"},
        {5.0, "fileb1500", "fileb2500", "5.00"},
    };
    // Every file present, each with its own marker: file k holds 10 + k (B1) or 20 + k (B2).
    for (int k = 0; k < 9; ++k) {
        write_text(cases[k].b1, marked_file(cases[k].typed, 10.0 + k));
        write_text(cases[k].b2, marked_file(cases[k].typed + 4e-7, 20.0 + k));
    }
    const boundary_table dc1 = boundary_dc1, ds2 = boundary_ds2;
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(cases[k].b1);
        EXPECT_EQ(load_and_capture(cases[k].typed), damped_lines(cases[k].shown));
        EXPECT_EQ(boundary_b1.points[1][1], 10.0 + k);
        EXPECT_EQ(boundary_b2.points[1][1], 20.0 + k);
        EXPECT_EQ(beta, cases[k].typed + 4e-7);  // line 1 of the B2 file
    }
    EXPECT_TRUE(same_bytes(boundary_dc1, dc1));
    EXPECT_TRUE(same_bytes(boundary_ds2, ds2));
    EXPECT_EQ(two_beta, -14.0);
}

TEST_F(boundary_file_loader, untabled_beta_loads_and_prints_nothing) {
    const double untabled[] = {0.03, 0.15, 3.0, 1e-300, -0.01};
    write_text("fileb1001", marked_file(0.01, 1.0));
    for (double typed : untabled) {
        SCOPED_TRACE(typed);
        const boundary_table b1 = boundary_b1;
        EXPECT_EQ(load_and_capture(typed), "");
        EXPECT_TRUE(same_bytes(boundary_b1, b1));
        EXPECT_EQ(beta, -7.0);
    }
}

TEST_F(boundary_file_loader, negative_zero_is_the_undamped_case) {
    for (const char* name : {"filedc1", "fileds1", "filedc2", "fileds2"})
        write_text(name, marked_file(0.0, 1.0));
    EXPECT_EQ(load_and_capture(-0.0), undamped_lines());
    EXPECT_EQ(boundary_ds2.points[1][1], 1.0);
}

// A missing or damaged file: the progress line, then the notice, and the table scanned instead;
// beta stays the one of the last file that was read.
TEST_F(boundary_file_loader, unusable_b2_file_is_replaced_by_a_scan) {
    // text: the file's content, or nullptr for a file that is not text: missing, a FIFO (never
    // waited for) or a link to itself (which cannot be opened: the reason follows).
    enum not_text { missing, fifo, link_loop };
    struct bad_case {
        const char* name;
        not_text other;
        const char* text;
    };
    const bad_case cases[] = {
        {"missing", missing, nullptr},
        {"a FIFO", fifo, nullptr},
        {"a link to itself", link_loop, nullptr},
        {"beta line of another damping", missing,
         "  0.000000\n  0  0.000000\n  1  0.020000  1.000000\n  0  0.040000\n"},
        {"beta line off in the sixth decimal", missing, "2.000001\n0 0\n1 0.02 1.0\n0 0.04\n"},
        {"epsilon columns swapped", missing, "2.0\n0 0\n1 0.04 1.0\n0 0.02\n"},
        {"epsilon off in the sixth decimal", missing, "2.0\n0 0\n1 0.020001 1.0\n0 0.04\n"},
        {"empty", missing, ""},
        {"truncated", missing, "  2.000000\n  0  0.000000\n  1  0.020000  1.000000\n"},
        {"count 10", missing, "2.0\n0 0\n10 0.02 1 2 3 4 5 6 7 8 9 10\n0 0.04\n"},
        {"count -1", missing, "2.0\n0 0\n-1 0.02\n0 0.04\n"},
        {"text in a number", missing, "2.0\n0 0\n1 0.02 1.O\n0 0.04\n"},
        {"NaN", missing, "2.0\n0 0\n1 0.02 nan\n0 0.04\n"},
        {"trailing garbage", missing, "2.0\n0 0\n1 0.02 1.0\n0 0.04\n0 0.06\n"},
    };
    write_text("fileb1200", marked_file(2.0, 1.25));
    for (const bad_case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("fileb2200");
        if (c.text != nullptr) {
            write_text("fileb2200", c.text);
        } else if (c.other == fifo) {
            ASSERT_EQ(mkfifo("fileb2200", 0600), 0);
        } else if (c.other == link_loop) {
            ASSERT_EQ(symlink("fileb2200", "fileb2200"), 0);
        }
        const std::string reason = c.text == nullptr && c.other == link_loop
                                       ? "\n理由：" + std::string(strerror(ELOOP))
                                       : "";
        fill_with_pattern(boundary_b2);
        const boundary_table expected = scanned_over(boundary_b2, '6', 2.0);
        beta = -7.0;

        const std::string expected_output = damped_lines("2.00") + unreadable("fileb2200") + reason;
        EXPECT_EQ(load_and_capture(2.0), expected_output);
        EXPECT_TRUE(same_bytes(boundary_b2, expected));
        EXPECT_EQ(boundary_b1.points[1][1], 1.25);
        EXPECT_EQ(beta, 2.0);  // from the B1 file; the B2 file gave none
    }
}

TEST_F(boundary_file_loader, unusable_undamped_files_are_scanned_with_their_own_kind) {
    // Ds1 missing, Ds2 damaged: both scanned; beta comes from filedc2, the last file read.
    write_text("filedc1", marked_file(1e-7, 1.5));
    write_text("filedc2", marked_file(3e-7, 3.5));
    write_text("fileds2", "0.0\n0 0\n");
    const boundary_table ds1 = scanned_over(boundary_ds1, '2', 0.0);
    const boundary_table ds2 = scanned_over(boundary_ds2, '4', 0.0);

    const std::string expected_output = "\n" + dialog_text("LOAD_DC1") + dialog_text("LOAD_DS1") +
                                        unreadable("fileds1") + dialog_text("LOAD_DC2") +
                                        dialog_text("LOAD_DS2") + unreadable("fileds2");
    EXPECT_EQ(load_and_capture(0.0), expected_output);
    EXPECT_TRUE(same_bytes(boundary_ds1, ds1));
    EXPECT_TRUE(same_bytes(boundary_ds2, ds2));
    EXPECT_EQ(boundary_dc1.points[1][1], 1.5);
    EXPECT_EQ(boundary_dc2.points[1][1], 3.5);
    EXPECT_EQ(beta, 3e-7);

    // A Dc1 file with every column emptied (Dc1 has roots at delta = 0, 1, 4, ... from epsilon
    // = 0 on): damaged, scanned instead, and its beta line not taken.
    write_text("filedc1", "0.0\n0 0\n0 0.02\n0 0.04\n");
    const boundary_table dc1 = scanned_over(boundary_dc1, '1', 0.0);
    const std::string output = load_and_capture(0.0);
    EXPECT_NE(output.find(unreadable("filedc1") + "\n理由：どの列にも根がありません"),
              std::string::npos)
        << output;
    EXPECT_TRUE(same_bytes(boundary_dc1, dc1));
}

// At full size the fallback scan must give what the generator stores: equal counts and equal
// values at the six decimals a file holds.
TEST_F(boundary_file_loader, fallback_matches_the_generated_file) {
    epsilon_steps = epsilon_intervals;
    ASSERT_EQ(generate_boundary_file("reference", '6', 0.1, epsilon_intervals), boundary_written);
    boundary_table stored;
    fill_with_pattern(stored);
    ASSERT_TRUE(
        read_boundary_file("reference", epsilon_intervals, stored.counts, stored.points, &beta));
    // A valid B1 file without roots, so that only B2 is scanned.
    boundary_table empty_b1;
    for (int i = 0; i <= epsilon_intervals; ++i) {
        empty_b1.counts[i] = 0;
        empty_b1.points[0][i] = i * 0.02;
    }
    ASSERT_EQ(
        write_boundary_file("fileb1010", 0.1, epsilon_intervals, empty_b1.counts, empty_b1.points),
        boundary_written);

    const std::string output = load_and_capture(0.1);
    EXPECT_EQ(output.substr(output.size() - unreadable("fileb2010").size()),
              unreadable("fileb2010"));
    int roots = 0;
    for (int i = 0; i <= epsilon_intervals; ++i) {
        ASSERT_EQ(boundary_b2.counts[i], stored.counts[i]) << "column " << i;
        for (int j = 0; j <= stored.counts[i]; ++j) {
            char scanned[32], from_file[32];
            std::snprintf(scanned, sizeof scanned, "%10.6f", boundary_b2.points[j][i]);
            std::snprintf(from_file, sizeof from_file, "%10.6f", stored.points[j][i]);
            ASSERT_STREQ(scanned, from_file) << "column " << i << " row " << j;
        }
        roots += stored.counts[i];
    }
    EXPECT_GT(roots, 2 * epsilon_intervals);  // B2 at beta 0.1: about three roots a column
}

}  // namespace
