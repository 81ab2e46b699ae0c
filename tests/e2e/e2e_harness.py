"""What the end-to-end runs stand on: an X server of their own (Xvfb), the
real club server on a free port with a fresh database, the built game started
from a fresh program folder as a new player, and real X input (xdotool).

Screens are read from Xvfb's own framebuffer file (-fbdir, XWD format), so a
screenshot needs no further program; a failed run keeps one as PNG.
"""

import mmap
import os
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import zlib

SCREEN_W, SCREEN_H = 1920, 1080


class Failure(Exception):
    """What the player would have seen go wrong."""


def wait_until(what, check, timeout=10.0, interval=0.05):
    """Polls check() until it returns something true; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


# ---- Pictures -----------------------------------------------------------------


class Picture:
    """RGB pixels, rows top to bottom."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, x, y, w, h):
        rows = [self.rgb[((y + r) * self.width + x) * 3:((y + r) * self.width + x + w) * 3] for r in range(h)]
        return Picture(w, h, b"".join(rows))

    def count(self, test):
        """How many pixels pass test(r, g, b)."""
        data = self.rgb
        return sum(1 for i in range(0, len(data), 3) if test(data[i], data[i + 1], data[i + 2]))

    def save_png(self, path):
        raw = b"".join(b"\0" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3] for y in range(self.height))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            f.write(chunk(b"IEND", b""))


def read_png(path):
    """An 8-bit RGB or RGBA PNG (the game's own pictures): (width, height, rows
    of (r, g, b, a))."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    pos, idat = 8, b""
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError(f"{path}: only 8-bit RGB(A), not interlaced")
        elif kind == b"IDAT":
            idat += body
    bpp = 4 if colour == 6 else 3
    raw, stride = zlib.decompress(idat), width * bpp
    rows, prev, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[i:i + 3]) + ((line[i + 3],) if bpp == 4 else (255,)) for i in range(0, stride, bpp)])
        prev = line
    return width, height, rows


_opaque_pixels = {}


def shows_picture(screen, png_path, left, top, tolerance=3):
    """True when every opaque pixel of the PNG stands on the screen at
    (left, top), as the game draws its pictures: one to one."""
    if png_path not in _opaque_pixels:
        _, _, rows = read_png(png_path)
        _opaque_pixels[png_path] = [(x, y, p[:3]) for y, row in enumerate(rows) for x, p in enumerate(row)
                                    if p[3] == 255]
    for x, y, (r, g, b) in _opaque_pixels[png_path]:
        sr, sg, sb = screen.pixel(left + x, top + y)
        if abs(sr - r) > tolerance or abs(sg - g) > tolerance or abs(sb - b) > tolerance:
            return False
    return True


def find_picture(screen, png_path, left, top, right, bottom):
    """Where the PNG is shown with its top left corner inside the given
    bounds (inclusive), or None."""
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if shows_picture(screen, png_path, x, y):
                return x, y
    return None


def menu_rows(menu):
    """The item rows of a popup menu's picture, top to bottom, as
    (centre y, enabled): an item is a band of drawn rows taller than a
    separator line; an enabled item's text is drawn dark, a disabled one's
    grey."""
    background = menu.pixel(menu.width - 4, menu.height // 2)
    inked = []
    for y in range(1, menu.height - 1):  # the frame's lines are no items
        row = menu.crop(6, y, menu.width - 12, 1)
        inked.append(row.count(lambda r, g, b: max(abs(r - background[0]), abs(g - background[1]),
                                                   abs(b - background[2])) > 40) > 0)
    bands, start = [], None
    for i, ink in enumerate(inked + [False]):
        if ink and start is None:
            start = i
        elif not ink and start is not None:
            if i - start >= 6:
                bands.append((start + 1, i))  # rows start + 1 .. i of the menu
            start = None
    rows = []
    for top, bottom in bands:
        text = menu.crop(28, top, menu.width - 34, bottom - top)
        rows.append(((top + bottom) // 2, text.count(lambda r, g, b: max(r, g, b) < 100) > 0))
    return rows


# ---- The X server ---------------------------------------------------------------


class Display:
    """Xvfb on a display number it chooses itself (-displayfd), so that runs
    in parallel never meet; its screen is mapped from -fbdir."""

    def __init__(self, work):
        self.work = work
        self._fb = None
        self.fbdir = os.path.join(work, "fb")
        os.mkdir(self.fbdir)
        self.log = open(os.path.join(work, "xvfb.log"), "wb")
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24",
             "-nolisten", "tcp", "-noreset", "-fbdir", self.fbdir],
            pass_fds=[write_end], stdout=self.log, stderr=subprocess.STDOUT)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 10
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read_end], [], [], left)[0]:
                break
            part = os.read(read_end, 16)
            if not part:
                break
            number += part
        os.close(read_end)
        if not number.strip().isdigit():
            self.stop()
            raise Failure("Xvfb did not start: " + open(self.log.name, "rb").read().decode(errors="replace"))
        self.name = ":" + number.strip().decode()
        # A Russian player's keyboard: the Latin layout and the Russian one.
        # With every letter on a key, xdotool types without remapping keys
        # on the fly (which a busy program can read half done).
        layout = subprocess.run(["setxkbmap", "-display", self.name, "-layout", "us,ru"], capture_output=True,
                                text=True, timeout=10)
        if layout.returncode != 0:
            self.stop()
            raise Failure(f"setxkbmap: {layout.stderr.strip()}")

    def screenshot(self):
        """The whole screen as the player sees it now."""
        if self._fb is None:
            with open(os.path.join(self.fbdir, "Xvfb_screen0"), "rb") as f:
                self._fb = mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ)
        fb = self._fb
        fields = struct.unpack(">25I", fb[:100])
        header_size, width, height = fields[0], fields[4], fields[5]
        bits_per_pixel, bytes_per_line, ncolors = fields[11], fields[12], fields[19]
        if bits_per_pixel != 32 or fields[7] != 0:
            raise Failure(f"unexpected framebuffer format: {bits_per_pixel} bpp, byte order {fields[7]}")
        start = header_size + 12 * ncolors
        rgb = bytearray(width * height * 3)
        for y in range(height):
            row = fb[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
            # Little-endian 0x00RRGGBB: the bytes are B, G, R, X.
            out = y * width * 3
            rgb[out:out + width * 3:3] = row[2::4]
            rgb[out + 1:out + width * 3:3] = row[1::4]
            rgb[out + 2:out + width * 3:3] = row[0::4]
        return Picture(width, height, bytes(rgb))

    def stop(self):
        if self._fb is not None:
            self._fb.close()
            self._fb = None
        stop_process(self.proc)
        self.log.close()


def stop_process(proc, grace=3.0):
    if proc.poll() is not None:
        return proc.returncode
    proc.send_signal(signal.SIGTERM)
    try:
        return proc.wait(grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        return proc.wait()


# ---- Real input -----------------------------------------------------------------


class Xdo:
    """xdotool on one display: the X server's own input (XTEST), the way a
    mouse and a keyboard reach the program."""

    def __init__(self, display):
        # A UTF-8 locale: xdotool reads the text it types as multibyte.
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": display, "LC_ALL": "C.UTF-8"}

    def run(self, *args, check=True):
        done = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True, text=True, timeout=10)
        if check and done.returncode != 0:
            raise Failure(f"xdotool {' '.join(map(str, args))}: {done.stderr.strip()}")
        return done.stdout

    def windows(self):
        """The visible windows (a popup menu's too, which has no title of
        its own for a search by name)."""
        return [int(w) for w in self.run("search", "--onlyvisible", "--name", "", check=False).split()]

    def title(self, window):
        return self.run("getwindowname", window, check=False).rstrip("\n")

    def geometry(self, window):
        """(x, y, width, height) on the screen."""
        out = self.run("getwindowgeometry", "--shell", window, check=False)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        try:
            return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        except KeyError:
            return None

    def click(self, x, y, button=1):
        # One xdotool call: the motion and the button reach the X server
        # in this order, so the click lands where the pointer went.
        self.run("mousemove", x, y, "click", button)

    def key(self, *keys):
        self.run("key", "--delay", 20, *keys)

    def type(self, text):
        self.run("type", "--delay", 20, text)


# ---- The club server -------------------------------------------------------------


# The cheapest password hashing and no per-address limits: every request of
# a run comes from one address.
QUICK_SETTINGS = ["argon2_ops=1", "argon2_mem_kib=8", "registrations_per_hour=100000",
                  "password_checks_per_min=100000", "launch_reports_per_hour=100000",
                  "deal_reports_per_hour=100000", "connections_per_address=1000"]


class ClubServer:
    def __init__(self, binary, work):
        self.data = os.path.join(work, "server")
        self.log = open(os.path.join(work, "server.log"), "wb")
        args = [binary, "--host", "127.0.0.1", "--port", "0", "--data-dir", self.data]
        for s in QUICK_SETTINGS:
            args += ["--set", s]
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=self.log)
        # Its first line is "port=N", once it listens.
        line = b""
        deadline = time.monotonic() + 10
        while not line.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.proc.stdout], [], [], left)[0]:
                break
            part = os.read(self.proc.stdout.fileno(), 1)
            if not part:
                break
            line += part
        if not line.startswith(b"port="):
            self.stop()
            raise Failure(f"the club server did not start: {line!r}")
        self.port = int(line[5:])
        self.base = f"http://127.0.0.1:{self.port}"
        self.db = os.path.join(self.data, "club.db")

    def stop(self):
        stop_process(self.proc)
        self.proc.stdout.close()
        self.log.close()


# ---- The game ----------------------------------------------------------------------


class Game:
    """The built program in a program folder of its own (<work>/Vokabron/,
    the club file shipped beside it), with a home and runtime folder of its
    own, on the run's display and club."""

    def __init__(self, binary, club_file, work, display, club_base):
        self.work = work
        self.dir = os.path.join(work, "Vokabron")
        os.makedirs(self.dir, exist_ok=True)
        self.exe = os.path.join(self.dir, "vokabron")
        if not os.path.exists(self.exe):
            # The program's folder is the folder it is started from: a hard
            # link (or a copy) in the run's folder, never a symbolic link.
            try:
                os.link(binary, self.exe)
            except OSError:
                shutil.copy2(binary, self.exe)
            shutil.copyfile(club_file, self.club_file)
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        for d in (home, runtime):
            os.makedirs(d, mode=0o700, exist_ok=True)
        self.env = {
            "PATH": "/usr/bin:/bin",
            "HOME": home,
            "USER": os.environ.get("USER", "player"),
            "LANG": "C.UTF-8",
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "DISPLAY": display,
            "QT_QPA_PLATFORM": "xcb",
            "SDL_AUDIODRIVER": "dummy",
            "VOKABRON_SERVER_URL": club_base,
        }
        self.proc = None
        self.log_path = os.path.join(work, "game.log")

    @property
    def club_file(self):
        return os.path.join(self.dir, "Vokabron.clb")

    @property
    def settings_file(self):
        return os.path.join(self.dir, "Vokabron.ini")

    def start(self):
        log = open(self.log_path, "ab")
        self.proc = subprocess.Popen([self.exe], cwd=self.work, env=self.env, stdout=log, stderr=subprocess.STDOUT)
        log.close()

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, timeout=10):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end")

    def stop(self):
        if self.proc is not None:
            stop_process(self.proc)


# ---- A run ---------------------------------------------------------------------------


class Run:
    """One player's session: display, club and game, torn down whatever
    happens; a failure keeps the screen and the logs under the artifacts
    folder."""

    def __init__(self, name, args):
        self.name, self.args = name, args
        self.work = tempfile.mkdtemp(prefix=f"vokabron-e2e-{name}-")
        self.display = self.server = self.game = None

    def __enter__(self):
        self.display = Display(self.work)
        self.x = Xdo(self.display.name)
        self.server = ClubServer(self.args.server, self.work)
        self.game = Game(self.args.game, self.args.club_file, self.work, self.display.name, self.server.base)
        return self

    def __exit__(self, kind, value, tb):
        try:
            if kind is not None:
                self.keep_evidence()
        finally:
            for part in (self.game, self.server, self.display):
                if part is not None:
                    try:
                        part.stop()
                    except Exception:  # the rest still has to go
                        traceback.print_exc()
            shutil.rmtree(self.work, ignore_errors=True)
        return False

    def keep_evidence(self):
        folder = os.path.join(self.args.artifacts, "e2e")
        os.makedirs(folder, exist_ok=True)
        stamp = time.strftime("%Y%m%d-%H%M%S")
        try:
            path = os.path.join(folder, f"{self.name}-{stamp}.png")
            self.display.screenshot().save_png(path)
            print(f"screenshot: {path}", file=sys.stderr)
        except Exception as error:  # a dead X server has nothing to show
            print(f"no screenshot: {error}", file=sys.stderr)
        for log in ("game.log", "server.log"):
            source = os.path.join(self.work, log)
            if os.path.exists(source):
                target = os.path.join(folder, f"{self.name}-{stamp}-{log}")
                shutil.copyfile(source, target)
                print(f"{log}: {target}", file=sys.stderr)

    def screen(self):
        return self.display.screenshot()
