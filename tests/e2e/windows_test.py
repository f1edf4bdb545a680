#!/usr/bin/env python3
"""The cross-built Windows programs under Wine: the generator's 22 files byte for byte as the Linux
build's (also when it writes into a folder that already holds them), the dialog on a pipe with the
exact transcript (line ends CR LF, as Windows writes text to a pipe), and one window run under a
private Xvfb: the Japanese caption, the first picture without the chart, after `a` the red point
and the boundary dots where the files put them, ESC with status 0. The explorer: its piped dialog
prints what the Linux explorer prints, and one run through its launcher, started in a folder of
its own: the caption, a click that moves the red point, `w` writing paravib-001.png and
paravib-002.png there, each 800 x 800 and equal to the screen, and a clear message once that
folder is gone.

Usage: windows_test.py WINDOWS_BUILD LINUX_BUILD
WINDOWS_BUILD holds paravib.exe, paravib-explore.exe, paravib-boundaries.exe, the launchers and
boundaries/; LINUX_BUILD holds paravib-explore and boundaries/. Wine is `wine64` or `wine` from
PATH; WINEPREFIX is taken from the environment. Python standard library only.
"""
import filecmp
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import reference as ref  # noqa: E402
from explore_scenarios import EXPLORE_HELP, picked_line  # noqa: E402
from scenarios import (BLACK, PICTURE_TIMEOUT, RED, WINDOW_TIMEOUT, chart_hidden,  # noqa: E402
                       chart_shown, check, drawn, near, red_point)
from texts import (BETA_PROMPT, CAPTION, CAPTION_ASCII_PART, HEADER, HELP,  # noqa: E402
                   INITIAL_PROMPT, MATHIEU_LINE, POINT_PROMPT, RETRY, SCAN_SQUARE, SQUARE_LINE,
                   damped_load, undamped_load)
from x_display import XServer, read_png  # noqa: E402

BOUNDARY_FILES = ["filedc1", "fileds1", "filedc2", "fileds2"] + [
    "fileb%d%s" % (curve, digits) for digits in
    ("001", "002", "005", "010", "020", "050", "100", "200", "500") for curve in (1, 2)]

RUN_TIMEOUT = 120.0

# Epsilon rows at which boundary dots are probed: half-way between the grid's rows.
PROBE_EPSILONS = (1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5)


def boundary_roots(path):
    """[(epsilon, [delta roots])] of one boundary file: beta, then per column the count, epsilon
    and the roots, as white-space separated numbers."""
    with open(path) as f:
        tokens = f.read().split()
    columns, i = [], 1
    while i < len(tokens):
        count = int(tokens[i])
        columns.append((float(tokens[i + 1]), [float(t) for t in tokens[i + 2:i + 2 + count]]))
        i += 2 + count
    return columns


def dot_probes(red_files, black_files, avoid):
    """Pixels that must show a red or black boundary dot after `a`: the roots at PROBE_EPSILONS in
    the upper right quadrant, 3 px clear of the grid lines (every 36 px in x, 40 px in y from the
    centre), red ones 4 px clear of every black dot (black is drawn later) and all 8 px clear of
    avoid, the chosen point. Returns [((x, y), colour)]."""
    def dots(files, band):
        return [ref.chart_pixel(d, eps) for f in files for eps, roots in boundary_roots(f)
                if any(abs(eps - e) <= band for e in PROBE_EPSILONS) for d in roots]

    def clear_of_grid(x, y):
        return min(abs((x - 382.0) % 36.0 - 18.0), abs((y - 380.0) % 40.0 - 20.0)) >= 3

    black_near = dots(black_files, 0.3)
    probes = []
    for colour, files in ((RED, red_files), (BLACK, black_files)):
        for x, y in dots(files, 1e-9):
            if not (406 <= x <= 794 and 6 <= y <= 394) or not clear_of_grid(x, y):
                continue
            if colour == RED and any(math.hypot(x - bx, y - by) < 4 for bx, by in black_near):
                continue
            if math.hypot(x - avoid[0], y - avoid[1]) < 8:
                continue
            probes.append(((int(math.floor(x)), int(math.ceil(y)) - 1), colour))
    return probes


def wine_command():
    for name in ("wine64", "wine"):
        found = shutil.which(name)
        if found:
            return [found]
    raise RuntimeError("Wine is not installed (packages wine, wine64)")


def wine_env(base=None):
    """Wine quiet and without its offers to install .NET and HTML engines; no X display unless
    base (an X server's environment) names one."""
    env = dict(base) if base else {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


def generator_files(build, linux_boundaries, work):
    """The build's 22 files equal the Linux ones; a run into a folder that already holds them
    replaces them (Windows' rename refuses an existing target) and leaves no other file."""
    folder = os.path.join(build, "boundaries")
    names = sorted(os.listdir(folder))
    check(names == sorted(BOUNDARY_FILES), "boundaries/ holds %r" % names)
    for name in BOUNDARY_FILES:
        check(filecmp.cmp(os.path.join(folder, name), os.path.join(linux_boundaries, name),
                          shallow=False), "%s differs from the Linux build's" % name)
    again = os.path.join(work, "again")
    shutil.copytree(folder, again)
    done = subprocess.run(wine_command() + [os.path.join(build, "paravib-boundaries.exe"), again],
                          env=wine_env(), stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=RUN_TIMEOUT)
    check(done.returncode == 0, "generator into a full folder: status %d\n%s"
          % (done.returncode, done.stderr.decode(errors="replace")))
    check(sorted(os.listdir(again)) == sorted(BOUNDARY_FILES),
          "after the second run the folder holds %r" % sorted(os.listdir(again)))
    for name in BOUNDARY_FILES:
        check(filecmp.cmp(os.path.join(again, name), os.path.join(linux_boundaries, name),
                          shallow=False), "%s differs after writing it again" % name)


def run_piped(build, answers, env):
    done = subprocess.run(wine_command() + [os.path.join(build, "paravib.exe")],
                          cwd=os.path.join(build, "boundaries"), env=env,
                          input=answers.encode(), capture_output=True, timeout=RUN_TIMEOUT)
    return done.returncode, done.stdout, done.stderr


def transcript(out):
    """The output with the CR LF line ends of a Windows text stream made LF, as UTF-8."""
    check(out.count(b"\n") == out.count(b"\r\n"), "a line feed without carriage return")
    return out.replace(b"\r\n", b"\n").decode()


def piped_dialog(build, linux_boundaries, work):
    """Dialogs that end at end of input before any window: the exact transcript, status 0."""
    m_header = HEADER + MATHIEU_LINE + BETA_PROMPT
    cases = [
        ("nothing at all", "", HEADER),
        ("stored beta = 0.1, refused numbers, then nothing", "m\n0.10\nabc\n2 nan\n2 1\n",
         m_header + damped_load(0.1) + POINT_PROMPT + RETRY + POINT_PROMPT + RETRY +
         POINT_PROMPT + INITIAL_PROMPT),
        ("stored beta = 0", "m\n0\n", m_header + undamped_load() + POINT_PROMPT),
        ("square-wave scans", "r\n0.1\n",
         HEADER + SQUARE_LINE + BETA_PROMPT + "".join(SCAN_SQUARE) + POINT_PROMPT),
    ]
    for name, answers, expected in cases:
        status, out, err = run_piped(build, answers, wine_env())
        check(status == 0, "%s: status %d\n%s" % (name, status, err.decode(errors="replace")))
        got = transcript(out)
        check(got == expected, "%s: transcript %r" % (name, got))


def captioned_window(x, program):
    """The program's window once Wine has set its Japanese caption, at the screen's corner and
    with the keyboard focus."""
    w = x.find_window(CAPTION_ASCII_PART, WINDOW_TIMEOUT, lambda: program.poll() is None)
    deadline = time.monotonic() + WINDOW_TIMEOUT
    while x.window_names(w)[0] != CAPTION and time.monotonic() < deadline:
        time.sleep(0.05)
    check(x.window_names(w) == (CAPTION, CAPTION), "caption %r" % (x.window_names(w),))
    x.move(w, 0, 0)
    x.focus(w)
    return w


def check_ended(program, expected):
    """After ESC: status 0 and the whole transcript as expected."""
    out = program.stdout.read()
    status = program.wait(timeout=RUN_TIMEOUT)
    check(status == 0, "ESC: status %d" % status)
    got = transcript(out)
    check(got == expected, "transcript %r" % got)


def window(build, linux_boundaries, work):
    """Mathieu, beta = 0, (delta, epsilon) = (2, 1), answers on a pipe; the window under Xvfb."""
    with XServer(1024, 1024, os.path.join(work, "xvfb.log")) as x:
        env = wine_env(x.env)
        err = open(os.path.join(work, "paravib.stderr"), "wb")
        program = subprocess.Popen(wine_command() + [os.path.join(build, "paravib.exe")],
                                   cwd=os.path.join(build, "boundaries"), env=env,
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=err)
        try:
            program.stdin.write(b"m\n0\n2 1\n0 0\n")
            program.stdin.close()
            w = captioned_window(x, program)

            point = ref.chart_pixel(2, 1)
            files = lambda *names: [os.path.join(linux_boundaries, n) for n in names]
            probes = dot_probes(files("filedc1", "fileds1"), files("filedc2", "fileds2"), point)
            check(sum(c == RED for _, c in probes) >= 8 and sum(c == BLACK for _, c in probes) >= 8,
                  "too few probes: %r" % probes)

            first = x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
            check((first.width, first.height) == (800, 800),
                  "window is %dx%d" % (first.width, first.height))
            check(chart_hidden(first) and red_point(first, point) is None,
                  "the first picture shows the chart")
            x.keys("a")
            shown = x.wait_for_picture(
                w, lambda im: chart_shown(im) and near(red_point(im, point), point),
                PICTURE_TIMEOUT, "after a: the red point at %.1f, %.1f" % point)
            wrong = [(p, shown.pixel(*p)) for p, c in probes if shown.pixel(*p) != c]
            check(not wrong, "after a: %d of %d boundary dots missing, e.g. %r"
                  % (len(wrong), len(probes), wrong[:4]))

            x.keys("Escape")
            check_ended(program, HEADER + MATHIEU_LINE + BETA_PROMPT + undamped_load() +
                        POINT_PROMPT + INITIAL_PROMPT + HELP)
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
            err.close()


def windows_path(path):
    """The path as a Windows program under Wine names it (drive Z: is the root folder)."""
    return "Z:" + path.replace("/", "\\")


def explore_piped_dialog(build, linux_build, work):
    """The explorer's dialogs that end at end of input: the Windows transcript is the Linux
    explorer's, byte for byte once CR LF is LF, and both end with status 0."""
    cases = ("", "M\nm\n0.10\nabc\n2 nan\n2 1\n", "m\n0\n", "r\n0.1\n")
    for answers in cases:
        linux = subprocess.run([os.path.join(linux_build, "paravib-explore")],
                               cwd=os.path.join(linux_build, "boundaries"), env=wine_env(),
                               input=answers.encode(), capture_output=True, timeout=RUN_TIMEOUT)
        done = subprocess.run(wine_command() + [os.path.join(build, "paravib-explore.exe")],
                              cwd=os.path.join(build, "boundaries"), env=wine_env(),
                              input=answers.encode(), capture_output=True, timeout=RUN_TIMEOUT)
        check((linux.returncode, done.returncode) == (0, 0), "%r: status %d on Linux, %d here\n%s"
              % (answers, linux.returncode, done.returncode, done.stderr.decode(errors="replace")))
        got = transcript(done.stdout)
        check(got == linux.stdout.decode(), "%r: transcript %r" % (answers, got))


def explore_window(build, linux_build, work):
    """paravib-explore.cmd started in a folder with a space in its name, answers on a pipe:
    Mathieu, beta = 0.1, (2, 1), y0 = 0.2."""
    start = os.path.join(work, "start folder")
    os.mkdir(start)
    with XServer(1024, 1024, os.path.join(work, "xvfb.log")) as x:
        env = wine_env(x.env)
        env.pop("PARAVIB_PICTURE_FOLDER", None)
        err = open(os.path.join(work, "paravib.stderr"), "wb")
        program = subprocess.Popen(
            wine_command() + ["cmd", "/c", windows_path(os.path.join(build, "paravib-explore.cmd"))],
            cwd=start, env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=err)
        try:
            program.stdin.write(b"m\n0.1\n2 1\n0.2 0\n")
            program.stdin.close()
            w = captioned_window(x, program)
            x.wait_for_picture(w, drawn, PICTURE_TIMEOUT, "the first picture")
            x.keys("a")
            point = ref.chart_pixel(2, 1)
            x.wait_for_picture(w, lambda im: chart_shown(im) and near(red_point(im, point), point),
                               PICTURE_TIMEOUT, "after a: the red point at %.1f, %.1f" % point)
            x.run("xdotool", "mousemove", "--window", w, "445", "300", "click", "1")
            picked = (445.5, 300.5)
            x.wait_for_picture(w, lambda im: near(red_point(im, picked), picked),
                               PICTURE_TIMEOUT, "after the click: the red point at 445.5, 300.5")
            # The shading is built off the key path and drawn when it is ready.
            x.wait_for_picture(w, lambda im: im.count((255, 235, 190)) > 10000, PICTURE_TIMEOUT,
                               "the shading of the unstable pairs")
            shown = x.wait_until_still(w, PICTURE_TIMEOUT)

            saved = []
            for number in (1, 2):
                path = os.path.join(start, "paravib-%03d.png" % number)
                x.keys("w")
                deadline = time.monotonic() + PICTURE_TIMEOUT
                while not os.path.exists(path) and time.monotonic() < deadline:
                    time.sleep(0.05)
                picture = read_png(path)
                check((picture.width, picture.height) == (800, 800),
                      "picture is %dx%d" % (picture.width, picture.height))
                differing = sum(picture.data[i:i + 3] != shown.data[i:i + 3]
                                for i in range(0, len(shown.data), 3))
                check(differing == 0, "%d pixels of %s differ from the screen" % (differing, path))
                saved.append("\n画像を保存しました: " + windows_path(path))
            shutil.rmtree(start)
            x.keys("w", "Escape")
            check_ended(program, HEADER + MATHIEU_LINE + BETA_PROMPT + damped_load(0.1) +
                        POINT_PROMPT + INITIAL_PROMPT + EXPLORE_HELP + picked_line(445, 300)[2] +
                        "".join(saved) + "\n画像を保存できません: %s (No such file or directory)"
                        % windows_path(os.path.join(start, "paravib-001.png")))
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
            err.close()


CHECKS = (generator_files, piped_dialog, window, explore_piped_dialog, explore_window)


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    build, linux_build = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    failed = 0
    for check_function in CHECKS:
        work = tempfile.mkdtemp(prefix="paravib-windows-")
        started = time.monotonic()
        try:
            linux = linux_build if check_function.__name__.startswith("explore") else \
                os.path.join(linux_build, "boundaries")
            check_function(build, linux, work)
            result = "passed"
        except Exception:
            traceback.print_exc()
            log = os.path.join(work, "paravib.stderr")
            if os.path.isfile(log):
                with open(log, errors="replace") as f:
                    print("---- paravib.stderr ----\n" + f.read()[-4000:], file=sys.stderr)
            result = "FAILED"
            failed += 1
        finally:
            shutil.rmtree(work, ignore_errors=True)
        print("windows %s: %s in %.1f s" % (check_function.__name__, result,
                                           time.monotonic() - started))
    print("%d passed, %d failed" % (len(CHECKS) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
