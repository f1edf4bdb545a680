"""paravib's web site in headless Chromium (SwiftShader), driven over the DevTools protocol, against
the Linux program under Xvfb with the same answers: the console transcript must be the same bytes,
the response view and the stability chart may differ in at most 0.1 % of their pixels, and ESC
ends the page's program with status 0. The explorer's page: a click or an arrow key moves the
point and its readout, the shading, and the downloaded picture.
Usage: browser_test.py SITE PARAVIB BOUNDARIES [WORK]."""
import base64
import functools
import http.server
import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))
from texts import CAPTION, CAPTION_ASCII_PART  # noqa: E402
from x_display import XServer, write_png  # noqa: E402

TIMEOUT = 60.0             # any one wait
MAX_DIFFERING = 0.001      # share of a picture's pixels allowed to differ
CANVAS = 800
DESKTOP = []               # the Linux program and its boundary files, from the command line

# One session, as a user types it: a refused number, re-entry by j, d, b and k, ten frames after
# the last dialog, the chart (a tabled damping, so both programs load the same files), then end
# of input at the next key prompt. Each step: ("key", c) single key, ("line", text) an answer,
# ("window", keys) window keys, ("queued", keys) window keys pressed while the dialog waits.
SESSION = [
    ("key", "m"), ("line", "0.1"), ("line", "x 1.5"), ("line", "1.5 0.5"), ("line", "1 0"),
    ("window", "sss"), ("window", "j"), ("queued", "s"), ("line", "0.5 0"),
    ("window", "d"), ("line", "2.5 1"), ("line", "1 0.5"),
    ("window", "b"), ("line", "0.2"), ("line", "1.5 0.5"), ("line", "1 0"),
    ("window", "k"), ("key", "m"), ("line", "0.1"), ("line", "1.5"), ("line", "0.5"),
    ("line", "1 0"),
]
PICTURES = [("response", "s" * 10), ("chart", "a")]


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def wait(what, test, timeout=TIMEOUT, interval=0.02):
    deadline = time.monotonic() + timeout
    while True:
        value = test()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


# ---- the browser --------------------------------------------------------------------------

# A page script that decodes a PNG data URL into its RGBA bytes, by the browser itself.
DECODE_PNG = """async (src) => {
  const image = new Image(); image.src = src; await image.decode();
  const c = document.createElement('canvas'); c.width = image.width;
  c.height = image.height; const g = c.getContext('2d'); g.drawImage(image, 0, 0);
  return g.getImageData(0, 0, image.width, image.height).data;
}"""


class Chromium:
    """Debian's Chromium, headless, with the DevTools protocol on a pipe (descriptors 3 and 4):
    no port to find, nothing on the network."""

    def __init__(self, work):
        self.to_browser_r, self.to_browser_w = os.pipe()
        self.from_browser_r, self.from_browser_w = os.pipe()
        read_end, write_end = self.to_browser_r, self.from_browser_w

        def descriptors():
            os.dup2(read_end, 3)
            os.dup2(write_end, 4)

        self.log = open(os.path.join(work, "chromium.log"), "wb")
        self.process = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--use-angle=swiftshader",
             "--enable-unsafe-swiftshader", "--remote-debugging-pipe", "--no-first-run",
             "--user-data-dir=" + os.path.join(work, "profile"), "--window-size=1800,1000",
             "--force-device-scale-factor=1", "--hide-scrollbars", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=subprocess.STDOUT,
            close_fds=False, preexec_fn=descriptors)
        os.close(read_end)
        os.close(write_end)
        self.next_id = 0
        self.replies = {}
        self.condition = threading.Condition()
        threading.Thread(target=self._reader, daemon=True).start()
        self.session = None

    def _reader(self):
        buffer = b""
        while True:
            try:
                chunk = os.read(self.from_browser_r, 1 << 16)
            except OSError:
                chunk = b""
            if not chunk:
                with self.condition:
                    self.replies[None] = True
                    self.condition.notify_all()
                return
            buffer += chunk
            while b"\0" in buffer:
                message, buffer = buffer.split(b"\0", 1)
                reply = json.loads(message)
                if "id" in reply:
                    with self.condition:
                        self.replies[reply["id"]] = reply
                        self.condition.notify_all()

    def call(self, method, session=True, timeout=TIMEOUT, **params):
        with self.condition:
            self.next_id += 1
            number = self.next_id
        message = {"id": number, "method": method, "params": params}
        if session:
            message["sessionId"] = self.session
        os.write(self.to_browser_w, json.dumps(message).encode() + b"\0")
        with self.condition:
            if not self.condition.wait_for(
                    lambda: number in self.replies or None in self.replies, timeout):
                raise AssertionError("no reply to %s within %.0f s" % (method, timeout))
            if number not in self.replies:
                raise AssertionError("Chromium ended (see chromium.log)")
            reply = self.replies.pop(number)
        if "error" in reply:
            raise AssertionError("%s failed: %s" % (method, reply["error"]))
        return reply["result"]

    def open(self, url):
        target = self.call("Target.createTarget", session=False, url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", session=False, targetId=target,
                                 flatten=True)["sessionId"]
        self.call("Page.enable")
        self.call("Page.navigate", url=url)

    def evaluate(self, expression, promise=False):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=promise)
        if "exceptionDetails" in result:
            raise AssertionError("page script failed: %s" % result["exceptionDetails"])
        return result["result"].get("value")

    def status(self, field):
        return self.evaluate("window.paravib ? paravib.%s : undefined" % field)

    def key(self, key, code, key_code, text="", modifiers=0):
        for kind in ("keyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, key=key, code=code,
                      windowsVirtualKeyCode=key_code, text=text if kind == "keyDown" else "",
                      modifiers=modifiers)

    def type_text(self, text):
        """Characters as a keyboard sends them. '.' needs its code, or xterm.js reads the
        keypad's Delete."""
        named = {".": ("Period", 190), "-": ("Minus", 189), " ": ("Space", 32),
                 "+": ("Equal", 187)}
        for c in text:
            if c.isdigit():
                code, key_code = "Digit" + c, ord(c)
            elif c.isalpha():
                code, key_code = "Key" + c.upper(), ord(c.upper())
            else:
                code, key_code = named[c]
            self.key(c, code, key_code, c)

    def enter(self):
        self.key("Enter", "Enter", 13, "\r")

    def screenshot(self, selector):
        box = self.evaluate("(() => { const r = document.querySelector('%s')"
                            ".getBoundingClientRect(); return [r.x + scrollX, r.y + scrollY]; })()" % selector)
        self.evaluate("new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))",
                      promise=True)
        shot = self.call("Page.captureScreenshot", format="png", clip={
            "x": box[0], "y": box[1], "width": CANVAS, "height": CANVAS, "scale": 1})
        return base64.b64decode(shot["data"])

    def differing_pixels(self, png_a, png_b):
        """Pixels whose colour differs between two PNG pictures of one size, decoded by the
        browser itself; (count, bounding boxes of the differences by 100-pixel tile)."""
        script = """(async (a, b) => {
          const pixels = %s;
          const [p, q] = await Promise.all([pixels(a), pixels(b)]);
          let count = 0; const tiles = {};
          for (let k = 0; k < p.length; k += 4) {
            if (p[k] !== q[k] || p[k + 1] !== q[k + 1] || p[k + 2] !== q[k + 2]) {
              count++; const x = (k / 4) %% %d, y = Math.floor(k / 4 / %d);
              const t = Math.floor(x / 100) + ',' + Math.floor(y / 100);
              tiles[t] = (tiles[t] || 0) + 1;
            }
          }
          return [count, tiles];
        })('data:image/png;base64,%s', 'data:image/png;base64,%s')""" % (
            DECODE_PNG, CANVAS, CANVAS, base64.b64encode(png_a).decode(),
            base64.b64encode(png_b).decode())
        return self.evaluate(script, promise=True)

    def colours(self, png, points):
        """The RGB colour of a PNG picture at each (x, y), decoded by the browser."""
        script = """(async (src, points) => {
          const d = await (%s)(src), width = %d;
          return points.map(([x, y]) => Array.from(d.slice(4 * (y * width + x),
                                                         4 * (y * width + x) + 3)));
        })('data:image/png;base64,%s', %s)""" % (
            DECODE_PNG, CANVAS, base64.b64encode(png).decode(), json.dumps(points))
        return self.evaluate(script, promise=True)

    def click(self, selector, x, y):
        """A left click at (x, y) pixels of the canvas's own picture, however large it is shown."""
        box = self.evaluate("(() => { const e = document.querySelector('%s'), r = e"
                            ".getBoundingClientRect(); return [r.x, r.y, r.width / e.width]; })()"
                            % selector)
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=box[0] + x * box[2],
                      y=box[1] + y * box[2], button="left", clickCount=1)

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        for fd in (self.to_browser_w, self.from_browser_r):
            os.close(fd)
        self.log.close()


class Site:
    """The site folder on a loopback port picked by the system."""

    def __init__(self, folder):
        class Quiet(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass
        handler = functools.partial(Quiet, directory=folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]

    def close(self):
        self.server.shutdown()
        self.server.server_close()


# ---- the two programs ---------------------------------------------------------------------

def first_prompt(browser, figures, which):
    """Waits for the first prompt; notes the page's own time from navigation to it."""
    wait("the first key prompt", lambda: browser.status("waiting") == "key", interval=0.005)
    figures.append("page start to the first prompt (%s): %.2f s"
                   % (which, browser.evaluate("performance.now()") / 1000.0))


def web_session(browser, site_url, figures):
    """The session in the page; returns (transcript, {picture: png})."""
    browser.open(site_url)
    first_prompt(browser, figures, "first page load, new browser")
    console = "document.querySelector('#console textarea').focus()"
    canvas = "document.getElementById('canvas').focus()"
    queued_frames = None
    for kind, text in SESSION:
        if kind == "queued":
            frames = browser.status("frames")
            browser.evaluate(canvas)
            browser.type_text(text)
            time.sleep(0.3)
            check(browser.status("frames") == frames, "the window drew while the dialog waited")
            queued_frames = frames + len(text)
            continue
        if kind == "window" and queued_frames is not None:
            wait("the queued keys' frames", lambda: browser.status("frames") == queued_frames)
            queued_frames = None
        if kind == "window":
            wait("the window keys", lambda: browser.status("waiting") == "window")
            check(browser.evaluate("document.title") == CAPTION,
                  "the page title is not the window caption")
            browser.evaluate(canvas)
            for c in text:
                browser.type_text(c)
            continue
        wait("a %s read" % kind, lambda: browser.status("waiting") == kind)
        browser.evaluate(console)
        browser.type_text(text)
        if kind == "line":
            browser.enter()
    pictures = {}
    for name, keys in PICTURES:
        wait("the window keys", lambda: browser.status("waiting") == "window")
        frames = browser.status("frames")
        browser.evaluate(canvas)
        browser.type_text(keys)
        wait("%d frames" % len(keys), lambda: browser.status("frames") == frames + len(keys))
        pictures[name] = browser.screenshot("#canvas")
    browser.type_text("k")
    wait("the key prompt", lambda: browser.status("waiting") == "key")
    browser.evaluate(console)
    browser.key("d", "KeyD", 68, "", modifiers=2)  # Ctrl-D: end of input
    wait("the end of the program", lambda: browser.status("exitStatus") is not None)
    check(browser.status("exitStatus") == 0, "end of input gave status %r"
          % browser.status("exitStatus"))
    check(browser.evaluate("getComputedStyle(document.getElementById('ended')).display")
          != "none", "the page does not show that the program ended")
    return browser.status("transcript"), pictures


def linux_session(paravib, boundaries, work):
    """The same session with the Linux program: all answers on a pipe, keys through XTEST."""
    answers = "".join(text if kind == "key" else text + "\n"
                      for kind, text in SESSION if kind in ("key", "line"))
    with XServer(1024, 1024, os.path.join(work, "xvfb.log")) as x:
        out_path = os.path.join(work, "linux.out")
        with open(out_path, "wb") as out:
            process = subprocess.Popen([paravib], cwd=boundaries, env=x.env,
                                       stdin=subprocess.PIPE, stdout=out, stderr=out)
            try:
                process.stdin.write(answers.encode())
                process.stdin.close()
                window = x.find_window(CAPTION_ASCII_PART, TIMEOUT,
                                       lambda: process.poll() is None)
                x.move(window, 0, 0)
                x.focus(window)
                x.wait_for_picture(window, lambda im: True, TIMEOUT, "the first picture")
                for kind, text in SESSION:
                    if kind in ("window", "queued"):
                        x.keys(*text)
                pictures = {}
                before = x.wait_until_still(window, TIMEOUT, quiet=1.0)
                for name, keys in PICTURES:
                    x.keys(*keys)
                    # Each of these keys draws a new frame: first the change, then the end of
                    # the frames (the last key's picture stays while nothing else comes).
                    x.wait_for_picture(window, lambda im: im.data != before.data, TIMEOUT,
                                       "the frames of %r" % keys)
                    image = x.wait_until_still(window, TIMEOUT, quiet=1.0)
                    before = image
                    path = os.path.join(work, "linux_%s.png" % name)
                    write_png(path, image)
                    with open(path, "rb") as f:
                        pictures[name] = f.read()
                x.keys("k")
                status = process.wait(TIMEOUT)
            finally:
                if process.poll() is None:
                    process.kill()
                    process.wait()
        check(status == 0, "the Linux program ended with status %r" % status)
        with open(out_path, "rb") as f:
            return f.read().decode(), pictures


def escape_ends(browser, site_url, figures):
    """ESC in the window ends the program with status 0. On the way: the time of one computed
    damping (not tabled, so both boundaries are scanned in the page), a key typed into the
    console that must not reach the window, and the key button 's' that must."""
    browser.open(site_url)
    first_prompt(browser, figures, "second page load")
    browser.evaluate("document.querySelector('#console textarea').focus()")
    browser.type_text("m")
    wait("the damping prompt", lambda: browser.status("waiting") == "line")
    browser.type_text("0.15")
    started = time.monotonic()
    browser.enter()
    wait("the point prompt", lambda: "δ ε=" in browser.status("transcript"), interval=0.005)
    page_first = time.monotonic() - started
    for answer in ("1.5 0.5", "1 0"):
        wait("a line read", lambda: browser.status("waiting") == "line")
        browser.type_text(answer)
        browser.enter()
    wait("the window keys", lambda: browser.status("waiting") == "window")
    # A later computed damping in the same page, after 'b', and the desktop program's time for the
    # same work (start, both scans, end of input at the next prompt), measured in this run.
    browser.evaluate("document.getElementById('canvas').focus()")
    browser.type_text("b")
    wait("the damping prompt again", lambda: browser.status("waiting") == "line")
    browser.evaluate("document.querySelector('#console textarea').focus()")
    prompts = browser.status("transcript").count("δ ε=")
    browser.type_text("0.17")
    started = time.monotonic()
    browser.enter()
    wait("the point prompt again",
         lambda: browser.status("transcript").count("δ ε=") > prompts, interval=0.005)
    page_later = time.monotonic() - started
    started = time.monotonic()
    subprocess.run([DESKTOP[0]], input=b"m\n0.15\n", cwd=DESKTOP[1], check=True,
                   stdout=subprocess.DEVNULL)
    figures.append("computed beta (two boundary scans): page %.2f s (first, fresh page), "
                   "%.2f s (later); desktop program %.2f s"
                   % (page_first, page_later, time.monotonic() - started))
    for answer in ("1.5 0.5", "1 0"):
        wait("a line read", lambda: browser.status("waiting") == "line")
        browser.type_text(answer)
        browser.enter()
    wait("the window keys", lambda: browser.status("waiting") == "window")
    frames = browser.status("frames")
    browser.evaluate("document.querySelector('#console textarea').focus()")
    browser.type_text("s")
    time.sleep(0.3)
    check(browser.status("frames") == frames, "a key typed in the console reached the window")
    browser.evaluate("document.querySelector('#keys button').click()")  # the button 's'
    wait("the frame of the button 's'", lambda: browser.status("frames") == frames + 1)
    browser.evaluate("document.getElementById('canvas').focus()")
    browser.key("Escape", "Escape", 27)
    wait("the end of the program", lambda: browser.status("exitStatus") is not None)
    check(browser.status("exitStatus") == 0, "ESC gave status %r" % browser.status("exitStatus"))


# Screens: (name, width, height, side by side). Side by side, the console and the whole picture
# are in view at once; on the narrow ones the picture fits the width and the text and buttons are
# large enough to read and touch.
SCREENS = [("laptop", 1366, 768, True), ("desktop", 1920, 1080, True),
           ("tablet", 768, 1024, False), ("phone", 390, 844, False)]
LAYOUT = """(() => {
  const box = (q) => document.querySelector(q).getBoundingClientRect();
  const c = box('#canvas'), t = box('#console');
  const buttons = Array.from(document.querySelectorAll('button')).filter(b => b.offsetParent)
    .map(b => b.getBoundingClientRect()).map(r => [Math.round(r.width), Math.round(r.height)]);
  return {canvas: [c.left, c.top, c.right, c.bottom], console: [t.left, t.top, t.right, t.bottom],
    width: innerWidth, height: innerHeight, pageWidth: document.documentElement.scrollWidth,
    pageHeight: document.documentElement.scrollHeight,
    font: parseFloat(getComputedStyle(document.querySelector('.xterm-rows')).fontSize),
    smallest: buttons.reduce((m, b) => [Math.min(m[0], b[0]), Math.min(m[1], b[1])], [1e9, 1e9]),
    answers: Array.from(document.querySelectorAll('#dialog-keys button'))
      .map(b => b.textContent).join(' ')};
})()"""


def early_key_and_ctrl_c(browser, site_url):
    """A key typed before the program has loaded is read in order, as a terminal would: the early
    m is the equation, the number after it is read alone. Ctrl-C ends the program at a line
    prompt and, on a fresh page, at the single key of question (1), as SIGINT ends the desktop
    one; the page says so."""
    browser.open(site_url)
    wait("the console", lambda: browser.evaluate(
        "!!document.querySelector('#console textarea')"), interval=0.005)
    browser.evaluate("document.querySelector('#console textarea').focus()")
    early = browser.status("waiting") is None
    browser.type_text("m")
    wait("the damping prompt", lambda: browser.status("waiting") == "line")
    browser.type_text("0.1")
    browser.enter()
    wait("the point prompt", lambda: "δ ε=" in browser.status("transcript"))
    transcript = browser.status("transcript")
    check("正規化Mathieu" in transcript and "数値として読めません" not in transcript,
          "the early m was not taken as the key (read before the program: %s)" % early)
    for at_key in (False, True):
        if at_key:
            browser.open(site_url)
            wait("the first key prompt", lambda: browser.status("waiting") == "key")
            browser.evaluate("document.querySelector('#console textarea').focus()")
        browser.key("c", "KeyC", 67, modifiers=2)
        wait("the end after Ctrl-C", lambda: browser.status("exitStatus") is not None)
        check(browser.status("exitStatus") == 130, "Ctrl-C: exit status %r"
              % browser.status("exitStatus"))
        check("正規化" not in browser.status("transcript") or not at_key,
              "Ctrl-C at question (1) was taken as the equation key")
        check("interrupted" in browser.evaluate(
            "document.getElementById('ended-text').textContent"), "the page does not say why")


def layout(browser, site_url):
    """The page at each screen size, after its first prompt; returns the failures' messages."""
    failures = []
    for name, width, height, side_by_side in SCREENS:
        browser.open("about:blank")
        browser.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                     deviceScaleFactor=1, mobile=not side_by_side)
        browser.call("Page.navigate", url=site_url)
        wait("the first key prompt", lambda: browser.status("waiting") == "key")
        got = browser.evaluate(LAYOUT)
        inside = lambda r: r[0] >= 0 and r[1] >= 0 and r[2] <= got["width"] + 0.5 and (
            r[3] <= got["height"] + 0.5 or not side_by_side)
        faults = []
        if not (inside(got["canvas"]) and inside(got["console"])):
            faults.append("out of view: canvas %s, console %s" % (got["canvas"], got["console"]))
        if side_by_side and got["pageHeight"] > height:
            faults.append("page %d px high" % got["pageHeight"])
        if got["width"] != width or got["pageWidth"] > width:  # laid out wider and zoomed out
            faults.append("page %d px wide, %d px laid out" % (got["pageWidth"], got["width"]))
        if not side_by_side and (got["font"] < 12 or min(got["smallest"]) < 40):
            faults.append("font %.1f px, smallest button %s" % (got["font"], got["smallest"]))
        if not all(k in got["answers"].split() for k in "m r 0 1 5 9 . Enter".split()):
            faults.append("answer buttons %r" % got["answers"])
        print("%s layout %s %s %dx%d%s" % ("ok  " if not faults else "FAIL",
                                              site_url.rsplit("/", 1)[1], name, width, height,
                                          ": " + "; ".join(faults) if faults else ""))
        failures += faults
    browser.call("Emulation.clearDeviceMetricsOverride")
    return failures


# The explorer's chart at its first scale: delta 0.09 and epsilon 0.1 window units per unit from
# the centre; in picture pixels from the top left corner.
def chart_pixel(d, e):
    return [int(400 + 400 * 0.09 * d), int(400 - 400 * 0.1 * e)]


TINT = [255, 235, 190]
WHITE = [255, 255, 255]


def explorer_page(browser, site_url, work):
    """The explorer's page at beta = 0.1: the readout names the point after the dialog; a click
    inside the first tongue picks it (the console says so, the readout turns unstable); the arrow
    key moves it one pixel right; pairs inside a tongue are shaded and a stable pair is not; 'w'
    downloads paravib-001.png of 800 x 800 pixels; the page's link to this point, opened with
    lang=en, shows the same state in English without a question."""
    downloads = os.path.join(work, "downloads")
    os.makedirs(downloads, exist_ok=True)
    browser.open("about:blank")
    # Tall enough that the picture is shown at its own 800 pixels under the explorer's extra lines.
    browser.call("Emulation.setDeviceMetricsOverride", width=1800, height=1200,
                 deviceScaleFactor=1, mobile=False)
    browser.call("Page.navigate", url=site_url)
    browser.call("Browser.setDownloadBehavior", session=False, behavior="allow",
                 downloadPath=downloads)
    console = "document.querySelector('#console textarea').focus()"
    for kind, text in [("key", "m"), ("line", "0.1"), ("line", "1 0.5"), ("line", "1 0")]:
        wait("a %s read" % kind, lambda: browser.status("waiting") == kind)
        browser.evaluate(console)
        browser.type_text(text)
        if kind == "line":
            browser.enter()
    wait("the window keys", lambda: browser.status("waiting") == "window")
    readout = lambda: browser.evaluate("document.getElementById('readout').textContent")
    check(browser.evaluate("document.getElementById('readout').getAttribute('aria-live')")
          == "polite", "the readout is not a polite live region")
    wait("the readout of (1, 0.5)", lambda: "delta=1.000  eps=0.500" in readout()
         and " stable" in readout())
    frames = browser.status("frames")
    browser.evaluate("document.getElementById('canvas').focus()")
    browser.type_text("a")
    wait("the chart", lambda: browser.status("frames") > frames)
    x, y = chart_pixel(0.25, 1.0)
    browser.click("#canvas", x + 0.5, y + 0.5)
    wait("the pick's console line", lambda: "図上で選択" in browser.status("transcript"))
    wait("the readout of the pick", lambda: "unstable" in readout())
    picked = float(readout().split("delta=")[1].split()[0])
    check(abs(picked - 0.25) < 0.03, "the click picked delta %.3f, not 0.25" % picked)
    browser.key("ArrowRight", "ArrowRight", 39)
    wait("the steered readout", lambda: "delta=%.3f" % (picked + 2.0 / 800 / 0.09) in readout())
    frames = browser.status("frames")
    shot = browser.screenshot("#canvas")
    inside = browser.colours(shot, [chart_pixel(0.4, 1.5), chart_pixel(0.3, 1.2)])
    outside = browser.colours(shot, [chart_pixel(2.1, 0.25), chart_pixel(3.1, 0.45)])
    check(inside == [TINT, TINT] and outside == [WHITE, WHITE],
          "shading: inside a tongue %s, at stable pairs %s" % (inside, outside))
    browser.type_text("w")
    try:
        wait("the picture's download", lambda: browser.status("pictures") == ["paravib-001.png"])
    except AssertionError:
        raise AssertionError("no picture downloaded; the console ends: %r"
                             % browser.status("transcript")[-200:])
    path = os.path.join(downloads, "paravib-001.png")
    wait("the downloaded file", lambda: os.path.exists(path) and os.path.getsize(path) > 0)
    with open(path, "rb") as f:
        header = f.read(24)
    check(header[:8] == b"\x89PNG\r\n\x1a\n", "the download is not a PNG")
    size = (int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big"))
    check(size == (800, 800), "the downloaded picture is %d x %d" % size)
    # The link of this state opens it again with no question asked, here in English.
    link = browser.evaluate("document.getElementById('link-button').click(), "
                            "document.getElementById('link').value")
    check(link.startswith(site_url + "?system=m&beta=0.1&point="), "the link is %r" % link)
    shown = readout()
    browser.call("Page.navigate", url=link + "&lang=en")
    wait("the linked state", lambda: browser.status("waiting") == "window"
         and browser.status("readout") == shown)
    check("Input  (1) the system" in browser.status("transcript"), "the linked page is not English")
    browser.call("Emulation.clearDeviceMetricsOverride")


def opened_as_file(browser, site_folder):
    """Opened from the disk, the page shows its hint and no error."""
    browser.open("file://" + os.path.join(site_folder, "paravib.html"))
    wait("the page's hint", lambda: "web server" in (browser.evaluate(
        "(document.getElementById('status') || {}).textContent") or ""))
    time.sleep(1.0)
    check(browser.evaluate("getComputedStyle(document.getElementById('ended')).display")
          == "none", "the page opened as a file shows an error")


def main(argv):
    if len(argv) not in (4, 5):
        print(__doc__)
        return 2
    site_folder, paravib, boundaries = (os.path.abspath(a) for a in argv[1:4])
    DESKTOP[:] = [paravib, boundaries]
    work = argv[4] if len(argv) == 5 else tempfile.mkdtemp(prefix="paravib-web-")
    os.makedirs(work, exist_ok=True)
    figures, failures = [], 0
    site = Site(site_folder)
    browser = Chromium(work)
    paravib_page = site.url + "paravib.html"
    try:
        web_transcript, web_pictures = web_session(browser, paravib_page, figures)
        linux_transcript, linux_pictures = linux_session(paravib, boundaries, work)
        for name, png in web_pictures.items():
            with open(os.path.join(work, "web_%s.png" % name), "wb") as f:
                f.write(png)
        if web_transcript != linux_transcript:
            failures += 1
            with open(os.path.join(work, "web.out"), "w") as f:
                f.write(web_transcript)
            print("FAIL transcript: the page's console differs from the Linux program's "
                  "(%s/web.out, %s/linux.out)" % (work, work))
        else:
            print("ok   transcript: %d bytes, the same as the Linux program's"
                  % len(web_transcript.encode()))
        for name, _ in PICTURES:
            count, tiles = browser.differing_pixels(web_pictures[name], linux_pictures[name])
            share = count / float(CANVAS * CANVAS)
            verdict = "ok  " if share <= MAX_DIFFERING else "FAIL"
            failures += verdict == "FAIL"
            print("%s %s: %d pixels differ (%.4f %%), by 100-pixel tile %s"
                  % (verdict, name, count, 100 * share, json.dumps(tiles, sort_keys=True)))
        escape_ends(browser, paravib_page, figures)
        print("ok   escape: status 0")
        opened_as_file(browser, site_folder)
        print("ok   opened as a file: the hint only")
        early_key_and_ctrl_c(browser, paravib_page)
        print("ok   an early key read in order, Ctrl-C ends the program")
        explorer_page(browser, site.url + "explore.html", work)
        print("ok   explorer: a click and an arrow key move the point and its readout, "
              "shading, a downloaded 800 x 800 picture, the link of the state in English")
        failures += len(layout(browser, paravib_page))
        failures += len(layout(browser, site.url + "explore.html"))
    except AssertionError as e:
        failures += 1
        print("FAIL %s" % e)
    finally:
        browser.close()
        site.close()
    for line in figures:
        print("     " + line)
    if len(argv) == 4 and not failures:
        shutil.rmtree(work, ignore_errors=True)
    checks = 7 + 2 * len(SCREENS)
    print("%d passed, %d failed" % (checks - min(failures, checks), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
