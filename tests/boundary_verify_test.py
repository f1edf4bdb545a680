#!/usr/bin/env python3
"""Tests of paravib-boundaries --verify: the 22 tables the build made pass, with the summary that
counts their roots; damaged copies fail and are named; wrong arguments exit 2.

Usage: boundary_verify_test.py GENERATOR BOUNDARY_FOLDER
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

GENERATOR = ""
BOUNDARY_FOLDER = ""

NAMES = ["filedc1", "fileds1", "filedc2", "fileds2"] + [
    f"fileb{curve}{round(100 * b):03d}"
    for b in (0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0) for curve in (1, 2)]

SUMMARY = re.compile(r"verified (\d+) files, (\d+) roots: max deviation (\S+), "
                     r"spurious (\d+), missed (\d+)\n\Z")


def verify(args, timeout=1200):
    return subprocess.run([GENERATOR, "--verify"] + args, capture_output=True, text=True,
                          timeout=timeout)


def read_table(path):
    """beta and the columns (count, eps, roots) of a boundary file, read independently."""
    with open(path) as f:
        numbers = f.read().split()
    beta, at, columns = float(numbers[0]), 1, []
    while at < len(numbers):
        count = int(numbers[at])
        columns.append([float(x) for x in numbers[at + 1:at + 2 + count]])
        at += 2 + count
    return beta, columns


def write_table(path, beta, columns):
    with open(path, "w") as f:
        f.write("%10.6f\n" % beta)
        for column in columns:
            f.write("%3d " % (len(column) - 1) + " ".join("%10.6f" % x for x in column) + "\n")


class StoredTables(unittest.TestCase):
    def test_the_22_built_tables_pass(self):
        result = verify([BOUNDARY_FOLDER])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        summary = SUMMARY.search(result.stdout)
        self.assertIsNotNone(summary, result.stdout)
        files, roots, deviation, spurious, _ = summary.groups()
        self.assertEqual(files, "22")
        self.assertEqual(spurious, "0")
        self.assertLessEqual(float(deviation), 1.5e-6)
        stored = 0
        for name in NAMES:
            stored += sum(len(c) - 1 for c in read_table(os.path.join(BOUNDARY_FOLDER, name))[1])
        self.assertEqual(int(roots), stored)
        file_lines = [l for l in result.stdout.splitlines() if l.startswith(BOUNDARY_FOLDER)]
        self.assertEqual(len(file_lines), 22)
        # Progress, if any, goes to standard error and only there.
        for line in result.stderr.splitlines():
            self.assertRegex(line, r"^paravib-boundaries: \d+ of (22 files|501 columns of files "
                                   r"1 \.\.\. 22) checked")


class DamagedCopies(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.folder = self.scratch.name

    def tearDown(self):
        self.scratch.cleanup()

    def stored(self, name):
        return read_table(os.path.join(BOUNDARY_FOLDER, name))

    def expect_failure(self, path, named):
        result = verify([path])
        self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
        self.assertIn(path + ": ", result.stdout)
        self.assertIn(named, result.stdout)
        return result

    def test_a_root_moved_by_three_millionths_fails(self):
        # Column 100 (eps = 2) of B1 at beta = 0.1: the first root moved by 3e-6, six times the
        # rounding of the file.
        beta, columns = self.stored("fileb1010")
        self.assertGreater(len(columns[100]), 1)
        columns[100][1] += 3e-6
        path = os.path.join(self.folder, "fileb1010")
        write_table(path, beta, columns)
        result = self.expect_failure(path, "deviation: eps 2.000000, stored delta %.6f"
                                     % columns[100][1])
        self.assertIn("spurious 0,", result.stdout)

    def test_a_removed_root_is_counted_missed(self):
        # The same column with its first root left out: one more boundary without a stored root
        # than in the intact copy (a missed root alone does not fail the file).
        beta, columns = self.stored("fileb1010")
        path = os.path.join(self.folder, "fileb1010")
        missed = []
        for damaged in (False, True):
            if damaged:
                del columns[100][1]
            write_table(path, beta, columns)
            result = verify([path])
            summary = SUMMARY.search(result.stdout)
            self.assertIsNotNone(summary, result.stdout + result.stderr)
            missed.append(int(summary.group(5)))
        self.assertEqual(missed[1], missed[0] + 1)
        self.assertIn("missed: eps 2.000000, boundary at delta", result.stdout)

    def test_an_emptied_table_fails_by_its_missed_boundaries(self):
        # B1 at beta = 0.1 with every column's roots taken out: hundreds missed, nothing spurious.
        beta, columns = self.stored("fileb1010")
        path = os.path.join(self.folder, "fileb1010")
        write_table(path, beta, [[column[0]] for column in columns])
        self.expect_failure(path, "more than 150 boundaries missed")

    def test_roots_far_outside_the_scanned_range_are_spurious_at_once(self):
        # Integrating at delta 1e12 would take hours (the step count grows with sqrt(delta)): the
        # hang guard below is a thousand times what the check of the file needs.
        for name in ("filedc1", "fileb1010"):
            with self.subTest(name):
                beta, columns = self.stored(name)
                columns[100] = [columns[100][0], -1e12, 1e6, 1e12]
                path = os.path.join(self.folder, name)
                write_table(path, beta, columns)
                result = verify([path], timeout=120)
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                self.assertIn("spurious 3,", result.stdout)
                self.assertIn("stored delta 1e+12 lies more than 1 outside the scanned delta "
                              "range -1 ... 10", result.stdout)

    def test_a_table_of_another_kind_under_the_name_fails(self):
        cases = [("B2 table under the B1 name", "fileb2010", "fileb1010"),
                 ("odd period-T table under the even one's name", "fileds1", "filedc1")]
        for name, source, target in cases:
            with self.subTest(name):
                path = os.path.join(self.folder, target)
                shutil.copyfile(os.path.join(BOUNDARY_FOLDER, source), path)
                result = self.expect_failure(path, "spurious: eps ")
                self.assertNotIn("spurious 0,", result.stdout)

    def test_an_unreadable_file_is_named_and_the_others_still_checked(self):
        broken = os.path.join(self.folder, "fileb1500")
        with open(os.path.join(BOUNDARY_FOLDER, "fileb1500")) as f:
            text = f.read()
        with open(broken, "w") as f:
            f.write(text[:len(text) // 2])
        good = os.path.join(self.folder, "fileb2500")
        shutil.copyfile(os.path.join(BOUNDARY_FOLDER, "fileb2500"), good)
        result = verify([broken, good])
        self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
        self.assertIn(broken + ": damaged", result.stdout)
        self.assertRegex(result.stdout, r"verified 1 files, \d+ roots: .*, spurious 0, ")

    def test_a_file_of_another_name_takes_kind_and_beta_from_the_options(self):
        # A square-wave table made by the generator, and a stored table under another name.
        square = os.path.join(self.folder, "square")
        made = subprocess.run([GENERATOR, "--kind", "B", "--beta", "0.3", square],
                              capture_output=True, text=True, timeout=120)
        self.assertEqual(made.returncode, 0, made.stderr)
        renamed = os.path.join(self.folder, "mine")
        shutil.copyfile(os.path.join(BOUNDARY_FOLDER, "fileb2020"), renamed)
        for path, kind, beta in ((square, "B", "0.3"), (renamed, "6", "0.2")):
            with self.subTest(kind):
                result = verify(["--kind", kind, "--beta", beta, path])
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                self.assertIn("verified 1 files, ", result.stdout)
        # The wrong damping fails.
        self.assertEqual(verify(["--kind", "6", "--beta", "0.5", renamed]).returncode, 1)

    def test_wrong_arguments_exit_2(self):
        other = os.path.join(self.folder, "other")
        shutil.copyfile(os.path.join(BOUNDARY_FOLDER, "fileb1010"), other)
        cases = [
            ("nothing to verify", [], "missing file or folder"),
            ("name without kind", [other], "not known from the file's name"),
            ("kind without beta", ["--kind", "5", other], "go together"),
            ("unknown kind", ["--kind", "7", "--beta", "0", other], "unknown kind"),
            ("beta not a number", ["--kind", "5", "--beta", "x", other], "not a finite number"),
            ("missing path", [os.path.join(self.folder, "absent")], "no such file or folder"),
        ]
        for name, args, message in cases:
            with self.subTest(name):
                result = verify(args)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertIn(message, result.stderr)
                self.assertEqual(result.stdout, "")


if __name__ == "__main__":
    GENERATOR, BOUNDARY_FOLDER = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
