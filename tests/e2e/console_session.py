"""The real paravib on a pseudo-terminal, as a user at a console runs it: the terminal is its
controlling terminal (so Ctrl-C raises SIGINT), answers are typed and echoed by the line
discipline, and everything the program writes is checked in order, byte for byte. The slave side
stays open here so the terminal settings can be read before, during and after the run."""
import fcntl
import os
import pty
import select
import signal
import subprocess
import termios
import time

HERE = os.path.dirname(os.path.abspath(__file__))
LSAN_SUPPRESSIONS = os.path.join(os.path.dirname(HERE), "lsan.supp")

# Markers of a sanitizer report on standard error.
SANITIZER_MARKERS = (b"ERROR: AddressSanitizer", b"ERROR: LeakSanitizer", b"runtime error:",
                     b"SUMMARY: UndefinedBehaviorSanitizer")


def _linked_asan_runtime(program):
    """Path of the AddressSanitizer runtime the program is linked with, or None."""
    try:
        listing = subprocess.run(["ldd", program], capture_output=True, timeout=30).stdout
    except (OSError, subprocess.TimeoutExpired):
        return None
    for line in listing.decode(errors="replace").splitlines():
        name, _, rest = line.strip().partition(" => ")
        if name.startswith("libasan.so") and rest.startswith("/"):
            return rest.split()[0]
    return None


def program_env(program, base):
    """The environment for the program. In a sanitizer build the leak checker is told about the
    allocations the X, GL and GLUT libraries keep until exit (unless the caller configured it).
    The GL driver's own memory the program names for the leak checker itself."""
    env = dict(base)
    if _linked_asan_runtime(program) is None:
        return env
    env.setdefault("LSAN_OPTIONS", "suppressions=%s:print_suppressions=0" % LSAN_SUPPRESSIONS)
    return env


def _make_controlling_terminal():
    os.setsid()
    fcntl.ioctl(0, termios.TIOCSCTTY, 0)


def terminal_bytes(text):
    """What a terminal with the usual output processing (ONLCR) shows for the program's text."""
    return text.encode().replace(b"\n", b"\r\n")


class Console:
    def __init__(self, argv, cwd, env, stderr_path):
        self.master, self.slave = pty.openpty()
        self.initial_mode = termios.tcgetattr(self.slave)
        self.stderr_path = stderr_path
        with open(stderr_path, "wb") as err:
            self.process = subprocess.Popen(argv, cwd=cwd, env=program_env(argv[0], env),
                                            stdin=self.slave, stdout=self.slave, stderr=err,
                                            close_fds=True, preexec_fn=_make_controlling_terminal)
        self.output = bytearray()
        self.checked = 0          # bytes of output already matched

    # ---- output ---------------------------------------------------------------------------
    def _pump(self, timeout):
        """Reads what the program wrote within timeout; False if nothing came."""
        ready = select.select([self.master], [], [], max(timeout, 0))[0]
        if not ready:
            return False
        try:
            chunk = os.read(self.master, 65536)
        except OSError:
            return False
        self.output += chunk
        return bool(chunk)

    def expect(self, text, timeout=20.0):
        """The next output must be exactly text (line feeds as the terminal shows them)."""
        want = terminal_bytes(text)
        deadline = time.monotonic() + timeout
        while True:
            got = bytes(self.output[self.checked:self.checked + len(want)])
            if len(got) == len(want) or not want.startswith(got):
                break
            if time.monotonic() > deadline:
                break
            if not self._pump(min(0.1, deadline - time.monotonic())):
                if self.process.poll() is not None and not self._pump(0.05):
                    break
        if got != want:
            raise AssertionError(
                "console output differs\n  expected: %r\n  received: %r\n  (program %s)"
                % (want.decode(errors="replace"), got.decode(errors="replace"),
                   "running" if self.process.poll() is None
                   else "ended with %s" % self.process.returncode))
        self.checked += len(want)

    def expect_quiet(self, seconds):
        """Nothing more is written for this long."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self._pump(deadline - time.monotonic())
        extra = bytes(self.output[self.checked:])
        if extra:
            raise AssertionError("unexpected console output: %r" % extra.decode(errors="replace"))

    # ---- input ----------------------------------------------------------------------------
    def press(self, key):
        """One key for the single-key read: no Enter, and the terminal must not echo it."""
        os.write(self.master, key.encode())

    def type_line(self, text):
        """Types an answer and Enter; the terminal echoes it (canonical mode with echo)."""
        os.write(self.master, (text + "\r").encode())
        self.expect(text + "\n")

    def send(self, raw):
        os.write(self.master, raw)

    # ---- terminal and process -------------------------------------------------------------
    def mode(self):
        return termios.tcgetattr(self.slave)

    def in_key_mode(self):
        lflag = self.mode()[3]
        return not lflag & termios.ICANON and not lflag & termios.ECHO

    def wait_exit(self, timeout=20.0):
        """Waits for the end of the process, reading its last output; returns the status."""
        deadline = time.monotonic() + timeout
        while self.process.poll() is None:
            if time.monotonic() > deadline:
                raise AssertionError("the program did not end within %.0f s" % timeout)
            self._pump(0.05)
        self._pump(0.05)
        return self.process.returncode

    def check_ended(self, status, timeout=20.0, all_output_checked=True):
        """The process ends with status (negative: killed by that signal), every byte it wrote
        was expected, the terminal has exactly the settings it had before the start, and no
        sanitizer reported anything."""
        got = self.wait_exit(timeout)
        if got != status:
            raise AssertionError("exit status %s, expected %s\n%s" % (got, status, self.stderr()))
        if all_output_checked:
            self.expect_quiet(0)
        if self.mode() != self.initial_mode:
            raise AssertionError("terminal settings not restored:\n  before %r\n  after  %r"
                                 % (self.initial_mode, self.mode()))
        self.check_stderr()

    def stderr(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode(errors="replace")

    def check_stderr(self):
        with open(self.stderr_path, "rb") as f:
            text = f.read()
        if any(marker in text for marker in SANITIZER_MARKERS):
            raise AssertionError("sanitizer report:\n" + text.decode(errors="replace"))

    def close(self):
        """Ends the program if it still runs (it is the one process started here)."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        for fd in (self.master, self.slave):
            try:
                os.close(fd)
            except OSError:
                pass

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def run_piped(argv, cwd, env, answers, timeout=60.0):
    """The program with its answers on a pipe and its output on another; (status, out, err)."""
    done = subprocess.run(argv, cwd=cwd, env=program_env(argv[0], env), input=answers.encode(),
                          capture_output=True, timeout=timeout)
    return done.returncode, done.stdout.decode(errors="replace"), done.stderr


SIGINT_STATUS = -signal.SIGINT
