#!/usr/bin/env python3
"""The console dialog of paravib, run in dialog_driver through a pipe and through a pseudo-terminal.

Checks the exact bytes of every prompt, progress line and the key help, the entry steps, the
resets, every tabled damping value, refused numbers, the end of input, the window keys that
re-enter the dialog or end the program, the terminal modes and the signals that end a read, and
a stop and a continue in the key read under an interactive shell.

Usage: console_dialog_test.py DIALOG_DRIVER [GROUP ...]   (GROUP: a TestCase class below, e.g.
pipe_dialog; all of them by default). Python standard library only.
"""
import fcntl
import os
import pty
import resource
import select
import signal
import subprocess
import sys
import tempfile
import termios
import time
import unittest

DRIVER = None
BOUNDARY_DIR = None

sys.dont_write_bytecode = True   # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "e2e"))
from texts import (BETA_PROMPT as BETA, HEADER, HELP, INITIAL_PROMPT as INITIAL,  # noqa: E402
                   MATHIEU_LINE as MATHIEU, POINT_PROMPT as POINT, RETRY, SCAN_MATHIEU,
                   SCAN_SQUARE, SQUARE_LINE as SQUARE, damped_load as load_lines, undamped_load)

SCAN_B, SCAN_RA = "".join(SCAN_MATHIEU), "".join(SCAN_SQUARE)
LOAD_0 = undamped_load()
LOAD_010 = load_lines(0.1)

# The reset values every complete pass leaves, and the two history entries the driver disturbed.
RESET = {"t_now": 0.0, "sample_index": 0, "k_history0": 0.0, "y_scale": 0.5,
         "time_scale": 0.01, "chart_scale_delta": 0.09, "chart_scale_epsilon": 0.1,
         "screen_centre_x": 0.0, "screen_centre_y": 0.0, "response_origin_x": -0.99,
         "response_origin_y": 0.0, "chart_origin_x": 0.0, "chart_origin_y": 0.0,
         "y_history1": 21.0, "v_history1": 22.0, "k_history1": 23.0}
UNDAMPED = ("dc1", "ds1", "dc2", "ds2")
ALL_TABLES = ("b1", "b2") + UNDAMPED

# The 22 boundary files: (name, beta). Content: count 1, epsilon, one root per column.
BOUNDARY_FILES = [("filedc1", 0.0), ("fileds1", 0.0), ("filedc2", 0.0), ("fileds2", 0.0)] + [
    ("fileb%d%03d" % (curve, round(100 * b)), b)
    for b in (0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0) for curve in (1, 2)]


def write_boundary_files(folder):
    for name, b in BOUNDARY_FILES:
        with open(os.path.join(folder, name), "w") as f:
            f.write("%10.6f\n" % b)
            for i in range(501):
                f.write("%3d%10.6f%10.6f\n" % (1, 0.02 * i, 1.0 + 0.001 * i))


def parse_reports(text):
    """dialog_driver's stderr -> list of (label, {field: value})."""
    reports = []
    for line in text.decode().splitlines():
        if line.startswith("== "):
            reports.append((line[3:], {}))
        elif "=" in line and reports:
            name, value = line.split("=", 1)
            if name.startswith("table_"):
                reports[-1][1][name[6:]] = value
            elif name in ("command_key", "system_kind", "sample_index", "epsilon_steps"):
                reports[-1][1][name] = int(value)
            else:
                reports[-1][1][name] = float.fromhex(value)
    return reports


def run_pipe(entries, answers, keys=None):
    """Runs the driver with answers on a pipe; returns (status, stdout text, reports)."""
    args = [DRIVER, entries] + ([keys] if keys is not None else [])
    p = subprocess.run(args, input=answers.encode(), capture_output=True, cwd=BOUNDARY_DIR,
                       timeout=240)
    return p.returncode, p.stdout.decode(), parse_reports(p.stderr)


def full_pass(load, equation=MATHIEU):
    return HEADER + equation + BETA + load + POINT + INITIAL + HELP


class StateChecks(unittest.TestCase):
    def check_fields(self, state, expected):
        for name, value in expected.items():   # repr tells -0.0 from 0.0
            self.assertEqual(repr(state[name]), repr(value), name)

    def check_tables(self, state, changed):
        for t in ALL_TABLES:
            self.assertEqual(state[t], "changed" if t in changed else "kept", "table " + t)


class pipe_dialog(StateChecks):
    """Complete passes through a pipe: texts, entry steps, tabled damping, resets."""

    def test_passes(self):
        m, r = ord("m"), ord("r")
        cases = [
            # name, entry keys, answers, expected output, fields, tables changed
            ("tabled 0.10 loads, numbers on one line", "k", "m\n0.10\n2 1\n1 0\n",
             full_pass(LOAD_010),
             {"system_kind": m, "beta": 0.1, "two_beta": 0.2, "delta": 2.0, "epsilon": 1.0,
              "y_init": 1.0, "v_init": 0.0, "y_now": 1.0, "v_now": 0.0, "y_history0": 1.0,
              "v_history0": 0.0, "epsilon_steps": 500}, ("b1", "b2")),
            ("1e-1 is tabled; pairs on two lines; key after white space", "k",
             " \r\n\tm\n1e-1\n-2.5\n0.75\n0.5\n-0.25\n",
             full_pass(LOAD_010),
             {"beta": 0.1, "delta": -2.5, "epsilon": 0.75, "y_now": 0.5, "v_now": -0.25,
              "y_history0": 0.5, "v_history0": -0.25}, ("b1", "b2")),
            ("-0 loads the undamped tables only", "k", "m\n-0\n2 1\n1 0\n",
             full_pass(LOAD_0),
             {"beta": 0.0, "two_beta": -0.0}, UNDAMPED),
            ("0.1000001 is computed", "k", "m\n0.1000001\n2 1\n1 0\n",
             full_pass(SCAN_B),
             {"beta": 0.1000001, "two_beta": 0.2000002}, ("b1", "b2")),
            ("square wave with 0.1 is computed, no file read", "k", "r\n0.1\n2 1\n1 0\n",
             full_pass(SCAN_RA, SQUARE),
             {"system_kind": r, "beta": 0.1, "two_beta": 0.2}, ("b1", "b2")),
            ("another key: no equation line, no boundaries", "k", "x\n0.1\n2 1\n1 0\n",
             full_pass("", ""),
             {"system_kind": ord("x"), "beta": 0.1, "epsilon_steps": 500}, ()),
            ("a full-width key is one key, none of its bytes left for beta", "k",
             "\uff4d\n0.1\n2 1\n1 0\n", full_pass("", ""), {"beta": 0.1}, ()),
            ("an unknown entry key starts at step (1)", "q", "x\n0.2\n2 1\n1 0\n",
             full_pass("", ""), {"command_key": ord("q")}, ()),
            ("entry b keeps the equation", "kb", "m\n0.5\n2 1\n1 0\n0.1\n3 4\n5 6\n",
             full_pass(load_lines(0.5)) + BETA + LOAD_010 + POINT + INITIAL + HELP,
             {"system_kind": m, "beta": 0.1, "delta": 3.0, "epsilon": 4.0, "y_now": 5.0,
              "epsilon_steps": 500}, ("b1", "b2")),
        ]
        for name, entries, answers, output, fields, changed in cases:
            with self.subTest(name):
                status, out, reports = run_pipe(entries, answers)
                self.assertEqual(status, 0)
                self.assertEqual(out, output)
                label, state = reports[len(entries) - 1]
                self.assertEqual(label, "pass %d" % ord(entries[-1]))
                self.check_fields(state, dict(RESET, **fields))
                self.check_tables(state, changed)

    def test_every_tabled_beta_is_loaded(self):
        # The ten damping values with stored Mathieu boundaries, typed as a user would.
        for typed in ("0", "0.01", "0.02", "0.05", "0.1", "0.2", "0.5", "1", "2", "5"):
            with self.subTest(typed):
                status, out, _ = run_pipe("k", "m\n%s\n2 1\n1 0\n" % typed)
                self.assertEqual(status, 0)
                load = LOAD_0 if typed == "0" else load_lines(float(typed))
                self.assertEqual(out, full_pass(load))

    def test_later_entry_steps_keep_the_earlier_answers(self):
        # The driver sets epsilon_steps to 20 before each pass: only step (2) sets it to 500.
        first = "m\n0.1\n2 1\n1 0\n"
        cases = [
            ("d asks the point and the initial values", "kd", "3 4\n5 6\n", POINT + INITIAL + HELP,
             {"delta": 3.0, "epsilon": 4.0, "y_init": 5.0, "v_now": 6.0}),
            ("j asks the initial values", "kj", "5 6\n", INITIAL + HELP,
             {"delta": 2.0, "epsilon": 1.0, "y_init": 5.0, "v_now": 6.0}),
            ("the second key skips the line end of the last number", "kk",
             "r\n0.2\n3 4\n5 6\n", full_pass(SCAN_RA, SQUARE),
             {"system_kind": ord("r"), "beta": 0.2, "two_beta": 0.4, "epsilon_steps": 500}),
        ]
        for name, entries, answers, second_output, fields in cases:
            with self.subTest(name):
                status, out, reports = run_pipe(entries, first + answers)
                self.assertEqual(status, 0)
                self.assertEqual(out, full_pass(LOAD_010) + second_output)
                state = reports[1][1]
                expected = {"beta": 0.1, "two_beta": 0.2, "system_kind": ord("m"),
                            "epsilon_steps": 20}
                expected.update(fields)
                self.check_fields(state, dict(RESET, **expected))
                if entries[1] != "k":
                    self.check_tables(state, ())


class refused_numbers(StateChecks):
    """Text that is not a finite number is refused, its line dropped and its step asked again."""

    def test_refused_then_answered(self):
        cases = [
            # name, answers for beta, then the point; expected output of the beta step on
            ("a word", "abc\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("the rest of the line goes with it", "abc 0.5\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("a number with trailing text", "0.1abc\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("nan", "nan\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("infinity", "-inf\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("out of the double range", "1e999\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("hexadecimal out of range", "0x1p99999\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("a second decimal point", "0.3.1\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("empty lines are no answer", "\n\n0.1\n", BETA + LOAD_010),
            ("too long a token", "1" * 600 + "\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("a NUL byte inside", "0.1\0junk\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("a NUL byte at the end", "0.2\0\n0.1\n", BETA + RETRY + BETA + LOAD_010),
            ("twice", "x\ny\n0.1\n", BETA + RETRY + BETA + RETRY + BETA + LOAD_010),
        ]
        for name, beta_answers, beta_output in cases:
            with self.subTest(name):
                status, out, reports = run_pipe("k", "m\n" + beta_answers + "2 1\n1 0\n")
                self.assertEqual(status, 0)
                self.assertEqual(out, HEADER + MATHIEU + beta_output + POINT + INITIAL + HELP)
                self.check_fields(reports[0][1], {"beta": 0.1, "two_beta": 0.2, "delta": 2.0})

    def test_a_pair_is_asked_again_whole(self):
        # A valid first number and an unreadable second one change neither field.
        cases = [
            ("second unreadable", "2 x\n3 4\n", 1),
            ("second unreadable on the next line", "2\nx\n3 4\n", 1),
            ("first unreadable", "x 2\n3\n4\n", 1),
            ("both lines refused", "2 nan\ninf 1\n3 4\n", 2),
        ]
        for name, point_answers, refusals in cases:
            with self.subTest(name):
                status, out, reports = run_pipe("k", "m\n0.1\n" + point_answers + "1 0\n")
                self.assertEqual(status, 0)
                self.assertEqual(out, HEADER + MATHIEU + BETA + LOAD_010 + POINT
                                 + (RETRY + POINT) * refusals + INITIAL + HELP)
                self.check_fields(reports[0][1], {"delta": 3.0, "epsilon": 4.0, "y_now": 1.0})


class end_of_input(StateChecks):
    """Input that runs out at any read ends the process with status 0 and no further pass."""

    def test_end_at_each_read(self):
        cases = [
            # name, answers, output so far, fields still as before the pass
            ("before the key", "", HEADER, {"system_kind": 0}),
            ("after white space only", " \n\n", HEADER, {"system_kind": 0}),
            ("at beta", "m\n", HEADER + MATHIEU + BETA, {"beta": 0.0, "two_beta": 0.0}),
            ("at the point", "m\n0.1\n", HEADER + MATHIEU + BETA + LOAD_010 + POINT,
             {"beta": 0.1, "delta": 0.0, "epsilon": 0.0}),
            ("inside the pair", "m\n0.1\n2\n", HEADER + MATHIEU + BETA + LOAD_010 + POINT,
             {"delta": 0.0, "epsilon": 0.0}),
            ("after a refused pair", "m\n0.1\n2 x\n",
             HEADER + MATHIEU + BETA + LOAD_010 + POINT + RETRY + POINT, {"delta": 0.0}),
            ("in the line of a refused number", "m\nabc",
             HEADER + MATHIEU + BETA, {"beta": 0.0}),
            ("at the initial values", "m\n0.1\n2 1\n",
             HEADER + MATHIEU + BETA + LOAD_010 + POINT + INITIAL,
             {"delta": 2.0, "epsilon": 1.0, "y_init": 0.0, "t_now": 5.0, "sample_index": 37}),
        ]
        for name, answers, output, fields in cases:
            with self.subTest(name):
                status, out, reports = run_pipe("k", answers)
                self.assertEqual(status, 0)
                self.assertEqual(out, output)
                self.assertEqual([label for label, _ in reports], ["exit"])
                self.check_fields(reports[0][1], fields)

    def test_last_number_without_line_end(self):
        status, out, reports = run_pipe("k", "m\n0.1\n2 1\n1 0")
        self.assertEqual(status, 0)
        self.assertEqual(out, full_pass(LOAD_010))
        self.check_fields(reports[0][1], {"y_init": 1.0, "v_init": 0.0})


class window_keys(StateChecks):
    """Keys of the window that re-enter the dialog or end the program, on a real process."""

    FIRST = "m\n0.1\n2 1\n1 0\n"

    def test_reentry_zeroes_the_time_before_the_dialog(self):
        # The driver sets t_now to 5 before each key; input ends at the re-entered step's read,
        # so the state at exit is the one the key left before the dialog could reset anything.
        cases = [("k", HEADER), ("b", BETA), ("d", POINT), ("j", INITIAL)]
        for key, prompt in cases:
            with self.subTest(key):
                status, out, reports = run_pipe("k", self.FIRST, key)
                self.assertEqual(status, 0)
                self.assertEqual(out, full_pass(LOAD_010) + prompt)
                self.assertEqual(reports[-1][0], "exit")
                self.check_fields(reports[-1][1], {"command_key": ord(key), "t_now": 0.0,
                                                   "time_scale": 0.01})

    def test_reentered_pass_does_not_ask_to_draw(self):
        status, out, reports = run_pipe("k", self.FIRST + "3 4\n5 6\n", "sd")
        self.assertEqual(status, 0)
        self.assertEqual(out, full_pass(LOAD_010) + POINT + INITIAL + HELP)
        labels = [label for label, _ in reports]
        self.assertEqual(labels, ["pass 107", "key 115 display=1", "key 100 display=0", "exit"])
        self.check_fields(reports[1][1], {"t_now": 5.0})
        self.check_fields(reports[2][1], dict(RESET, delta=3.0, epsilon=4.0, y_now=5.0))

    def test_escape_ends_with_status_0(self):
        status, out, reports = run_pipe("k", self.FIRST, "s\x1bs")
        self.assertEqual(status, 0)
        self.assertEqual(out, full_pass(LOAD_010))
        self.assertEqual([label for label, _ in reports], ["pass 107", "key 115 display=1", "exit"])
        self.check_fields(reports[-1][1], {"command_key": 27})


class PtySession:
    """The driver on a pseudo-terminal that is its controlling terminal, as at a console."""

    def __init__(self, entries, keys=None):
        self.master, self.slave = pty.openpty()
        self.original = termios.tcgetattr(self.slave)
        args = [DRIVER, entries] + ([keys] if keys is not None else [])

        def become_console_session():
            fcntl.ioctl(0, termios.TIOCSCTTY, 0)
            resource.setrlimit(resource.RLIMIT_CORE, (0, 0))

        self.proc = subprocess.Popen(args, stdin=self.slave, stdout=self.slave,
                                     stderr=subprocess.PIPE, cwd=BOUNDARY_DIR,
                                     start_new_session=True, preexec_fn=become_console_session)
        self.transcript = b""
        self.seen = 0

    def read_some(self, timeout):
        ready, _, _ = select.select([self.master], [], [], timeout)
        if ready:
            self.transcript += os.read(self.master, 65536)

    def expect(self, text, timeout=10.0):
        """Waits until text (sent with CR LF line ends by the terminal) follows what was seen."""
        wanted = text.replace("\n", "\r\n").encode()
        end = time.monotonic() + timeout
        while True:
            at = self.transcript.find(wanted, self.seen)
            if at >= 0:
                self.seen = at + len(wanted)
                return
            if time.monotonic() > end:
                raise AssertionError("no %r in %r" % (text, self.transcript[self.seen:]))
            self.read_some(0.05)

    def lflag(self):
        return termios.tcgetattr(self.slave)[3]

    def wait_for_key_mode(self, timeout=10.0):
        end = time.monotonic() + timeout
        while self.lflag() & (termios.ICANON | termios.ECHO):
            if time.monotonic() > end:
                raise AssertionError("the key read did not switch the terminal")
            self.read_some(0.01)

    def send(self, data):
        os.write(self.master, data)

    def finish(self, timeout=10.0):
        """Waits for the end of the process; returns (status, reports)."""
        end = time.monotonic() + timeout
        while self.proc.poll() is None:
            if time.monotonic() > end:
                self.proc.kill()
                raise AssertionError("the driver did not end")
            self.read_some(0.02)
        self.read_some(0.05)
        reports = parse_reports(self.proc.stderr.read())
        return self.proc.returncode, reports

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.proc.stderr.close()
        os.close(self.master)
        os.close(self.slave)


class terminal(StateChecks):
    """At a terminal: a key without Enter and without echo, canonical mode for the numbers, and
    the terminal settings restored on every way out."""

    def setUp(self):
        self.session = None

    def tearDown(self):
        if self.session:
            self.session.close()

    def start(self, entries, keys=None):
        self.session = PtySession(entries, keys)
        return self.session

    def assert_restored(self, s):
        self.assertEqual(termios.tcgetattr(s.slave), s.original)

    def test_typed_dialog(self):
        s = self.start("k")
        s.expect(HEADER)
        s.wait_for_key_mode()
        s.send(b"m")                       # no Enter
        s.expect(MATHIEU + BETA)
        self.assertTrue(s.lflag() & termios.ICANON and s.lflag() & termios.ECHO)
        s.send(b"0.10\r")
        s.expect("0.10\n" + LOAD_010 + POINT)
        s.send(b"2\r")                     # a pair on two lines
        s.send(b"1\r")
        s.expect("2\n1\n" + INITIAL)
        s.send(b"1 0\r")
        s.expect("1 0\n" + HELP)
        status, reports = s.finish()
        self.assertEqual(status, 0)
        # The whole transcript: the key is not echoed, the typed numbers are.
        expected = (HEADER + MATHIEU + BETA + "0.10\n" + LOAD_010 + POINT + "2\n1\n" + INITIAL
                    + "1 0\n" + HELP).replace("\n", "\r\n").encode()
        self.assertEqual(s.transcript, expected)
        self.check_fields(reports[0][1], dict(RESET, beta=0.1, delta=2.0, epsilon=1.0, y_now=1.0))
        self.assert_restored(s)

    def test_eof_character_ends_the_dialog(self):
        # Each case: the answers before Ctrl-D, each sent once its prompt has shown.
        cases = [("at the key", []), ("at beta", [(b"m", MATHIEU + BETA)]),
                 ("at the point", [(b"m", MATHIEU + BETA), (b"0.1\r", "0.1\n" + LOAD_010 + POINT)])]
        for name, answers in cases:
            with self.subTest(name):
                s = self.start("k")
                s.expect(HEADER)
                s.wait_for_key_mode()
                for answer, prompt in answers:
                    s.send(answer)
                    s.expect(prompt)
                s.send(b"\x04")            # Ctrl-D
                status, reports = s.finish()
                self.assertEqual(status, 0)
                self.assertEqual(reports[-1][0], "exit")
                self.assert_restored(s)
                s.close()
                self.session = None

    def test_signal_restores_the_terminal(self):
        cases = [("Ctrl-C", b"\x03", signal.SIGINT), ("Ctrl-\\", b"\x1c", signal.SIGQUIT),
                 ("SIGTERM", signal.SIGTERM, signal.SIGTERM),
                 ("SIGHUP", signal.SIGHUP, signal.SIGHUP),
                 ("Ctrl-C at the point", b"\x03", signal.SIGINT)]
        for name, cause, ending in cases:
            with self.subTest(name):
                s = self.start("k")
                s.expect(HEADER)
                s.wait_for_key_mode()
                if name.endswith("at the point"):   # in the number read, canonical mode
                    s.send(b"m")
                    s.expect(BETA)
                    s.send(b"0.1\r")
                    s.expect(LOAD_010 + POINT)
                if isinstance(cause, bytes):
                    s.send(cause)
                else:
                    s.proc.send_signal(cause)
                status, _ = s.finish()
                self.assertEqual(status, -ending)
                self.assert_restored(s)
                s.close()
                self.session = None

    def test_escape_in_the_window_after_a_typed_dialog(self):
        s = self.start("k", "\x1b")
        s.expect(HEADER)
        s.wait_for_key_mode()
        s.send(b"m")
        s.expect(BETA)
        s.send(b"0.1\r2 1\r1 0\r")
        s.expect(HELP)
        status, reports = s.finish()
        self.assertEqual(status, 0)
        self.assertEqual(reports[-1][1]["command_key"], 27)
        self.assert_restored(s)


class job_control(unittest.TestCase):
    """Ctrl-Z in the key read under an interactive shell with job control (the shell is a session
    leader on its own pseudo-terminal, so the job's process group is not orphaned): the shell gets
    the terminal back as it was, and after fg the key read waits again without Enter or echo, also
    after a second stop."""

    PROMPT = "job-control$ "

    def test_stop_and_continue_in_the_key_read(self):
        # bash without line editing reads its commands in canonical mode with echo, as dash does.
        shells = [("dash", ["dash", "-i"]), ("bash", ["bash", "--norc", "--noediting", "-i"])]
        for name, argv in shells:
            with self.subTest(name):
                with ShellSession(argv, self.PROMPT) as s:
                    s.command("%s k 2>/dev/null" % DRIVER)
                    s.expect(HEADER)
                    s.wait_for_key_mode()
                    for stop in ("first", "second"):   # the handler must outlive its first stop
                        s.send(b"\x1a")             # Ctrl-Z
                        s.expect(self.PROMPT)
                        lflag = s.lflag()
                        self.assertTrue(lflag & termios.ICANON and lflag & termios.ECHO,
                                        "the shell got the terminal in key mode, %s stop" % stop)
                        s.command("fg")
                        s.wait_for_key_mode()
                    s.send(b"m")                    # no Enter
                    s.expect(MATHIEU + BETA)
                    s.send(b"\x04")                 # Ctrl-D: end of input, status 0
                    s.expect(self.PROMPT)
                    s.command("echo status $?")
                    s.expect("status 0")


class ShellSession:
    """An interactive shell on a pseudo-terminal that is its controlling terminal."""

    def __init__(self, argv, prompt):
        self.prompt = prompt
        self.master, self.slave = pty.openpty()

        def become_console_session():
            fcntl.ioctl(0, termios.TIOCSCTTY, 0)

        env = dict(os.environ, PS1=prompt, ENV="/dev/null", TERM="dumb")
        self.proc = subprocess.Popen(argv, stdin=self.slave, stdout=self.slave, stderr=self.slave,
                                     cwd=BOUNDARY_DIR, env=env, start_new_session=True,
                                     preexec_fn=become_console_session)
        self.transcript = b""
        self.seen = 0
        self.expect(prompt)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        os.close(self.master)
        os.close(self.slave)

    read_some = PtySession.read_some
    expect = PtySession.expect
    lflag = PtySession.lflag
    wait_for_key_mode = PtySession.wait_for_key_mode
    send = PtySession.send

    def command(self, line):
        self.send(line.encode() + b"\n")


def main():
    global DRIVER, BOUNDARY_DIR
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    DRIVER = os.path.abspath(sys.argv[1])
    groups = sys.argv[2:] or ["pipe_dialog", "refused_numbers", "end_of_input", "window_keys",
                              "terminal", "job_control"]
    with tempfile.TemporaryDirectory(prefix="paravib-console-") as folder:
        BOUNDARY_DIR = folder
        write_boundary_files(folder)
        suite = unittest.TestSuite(unittest.defaultTestLoader.loadTestsFromName(g, sys.modules[__name__])
                                   for g in groups)
        result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
