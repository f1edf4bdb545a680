#!/usr/bin/env python3
"""End-to-end scenarios of the real paravib: what only the executable can show. The program runs
on a pseudo-terminal against a private Xvfb, the dialog is answered as a user types it, keys go to
the window, and the picture is checked from screenshots: the window and its caption, the keys, the
dialog re-entered from the window, and the exit status of each way out. The dialog's texts, the
boundary tables and the drawing are tested in detail at their own level.

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
from console_session import SIGINT_STATUS, Console  # noqa: E402
from texts import (BETA_PROMPT, CAPTION, CAPTION_ASCII_PART, HEADER, HELP,  # noqa: E402
                   INITIAL_PROMPT, MATHIEU_LINE, POINT_PROMPT, damped_load, undamped_load)
from x_display import XServer, write_png  # noqa: E402

RED = (255, 0, 0)
GREEN = (0, 255, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
TINT = (255, 235, 190)   # paravib-explore's shading of the unstable pairs
TEXT = (10, 10, 10)      # bitmap text lit by the default ambient terms only (0.2 x 0.2)

# Time limits: generous, so that a sanitizer build on a busy machine still passes, and each
# wait ends in a clear failure instead of a hang.
WINDOW_TIMEOUT = 30.0
PICTURE_TIMEOUT = 20.0


class Context:
    def __init__(self, paravib, boundaries, work):
        self.paravib, self.boundaries, self.work = paravib, boundaries, work
        self.x = None
        self.figures = []

    def start_x(self, width=1024, height=1024):
        self.x = XServer(width, height, os.path.join(self.work, "xvfb.log"))
        return self.x

    def start(self):
        """The program on a pseudo-terminal, in the folder of the 22 files."""
        env = self.x.env if self.x else {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        return Console([self.paravib], self.boundaries, env,
                       os.path.join(self.work, "paravib.stderr"))

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
    """A picture has been drawn: mostly the white background, or the explorer's shading over it
    (the window starts black)."""
    return image.count(WHITE) + image.count(TINT) > image.width * image.height // 2


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


def boundary_dots(image, point):
    """Red and black pixels inside the chart's grid cells (36 x 40 px at the first scales) up and
    right of the origin, 4 px clear of the grid lines, leaving out the first column of cells (the
    mass may reach into it) and, for red, the cells next to the red point."""
    red_mask, black_mask = image.mask(RED), image.mask(BLACK)
    red = black = 0
    for x in range(436, 760, 36):
        for y in range(0, 360, 40):
            box = (x + 4, y + 4, x + 32, y + 36)
            black += image.count(BLACK, box, black_mask)
            if not (x - 12 <= point[0] <= x + 48 and y - 12 <= point[1] <= y + 52):
                red += image.count(RED, box, red_mask)
    return red, black


def check_mass(image, kind, beta, delta, epsilon, y0, v0, frames, what):
    y, _ = ref.motion(kind, beta, delta, epsilon, y0, v0, frames)
    found = mass_centre(image)
    want = (400.0, ref.mass_row(y))
    check(near(found, want, 1.5), "%s: mass at %r, expected %r (y = %.4f after %d frames)"
          % (what, found, want, y, frames))


# ---- scenarios ----------------------------------------------------------------------------

def window(ctx):
    """Mathieu, beta = 0 from the four stored tables in the program's folder, (delta, epsilon) =
    (2, 1): the exact transcript on a terminal, the caption, an 800 x 800 first picture without
    the chart, after `a` the red point at window (0.18, 0.1) among red and black boundary dots,
    `s` hides the chart, `z` shrinks it towards the origin and `Z` enlarges it again, the picture
    stretches with the window, and ESC ends with status 0."""
    ctx.start_x(1700, 1300)
    with ctx.start() as con:
        full_pass(con, "m", "0", "2 1", "0 0", undamped_load(), MATHIEU_LINE)
        w = ctx.window(con)
        point = ref.chart_pixel(2, 1)
        first = ctx.x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
        check(first.width == 800 and first.height == 800, "window is %dx%d" % (first.width,
                                                                               first.height))
        check(chart_hidden(first) and red_point(first, point) is None,
              "the first picture shows the chart")
        check(boundary_dots(first, point) == (0, 0), "boundary dots before a")

        ctx.x.keys("a")
        shown = wait_red_point(ctx, w, point, "after a")
        red, black = boundary_dots(shown, point)
        ctx.figures.append("boundary dot pixels after a: %d red, %d black" % (red, black))
        check(red > 100 and black > 100, "after a: %d red and %d black dot pixels" % (red, black))

        ctx.x.keys("s")
        hidden = ctx.x.wait_for_picture(w, chart_hidden, PICTURE_TIMEOUT, "no chart after s")
        check(red_point(hidden, point) is None, "the red point stays after s")

        ctx.x.keys("a")
        wait_red_point(ctx, w, point, "after a again")
        ctx.x.keys("z")
        smaller = ref.chart_pixel(2, 1, scale=0.9)
        wait_red_point(ctx, w, smaller, "after z")
        ctx.x.keys("Z")
        wait_red_point(ctx, w, point, "after Z")

        ctx.x.resize(w, 1600, 1200)
        stretched = ref.chart_pixel(2, 1, width=1600, height=1200)
        ctx.x.wait_for_picture(
            w, lambda im: (im.width, im.height) == (1600, 1200) and chart_shown(im)
            and near(red_point(im, stretched, reach=30), stretched, 2.0),
            PICTURE_TIMEOUT, "the red point at %.1f, %.1f in the 1600 x 1200 window" % stretched)
        ctx.x.keys("Escape")
        con.check_ended(0)


def reentry(ctx):
    """`j`, `d` and `b` re-enter the dialog at their step: the window is frozen meanwhile (a key
    pressed then waits), the prompts are exactly those of that step, and the next picture starts
    the motion again from y0, v0 with a fresh history sweep. Ends with Ctrl-D (end of input) at
    the key prompt after `k`: status 0 and the terminal restored."""
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
        ctx.x.keys("s")
        image = ctx.x.wait_for_picture(w, chart_hidden, PICTURE_TIMEOUT, "s after b")
        check_mass(image, "m", 0.1, 2.0, 1.0, 0.0, 0.0, 1, "after b")
        ctx.x.keys("a")
        red, black = boundary_dots(wait_red_point(ctx, w, point, "after b"), point)
        check(red > 100 and black > 100, "after b: %d red and %d black dot pixels" % (red, black))

        # k, then end of input while the terminal is in single-key mode.
        ctx.x.keys("k")
        con.expect(HEADER)
        wait_key_mode(con)
        con.send(b"\x04")
        con.check_ended(0)


def interrupt(ctx):
    """Ctrl-C at the first key prompt, without any X server: the program dies by SIGINT and
    leaves the terminal as it found it."""
    with ctx.start() as con:
        con.expect(HEADER)
        wait_key_mode(con)
        con.send(b"\x03")
        con.check_ended(SIGINT_STATUS)


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


SCENARIOS = {f.__name__: f for f in (window, reentry, interrupt, teaching_picture)}


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
