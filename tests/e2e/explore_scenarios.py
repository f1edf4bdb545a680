#!/usr/bin/env python3
"""End-to-end scenarios of the real paravib-explore, on the helpers of scenarios.py: the dialog
with the explorer's key help, a left click on the chart that moves the red point and restarts
the motion, and the keys `w` and `v` that write the picture on show as an 800 x 800 PNG and as SVG.

Usage: explore_scenarios.py PARAVIB_EXPLORE BOUNDARY_FOLDER SCENARIO
With PARAVIB_SCREENSHOT_DIR set, pick_and_picture also copies its exported pictures there as
explore.png and explore.svg. Python standard library only.
"""
import os
import shutil
import subprocess
import sys
from xml.etree import ElementTree

sys.dont_write_bytecode = True   # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import reference as ref  # noqa: E402
import scenarios as sc  # noqa: E402
from console_session import Console  # noqa: E402
from texts import (BETA_PROMPT, HELP, INITIAL_PROMPT, MATHIEU_LINE, POINT_PROMPT,  # noqa: E402
                   damped_load, read_texts)
from x_display import read_png  # noqa: E402

END_KEY_LINE = "\nESCキー：終了\n"
TINT = (255, 235, 190)   # the shading of the unstable pairs
EXPLORE_HELP = HELP.replace(END_KEY_LINE,
                            "\n'p'キー：位相平面(y,v)表示切替"
                            "\n'w'キー：画面をPNG画像に保存"
                            "\n'v'キー：画面をSVG画像に保存"
                            "\n左クリック：安定限界図の上でδ,εを選択（図の表示中）"
                            "\n'a'キー：安定限界図を表示したまま's'で振動描画継続、もう一度'a'で消去"
                            "\n'z', 'Z'キー：赤い点を中心に安定限界図を縮小・拡大"
                            "\n矢印キー：δ,εを1画素移動（Shiftと共に10画素）　Ctrl+矢印キー：図の移動"
                            + END_KEY_LINE)


def chart_hidden(image):
    """No chart legend: the legend box of the chart above the motion box (window y -0.40), which
    has text of its own, as the window's foot has the status line."""
    left, top, right, _ = sc.chart_legend_box(image)
    return sc.drawn(image) and image.count(sc.TEXT, (left, top, right, 555)) == 0


def picked_line(x, y, width=800, height=800):
    """The console line of a click at pixel (x, y): the chart coordinates of the pixel's centre at
    the dialog's scales, with three decimals."""
    delta = (2.0 * (x + 0.5) / width - 1.0) / ref.CHART_SCALE_DELTA
    epsilon = (1.0 - 2.0 * (y + 0.5) / height) / ref.CHART_SCALE_EPSILON
    return delta, epsilon, "\n(3) 図上で選択  δ ε= %.3f %.3f" % (delta, epsilon)


VIOLET = (153, 0, 204)


def check_box_mass(image, delta, epsilon, frames, what):
    """The violet mass of the motion box (centre (0.5, -0.65)) lifted by y on the box's scale: the
    ticks at +-1, 2 or 5 times a power of ten, the least not below the largest |y| shown, 0.2
    window units from the centre; the motion from y0 = 0.2 (Mathieu, beta = 0.1)."""
    ys = [ref.motion("m", 0.1, delta, epsilon, 0.2, 0.0, n)[0] for n in range(frames + 1)]
    extent = max(abs(y) for y in ys)
    tick = min(m * 10.0 ** k for k in range(-6, 6) for m in (1, 2, 5) if m * 10.0 ** k >= extent)
    want = ref.window_to_pixel(0.5, -0.65 + 0.2 * ys[-1] / tick)
    found = image.solid_centroid(VIOLET, (560, 400, 640, 800))
    sc.check(sc.near(found, want, 1.5), "%s: mass at %r, expected %r" % (what, found, want))


def click(ctx, x, y):
    ctx.x.run("xdotool", "mousemove", str(x), str(y), "click", "1")


def check_svg(path, red_point, screen):
    """The SVG of the picture on show parses and holds the chart as elements: the parameters in
    its title, the legends, ticks and tongue labels as text, the boundary dots and the red point
    as circles, grid and axes as paths, the shading as tinted rectangles and the phase plane's
    trajectory as a clipped polyline."""
    ns = "{http://www.w3.org/2000/svg}"
    root = ElementTree.parse(path).getroot()
    title = root.find(ns + "title").text
    for part in ("Mathieu", "beta=0.1", "y0=0.2"):
        sc.check(part in title, "%r not in the title %r" % (part, title))
    texts = [t.text for t in root.iter(ns + "text")]
    for label in ("(delta,epsilon)stable aera graph", "n=1 4pi", "10", "red   : response y(t)",
                  "phase plane : y across, v up"):
        sc.check(label in texts, "no text %r in the SVG" % label)
    sc.check(any(t.startswith("Mathieu  beta=0.1") for t in texts), "no status line in the SVG")
    circles = list(root.iter(ns + "circle"))
    sc.check(len(circles) > 100, "%d circles: no boundary dots" % len(circles))
    sc.check(any(c.get("fill") == "#ff0000" and float(c.get("r")) == 4.0 and
                 near_point(c, red_point) for c in circles), "no red point at %s" % (red_point,))
    sc.check(sum(1 for _ in root.iter(ns + "path")) >= 2 * 21 + 2 * 61,
             "too few paths for the two grids")
    # The shading's rectangles cover exactly the tinted pixels of the screen: every tinted pixel,
    # and none that shows white.
    tinted = set()
    for r in root.iter(ns + "rect"):
        if r.get("fill") == "#ffebbe":
            x, y, w, h = (float(r.get(k)) for k in ("x", "y", "width", "height"))
            tinted.update((px, py) for px in range(round(x), round(x + w))
                          for py in range(round(y), round(y + h)))
    width = screen.width
    shown = {(i % width, i // width) for i, m in enumerate(screen.mask(TINT)) if m}
    white = screen.mask((255, 255, 255))
    sc.check(shown and shown <= tinted, "%d tinted pixels of the screen have no rectangle"
             % len(shown - tinted))
    sc.check(not any(white[py * width + px] for px, py in tinted), "a rectangle over white")
    sc.check(any(g.find(ns + "polyline") is not None for g in root.iter(ns + "g")
                 if g.get("clip-path")), "no clipped phase-plane trajectory")


def near_point(circle, point):
    return abs(float(circle.get("cx")) - point[0]) < 1 and abs(float(circle.get("cy")) - point[1]) < 1


def pick_and_picture(ctx):
    """Mathieu, beta = 0.1 from the tables, (2, 1), y0 = 0.2. A click while the chart is hidden
    does nothing; after `a` a click at (-2.76, -4.01) (epsilon < 0 is taken) and one at (1.26, 2.49)
    each print the pair, move the red point under the pointer and restart the motion from y0 at
    t = 0. `w` writes paravib-001.png, then paravib-002.png, into the picture folder, each an
    800 x 800 PNG equal to the screen; with the folder gone, `w` says why and the program goes on."""
    ctx.start_x()
    pictures = os.path.join(ctx.work, "pictures")
    os.mkdir(pictures)
    env = dict(ctx.x.env, PARAVIB_PICTURE_FOLDER=pictures)
    with Console([ctx.paravib], ctx.boundaries, env,
                 os.path.join(ctx.work, "explore.stderr")) as con:
        # A key other than m or r at (1) is refused and the question asked again.
        sc.choose(con, "M", "\nm（Mathieu式）か r（矩形波励振）のキーを押してください"
                  "\n\n(1) Mathieu式　or　矩形波励振の選択　キー入力 m or r=")
        sc.wait_key_mode(con)
        con.press("m")
        con.expect(MATHIEU_LINE)
        sc.numbers(con, BETA_PROMPT, "0.1", damped_load(0.1))
        sc.numbers(con, POINT_PROMPT, "2 1")
        sc.numbers(con, INITIAL_PROMPT, "0.2 0", EXPLORE_HELP)
        w = ctx.window(con)
        ctx.x.wait_for_picture(w, sc.drawn, sc.PICTURE_TIMEOUT, "the first picture")
        first = ctx.x.wait_until_still(w, sc.PICTURE_TIMEOUT)
        click(ctx, 598, 220)
        con.expect_quiet(0.3)
        sc.check(ctx.x.screenshot(w).data == first.data, "a click without the chart drew")

        ctx.x.keys("a")
        sc.wait_red_point(ctx, w, ref.chart_pixel(2, 1), "after a")
        for x, y in ((300, 560), (445, 300)):
            delta, epsilon, line = picked_line(x, y)
            click(ctx, x, y)
            con.expect(line)
            sc.wait_red_point(ctx, w, (x + 0.5, y + 0.5), "after the click at %d, %d" % (x, y))
            ctx.x.keys("s")
            sc.wait_red_point(ctx, w, (x + 0.5, y + 0.5), "s keeps the chart")
            ctx.x.keys("a")
            hidden = ctx.x.wait_for_picture(w, chart_hidden, sc.PICTURE_TIMEOUT, "a again")
            check_box_mass(hidden, delta, epsilon, 3, "three frames after the click")
            ctx.x.keys("a")
            sc.wait_red_point(ctx, w, (x + 0.5, y + 0.5), "a after the click")

        # The motion in the first tongue swings up: a picture of its phase plane.
        ctx.x.keys("p", *["s"] * 30)
        ctx.x.wait_for_picture(
            w, lambda im: sc.chart_shown(im) and im.count(sc.TEXT, (420, 560, 800, 580)) > 100,
            sc.PICTURE_TIMEOUT, "the chart and the phase plane's legend after p and 30 frames")
        # The shading is built off the key path and drawn when it is ready.
        ctx.x.wait_for_picture(w, lambda im: im.count(TINT) > 10000, sc.PICTURE_TIMEOUT,
                               "the shading of the unstable pairs")
        shown = ctx.x.wait_until_still(w, sc.PICTURE_TIMEOUT)

        for number in (1, 2):
            path = os.path.join(pictures, "paravib-%03d.png" % number)
            ctx.x.keys("w")
            con.expect("\n画像を保存しました: " + path)
            picture = read_png(path)
            sc.check((picture.width, picture.height) == (800, 800),
                     "picture is %dx%d" % (picture.width, picture.height))
            differing = 0 if picture.data == shown.data else sum(
                picture.data[i:i + 3] != shown.data[i:i + 3] for i in range(0, len(shown.data), 3))
            sc.check(differing == 0, "%d pixels of the picture differ from the screen"
                     % differing)
        path = os.path.join(pictures, "paravib-001.svg")
        ctx.x.keys("v")
        con.expect("\n画像を保存しました: " + path)
        check_svg(path, (445 + 0.5, 300 + 0.5), shown)
        folder = os.environ.get("PARAVIB_SCREENSHOT_DIR")
        if folder:
            shutil.copy(os.path.join(pictures, "paravib-001.png"),
                        os.path.join(folder, "explore.png"))
            shutil.copy(path, os.path.join(folder, "explore.svg"))

        shutil.rmtree(pictures)
        ctx.x.keys("w")
        con.expect("\n画像を保存できません: %s (No such file or directory)"
                   % os.path.join(pictures, "paravib-001.png"))
        ctx.x.keys("p", "a")
        ctx.x.wait_for_picture(w, chart_hidden, sc.PICTURE_TIMEOUT, "p, a after the failure")
        ctx.x.keys("Escape")
        con.check_ended(0)


def options_in_english(ctx):
    """A bad value ends the program with status 2 and one line before any window. Experiment 5
    (Mathieu, beta = 0.1) with the point (2, 1) and y0 = 0.2 given as options, the chart and the
    English texts: the whole first dialog is answered without a read, the caption is English, and
    the first picture shows the chart with the red point at (2, 1). The key d asks again."""
    ctx.start_x()
    bad = subprocess.run([ctx.paravib, "--point", "1", "x"], cwd=ctx.boundaries, env=ctx.x.env,
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    sc.check(bad.returncode == 2 and bad.stdout == b"" and bad.stderr.count(b"\n") == 1,
             "--point 1 x: status %d, %r, %r" % (bad.returncode, bad.stdout, bad.stderr))
    en = read_texts(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data",
                                 "explore_texts_en.txt"))
    loads = "\n" + "".join(en[n].replace("{beta}", "0.10") for n in ("LOAD_B1", "LOAD_B2"))
    argv = [ctx.paravib, "--experiment", "5", "--point", "2", "1", "--initial", "0.2", "0",
            "--chart", "--lang", "en"]
    with Console(argv, ctx.boundaries, ctx.x.env, os.path.join(ctx.work, "explore.stderr")) as con:
        con.expect(en["EXPERIMENT_5"] + en["HEADER"] + en["MATHIEU_LINE"] + en["BETA_PROMPT"]
                   + "0.1" + loads + en["POINT_PROMPT"] + "2 1" + en["INITIAL_PROMPT"] + "0.2 0"
                   + en["HELP"])
        w = ctx.x.find_window("k:", sc.WINDOW_TIMEOUT, lambda: con.process.poll() is None)
        ctx.x.move(w, 0, 0)
        ctx.x.focus(w)
        sc.wait_red_point(ctx, w, ref.chart_pixel(2, 1), "opened with --chart")
        sc.check(ctx.x.window_names(w)[0] == en["CAPTION"], "caption %r" % (ctx.x.window_names(w),))
        ctx.x.keys("d")
        sc.numbers(con, en["POINT_PROMPT"], "1 1.2")
        sc.numbers(con, en["INITIAL_PROMPT"], "1 0", en["HELP"])
        ctx.x.keys("Escape")
        con.check_ended(0)


SCENARIOS = {f.__name__: f for f in (pick_and_picture, options_in_english)}

if __name__ == "__main__":
    sc.SCENARIOS = SCENARIOS
    sys.exit(sc.main(sys.argv))
