#!/usr/bin/env python3
"""End-to-end scenarios of the real paravib: the program runs on a pseudo-terminal against a
private Xvfb, the dialog is answered as a user types it, the console transcript is compared byte
for byte, keys go to the window, and the picture is checked from screenshots.

Usage: scenarios.py PARAVIB BOUNDARY_FOLDER SCENARIO
SCENARIO is one of the functions listed in SCENARIOS below. Exit status 0 when it passes.
With PARAVIB_SCREENSHOT_DIR set, teaching_picture also writes response.png and chart.png there.
Python standard library only.
"""
import math
import os
import shutil
import sys
import tempfile
import time
import traceback

sys.dont_write_bytecode = True   # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import reference as ref  # noqa: E402
from console_session import SIGINT_STATUS, Console, run_piped  # noqa: E402
from texts import (BETA_PROMPT, CAPTION, CAPTION_ASCII_PART, HEADER, HELP,  # noqa: E402
                   INITIAL_PROMPT, MATHIEU_LINE, POINT_PROMPT, RETRY, SCAN_MATHIEU, SCAN_SQUARE,
                   SQUARE_LINE, UNDAMPED_FILES, damped_load, undamped_load)
from x_display import XServer, write_png  # noqa: E402

RED = (255, 0, 0)
GREEN = (0, 255, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
TEXT = (10, 10, 10)      # bitmap text lit by the default ambient terms only (0.2 x 0.2)

# Time limits: generous, so that a sanitizer build on a busy machine still passes, and each
# wait ends in a clear failure instead of a hang.
WINDOW_TIMEOUT = 30.0
PICTURE_TIMEOUT = 20.0
LONG_KEYS_TIMEOUT = 120.0

# Epsilon rows at which boundary dots are probed: half-way between the grid's rows.
PROBE_EPSILONS = (1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5)


class Context:
    def __init__(self, paravib, boundaries, work):
        self.paravib, self.boundaries, self.work = paravib, boundaries, work
        self.x = None
        self.figures = []

    def start_x(self, width=1024, height=1024):
        self.x = XServer(width, height, os.path.join(self.work, "xvfb.log"))
        return self.x

    def start(self, cwd=None, name="paravib"):
        """The program on a pseudo-terminal, in cwd (default: the folder of the 22 files)."""
        env = self.x.env if self.x else {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        return Console([self.paravib], cwd or self.boundaries, env,
                       os.path.join(self.work, name + ".stderr"))

    def window(self, con):
        """The program's window, found by its caption; checks the caption a window manager
        reads and gives the window the keyboard focus."""
        start = time.monotonic()
        w = self.x.find_window(CAPTION_ASCII_PART, WINDOW_TIMEOUT,
                               lambda: con.process.poll() is None)
        self.figures.append(("window found %.2f s after the last answer" %
                             (time.monotonic() - start)))
        # freeglut maps the window inside glutCreateWindow; the program sets the UTF-8 caption
        # right after, so a fast search can see the window a moment before its caption.
        deadline = time.monotonic() + WINDOW_TIMEOUT
        net_wm_name, wm_name = self.x.window_names(w)
        while (net_wm_name != CAPTION or wm_name != CAPTION) and time.monotonic() < deadline:
            time.sleep(0.05)
            net_wm_name, wm_name = self.x.window_names(w)
        check(net_wm_name == CAPTION, "_NET_WM_NAME is %r" % net_wm_name)
        check(wm_name == CAPTION, "WM_NAME is %r" % wm_name)
        # Without a window manager the window sits where the program asked, which is -1, -1 by
        # default: a screenshot would lose its top row and left column.
        self.x.move(w, 0, 0)
        self.x.focus(w)
        return w

    def table(self, name, folder=None):
        return ref.read_boundary_file(os.path.join(folder or self.boundaries, name))[1]


def check(condition, message):
    if not condition:
        raise AssertionError(message)


# ---- dialog -------------------------------------------------------------------------------

def wait_key_mode(con, timeout=10.0):
    """The single-key read has switched the terminal to non-canonical mode without echo (the
    switch follows the prompt, so it is polled)."""
    deadline = time.monotonic() + timeout
    while not con.in_key_mode():
        check(time.monotonic() < deadline, "the terminal never left canonical mode for the key")
        check(con.process.poll() is None, "the program ended at the key prompt")
        time.sleep(0.01)


def choose(con, key, equation_line):
    """Step (1): the header, the key without Enter and without echo, the equation line."""
    con.expect(HEADER)
    wait_key_mode(con)
    con.press(key)
    con.expect(equation_line)


def numbers(con, prompt, answer, then=""):
    con.expect(prompt)
    con.type_line(answer)
    if then:
        con.expect(then)


def full_pass(con, key, beta, point, initial, boundaries_text, equation_line):
    choose(con, key, equation_line)
    numbers(con, BETA_PROMPT, beta, boundaries_text)
    numbers(con, POINT_PROMPT, point)
    numbers(con, INITIAL_PROMPT, initial, HELP)


# ---- picture ------------------------------------------------------------------------------

def drawn(image):
    """A picture has been drawn: mostly the white background (the window starts black)."""
    return image.count(WHITE) > image.width * image.height // 2


def chart_legend_box(image):
    """Right of the chart's origin and below its delta axis, where only the chart's legend has
    text; the response view's legends stand at the top left."""
    w, h = image.width, image.height
    return int(0.45 * w), int(0.52 * h), w, h


def chart_shown(image):
    return drawn(image) and image.count(TEXT, chart_legend_box(image)) > 40


def chart_hidden(image):
    return drawn(image) and image.count(TEXT, chart_legend_box(image)) == 0


def red_point(image, expected, reach=20):
    """Centre of the filled red disc near expected (the chosen point), or None."""
    x, y = int(expected[0]), int(expected[1])
    return image.solid_centroid(RED, (x - reach, y - reach, x + reach, y + reach))


def near(found, expected, tolerance=1.0):
    return found is not None and math.hypot(found[0] - expected[0],
                                            found[1] - expected[1]) <= tolerance


def wait_red_point(ctx, w, expected, what):
    return ctx.x.wait_for_picture(
        w, lambda im: chart_shown(im) and near(red_point(im, expected), expected),
        PICTURE_TIMEOUT, "%s: the red point at %.1f, %.1f" % (what, expected[0], expected[1]))


def mass_centre(image):
    """Centre of the mass disc (radius 16 px at x = 400); the strings are too thin to count."""
    return image.solid_centroid(RED, (370, 0, 430, image.height))


def check_probes(image, probes, expect_dots, what):
    """Each probe pixel shows its dot colour (expect_dots) or the white background."""
    colours = {"red": RED, "black": BLACK}
    wrong = [(p, c, image.pixel(*p)) for p, c in probes
             if image.pixel(*p) != (colours[c] if expect_dots else WHITE)]
    check(not wrong, "%s: %d of %d boundary probes wrong, e.g. %r"
          % (what, len(wrong), len(probes), wrong[:4]))


def probes_match(probes):
    colours = {"red": RED, "black": BLACK}
    return lambda im: all(im.pixel(*p) == colours[c] for p, c in probes)


def check_mass(image, kind, beta, delta, epsilon, y0, v0, frames, what):
    y, _ = ref.motion(kind, beta, delta, epsilon, y0, v0, frames)
    found = mass_centre(image)
    want = (400.0, ref.mass_row(y))
    check(near(found, want, 1.5), "%s: mass at %r, expected %r (y = %.4f after %d frames)"
          % (what, found, want, y, frames))


# ---- scenarios ----------------------------------------------------------------------------

def undamped_chart(ctx):
    """Mathieu, beta = 0 from the four stored tables, (delta, epsilon) = (2, 1): the exact
    transcript, the caption, the first picture without the chart, after `a` the red point at
    window (0.18, 0.1) and red and black dots where the files put them, `s` hides the chart,
    `z` shrinks it towards the origin and `Z` enlarges it again, ESC ends with status 0."""
    ctx.start_x()
    with ctx.start() as con:
        full_pass(con, "m", "0", "2 1", "0 0", undamped_load(), MATHIEU_LINE)
        w = ctx.window(con)
        point = ref.chart_pixel(2, 1)
        probes = ref.dot_probes([ctx.table("filedc1"), ctx.table("fileds1")],
                                [ctx.table("filedc2"), ctx.table("fileds2")],
                                PROBE_EPSILONS, avoid=[point + (8,)])
        check(sum(c == "red" for _, c in probes) >= 8 and
              sum(c == "black" for _, c in probes) >= 8, "too few probes: %r" % probes)

        first = ctx.x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
        check(first.width == 800 and first.height == 800, "window is %dx%d" % (first.width,
                                                                               first.height))
        check(chart_hidden(first) and red_point(first, point) is None,
              "the first picture shows the chart")
        check_probes(first, probes, False, "first picture")

        ctx.x.keys("a")
        shown = wait_red_point(ctx, w, point, "after a")
        check_probes(shown, probes, True, "after a")

        ctx.x.keys("s")
        hidden = ctx.x.wait_for_picture(w, chart_hidden, PICTURE_TIMEOUT, "no chart after s")
        check(red_point(hidden, point) is None, "the red point stays after s")
        check_probes(hidden, probes, False, "after s")

        ctx.x.keys("a")
        wait_red_point(ctx, w, point, "after a again")
        ctx.x.keys("z")
        smaller = ref.chart_pixel(2, 1, scale=0.9)
        wait_red_point(ctx, w, smaller, "after z")
        check(math.hypot(smaller[0] - 400, smaller[1] - 400)
              < math.hypot(point[0] - 400, point[1] - 400), "z moved the point outwards")
        ctx.x.keys("Z")
        wait_red_point(ctx, w, point, "after Z")

        ctx.x.keys("Escape")
        con.check_ended(0)


def computed_curves(ctx):
    """Boundaries that no file holds: Mathieu with beta = 0.1000001 (scanned; the curves must
    lie where the stored beta = 0.1 tables put them), then `k` and the square wave with
    beta = 0.1 (scanned; checked against the closed form). Measures the time from the typed
    beta to the window."""
    ctx.start_x()
    with ctx.start() as con:
        choose(con, "m", MATHIEU_LINE)
        con.expect(BETA_PROMPT)
        typed = time.monotonic()
        con.type_line("0.1000001")
        con.expect(SCAN_MATHIEU[0], timeout=60)
        con.expect(SCAN_MATHIEU[1], timeout=60)
        con.expect(POINT_PROMPT, timeout=60)
        scans = time.monotonic() - typed
        con.type_line("2 1")
        numbers(con, INITIAL_PROMPT, "0 0", HELP)
        w = ctx.window(con)
        ctx.figures.append("two Mathieu scans (beta = 0.1000001): %.2f s; typed beta to window: "
                           "%.2f s" % (scans, time.monotonic() - typed))
        point = ref.chart_pixel(2, 1)
        probes = ref.dot_probes([ctx.table("fileb1010")], [ctx.table("fileb2010")],
                                PROBE_EPSILONS, avoid=[point + (8,)])
        check(len(probes) >= 16, "too few probes: %r" % probes)
        ctx.x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
        ctx.x.keys("a")
        shown = wait_red_point(ctx, w, point, "Mathieu, computed, after a")
        check_probes(shown, probes, True, "Mathieu beta = 0.1000001")

        # k: a new equation; the square wave's boundaries are always scanned.
        ctx.x.keys("k")
        choose(con, "r", SQUARE_LINE)
        con.expect(BETA_PROMPT)
        typed = time.monotonic()
        con.type_line("0.1")
        con.expect(SCAN_SQUARE[0], timeout=60)
        con.expect(SCAN_SQUARE[1], timeout=60)
        con.expect(POINT_PROMPT, timeout=60)
        ctx.figures.append("two square-wave scans (beta = 0.1): %.2f s"
                           % (time.monotonic() - typed))
        con.type_line("2 1")
        numbers(con, INITIAL_PROMPT, "0 0", HELP)

        def closed_form(period_doubled):
            columns = []
            for eps in PROBE_EPSILONS:
                roots = ref.square_wave_roots(0.1, eps, period_doubled)
                # A scan step is at most 0.1: keep only roots it cannot confuse with another.
                columns.append((eps, [r for r in roots
                                      if all(abs(r - o) > 0.25 for o in roots if o != r)]))
            return columns

        square_probes = ref.dot_probes([closed_form(False)], [closed_form(True)],
                                       PROBE_EPSILONS, avoid=[point + (8,)])
        check(sum(c == "red" for _, c in square_probes) >= 4 and
              sum(c == "black" for _, c in square_probes) >= 4,
              "too few probes: %r" % square_probes)
        before = ctx.x.screenshot(w)
        ctx.x.keys("a")
        ctx.x.wait_for_picture(w, lambda im: im.data != before.data and
                               probes_match(square_probes)(im), PICTURE_TIMEOUT,
                               "the square-wave boundaries after a")
        ctx.x.keys("Escape")
        con.check_ended(0)


def reentry(ctx):
    """`j`, `d` and `b` re-enter the dialog at their step: the window is frozen meanwhile (a key
    pressed then waits), the prompts are exactly those of that step, and the next picture starts
    the motion again from y0, v0 with a fresh history sweep. Ends with Ctrl-C at the key prompt
    after `k`: the program dies by SIGINT and the terminal is restored."""
    ctx.start_x()
    with ctx.start() as con:
        full_pass(con, "m", "0", "2 1", "1 0", undamped_load(), MATHIEU_LINE)
        w = ctx.window(con)
        ctx.x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
        ctx.x.keys(*["s"] * 20)
        running = ctx.x.wait_until_still(w, PICTURE_TIMEOUT)
        check(max(running.columns_with(GREEN, (0, 0, 400, 800)), default=0) > 60,
              "20 frames should draw the velocity well into the sweep")

        # j: the initial values only. The window waits: a key pressed now is handled later.
        ctx.x.keys("j")
        con.expect(INITIAL_PROMPT)
        frozen = ctx.x.screenshot(w)
        ctx.x.keys("s")
        time.sleep(0.4)
        check(ctx.x.screenshot(w).data == frozen.data, "the window changed during the dialog")
        con.type_line("-1 0.5")
        con.expect(HELP)
        restarted = ctx.x.wait_for_picture(w, lambda im: im.data != frozen.data,
                                           PICTURE_TIMEOUT, "the frame of the waiting key")
        check_mass(restarted, "m", 0.0, 2.0, 1.0, -1.0, 0.5, 1, "after j")
        green = restarted.columns_with(GREEN, (0, 0, 400, 800))
        check(green and max(green) <= 12, "the sweep did not restart after j: green up to %r"
              % (max(green) if green else None))

        # d: the point and the initial values; the chart then shows the new point.
        ctx.x.keys("d")
        numbers(con, POINT_PROMPT, "3 0.5")
        numbers(con, INITIAL_PROMPT, "0.5 0", HELP)
        # One frame without the chart, whose dots may touch the mass, then the chart.
        ctx.x.keys("s")
        image = ctx.x.wait_for_picture(
            w, lambda im: im.data != restarted.data and chart_hidden(im), PICTURE_TIMEOUT,
            "s after d")
        check_mass(image, "m", 0.0, 3.0, 0.5, 0.5, 0.0, 1, "after d")
        ctx.x.keys("a")
        wait_red_point(ctx, w, ref.chart_pixel(3, 0.5), "after d")

        # b: the damping (the equation is kept: no header, no equation line) and the tables.
        ctx.x.keys("b")
        numbers(con, BETA_PROMPT, "0.1", damped_load(0.1))
        numbers(con, POINT_PROMPT, "2 1")
        numbers(con, INITIAL_PROMPT, "0 0", HELP)
        point = ref.chart_pixel(2, 1)
        probes = ref.dot_probes([ctx.table("fileb1010")], [ctx.table("fileb2010")],
                                PROBE_EPSILONS, avoid=[point + (8,)])
        ctx.x.keys("s")
        image = ctx.x.wait_for_picture(w, chart_hidden, PICTURE_TIMEOUT, "s after b")
        check_mass(image, "m", 0.1, 2.0, 1.0, 0.0, 0.0, 1, "after b")
        ctx.x.keys("a")
        image = wait_red_point(ctx, w, point, "after b")
        check_probes(image, probes, True, "beta = 0.1 after b")

        # k, then Ctrl-C while the terminal is in single-key mode.
        ctx.x.keys("k")
        con.expect(HEADER)
        wait_key_mode(con)
        con.send(b"\x03")
        con.check_ended(SIGINT_STATUS)


def missing_files(ctx):
    """In a folder without the boundary files every table is announced as unreadable and
    scanned instead; the chart still shows the curves where the generated files put them. A
    damaged file (cut short, or a count of 12) is reported and replaced the same way."""
    ctx.start_x()
    empty = os.path.join(ctx.work, "empty")
    os.mkdir(empty)
    with ctx.start(cwd=empty) as con:
        full_pass(con, "m", "0", "2 1", "0 0", undamped_load(missing=UNDAMPED_FILES),
                  MATHIEU_LINE)
        w = ctx.window(con)
        point = ref.chart_pixel(2, 1)
        probes = ref.dot_probes([ctx.table("filedc1"), ctx.table("fileds1")],
                                [ctx.table("filedc2"), ctx.table("fileds2")],
                                PROBE_EPSILONS, avoid=[point + (8,)])
        ctx.x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
        ctx.x.keys("a")
        check_probes(wait_red_point(ctx, w, point, "after a"), probes, True, "scanned beta = 0")

        ctx.x.keys("b")
        numbers(con, BETA_PROMPT, "0.1",
                damped_load(0.1, missing=("fileb1010", "fileb2010")))
        numbers(con, POINT_PROMPT, "2 1")
        numbers(con, INITIAL_PROMPT, "0 0", HELP)
        probes = ref.dot_probes([ctx.table("fileb1010")], [ctx.table("fileb2010")],
                                PROBE_EPSILONS, avoid=[point + (8,)])
        before = ctx.x.screenshot(w)
        ctx.x.keys("a")
        ctx.x.wait_for_picture(w, lambda im: im.data != before.data and probes_match(probes)(im),
                               PICTURE_TIMEOUT, "the scanned beta = 0.1 curves")
        ctx.x.keys("Escape")
        con.check_ended(0)

    damaged = os.path.join(ctx.work, "damaged")
    shutil.copytree(ctx.boundaries, damaged)
    with open(os.path.join(damaged, "fileds1"), "r+") as f:
        f.truncate(len(f.read()) // 2)
    with open(os.path.join(damaged, "fileb2010")) as f:
        lines = f.read().split("\n")
    lines[30] = " 12" + lines[30][3:]
    with open(os.path.join(damaged, "fileb2010"), "w") as f:
        f.write("\n".join(lines))
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    for answers, loaded in (("m\n0\n", undamped_load(missing=("fileds1",))),
                            ("m\n0.1\n", damped_load(0.1, missing=("fileb2010",)))):
        status, out, err = run_piped([ctx.paravib], damaged, env, answers)
        check(status == 0, "status %d for %r: %s" % (status, answers, err))
        check(out == HEADER + MATHIEU_LINE + BETA_PROMPT + loaded + POINT_PROMPT,
              "transcript for %r: %r" % (answers, out))


def bad_input(ctx):
    """Every kind of unreadable answer: the refusal line and the same prompt again, empty lines
    ignored, a key other than m or r taken silently (no boundaries: the chart shows only its
    grid, axes and point), and finally end of input (Ctrl-D) at the key prompt of a dialog
    re-entered from the window: status 0, terminal restored."""
    ctx.start_x()
    with ctx.start() as con:
        choose(con, "x", "")
        con.expect(BETA_PROMPT)
        for bad in ("abc", "nan", "1e999", "-inf", "0.3.1", "0x1p99999"):
            con.type_line(bad)
            con.expect(RETRY + BETA_PROMPT)
        con.send(b"\r\r")
        con.expect("\n\n")
        con.expect_quiet(0.3)
        con.type_line("0.3")
        con.expect(POINT_PROMPT)           # another key: nothing is scanned or loaded
        for bad in ("2 abc", "nan 1", "2,1"):
            con.type_line(bad)
            con.expect(RETRY + POINT_PROMPT)
        con.type_line("2")
        con.type_line("1")                 # the pair on two lines
        numbers(con, INITIAL_PROMPT, "1 0x")
        con.expect(RETRY + INITIAL_PROMPT)
        con.type_line("0 0")
        con.expect(HELP)

        w = ctx.window(con)
        point = ref.chart_pixel(2, 1)
        ctx.x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
        ctx.x.keys("a")
        image = wait_red_point(ctx, w, point, "after a")
        # The chart's quadrant away from the mass (radius 16 px at the origin) and the point.
        quadrant = (420, 4, 796, 380)
        dots = image.count(RED, quadrant) - image.count(RED, (460, 348, 485, 373))
        check(dots == 0, "%d red pixels in the chart besides the point: no table was filled"
              % dots)

        ctx.x.keys("k")
        con.expect(HEADER)
        wait_key_mode(con)
        con.send(b"\x04")
        con.check_ended(0)


def end_of_input(ctx):
    """End of input and Ctrl-C at every step of the first dialog, without any X server: the
    program ends at once with status 0 (end of input) or by SIGINT (Ctrl-C), prints nothing more,
    and leaves the terminal as it found it."""
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    m_header = HEADER + MATHIEU_LINE + BETA_PROMPT
    after_beta = m_header + undamped_load() + POINT_PROMPT
    piped = [
        ("nothing at all", "", HEADER),
        ("after the key", "m", m_header),
        ("after white space only", " \n\t\n", HEADER),
        ("a beta without line end", "m\n0", after_beta),
        ("half a pair", "m\n0\n2", after_beta),
        ("after the point", "m\n0\n2 1\n", after_beta + INITIAL_PROMPT),
        ("half the initial values", "m\n0\n2 1\n1", after_beta + INITIAL_PROMPT),
        ("after the square-wave scans", "r\n0.1\n",
         HEADER + SQUARE_LINE + BETA_PROMPT + "".join(SCAN_SQUARE) + POINT_PROMPT),
        ("an unreadable number, then nothing", "m\nabc", m_header),
        ("a refused number, then nothing", "m\nnan\n", m_header + RETRY + BETA_PROMPT),
    ]
    for name, answers, transcript in piped:
        status, out, err = run_piped([ctx.paravib], ctx.boundaries, env, answers)
        check(status == 0, "%s: status %d\n%s" % (name, status, err.decode(errors="replace")))
        check(out == transcript, "%s: transcript %r" % (name, out))

    # On a terminal: Ctrl-D at each step, Ctrl-C at the key and at a number.
    def reach(con, step):
        con.expect(HEADER)
        wait_key_mode(con)
        if step == 1:
            return
        con.press("m")
        con.expect(MATHIEU_LINE + BETA_PROMPT)
        if step == 2:
            return
        con.type_line("0")
        con.expect(undamped_load() + POINT_PROMPT)
        if step == 3:
            return
        con.type_line("2 1")
        con.expect(INITIAL_PROMPT)

    steps = [
        # name, step reached, typed there, ending byte, exit status
        ("Ctrl-D at the key", 1, None, b"\x04", 0),
        ("Ctrl-D at beta", 2, None, b"\x04", 0),
        ("Ctrl-D after delta", 3, "2", b"\x04", 0),
        ("Ctrl-D at y0 v0", 4, None, b"\x04", 0),
        ("Ctrl-C at the key", 1, None, b"\x03", SIGINT_STATUS),
        ("Ctrl-C at the point", 3, None, b"\x03", SIGINT_STATUS),
    ]
    for name, step, typed, ending, status in steps:
        with ctx.start(name="pty") as con:
            try:
                reach(con, step)
                if typed:
                    con.type_line(typed)
                time.sleep(0.1)       # let the program reach its read
                con.send(ending)
                # Ctrl-C at a number is echoed as ^C by the terminal itself.
                con.check_ended(status, all_output_checked=status == 0)
            except AssertionError as e:
                raise AssertionError("%s: %s" % (name, e))


def key_batches(ctx, w, batches):
    """Presses each batch of keys with one xdotool call and waits until the program has handled
    them all. A batch ends with a marker key, a (chart shown) or s (chart hidden), and starts from
    the other state while its own keys never produce the marker's state, so the first picture in
    that state is the batch's last frame. Returns that picture."""
    image = None
    for keys, marker, what in batches:
        before, after = ((chart_hidden, chart_shown) if marker == "a"
                         else (chart_shown, chart_hidden))
        ctx.x.keys("s" if marker == "a" else "a")
        ctx.x.wait_for_picture(w, before, PICTURE_TIMEOUT, "the picture before " + what)
        started = time.monotonic()
        ctx.x.keys(*keys, marker)
        image = ctx.x.wait_for_picture(w, after, LONG_KEYS_TIMEOUT, "the end of " + what,
                                       interval=0.3)
        ctx.figures.append("%s: %.1f s, %.1f ms per key" % (
            what, time.monotonic() - started, 1000 * (time.monotonic() - started) / len(keys)))
    return image


def long_zoom(ctx):
    """1000 x Z (the chart scales pass the single-precision range that OpenGL draws with), 1000 x z
    back, 1000 x y, then the window resized to 200 x 100 and to 1600 x 1200: the program keeps
    answering, z undoes Z, the picture stretches with the window, and ESC ends with status 0.
    beta = 2 has the sparsest stored curves, so the many chart frames stay cheap."""
    ctx.start_x(1700, 1300)
    with ctx.start() as con:
        full_pass(con, "m", "2", "2 1", "1 0", damped_load(2.0), MATHIEU_LINE)
        w = ctx.window(con)
        point = ref.chart_pixel(2, 1)
        ctx.x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
        image = key_batches(ctx, w, [(["Z"] * 1000, "s", "1000 x Z"),
                                     (["z"] * 1000, "s", "1000 x z"),
                                     (["y"] * 1000, "a", "1000 x y")])
        check(near(red_point(image, point), point),
              "after 1000 x Z and 1000 x z the red point is at %r, expected %r"
              % (red_point(image, point), point))

        for width, height in ((200, 100), (1600, 1200)):
            def sized(im, test=chart_shown, size=(width, height)):
                return (im.width, im.height) == size and test(im)
            ctx.x.resize(w, width, height)
            ctx.x.wait_for_picture(w, sized, PICTURE_TIMEOUT, "the picture at %dx%d" % (width,
                                                                                     height))
            ctx.x.keys("s")
            ctx.x.wait_for_picture(w, lambda im: sized(im, chart_hidden), PICTURE_TIMEOUT,
                                   "s at %dx%d" % (width, height))
            ctx.x.keys("a")
            image = ctx.x.wait_for_picture(w, sized, PICTURE_TIMEOUT,
                                           "a at %dx%d" % (width, height))
        expected = ref.chart_pixel(2, 1, width=1600, height=1200)
        check(near(red_point(image, expected), expected),
              "the picture is not stretched to 1600x1200: red point at %r, expected %r"
              % (red_point(image, expected), expected))
        ctx.x.keys("Escape")
        con.check_ended(0)


def long_sweep(ctx):
    """30 x t (the sweep would hold more samples than the history has) and 2000 x s, past the
    history's last entry, while the motion (Mathieu delta = -20, epsilon = 10, beta = 0) grows past
    the double range: the program keeps answering, a final `a` shows the chart, ESC ends with
    status 0 (a sanitizer build checks every history index on the way)."""
    ctx.start_x()
    with ctx.start() as con:
        full_pass(con, "m", "0", "-20 10", "1 0", undamped_load(), MATHIEU_LINE)
        w = ctx.window(con)
        ctx.x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
        image = key_batches(ctx, w, [(["t"] * 30 + ["s"] * 2000, "a", "30 x t, 2000 x s")])
        # Any displacement below 4 in size would put the mass inside the window.
        check(mass_centre(image) is None, "the unstable motion did not grow out of the window")
        ctx.x.keys("Escape")
        con.check_ended(0)


def teaching_picture(ctx):
    """Mathieu with beta = 0.1 from the tables and (delta, epsilon) = (0.25, 1.2) inside the first
    unstable region: over ninety frames the displacement from y0 = 0.1 grows several-fold, and the
    chart shows the point between the boundaries. With PARAVIB_SCREENSHOT_DIR set, both pictures
    are written there as response.png and chart.png."""
    ctx.start_x()
    with ctx.start() as con:
        full_pass(con, "m", "0.1", "0.25 1.2", "0.1 0", damped_load(0.1), MATHIEU_LINE)
        w = ctx.window(con)
        ctx.x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
        ctx.x.keys(*["s"] * 88, delay_ms=2)
        response = ctx.x.wait_until_still(w, PICTURE_TIMEOUT)

        def spread(image, x0, x1):
            rows = image.rows_with(GREEN, (x0, 0, x1, 800))
            return max(abs(r + 0.5 - 400) for r in rows) if rows else 0

        early, late = spread(response, 4, 84), spread(response, 284, 364)
        check(late > 4 * max(early, 2), "the motion should grow: velocity within %.1f px early, "
              "%.1f px late" % (early, late))
        ctx.x.keys("a")
        chart = wait_red_point(ctx, w, ref.chart_pixel(0.25, 1.2), "after a")
        folder = os.environ.get("PARAVIB_SCREENSHOT_DIR")
        if folder:
            write_png(os.path.join(folder, "response.png"), response)
            write_png(os.path.join(folder, "chart.png"), chart)
        ctx.x.keys("Escape")
        con.check_ended(0)


SCENARIOS = {f.__name__: f for f in (undamped_chart, computed_curves, reentry, missing_files,
                                     bad_input, end_of_input, long_zoom, long_sweep,
                                     teaching_picture)}


def main(argv):
    if len(argv) != 4 or argv[3] not in SCENARIOS:
        print(__doc__ + "\nscenarios: " + ", ".join(SCENARIOS), file=sys.stderr)
        return 2
    paravib, boundaries, name = os.path.abspath(argv[1]), os.path.abspath(argv[2]), argv[3]
    work = tempfile.mkdtemp(prefix="paravib-e2e-")
    ctx = Context(paravib, boundaries, work)
    started = time.monotonic()
    try:
        SCENARIOS[name](ctx)
        passed = True
    except Exception:
        traceback.print_exc()
        for log in sorted(os.listdir(work)):
            path = os.path.join(work, log)
            if os.path.isfile(path) and os.path.getsize(path):
                with open(path, errors="replace") as f:
                    print("---- %s ----\n%s" % (log, f.read()[-4000:]), file=sys.stderr)
        passed = False
    finally:
        if ctx.x:
            ctx.x.stop()
        shutil.rmtree(work, ignore_errors=True)
    for figure in ctx.figures:
        print("figure: " + figure)
    print("%s: %s in %.1f s" % (name, "passed" if passed else "FAILED", time.monotonic() - started))
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
