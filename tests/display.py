#!/usr/bin/python3
"""ぽこもじ in real X windows, for the scripts that test it there.

Display starts an Xvfb server of its own (a screen size, RANDR to resize it,
openbox if asked), runs the program on it, finds windows by title, reads
their geometry, takes pictures of them, sends keys and clicks, and shuts all
of it down. Layout says where the practice windows' controls lie, as the
program itself lays them out (tests/ui/layout_dump). check() and wait_for()
are the checks the scripts print and the wait they poll with.

As a command it runs one command on a display of its own under Qt's xcb
platform and returns its exit status, or 77 if Xvfb is missing:

    display.py [--size WxH] -- COMMAND [ARGUMENTS...]
"""

import argparse
import io
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
MENU = "ぽこもじ ver1.0"
# Modelines for the sizes the screen is changed to with xrandr.
MODES = {
    (1920, 1080): "148.5 1920 2008 2052 2200 1080 1084 1089 1125",
    (1024, 768): "63.5 1024 1072 1176 1328 768 771 775 798",
}
results = {True: 0, False: 0}


def check(name, ok, detail=""):
    print(("PASS " if ok else "FAIL ") + name + ("" if ok else f" ({detail})"), flush=True)
    results[bool(ok)] += 1
    return ok


def summary():
    """Prints the closing line; the exit status: 1 if a check failed."""
    print(f"{results[True]} passed, {results[False]} failed", flush=True)
    return 1 if results[False] else 0


def wait_for(find, seconds=10.0, hold=0.0):
    """Polls until find() returns something true, the same for hold seconds
    on end; returns it, or the last false answer (None where it was true but
    kept changing)."""
    deadline = time.monotonic() + seconds
    since, last = 0.0, None
    while True:
        found = find()
        now = time.monotonic()
        if not found or found != last:
            since, last = now, found
        if found and now - since >= hold:
            return found
        if now > deadline:
            return None if found else found
        time.sleep(0.05)


def require(*tools):
    """Exits with status 77 unless every tool is installed."""
    for tool in tools:
        if not shutil.which(tool):
            print(f"SKIP {tool} is not installed", flush=True)
            sys.exit(SKIP)


class Layout:
    """Where a window's controls lie, relative to the window, as the program
    lays them out (tests/ui/layout_dump)."""

    def __init__(self, dump, scale=1.0, window="Form2"):
        out = subprocess.run([dump, "--scale", str(scale)], capture_output=True, text=True,
                             check=True).stdout
        laid_out = json.loads(out)[window]
        self.size = tuple(laid_out["size"])
        self.controls = laid_out["controls"]

    def rect(self, name, kana=None):
        """x, y, width, height of a control by its design name (and kana index)."""
        return next(tuple(c["rect"]) for c in self.controls
                    if c["name"] == name and c.get("kana") == kana)

    def centre(self, name, kana=None):
        x, y, w, h = self.rect(name, kana)
        return x + w // 2, y + h // 2


class Display:
    """An Xvfb server, openbox on it if asked for, and the program under test."""

    def __init__(self, size=(1280, 1024), manager=False, outdir=None):
        self.size, self.outdir = size, outdir
        # Xvfb writes its display number to the pipe once it accepts clients.
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % size,
             "+extension", "RANDR", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            display = pipe.readline().strip()
        if not display:
            raise RuntimeError("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=":" + display, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.setdefault("XDG_RUNTIME_DIR", tempfile.mkdtemp())
        self.wm = self.program = None
        if manager:
            # Openbox runs its startup command once it manages windows; it
            # names itself on the root window before that.
            started = os.path.join(tempfile.mkdtemp(), "openbox-started")
            self.wm = subprocess.Popen(["openbox", "--sm-disable", "--startup", "touch " + started],
                                       env=self.env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            wait_for(lambda: os.path.exists(started))

    def run(self, *args):
        return subprocess.run(args, env=self.env, check=False, capture_output=True, text=True)

    def start(self, command, seconds=30, **env):
        """Starts the program, with env's variables changed (None removes
        one); its menu's window id once it shows, or None."""
        env = {k: v for k, v in dict(self.env, **env).items() if v is not None}
        self.program = subprocess.Popen(command, env=env)
        return wait_for(lambda: self.window(MENU), seconds)

    def window(self, name):
        """The id of the visible window of a title, or None."""
        found = self.run("xdotool", "search", "--onlyvisible", "--name", "^" + name + "$")
        ids = found.stdout.split()
        return ids[-1] if found.returncode == 0 and ids else None

    def geometry(self, window):
        """The client area's x, y, width, height on the root window."""
        out = self.run("xwininfo", "-id", window).stdout
        values = dict(re.findall(r"^\s*(Absolute upper-left [XY]|Width|Height):\s*(-?\d+)", out,
                                 re.MULTILINE))
        try:
            return tuple(int(values[k]) for k in ("Absolute upper-left X",
                                                  "Absolute upper-left Y", "Width", "Height"))
        except KeyError:
            return None

    def frame(self, window):
        """The window with its frame: x, y, width, height."""
        g = self.geometry(window)
        out = self.run("xprop", "-id", window, "_NET_FRAME_EXTENTS").stdout
        m = re.search(r"=\s*(\d+), (\d+), (\d+), (\d+)", out)
        if not (g and m):
            return None  # not yet framed by the window manager
        left, right, top, bottom = (int(v) for v in m.groups())
        return (g[0] - left, g[1] - top, g[2] + left + right, g[3] + top + bottom)

    def full_screen(self, window):
        return "_NET_WM_STATE_FULLSCREEN" in self.run("xprop", "-id", window, "_NET_WM_STATE").stdout

    def resize_screen(self, size):
        """Changes the screen as a real display change does: output and root
        window together."""
        name = "m%dx%d" % size
        self.run("xrandr", "--newmode", name, *MODES[size].split())
        self.run("xrandr", "--addmode", "screen", name)
        self.run("xrandr", "--output", "screen", "--mode", name, "--fb", "%dx%d" % size)
        self.size = size
        return wait_for(lambda: self.screen_size() == size)

    def screen_size(self):
        out = self.run("xdotool", "getdisplaygeometry").stdout.split()
        return tuple(int(v) for v in out) if len(out) == 2 else None

    def on_screen(self, rect):
        if not rect:
            return False
        x, y, w, h = rect
        return x >= 0 and y >= 0 and x + w <= self.size[0] and y + h <= self.size[1]

    def key(self, *keys, window=None):
        """Types keys, into a window made active first if one is given (with
        no window manager to activate it, it is given the focus)."""
        if window:
            self.run("xdotool", "windowactivate" if self.wm else "windowfocus", "--sync", window)
        self.run("xdotool", "key", "--clearmodifiers", *keys)

    def click(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def image(self, window="root", name=None):
        """What a window (by default the whole screen) shows, as a picture,
        saved as name.png in the output folder if a name is given."""
        from PIL import Image

        out = subprocess.run(["import", "-window", window, "png:-"], env=self.env,
                             capture_output=True, check=False).stdout
        try:
            image = Image.open(io.BytesIO(out)).convert("RGB")
        except OSError:
            return None
        if name:
            image.save(os.path.join(self.outdir, name + ".png"))
        return image

    def wait_image(self, test, seconds=5, name=None, window="root"):
        """Takes pictures until one passes the test: that one, or None. The
        last one taken is saved under name."""
        taken = [None]

        def passes():
            taken[0] = self.image(window)
            return taken[0] is not None and test(taken[0])

        found = wait_for(passes, seconds)
        if name and taken[0]:
            taken[0].save(os.path.join(self.outdir, name + ".png"))
        return taken[0] if found else None

    def exit_status(self, seconds=5):
        """The program's exit status once it has ended, None if it runs on."""
        try:
            return self.program.wait(seconds)
        except subprocess.TimeoutExpired:
            return None

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def close(self):
        for process in (self.program, self.wm, self.xvfb):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()


def main():
    parser = argparse.ArgumentParser(description="Runs a command on an Xvfb display of its own.")
    parser.add_argument("--size", default="1280x1024", help="the screen's size, WxH")
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()
    require("Xvfb")
    # A TERM (a test's timeout) still shuts the display down.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    with Display(tuple(int(v) for v in args.size.split("x"))) as d:
        code = subprocess.run(args.command, env=d.env, check=False).returncode
    return code if code >= 0 else 128 - code


if __name__ == "__main__":
    sys.exit(main())
