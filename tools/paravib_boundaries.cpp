// paravib-boundaries: scans stability boundaries with the program's own numerics and writes them
// as boundary files, either the 22 stored tables into a folder or one table of any kind; with
// --verify it checks boundary files against Floquet analysis instead.
// Exit status: 0 done, 1 a file could not be written, 2 wrong arguments, an unwritable path or a
// target that is not a regular file; with --verify 0 every file right, 1 a file wrong or
// unreadable, 2 wrong arguments.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "data/boundary_files.h"
#include "data/file_replace.h"
#include "data/printable_path.h"
#include "stability/boundary_scan_jobs.h"
#include "tools/boundary_verify.h"

namespace {

constexpr int exit_write_error = 1;
constexpr int exit_usage_error = 2;

// Longest output path accepted.
constexpr int path_capacity = 4096;

// The determinant kinds a boundary table can be scanned for.
constexpr const char* known_kinds = "123456AB";

const char* const usage_text =
    "Usage: paravib-boundaries DIR\n"
    "       paravib-boundaries --kind K --beta B FILE\n"
    "       paravib-boundaries --csv --kind K --beta B FILE\n"
    "       paravib-boundaries --verify [--kind K --beta B] PATH...\n"
    "\n"
    "Scans the stability boundaries of y'' + 2 beta y' + K(t) y = 0 in the (delta, epsilon) plane\n"
    "(epsilon 0 ... 10 in 500 steps, delta -1 ... 10) and writes them as boundary files.\n"
    "\n"
    "  DIR              write the 22 tables the program loads (filedc1 ... fileb2500) into the\n"
    "                   existing folder DIR, one line per file\n"
    "  --kind K         determinant kind of one table: 1 2 3 4 undamped Mathieu Dc1 Ds1 Dc2 Ds2,\n"
    "                   5 6 damped Mathieu B1 B2, A B square wave of period T and 2T\n"
    "  --beta B         damping beta of that table, a finite number below 1e119 in size\n"
    "  FILE             where that table is written: a new file or a regular file, which keeps\n"
    "                   its permissions, and its owner where allowed (a symbolic link is\n"
    "                   followed and stays a link)\n"
    "  --csv            write that table as CSV instead: the line epsilon,delta, then one line\n"
    "                   per root (epsilon and delta to six decimals), column by column\n"
    "  --verify PATH... check boundary files, or the 22 in each folder PATH, against Floquet\n"
    "                   analysis: each stored root must lie within 1.5e-6 of a true boundary;\n"
    "                   boundaries a fine grid finds without a stored root are listed as missed;\n"
    "                   a root more than 1 outside delta -1 ... 10 is spurious without a check.\n"
    "                   Kind and beta come from the file's name, or from --kind and --beta for a\n"
    "                   file with another name\n"
    "  --help           print this text\n"
    "\n"
    "A file appears under its name only when it is complete.\n"
    "Exit status: 0 done, 1 a file could not be written, 2 wrong arguments, unwritable path or\n"
    "a target that is not a regular file; with --verify 0 every file right, 1 a file wrong or\n"
    "unreadable, 2 wrong arguments.\n";

int usage_error(const char* message, const char* detail) {
    std::fprintf(stderr, "paravib-boundaries: %s%s\n", message, printable_path(detail).text);
    std::fprintf(stderr, "Try 'paravib-boundaries --help'.\n");
    return exit_usage_error;
}

bool is_folder(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

// The folder part of a file path ("." for a bare name) into folder.
void folder_of(const char* path, char (&folder)[path_capacity]) {
    const char* slash = std::strrchr(path, '/');
    if (slash == nullptr) {
        std::snprintf(folder, path_capacity, ".");
    } else if (slash == path) {
        std::snprintf(folder, path_capacity, "/");
    } else {
        std::snprintf(folder, path_capacity, "%.*s", static_cast<int>(slash - path), path);
    }
}

// Checks that files can be created in folder; prints the reason and returns false if not.
bool folder_is_writable(const char* folder, const char* shown_as) {
    if (!is_folder(folder)) {
        usage_error("no such folder: ", shown_as);
        return false;
    }
    if (access(folder, W_OK | X_OK) != 0) {
        usage_error("cannot write into folder: ", shown_as);
        return false;
    }
    return true;
}

// Reports a failed write of path and returns the exit status (0 for a file written).
int write_status(const char* path, boundary_write_result result) {
    switch (result) {
        case boundary_written: return 0;
        case boundary_target_not_regular:
            return usage_error("not a regular file, left as it is: ", path);
        case boundary_create_failed:
            std::fprintf(stderr, "paravib-boundaries: cannot create %s: %s\n",
                         printable_path(path).text, std::strerror(errno));
            return exit_write_error;
        case boundary_write_failed:
            std::fprintf(stderr,
                         "paravib-boundaries: writing %s failed: %s; the file was not written\n",
                         printable_path(path).text, std::strerror(errno));
            return exit_write_error;
        case boundary_table_invalid:
            std::fprintf(stderr,
                         "paravib-boundaries: the scan for %s gave a value that is not finite; "
                         "the file was not written\n",
                         printable_path(path).text);
            return exit_write_error;
    }
    return exit_write_error;
}

// A replaced file keeps its owner and group where this process may set them (as root); where it
// may not, the file now belongs to this process's user, which is said on standard error.
// (Windows has no owners: both stay 0 there, so nothing is ever reported.)
struct file_owner {
    bool existed;
    long user;
    long group;
};

file_owner owner_of(const char* path) {
    struct stat status;
    if (stat(path, &status) != 0) return {false, 0, 0};
    return {true, static_cast<long>(status.st_uid), static_cast<long>(status.st_gid)};
}

void report_owner_change(const char* path, const file_owner& before) {
    const file_owner after = owner_of(path);
    if (!before.existed || !after.existed ||
        (after.user == before.user && after.group == before.group))
        return;
    std::fprintf(stderr,
                 "paravib-boundaries: %s: owner and group %ld:%ld could not be kept; "
                 "the file now belongs to %ld:%ld\n",
                 printable_path(path).text, before.user, before.group, after.user, after.group);
}

// The table of --csv, static: too large for the stack.
boundary_table csv_table;

// Scans and writes one file, as a boundary file or as CSV; reports a failure and returns the exit
// status.
int write_one(const char* path, char kind, double beta, bool csv) {
    if (!is_replaceable(path)) return usage_error("not a regular file, left as it is: ", path);
    const file_owner before = owner_of(path);
    boundary_write_result result;
    if (csv) {
        boundary_scan(kind, beta, csv_table.counts, csv_table.points, epsilon_intervals);
        result = write_boundary_csv(path, epsilon_intervals, csv_table.counts, csv_table.points);
    } else {
        result = generate_boundary_file(path, kind, beta, epsilon_intervals);
    }
    const int status = write_status(path, result);
    if (status == 0) report_owner_change(path, before);
    return status;
}

// The 22 tables of a folder, scanned on all hardware threads and written in the order of the
// list as each is complete, so the files and the lines are those of scanning them in turn.
boundary_table folder_tables[boundary_file_count];
char folder_paths[boundary_file_count][path_capacity];

int folder_status = 0;

bool write_scanned(int index, void*) {
    const char* path = folder_paths[index];
    const boundary_file_entry& file = boundary_file_list[index];
    const boundary_table& table = folder_tables[index];
    if (!is_replaceable(path)) {
        folder_status = usage_error("not a regular file, left as it is: ", path);
        return false;
    }
    const file_owner before = owner_of(path);
    folder_status = write_status(
        path, write_boundary_file(path, file.beta, epsilon_intervals, table.counts, table.points));
    if (folder_status != 0) return false;
    report_owner_change(path, before);
    std::printf("%s: kind %c, beta %.2f\n", printable_path(path).text, file.kind, file.beta);
    std::fflush(stdout);
    return true;
}

int write_folder(const char* folder) {
    if (!folder_is_writable(folder, folder)) return exit_usage_error;
    boundary_scan_job jobs[boundary_file_count];
    for (int i = 0; i < boundary_file_count; ++i) {
        const boundary_file_entry& file = boundary_file_list[i];
        const int length =
            std::snprintf(folder_paths[i], path_capacity, "%s/%s", folder, file.name);
        if (length < 0 || length >= path_capacity) return usage_error("path too long: ", folder);
        jobs[i] = {file.kind, file.beta, &folder_tables[i], epsilon_intervals};
    }
    folder_status = 0;
    boundary_scan_jobs(jobs, boundary_file_count, boundary_scan_thread_count(), write_scanned,
                       nullptr);
    return folder_status;
}

int write_single(const char* path, char kind, double beta, bool csv) {
    if (is_folder(path)) return usage_error("is a folder, not a file: ", path);
    char folder[path_capacity];
    folder_of(path, folder);
    if (!folder_is_writable(folder, path)) return exit_usage_error;
    const int status = write_one(path, kind, beta, csv);
    if (status == 0) std::printf("%s: kind %c, beta %g\n", printable_path(path).text, kind, beta);
    return status;
}

// Parses the kind and beta options; returns false (after the message) when they are wrong.
bool parse_kind_and_beta(const char* kind_text, const char* beta_text, char& kind, double& beta) {
    if (std::strlen(kind_text) != 1 || std::strchr(known_kinds, kind_text[0]) == nullptr) {
        usage_error("unknown kind (expected one of 1 2 3 4 5 6 A B): ", kind_text);
        return false;
    }
    char* end = nullptr;
    beta = std::strtod(beta_text, &end);
    if (beta_text[0] == '\0' || *end != '\0' || !std::isfinite(beta)) {
        usage_error("beta is not a finite number: ", beta_text);
        return false;
    }
    kind = kind_text[0];
    return true;
}

// Paths of the files to verify (operands and the 22 names inside each folder operand).
char verify_paths[verify_file_capacity][path_capacity];
verify_file verify_list[verify_file_capacity];

// The stored table a bare file name stands for, or nullptr.
const boundary_file_entry* stored_entry(const char* path) {
    const char* slash = std::strrchr(path, '/');
    const char* name = slash == nullptr ? path : slash + 1;
    for (const boundary_file_entry& file : boundary_file_list)
        if (std::strcmp(file.name, name) == 0) return &file;
    return nullptr;
}

int verify(const char* const* operands, int operand_count, const char* kind_text,
           const char* beta_text) {
    char kind = 0;
    double beta = 0.0;
    if ((kind_text == nullptr) != (beta_text == nullptr))
        return usage_error("--kind and --beta go together", "");
    if (kind_text != nullptr && !parse_kind_and_beta(kind_text, beta_text, kind, beta))
        return exit_usage_error;
    if (operand_count == 0) return usage_error("missing file or folder to verify", "");
    int count = 0;
    auto add = [&](const char* path, char file_kind, double file_beta) {
        if (count == verify_file_capacity) return false;
        std::snprintf(verify_paths[count], path_capacity, "%s", path);
        verify_list[count] = {verify_paths[count], file_kind, file_beta};
        ++count;
        return true;
    };
    for (int o = 0; o < operand_count; ++o) {
        const char* operand = operands[o];
        if (std::strlen(operand) >= path_capacity) return usage_error("path too long: ", operand);
        struct stat status;
        if (stat(operand, &status) != 0) return usage_error("no such file or folder: ", operand);
        if (S_ISDIR(status.st_mode)) {
            for (const boundary_file_entry& file : boundary_file_list) {
                char path[path_capacity];
                int length = std::snprintf(path, path_capacity, "%s/%s", operand, file.name);
                if (length < 0 || length >= path_capacity)
                    return usage_error("path too long: ", operand);
                if (!add(path, file.kind, file.beta))
                    return usage_error("too many files to verify at ", operand);
            }
            continue;
        }
        const boundary_file_entry* entry = stored_entry(operand);
        if (entry == nullptr && kind == 0)
            return usage_error(
                "kind and beta not known from the file's name (give --kind K "
                "--beta B): ",
                operand);
        bool added =
            entry != nullptr ? add(operand, entry->kind, entry->beta) : add(operand, kind, beta);
        if (!added) return usage_error("too many files to verify at ", operand);
    }
    return verify_boundary_files(verify_list, count);
}

}  // namespace

int main(int argc, char** argv) {
    const char* kind_text = nullptr;
    const char* beta_text = nullptr;
    bool verifying = false;
    bool csv = false;
    bool options_ended = false;
    // Operands are gathered at the front of argv (from index 1), in order.
    int operand_count = 0;
    for (int a = 1; a < argc; ++a) {
        const char* arg = argv[a];
        if (!options_ended && (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)) {
            std::fputs(usage_text, stdout);
            return 0;
        }
        if (!options_ended &&
            (std::strcmp(arg, "--kind") == 0 || std::strcmp(arg, "--beta") == 0)) {
            if (a + 1 == argc) return usage_error("missing value after ", arg);
            (arg[2] == 'k' ? kind_text : beta_text) = argv[++a];
        } else if (!options_ended && std::strcmp(arg, "--verify") == 0) {
            verifying = true;
        } else if (!options_ended && std::strcmp(arg, "--csv") == 0) {
            csv = true;
        } else if (!options_ended && std::strcmp(arg, "--") == 0) {
            options_ended = true;
        } else if (!options_ended && arg[0] == '-' && arg[1] != '\0') {
            return usage_error("unknown option: ", arg);
        } else {
            argv[1 + operand_count++] = argv[a];
        }
    }
    if (verifying && csv) return usage_error("--csv and --verify do not go together", "");
    if (verifying) return verify(argv + 1, operand_count, kind_text, beta_text);
    if (operand_count > 1) return usage_error("more than one folder or file given: ", argv[2]);
    const char* operand = operand_count == 1 ? argv[1] : nullptr;

    if (kind_text == nullptr && beta_text == nullptr) {
        if (csv) return usage_error("--csv writes one table: give --kind K --beta B FILE", "");
        if (operand == nullptr)
            return usage_error("missing folder (or --kind K --beta B FILE)", "");
        return write_folder(operand);
    }
    if (kind_text == nullptr) return usage_error("missing --kind K", "");
    if (beta_text == nullptr) return usage_error("missing --beta B", "");
    char kind = 0;
    double beta = 0.0;
    if (!parse_kind_and_beta(kind_text, beta_text, kind, beta)) return exit_usage_error;
    if (!boundary_beta_is_writable(beta))
        return usage_error("beta is too large for a boundary file: ", beta_text);
    if (operand == nullptr) return usage_error("missing output file", "");
    return write_single(operand, kind, beta, csv);
}
