#!/usr/bin/python3
"""Where ぽこもじ's windows end up when the screen changes under them.

Runs the program on an Xvfb screen of its own with RANDR and the openbox
window manager, and changes the screen as a real display change does (output
and root window together, through xrandr):

  icon        the menu and the drill offer their icon at every drawn size
  shrink      the katakana drill full screen on 2560 x 1600, the screen
              shrunk to 1024 x 768, F11: the drill lies whole on the screen;
              so does the menu
  burst       bursts of 40 or 41 F11 presses 1-15 ms apart on 1920 x 1080:
              each ends in the state its last press asked for, at that
              state's geometry
  lost        a drill minimised (also full screen), moved to another desktop,
              or destroyed from outside (xdotool windowclose) just opened, in
              a session, while a press is judged, showing its results and
              full screen: the menu's button brings the same drill back,
              whole on the current desktop, showing what it showed; Escape
              on its results starts a session with them put away
  menu        the menu destroyed from outside counts as closed: closing the
              drill then ends the program
  scale       with QT_SCALE_FACTOR 3 and 1.5 the drill lies whole on the
              screen in device pixels, also after the screen shrank
  no manager  with no window manager, the drill follows a screen change
              after F11 too
  tiny        on 320 x 240, also at scale 1.5, the menu is scaled to fit,
              frame included, and its おわる ends the program
  no-display  without any display the program says so in one line and exits
              with status 1; with a Wayland socket nobody answers on and an
              X display, it opens its menu on X

Usage: placement_check.py PROGRAM OUTDIR
Prints one line per check, saves screenshots to OUTDIR and exits 1 if a check
failed, 77 if Xvfb, openbox or one of the X tools it uses is missing.
"""

import io
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

from checks import check, failures, wait_for
from PIL import Image, ImageChops

SKIP = 77
MENU = "ぽこもじ ver1.0"
PANEL = (255, 192, 192)
MODES = {
    (1920, 1080): "148.5 1920 2008 2052 2200 1080 1084 1089 1125",
    (1024, 768): "63.5 1024 1072 1176 1328 768 771 775 798",
    (320, 240): "6.0 320 336 368 400 240 243 247 250",
}

class Display:
    """An Xvfb server with openbox, and the program under test on it."""

    def __init__(self, program, outdir, size, manager=True):
        self.program_path = program
        self.outdir = outdir
        self.size = size
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % size,
             "+extension", "RANDR", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            display = pipe.readline().strip()
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

    def run(self, *args, env=None):
        return subprocess.run(args, env=env or self.env, check=False, capture_output=True,
                              text=True)

    def start(self, extra_env=None):
        self.program = subprocess.Popen([self.program_path], env=dict(self.env, **(extra_env or {})))
        return wait_for(lambda: self.window(MENU))

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
        out = self.run("xprop", "-id", window, "_NET_WM_STATE").stdout
        return "_NET_WM_STATE_FULLSCREEN" in out

    def resize_screen(self, size):
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

    def key(self, window, *keys):
        # With no window manager to activate it, the window is given the focus.
        self.run("xdotool", "windowactivate" if self.wm else "windowfocus", "--sync", window)
        self.run("xdotool", "key", "--clearmodifiers", *keys)

    def click(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def image(self, window):
        """What a window shows, as a picture."""
        out = subprocess.run(["import", "-window", window, "png:-"], env=self.env,
                             capture_output=True, check=False).stdout
        try:
            return Image.open(io.BytesIO(out)).convert("RGB")
        except OSError:
            return None

    def shot(self, name):
        self.run("import", "-window", "root", os.path.join(self.outdir, name + ".png"))

    def close(self):
        for process in (self.program, self.wm, self.xvfb):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()


def open_drill(d):
    """Opens the katakana drill from the menu with the keyboard; its id."""
    menu = d.window(MENU)
    d.key(menu, "Return")
    drill = wait_for(lambda: d.window("Form2"))
    if drill:
        wait_for(lambda: d.geometry(drill) and d.on_screen(d.geometry(drill)), 5)
    return drill


def icon_sizes(d, window):
    """The sizes of the icon images a window offers the desktop."""
    out = d.run("xprop", "-id", window, "_NET_WM_ICON").stdout
    return [int(n) for n in re.findall(r"Icon \((\d+) x \d+\)", out)]


def on_drill(d, drill, x, y):
    """Where a point of the drill's design lies on the screen: its content is
    scaled to fit the window and centred in it, as in full screen."""
    left, top, w, h = d.geometry(drill)
    scale = min(w / 1024, h / 768)
    return (left + round((w - 1024 * scale) / 2 + x * scale),
            top + round((h - 768 * scale) / 2 + y * scale))


def close_drill(d, drill):
    """Closes a drill with its own とじる button."""
    d.click(*on_drill(d, drill, 960 + 28, 8 + 24))
    wait_for(lambda: not d.window("Form2"), 5)


def centred(d, rect):
    x, y, w, h = rect
    return abs(2 * x + w - d.size[0]) <= 2 and abs(2 * y + h - d.size[1]) <= 2


def shrink(d):
    drill = open_drill(d)
    if not check("shrink: the drill opens", drill):
        return
    for name, window in (("menu", d.window(MENU)), ("drill", drill)):
        sizes = icon_sizes(d, window)
        check(f"the {name} offers its icon at 16, 22, 24, 32 and 48 pixels",
              sorted(sizes) == [16, 22, 24, 32, 48], sizes)
    d.key(drill, "F11")
    check("shrink: F11 fills the 2560 x 1600 screen",
          wait_for(lambda: d.geometry(drill) == (0, 0, 2560, 1600)), d.geometry(drill))
    check("shrink: the screen is now 1024 x 768", d.resize_screen((1024, 768)), d.screen_size())
    check("shrink: full screen follows the screen",
          wait_for(lambda: d.geometry(drill) == (0, 0, 1024, 768)), d.geometry(drill))
    d.key(drill, "F11")
    check("shrink: leaving full screen puts the drill whole on the screen",
          wait_for(lambda: not d.full_screen(drill) and d.geometry(drill) == (0, 0, 1024, 768)),
          d.geometry(drill))
    d.shot("shrink-drill")
    # Stays there: nothing moves it away once it has settled.
    time.sleep(0.5)
    check("shrink: and stays there", d.geometry(drill) == (0, 0, 1024, 768), d.geometry(drill))
    menu = d.window(MENU)
    check("shrink: the menu follows the screen, whole and centred",
          wait_for(lambda: d.on_screen(d.frame(menu)) and centred(d, d.frame(menu))),
          d.frame(menu))
    d.run("xdotool", "windowactivate", "--sync", menu)
    d.shot("shrink-menu")
    close_drill(d, drill)


def burst(d):
    check("burst: the screen is now 1920 x 1080", d.resize_screen((1920, 1080)), d.screen_size())
    drill = open_drill(d)
    if not check("burst: the drill opens", drill):
        return
    normal = wait_for(lambda: d.geometry(drill) if centred(d, d.geometry(drill)) else None)
    check("burst: the drill is centred", normal, d.geometry(drill))
    full = (0, 0) + d.size
    d.run("xdotool", "windowactivate", "--sync", drill)
    is_full = False
    for n, presses in enumerate((40, 41, 40, 41, 41, 40, 41, 40, 41, 41, 40, 40)):
        rng = random.Random(n)
        command = ["xdotool"]
        for _ in range(presses):
            command += ["key", "F11", "sleep", "%.3f" % (rng.randint(1, 15) / 1000)]
        d.run(*command)
        is_full ^= presses % 2 == 1
        want = full if is_full else normal
        # Held a while: a late answer of the window manager must not undo it.
        settled = wait_for(lambda: d.full_screen(drill) == is_full and d.geometry(drill) == want,
                           5, hold=0.3)
        if not check(f"burst {n}: {presses} presses end {'full screen' if is_full else 'normal'}"
                     f" at {want}", settled,
                     f"{'full' if d.full_screen(drill) else 'normal'} at {d.geometry(drill)}"):
            d.shot(f"burst-{n}-failed")
    d.shot("burst-last")
    close_drill(d, drill)


def panel_up(image, scale=1.0):
    """Whether the results panel covers the chart's middle."""
    pixel = image.getpixel((round(850 * scale), round(500 * scale)))
    return all(abs(a - b) <= 4 for a, b in zip(pixel, PANEL))


def alike(a, b):
    """Two pictures of the same window state: text may be smoothed a shade
    differently after a new layout pass, nothing more."""
    if not (a and b) or a.size != b.size:
        return False
    return max(max(band) for band in ImageChops.difference(a, b).getextrema()) <= 32


# How a drill is lost from view: the steps before (Escape presses スタート,
# Return the focused ロ, whose mark then shows while it is judged, "stop"
# clicks ストップ and brings the results up), then what the desktop does.
LOST = {
    "minimised showing its results": (["Escape", "stop"], "minimise"),
    "minimised full screen": (["F11", "Escape", "stop"], "minimise"),
    "on another desktop": (["Escape", "stop"], "desktop 1"),
    "destroyed just opened": ([], "destroy"),
    "destroyed during a session": (["Escape"], "destroy"),
    "destroyed judging a press": (["Escape", "Return"], "destroy"),
    "destroyed showing its results": (["Escape", "stop"], "destroy"),
    "destroyed full screen": (["F11", "Escape", "stop"], "destroy"),
}


def brought_back(d, rows=LOST):
    """A drill lost from view in a way a desktop has: the menu's button brings
    back the same drill, whole on the current desktop, as it was."""
    menu = d.window(MENU)
    d.run("xdotool", "set_num_desktops", "2")
    for name, (steps, lose) in rows.items():
        drill = open_drill(d)
        if not check(f"{name}: the drill opens", drill):
            continue
        for step in steps:
            if step == "stop":
                d.click(*on_drill(d, drill, 920, 384))
            else:
                d.key(drill, step)
            if step == "F11":
                check(f"{name}: F11 fills the screen",
                      wait_for(lambda: d.full_screen(drill)
                               and d.geometry(drill) == (0, 0) + d.size, 10, hold=0.3),
                      d.geometry(drill))
        full = "F11" in steps
        # With the results up nothing changes by itself: the drill must come
        # back showing the same picture, score and seconds.
        before = d.image(drill) if "stop" in steps else None
        if before and not full:
            check(f"{name}: the results are up", panel_up(before))
        d.shot("lost-" + name.replace(" ", "-"))
        if lose == "minimise":
            d.run("xdotool", "windowminimize", drill)
        elif lose == "destroy":
            d.run("xdotool", "windowclose", drill)
        else:
            d.run("xdotool", "set_desktop_for_window", drill, lose.split()[1])
        check(f"{name}: the drill is out of sight",
              wait_for(lambda: d.window("Form2") != drill, 5))
        check(f"{name}: the program lives on", d.program.poll() is None)
        d.key(menu, "Return")
        again = wait_for(lambda: d.window("Form2"), 5)
        if not check(f"{name}: the menu's button brings the drill back", again):
            continue
        whole = (0, 0) + d.size if full else None
        check(f"{name}: whole on the screen" + (" and full screen" if full else ""),
              wait_for(lambda: d.on_screen(d.geometry(again)) and d.full_screen(again) == full
                       and (not whole or d.geometry(again) == whole), 10, hold=0.3),
              f"{'full' if d.full_screen(again) else 'normal'} at {d.geometry(again)}")
        check(f"{name}: on the current desktop",
              d.run("xdotool", "get_desktop_for_window", again).stdout.strip()
              == d.run("xdotool", "get_desktop").stdout.strip())
        if before:
            same = wait_for(lambda: alike(d.image(again), before), 10)
            if not check(f"{name}: its session as it was", same):
                before.save(os.path.join(d.outdir, f"lost-{name.replace(' ', '-')}-before.png"))
                d.image(again).save(os.path.join(d.outdir, f"lost-{name.replace(' ', '-')}-after.png"))
        if name == "on another desktop":
            # Escape presses スタート: a new session starts with the results
            # put away, so that the whole chart can be answered.
            d.key(again, "Escape")
            check("Escape on the results starts a session with the results put away",
                  wait_for(lambda: not panel_up(d.image(again)), 5))
        close_drill(d, again)


def menu_destroyed(d):
    """The menu destroyed from outside counts as closed: closing the drill,
    the last window, ends the program."""
    drill = open_drill(d)
    if not check("menu destroyed: the drill opens", drill):
        return
    d.run("xdotool", "windowclose", d.window(MENU))
    check("menu destroyed: the menu is gone", wait_for(lambda: not d.window(MENU), 5))
    close_drill(d, drill)
    try:
        code = d.program.wait(5)
    except subprocess.TimeoutExpired:
        code = None
    check("menu destroyed: closing the drill ends the program with status 0", code == 0, code)


def scaled(program, outdir, factor, size):
    """The drill with Qt scaling everything by a factor: whole on the screen,
    full screen with F11, and whole again after the screen shrank to 1024 x 768
    under it."""
    d = Display(program, outdir, size)
    name = f"scale {factor}"
    try:
        if not check(f"{name}: the menu opens", d.start({"QT_SCALE_FACTOR": str(factor)})):
            return
        drill = open_drill(d)
        if not check(f"{name}: the drill opens whole on the {size[0]} x {size[1]} screen",
                     drill and wait_for(lambda: d.on_screen(d.geometry(drill)), 5, hold=0.3),
                     drill and d.geometry(drill)):
            return
        d.key(drill, "F11")
        check(f"{name}: F11 fills the screen",
              wait_for(lambda: d.geometry(drill) == (0, 0) + size), d.geometry(drill))
        if size != (1024, 768):
            d.resize_screen((1024, 768))
        d.key(drill, "F11")
        check(f"{name}: leaving full screen puts the drill whole and centred on the screen",
              wait_for(lambda: not d.full_screen(drill) and d.on_screen(d.geometry(drill))
                       and centred(d, d.geometry(drill)), 5, hold=0.3), d.geometry(drill))
        d.shot(f"scale{factor}-drill")
    finally:
        d.close()


def no_manager(program, outdir):
    """With no window manager F11 changes nothing to see, and the drill goes
    on following its screen."""
    d = Display(program, outdir, (1920, 1080), manager=False)
    try:
        if not check("no window manager: the menu opens", d.start()):
            return
        drill = open_drill(d)
        if not check("no window manager: the drill opens centred",
                     drill and wait_for(lambda: d.geometry(drill) == (448, 156, 1024, 768), 5),
                     drill and d.geometry(drill)):
            return
        d.key(drill, "F11")
        d.resize_screen((1024, 768))
        check("no window manager: after F11 the drill follows the screen",
              wait_for(lambda: d.geometry(drill) == (0, 0, 1024, 768), 5, hold=0.3),
              d.geometry(drill))
        d.shot("no-manager")
    finally:
        d.close()


def tiny(program, outdir, factor):
    d = Display(program, outdir, (320, 240))
    try:
        menu = d.start({"QT_SCALE_FACTOR": str(factor)})
        if not check(f"tiny {factor}: the menu opens on 320 x 240", menu):
            return
        # Whole once framed and settled: before the window manager's frame is
        # known the menu is placed as if it had none.
        frame = wait_for(lambda: d.frame(menu) if d.on_screen(d.frame(menu)) else None, 5,
                         hold=0.3)
        check(f"tiny {factor}: the menu lies whole on the screen", frame, d.frame(menu))
        d.shot(f"tiny-menu-{factor}")
        x, y, w, _ = d.geometry(menu)
        scale = w / 346
        check(f"tiny {factor}: the menu is scaled down", scale < 1, w)
        # おわる, where the menu's layout puts it at this scale: whole on the
        # screen, and pressed at its centre.
        end = (x + round(184 * scale), y + round(240 * scale), round(145 * scale),
               round(57 * scale))
        check(f"tiny {factor}: おわる lies whole on the screen", d.on_screen(end), end)
        d.click(end[0] + end[2] // 2, end[1] + end[3] // 2)
        try:
            code = d.program.wait(5)
        except subprocess.TimeoutExpired:
            code = None
        check(f"tiny {factor}: おわる can be pressed and ends the program", code == 0, code)
    finally:
        d.close()


def no_display(program, d):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env["XDG_RUNTIME_DIR"] = tempfile.mkdtemp()
    try:
        result = subprocess.run([program], env=env, capture_output=True, text=True, timeout=20)
        code, said = result.returncode, result.stderr.strip()
    except subprocess.TimeoutExpired:
        code, said = None, "(still running)"
    check("no display: exit status 1", code == 1, code)
    check("no display: one line that names DISPLAY and WAYLAND_DISPLAY",
          len(said.splitlines()) == 1 and "DISPLAY" in said and "WAYLAND_DISPLAY" in said, said)
    print("     said: " + said)

    # A Wayland session whose compositor is gone: a socket name nobody
    # listens on, with the platform the session asks Qt for.
    env["WAYLAND_DISPLAY"] = "wayland-nobody-here"
    env["QT_QPA_PLATFORM"] = "wayland"
    result = subprocess.run([program], env=env, capture_output=True, text=True, timeout=20)
    check("dead Wayland, no X: exit status 1 and one line", result.returncode == 1
          and len(result.stderr.strip().splitlines()) == 1, (result.returncode, result.stderr))
    # ... and with an X display there, the program uses it.
    env = dict(d.env, WAYLAND_DISPLAY="wayland-nobody-here", QT_QPA_PLATFORM="wayland")
    process = subprocess.Popen([program], env=env, stderr=subprocess.DEVNULL)
    try:
        check("dead Wayland: the menu opens on X", wait_for(lambda: d.window(MENU)))
    finally:
        process.terminate()
        process.wait(10)


def main():
    program, outdir = sys.argv[1], sys.argv[2]
    for tool in ("Xvfb", "openbox", "xdotool", "xrandr", "xprop", "xwininfo", "import"):
        if not shutil.which(tool):
            print(f"SKIP {tool} is not installed", flush=True)
            return SKIP
    os.makedirs(outdir, exist_ok=True)
    d = Display(program, outdir, (2560, 1600))
    try:
        if check("the menu opens on 2560 x 1600", d.start()):
            shrink(d)
            burst(d)
            brought_back(d)
            menu_destroyed(d)
        if d.program.poll() is None:
            d.program.terminate()
            d.program.wait(10)
        no_display(program, d)
    finally:
        d.close()
    scaled(program, outdir, 3, (2560, 1600))
    scaled(program, outdir, 1.5, (1024, 768))
    no_manager(program, outdir)
    for factor in (1, 1.5):
        tiny(program, outdir, factor)
    print(f"{len(failures)} failed", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
