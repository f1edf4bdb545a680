#!/usr/bin/env python3
"""Tests of paravib-boundaries: its command line and exit codes, files that appear only when
complete, known square-wave roots, and the 22 tables the build made with it.

Usage: boundary_generator_test.py GENERATOR BOUNDARY_FOLDER
"""
import errno
import os
import resource
import signal
import socket
import stat
import subprocess
import sys
import tempfile
import unittest

GENERATOR = ""
BOUNDARY_FOLDER = ""

STORED = [("filedc1", 0.0), ("fileds1", 0.0), ("filedc2", 0.0), ("fileds2", 0.0)] + [
    (f"fileb{curve}{round(100 * b):03d}", b)
    for b in (0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0) for curve in (1, 2)]


def run(args, limit_file_size=None):
    def limit():
        # With SIGXFSZ ignored a write beyond the limit fails with EFBIG instead of killing.
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit_file_size, limit_file_size))
    return subprocess.run([GENERATOR] + args, capture_output=True, text=True, timeout=120,
                          preexec_fn=limit if limit_file_size else None)


def table_lines(path):
    with open(path, newline="") as f:
        return f.read().split("\n")


class CommandLine(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.folder = self.scratch.name

    def tearDown(self):
        self.scratch.cleanup()

    def test_help_prints_usage(self):
        for flag in ("--help", "-h"):
            result = run([flag])
            self.assertEqual(result.returncode, 0)
            self.assertIn("Usage: paravib-boundaries DIR", result.stdout)
            self.assertIn("--kind K --beta B FILE", result.stdout)
            self.assertEqual(result.stderr, "")

    def test_argument_errors_exit_2_and_write_nothing(self):
        out = os.path.join(self.folder, "out")
        plain_file = os.path.join(self.folder, "plain")
        with open(plain_file, "w") as f:
            f.write("x")
        cases = [
            ("no arguments", [], "missing folder"),
            ("unknown kind", ["--kind", "C", "--beta", "0.1", out], "unknown kind"),
            ("lower-case kind", ["--kind", "a", "--beta", "0.1", out], "unknown kind"),
            ("two-character kind", ["--kind", "55", "--beta", "0.1", out], "unknown kind"),
            ("empty kind", ["--kind", "", "--beta", "0.1", out], "unknown kind"),
            ("beta is text", ["--kind", "5", "--beta", "abc", out], "not a finite number"),
            ("csv of a folder", ["--csv", self.folder], "--csv writes one table"),
            ("beta with a tail", ["--kind", "5", "--beta", "0.1x", out], "not a finite number"),
            ("beta empty", ["--kind", "5", "--beta", "", out], "not a finite number"),
            ("beta NaN", ["--kind", "5", "--beta", "nan", out], "not a finite number"),
            ("beta infinite", ["--kind", "5", "--beta", "inf", out], "not a finite number"),
            ("beta overflows", ["--kind", "5", "--beta", "1e400", out], "not a finite number"),
            ("beta too long for a file", ["--kind", "5", "--beta", "1e308", out], "too large"),
            ("beta too long, negative", ["--kind", "5", "--beta", "-1e120", out], "too large"),
            ("missing file", ["--kind", "5", "--beta", "0.1"], "missing output file"),
            ("missing beta", ["--kind", "5", out], "missing --beta"),
            ("missing kind", ["--beta", "0.1", out], "missing --kind"),
            ("option without value", ["--kind"], "missing value after --kind"),
            ("unknown option", ["--fast", self.folder], "unknown option"),
            ("two operands", [self.folder, self.folder], "more than one"),
            ("folder does not exist", [os.path.join(self.folder, "absent")], "no such folder"),
            ("folder is a file", [plain_file], "no such folder"),
            ("file in a missing folder",
             ["--kind", "A", "--beta", "0.1", os.path.join(self.folder, "absent", "out")],
             "no such folder"),
            ("file below a plain file",
             ["--kind", "A", "--beta", "0.1", os.path.join(plain_file, "out")], "no such folder"),
            ("file is a folder", ["--kind", "A", "--beta", "0.1", self.folder], "is a folder"),
        ]
        for name, args, message in cases:
            with self.subTest(name):
                result = run(args)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertIn(message, result.stderr)
                self.assertIn("--help", result.stderr)
                self.assertEqual(result.stdout, "")
                self.assertEqual(sorted(os.listdir(self.folder)), ["plain"])

    def test_write_error_exits_1_and_keeps_the_earlier_file(self):
        out = os.path.join(self.folder, "out")
        with open(out, "w") as f:
            f.write("earlier table\n")
        for name, args in (("one table", ["--kind", "A", "--beta", "0.1", out]),
                           ("csv", ["--csv", "--kind", "5", "--beta", "0.3", out]),
                           ("stored tables", [self.folder])):
            with self.subTest(name):
                # A table is about 20 kB; 4 kB cuts it short.
                result = run(args, limit_file_size=4096)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn("was not written", result.stderr)
                self.assertIn(os.strerror(errno.EFBIG), result.stderr)
                self.assertEqual(sorted(os.listdir(self.folder)), ["out"])
                with open(out) as f:
                    self.assertEqual(f.read(), "earlier table\n")

    def test_targets_that_are_not_regular_files_are_left_alone(self):
        os.mkfifo(os.path.join(self.folder, "fifo"))
        os.symlink("fifo", os.path.join(self.folder, "link-to-fifo"))
        listener = socket.socket(socket.AF_UNIX)
        listener.bind(os.path.join(self.folder, "socket"))
        targets = ["fifo", "link-to-fifo", "socket"]
        if os.geteuid() == 0:   # a character device of its own, like /dev/null
            os.mknod(os.path.join(self.folder, "device"), stat.S_IFCHR | 0o600, os.makedev(1, 3))
            targets.append("device")
        before = {name: os.lstat(os.path.join(self.folder, name)) for name in os.listdir(self.folder)}
        for name in targets:
            with self.subTest(name):
                result = run(["--kind", "A", "--beta", "0.1", os.path.join(self.folder, name)])
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertIn("not a regular file", result.stderr)
                after = {n: os.lstat(os.path.join(self.folder, n)) for n in os.listdir(self.folder)}
                self.assertEqual({n: (s.st_mode, s.st_ino) for n, s in after.items()},
                                 {n: (s.st_mode, s.st_ino) for n, s in before.items()})
        listener.close()

    def test_a_name_of_250_characters_is_written(self):
        out = os.path.join(self.folder, "b" * 250)
        result = run(["--kind", "A", "--beta", "0.1", out])
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(os.listdir(self.folder), ["b" * 250])

    def test_square_wave_roots_at_epsilon_1(self):
        # Square wave, beta = 0.1, epsilon = 1.0 (column 50): the period-T function has three roots
        # in delta and the period-2T function two, known to five decimals.
        known = {"A": [-0.53859, 0.80847, 1.41751], "B": [-0.51492, 0.55524]}
        for kind, roots in known.items():
            with self.subTest(kind):
                out = os.path.join(self.folder, "kind" + kind)
                result = run(["--kind", kind, "--beta", "0.1", out])
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(result.stderr, "")
                lines = table_lines(out)
                self.assertEqual(len(lines), 503)  # 502 lines, each ended by "\n"
                self.assertEqual(lines[0], "  0.100000")
                fields = lines[51].split()
                self.assertEqual(int(fields[0]), len(roots))
                self.assertEqual(fields[1], "1.000000")
                for value, root in zip(fields[2:], roots):
                    self.assertAlmostEqual(float(value), root, delta=0.5e-5 + 0.5e-6)

    def test_csv_holds_the_roots_of_the_table_file(self):
        for kind, beta in (("5", "0.3"), ("B", "0.1")):
            with self.subTest(kind):
                table, csv = os.path.join(self.folder, "table"), os.path.join(self.folder, "csv")
                self.assertEqual(run(["--kind", kind, "--beta", beta, table]).returncode, 0)
                result = run(["--csv", "--kind", kind, "--beta", beta, csv])
                self.assertEqual(result.returncode, 0, result.stderr)
                expected = ["epsilon,delta"]
                for line in table_lines(table)[1:-1]:
                    fields = line.split()
                    expected += [f"{fields[1]},{root}" for root in fields[2:2 + int(fields[0])]]
                self.assertGreater(len(expected), 500)
                self.assertEqual(table_lines(csv), expected + [""])


class StoredTables(unittest.TestCase):
    """The 22 files the build made: names, layout, beta and epsilon, and the undamped roots at
    epsilon = 0, where K(t) is constant and a 2 pi or 4 pi periodic solution needs delta = (k/2)^2."""

    def test_folder_holds_exactly_the_stored_tables(self):
        names = sorted(n for n in os.listdir(BOUNDARY_FOLDER) if not n.startswith("."))
        self.assertEqual(names, sorted(name for name, _ in STORED))

    def test_each_table_has_the_fixed_layout(self):
        for name, beta in STORED:
            with self.subTest(name):
                lines = table_lines(os.path.join(BOUNDARY_FOLDER, name))
                self.assertEqual(len(lines), 503)
                self.assertEqual(lines[-1], "")
                self.assertEqual(lines[0], f"{beta:10.6f}")
                for i, line in enumerate(lines[1:-1]):
                    count = int(line[:3])
                    self.assertTrue(0 <= count <= 9, line)
                    self.assertEqual(len(line), 3 + 10 * (count + 1), line)
                    self.assertEqual(line[3:13], f"{i * 0.02:10.6f}")
                    roots = [float(line[13 + 10 * k:23 + 10 * k]) for k in range(count)]
                    self.assertEqual(roots, sorted(roots), line)

    def test_undamped_tables_start_at_the_squares(self):
        expected = {"filedc1": "0.000000 1.000000 4.000000 9.000000",
                    "fileds1": "1.000000 4.000000 9.000000",
                    "filedc2": "0.250000 2.250000 6.250000",
                    "fileds2": "0.250000 2.250000 6.250000"}
        for name, roots in expected.items():
            with self.subTest(name):
                fields = table_lines(os.path.join(BOUNDARY_FOLDER, name))[1].split()
                self.assertEqual(" ".join(fields[2:]), roots)
                self.assertEqual(int(fields[0]), len(roots.split()))


if __name__ == "__main__":
    GENERATOR, BOUNDARY_FOLDER = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
