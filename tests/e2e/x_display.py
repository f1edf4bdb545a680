"""A private X server for the end-to-end tests and what they do with the program's window: find
it by its caption, give it the keyboard focus, press keys, resize it, and read its picture back
through xwd (decoded here, no image library), plus a PNG writer for the README screenshots."""
import os
import shutil
import struct
import subprocess
import time
import zlib

# Every X client call gets this long; Xvfb is local, so only a broken server takes longer.
CLIENT_TIMEOUT = 20.0


class XServer:
    """Xvfb on a display it picks itself (-displayfd). -noreset keeps the server alive when a
    short-lived client such as a polling xdotool disconnects: otherwise the server resets just
    as the program connects and the program's XOpenDisplay fails. A 24-bit screen gives the
    exact colours the pixel checks compare."""

    def __init__(self, width=1024, height=1024, log_path=None):
        if shutil.which("Xvfb") is None:
            raise RuntimeError("Xvfb is not installed: the end-to-end tests need it (package xvfb)")
        for tool in ("xdotool", "xwd", "xprop"):
            if shutil.which(tool) is None:
                raise RuntimeError("%s is not installed: the end-to-end tests need it" % tool)
        read_end, write_end = os.pipe()
        self.log = open(log_path or os.devnull, "wb")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=self.log,
            stderr=subprocess.STDOUT)
        os.close(write_end)
        try:
            number = _read_line(read_end, 15.0)
        finally:
            os.close(read_end)
        if not number:
            self.stop()
            raise RuntimeError("Xvfb did not report a display within 15 s")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display, LANG="C.UTF-8")

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def run(self, *args):
        """Runs an X client on this display; returns its standard output (bytes)."""
        done = subprocess.run(list(args), env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=CLIENT_TIMEOUT)
        if done.returncode != 0:
            raise RuntimeError("%s failed (%d): %s" % (" ".join(args), done.returncode,
                                                       done.stderr.decode(errors="replace")))
        return done.stdout

    def find_window(self, name_part, timeout, still_running=lambda: True):
        """Id of the first visible window whose name contains name_part (polled: xdotool's own
        --sync has no time limit). Fails at once if still_running() turns false."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name_part],
                                   env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                                   timeout=CLIENT_TIMEOUT)
            ids = found.stdout.split()
            if ids:
                return ids[0].decode()
            if not still_running():
                raise AssertionError("the program ended before its window appeared")
            time.sleep(0.05)
        raise AssertionError("no window named like %r within %.0f s" % (name_part, timeout))

    def window_names(self, window):
        """(_NET_WM_NAME, WM_NAME) as a window manager reads them, decoded from UTF-8."""
        text = self.run("xprop", "-id", window, "-notype", "_NET_WM_NAME", "WM_NAME").decode()
        names = {}
        for line in text.splitlines():
            key, _, value = line.partition(" = ")
            if value.startswith('"') and value.endswith('"'):
                names[key.strip()] = value[1:-1]
        return names.get("_NET_WM_NAME"), names.get("WM_NAME")

    def focus(self, window):
        """Keyboard focus on the window. Without a window manager the focus follows the pointer
        otherwise, and XTEST keys are lost whenever the pointer is outside the window."""
        self.run("xdotool", "windowfocus", "--sync", window)

    def keys(self, *names, delay_ms=0):
        """Presses the keys in order through XTEST (xdotool key names: a, Z, Escape ...)."""
        for start in range(0, len(names), 2000):
            self.run("xdotool", "key", "--delay", str(delay_ms), *names[start:start + 2000])

    def move(self, window, x, y):
        self.run("xdotool", "windowmove", "--sync", window, str(x), str(y))

    def resize(self, window, width, height):
        self.run("xdotool", "windowsize", window, str(width), str(height))

    def screenshot(self, window):
        return load_xwd(self.run("xwd", "-silent", "-id", window))

    def wait_for_picture(self, window, test, timeout, what, interval=0.03):
        """Screenshots until test(image) holds; returns that image. Every picture the program
        draws reaches the screen asynchronously, so each check polls."""
        deadline = time.monotonic() + timeout
        image = None
        while True:
            image = self.screenshot(window)
            if test(image):
                return image
            if time.monotonic() > deadline:
                raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
            time.sleep(interval)

    def wait_until_still(self, window, timeout, quiet=0.25):
        """Waits until two screenshots quiet seconds apart are identical: the program has drawn
        every frame it was asked for (only valid while each frame changes the picture)."""
        deadline = time.monotonic() + timeout
        previous = self.screenshot(window)
        while time.monotonic() < deadline:
            time.sleep(quiet)
            image = self.screenshot(window)
            if image.data == previous.data:
                return image
            previous = image
        raise AssertionError("the picture kept changing for %.0f s" % timeout)


def _read_line(fd, timeout):
    import select
    text = b""
    deadline = time.monotonic() + timeout
    while not text.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            break
        chunk = os.read(fd, 64)
        if not chunk:
            break
        text += chunk
    return text.decode().strip()


class Image:
    """An RGB picture, top row first: pixel (x, y) is data[3 * (y * width + x) ...]."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def mask(self, colour):
        """One byte per pixel, 1 where the pixel has exactly this colour, else 0."""
        result = None
        for channel, value in enumerate(colour):
            table = bytes(1 if v == value else 0 for v in range(256))
            plane = int.from_bytes(self.data[channel::3].translate(table), "big")
            result = plane if result is None else result & plane
        return result.to_bytes(self.width * self.height, "big")

    def count(self, colour, box=None, mask=None):
        """Pixels of exactly this colour inside box = (x0, y0, x1, y1), ends excluded."""
        mask = mask if mask is not None else self.mask(colour)
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        return sum(mask[y * self.width + x0:y * self.width + x1].count(1) for y in range(y0, y1))

    def rows_with(self, colour, box):
        """Rows (top = 0) inside box that hold at least one pixel of the colour."""
        mask = self.mask(colour)
        x0, y0, x1, y1 = box
        return [y for y in range(y0, y1) if 1 in mask[y * self.width + x0:y * self.width + x1]]

    def columns_with(self, colour, box):
        mask = self.mask(colour)
        x0, y0, x1, y1 = box
        return [x for x in range(x0, x1)
                if any(mask[y * self.width + x] for y in range(y0, y1))]

    def solid_centroid(self, colour, box, reach=2):
        """Centre of the pixels in box whose whole (2 reach + 1)^2 neighbourhood has the colour:
        a filled disc has such a core, a line of 2-3 pixels or a chain of small dots has none.
        None when no such pixel exists."""
        mask = self.mask(colour)
        x0, y0, x1, y1 = box
        w = self.width
        sx = sy = n = 0
        for y in range(max(y0, reach), min(y1, self.height - reach)):
            for x in range(max(x0, reach), min(x1, w - reach)):
                if mask[y * w + x] and all(
                        mask[(y + dy) * w + x - reach:(y + dy) * w + x + reach + 1].count(1)
                        == 2 * reach + 1 for dy in range(-reach, reach + 1)):
                    sx, sy, n = sx + x, sy + y, n + 1
        return None if n == 0 else (sx / n + 0.5, sy / n + 0.5)


def load_xwd(raw):
    """Decodes an xwd dump of a 24-bit TrueColor window (32 bits per pixel)."""
    fields = struct.unpack(">25I", raw[:100])
    header_size, width, height, byte_order = fields[0], fields[4], fields[5], fields[7]
    bits_per_pixel, bytes_per_line, colour_count = fields[11], fields[12], fields[19]
    if bits_per_pixel != 32 or fields[14:17] != (0xff0000, 0xff00, 0xff):
        raise RuntimeError("xwd: need a 24-bit TrueColor screen, got %d bpp" % bits_per_pixel)
    start = header_size + 12 * colour_count
    rows = b"".join(raw[start + y * bytes_per_line:start + y * bytes_per_line + 4 * width]
                    for y in range(height))
    r, g, b = (2, 1, 0) if byte_order == 0 else (1, 2, 3)
    out = bytearray(3 * width * height)
    out[0::3], out[1::3], out[2::3] = rows[r::4], rows[g::4], rows[b::4]
    return Image(width, height, bytes(out))


def write_png(path, image):
    """8-bit RGB PNG, each row with filter type 0, deflated by zlib."""
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff))

    stride = 3 * image.width
    raw = b"".join(b"\0" + image.data[y * stride:(y + 1) * stride] for y in range(image.height))
    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def read_png(path):
    """Decodes an 8-bit RGB, non-interlaced PNG into an Image, checking the signature, every
    chunk's CRC, the header and the end chunk; raises ValueError for anything else."""
    with open(path, "rb") as f:
        raw = f.read()
    if raw[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG signature")
    pos, header, idat, ended = 8, None, b"", False
    while pos < len(raw) and not ended:
        length, kind = struct.unpack(">I4s", raw[pos:pos + 8])
        body = raw[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", raw[pos + 8 + length:pos + 12 + length])
        if len(body) != length or zlib.crc32(kind + body) & 0xffffffff != crc:
            raise ValueError("damaged %r chunk" % kind)
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        ended = kind == b"IEND"
        pos += 12 + length
    if header is None or not ended:
        raise ValueError("no IHDR or no IEND chunk")
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 2, 0):
        raise ValueError("not 8-bit RGB without interlace: %r" % (header,))
    data, stride = zlib.decompress(idat), 3 * width
    if len(data) != height * (stride + 1):
        raise ValueError("image data of %d bytes for %dx%d" % (len(data), width, height))
    out, previous = bytearray(), bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = data[start], bytearray(data[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = previous[i], previous[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
            elif kind != 0:
                raise ValueError("unknown filter %d in row %d" % (kind, y))
        out += line
        previous = line
    return Image(width, height, bytes(out))
