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
  presses    a double click on the results' おわる, the menu's おわる under
              it, closes the drill only; Enter held on おわる closes the drill
              and opens nothing in the menu
  lost        a drill minimised (also full screen), moved to another desktop,
              or destroyed from outside (xdotool windowclose) just opened, in
              a session, while a press is judged, showing its results and
              full screen; minimised and then moved to another desktop or
              destroyed; kept below the others; moved off the screen four
              times: one press of the menu's button brings the same drill
              back, whole on the current desktop, in front, showing what it
              showed; Escape on its results starts a session with them put
              away
  close and   とじる and the menu's drill button in one burst: a drill is on
  reopen      the screen
  endings     the windows destroyed, taken off the screen (xdotool
              windowunmap) or closed, in turn and in either order: the
              program ends when none is left that the child can see or the
              menu could bring back
  scale       with QT_SCALE_FACTOR 3 (on 2560 x 1600, 1280 x 1024 and
              800 x 600) and 1.5 the drill lies whole on the screen in device
              pixels, also after the screen shrank; with QT_FONT_DPI 400 the
              menu lies whole on a 1024-high screen; scale settings the
              program cannot use (0, nan, inf, -2, 0.05, 40, 1e6) end it
              with one line and status 1
  no manager  with no window manager, the drill follows a screen change
              after F11 too, takes its size back after another program
              resized it, and the program ends once both windows are
              destroyed or taken off the screen
  tiny        on 320 x 240, also at scale 1.5, the menu is scaled to fit,
              frame included, and its おわる ends the program
  no-display  without any display the program says so in one line and exits
              with status 1; with a Wayland socket nobody answers on and an
              X display, it opens its menu on X

Usage: placement_check.py PROGRAM LAYOUT_DUMP OUTDIR
Where the drill's controls lie comes from the program's own layout
(tests/ui/layout_dump). Prints one line per check and "N passed, N failed",
saves screenshots to OUTDIR and exits 1 if a check failed, 77 if Xvfb, openbox
or one of the X tools it uses is missing.
"""

import functools
import os
import random
import re
import subprocess
import sys
import tempfile
import time

from display import MENU, Display, Layout, check, require, summary, wait_for
from PIL import ImageChops

PANEL = (255, 192, 192)


def open_drill(d):
    """Opens the katakana drill from the menu with the keyboard; its id. A
    program that a failed check ended starts again, so that the checks after
    it still run."""
    if d.program.poll() is not None:
        d.start(d.program.args)
    menu = d.window(MENU)
    d.key("Return", window=menu)
    drill = wait_for(lambda: d.window("Form2"))
    if drill:
        wait_for(lambda: d.geometry(drill) and d.on_screen(d.geometry(drill)), 5)
        wait_for(lambda: takes_keys(d, drill), 10)
    return drill


def takes_keys(d, drill):
    """Whether the drill has the keyboard: Qt draws the dotted focus frame on
    the chart's first button once the window is active. A key typed before
    that can reach a window Qt does not yet take for active, and its
    shortcuts (F11, Escape) do nothing."""
    geometry, image = d.geometry(drill), d.image(drill)
    if not (geometry and image):
        return False
    scale = min(geometry[2] / layout(1).size[0], geometry[3] / layout(1).size[1])
    x, y, _, h = layout(1).rect("Command1", 43)
    x, middle = round(x * scale), round((y + h / 2) * scale)
    try:
        return any(sum(image.getpixel((x + dx, middle + dy))) < 150
                   for dx in range(1, 7) for dy in range(-3, 4))
    except IndexError:  # the window lies partly off the screen
        return False


def icon_sizes(d, window):
    """The sizes of the icon images a window offers the desktop."""
    out = d.run("xprop", "-id", window, "_NET_WM_ICON").stdout
    return [int(n) for n in re.findall(r"Icon \((\d+) x \d+\)", out)]


@functools.cache
def layout(scale):
    """The drill's controls laid out at a scale, by the layout dump named on
    the command line."""
    return Layout(sys.argv[2], scale)


def on_drill(d, drill, name):
    """Where a control of the drill lies on the screen: its content is laid
    out at the scale that fits the window and centred in it, as in full
    screen."""
    left, top, w, h = d.geometry(drill)
    scale = min(w / layout(1).size[0], h / layout(1).size[1])
    x, y = layout(scale).centre(name)
    return (left + (w - layout(scale).size[0]) // 2 + x,
            top + (h - layout(scale).size[1]) // 2 + y)


def close_drill(d, drill):
    """Closes a drill with its own とじる button."""
    d.click(*on_drill(d, drill, "Command2"))  # とじる
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
    d.key("F11", window=drill)
    check("shrink: F11 fills the 2560 x 1600 screen",
          wait_for(lambda: d.geometry(drill) == (0, 0, 2560, 1600)), d.geometry(drill))
    check("shrink: the screen is now 1024 x 768", d.resize_screen((1024, 768)), d.screen_size())
    check("shrink: full screen follows the screen",
          wait_for(lambda: d.geometry(drill) == (0, 0, 1024, 768)), d.geometry(drill))
    d.key("F11", window=drill)
    check("shrink: leaving full screen puts the drill whole on the screen",
          wait_for(lambda: not d.full_screen(drill) and d.geometry(drill) == (0, 0, 1024, 768)),
          d.geometry(drill))
    d.image(name="shrink-drill")
    # Stays there: nothing moves it away once it has settled.
    time.sleep(0.5)
    check("shrink: and stays there", d.geometry(drill) == (0, 0, 1024, 768), d.geometry(drill))
    menu = d.window(MENU)
    check("shrink: the menu follows the screen, whole and centred",
          wait_for(lambda: d.on_screen(d.frame(menu)) and centred(d, d.frame(menu))),
          d.frame(menu))
    d.run("xdotool", "windowactivate", "--sync", menu)
    d.image(name="shrink-menu")
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
            d.image(name=f"burst-{n}-failed")
    d.image(name="burst-last")
    close_drill(d, drill)


def panel_up(image):
    """Whether the results panel covers a chart button under it."""
    pixel = image.getpixel(layout(1).centre("Command1", 12))
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
    "minimised, then on another desktop": (["Escape", "stop"], "minimise, desktop 1"),
    "minimised, then destroyed": (["Escape", "stop"], "minimise, destroy"),
    "kept below the others": (["Escape", "stop"], "below"),
    "moved off the screen four times": (["Escape", "stop"], "move off"),
}
# What the desktop or another program does to a drill, one step of a row.
LOSE = {
    "minimise": lambda d, w: d.run("xdotool", "windowminimize", "--sync", w),
    "desktop 1": lambda d, w: d.run("xdotool", "set_desktop_for_window", w, "1"),
    "destroy": lambda d, w: d.run("xdotool", "windowclose", w),
    "unmap": lambda d, w: d.run("xdotool", "windowunmap", w),
    "close": lambda d, w: d.run("wmctrl", "-i", "-c", w),
    "below": lambda d, w: d.run("wmctrl", "-i", "-r", w, "-b", "add,below"),
}


def move_off(d, drill):
    """Moves the drill far off the screen, four times, each once the
    placement has answered the last: the fourth time it gives way."""
    for _ in range(4):
        d.run("xdotool", "windowmove", drill, str(d.size[0] - 100), str(d.size[1] - 100))
        wait_for(lambda: d.on_screen(d.geometry(drill)), 2, hold=0.3)
    return not d.on_screen(d.geometry(drill))


def in_front(d, window, other):
    """Whether a window lies above another in the window manager's stacking."""
    out = d.run("xprop", "-root", "_NET_CLIENT_LIST_STACKING").stdout
    ids = [int(v, 16) for v in re.findall(r"0x[0-9a-f]+", out)]
    return int(window) in ids and int(other) in ids and ids.index(int(window)) > ids.index(int(other))


def brought_back(d, rows=LOST):
    """A drill lost from view in a way a desktop has: the menu's button brings
    back the same drill, whole on the current desktop, as it was."""
    d.run("xdotool", "set_num_desktops", "2")
    for name, (steps, lose) in rows.items():
        drill = open_drill(d)
        menu = d.window(MENU)
        if not check(f"{name}: the drill opens", drill):
            continue
        for step in steps:
            if step == "stop":
                d.click(*on_drill(d, drill, "Command4"))  # ストップ
            else:
                d.key(step, window=drill)
            if step == "F11":
                check(f"{name}: F11 fills the screen",
                      wait_for(lambda: d.full_screen(drill)
                               and d.geometry(drill) == (0, 0) + d.size, 10, hold=0.3),
                      d.geometry(drill))
        full = "F11" in steps
        # With the results up nothing changes by itself once their pictures
        # are drawn sharp, a moment after they first show at a new scale: the
        # drill must come back showing the same picture, score and seconds.
        before = wait_for(lambda: d.image(drill), 5, hold=0.6) if "stop" in steps else None
        if before and not full:
            check(f"{name}: the results are up", panel_up(before))
        d.image(name="lost-" + name.replace(" ", "-"))
        if lose == "move off":
            check(f"{name}: the drill stays off the screen", move_off(d, drill))
        for step in lose.split(", ") if lose != "move off" else []:
            LOSE[step](d, drill)
            time.sleep(0.3)
        if lose == "below":
            d.run("xdotool", "windowactivate", "--sync", menu)
            check(f"{name}: the drill lies below the menu",
                  wait_for(lambda: in_front(d, menu, drill), 5))
        elif lose != "move off":
            check(f"{name}: the drill is out of sight",
                  wait_for(lambda: d.window("Form2") != drill, 5))
        check(f"{name}: the program lives on", d.program.poll() is None)
        d.key("Return", window=menu)
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
        check(f"{name}: in front of the menu", wait_for(lambda: in_front(d, again, menu), 5))
        d.image(name="back-" + name.replace(" ", "-").replace(",", ""))
        if before:
            same = wait_for(lambda: alike(d.image(again), before), 10)
            if not check(f"{name}: its session as it was", same):
                before.save(os.path.join(d.outdir, f"lost-{name.replace(' ', '-')}-before.png"))
                d.image(again).save(os.path.join(d.outdir, f"lost-{name.replace(' ', '-')}-after.png"))
        if name == "on another desktop":
            # Escape presses スタート: a new session starts with the results
            # put away, so that the whole chart can be answered.
            d.key("Escape", window=again)
            check("Escape on the results starts a session with the results put away",
                  wait_for(lambda: not panel_up(d.image(again)), 5))
        close_drill(d, again)


def presses(d):
    """A press belongs to the window it began in: a child's double click on
    the results' おわる with the menu's おわる under it, and Enter held on
    おわる, close the drill and do nothing in the menu."""
    for gap in (120, 300):
        name = f"double click {gap} ms apart on おわる"
        drill = open_drill(d)
        menu = d.window(MENU)
        if not check(f"{name}: the drill opens", drill):
            continue
        d.key("Escape", window=drill)
        d.click(*on_drill(d, drill, "Command4"))  # ストップ
        if not check(f"{name}: the results are up", d.wait_image(panel_up, 5, window=drill)):
            continue
        # The menu's おわる right under the drill's.
        x, y = on_drill(d, drill, "Command7")
        ex, ey, ew, eh = Layout(sys.argv[2], window="Form1").rect("Command2")
        d.run("xdotool", "windowmove", "--sync", menu, str(x - ex - ew // 2), str(y - ey - eh // 2))
        d.run("xdotool", "windowactivate", "--sync", drill)
        d.run("xdotool", "mousemove", "--sync", str(x), str(y),
              "click", "--repeat", "2", "--delay", str(gap), "1")
        check(f"{name}: the drill closes", wait_for(lambda: not d.window("Form2"), 5))
        check(f"{name}: the program lives on with its menu",
              d.exit_status(1) is None and d.window(MENU) == menu)
        d.image(name=f"double-click-{gap}")
    name = "Enter held on おわる"
    drill = open_drill(d)
    if not check(f"{name}: the drill opens", drill):
        return
    d.key("Escape", window=drill)
    d.click(*on_drill(d, drill, "Command4"))
    check(f"{name}: the results are up", d.wait_image(panel_up, 5, window=drill))
    time.sleep(1.2)  # keys rest while the results come up
    d.key("Tab", window=drill)  # from もういちどする to おわる
    d.run("xdotool", "keydown", "Return", "sleep", "1.5", "keyup", "Return")
    check(f"{name}: the drill closes", wait_for(lambda: not d.window("Form2"), 5))
    check(f"{name}: no drill opens again", not wait_for(lambda: d.window("Form2"), 2))
    d.image(name="held-enter")


def close_and_reopen(d, rounds=5):
    """とじる and the menu's drill button in one burst: the drill asked for
    last is on the screen."""
    for n in range(rounds):
        drill = open_drill(d)
        menu = d.window(MENU)
        if not check(f"close and reopen {n}: the drill opens", drill):
            return
        # The menu beside the drill, its drill button free to click.
        d.run("xdotool", "windowmove", "--sync", menu, "0", "0")
        left = Layout(sys.argv[2], window="Form1").centre("Command1")
        geometry = d.geometry(menu)
        d.run("xdotool", "windowactivate", "--sync", drill)
        x, y = on_drill(d, drill, "Command2")  # とじる
        d.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1",
              "mousemove", str(geometry[0] + left[0]), str(geometry[1] + left[1]), "click", "1")
        check(f"close and reopen {n}: a drill is on the screen",
              wait_for(lambda: d.window("Form2"), 5, hold=0.5))
        again = d.window("Form2")
        if again:
            close_drill(d, again)


# Ways the windows go, in turn, that leave nothing the child can see or the
# menu could bring back: each ends the program.
ENDINGS = {
    "menu destroyed, then the drill's とじる": [("menu", "destroy"), ("drill", "とじる")],
    "drill destroyed, then the menu closed": [("drill", "destroy"), ("menu", "close")],
    "drill destroyed, then the menu destroyed": [("drill", "destroy"), ("menu", "destroy")],
    "menu destroyed, then the drill destroyed": [("menu", "destroy"), ("drill", "destroy")],
    "drill taken off the screen, then the menu closed": [("drill", "unmap"), ("menu", "close")],
    "menu taken off the screen, then the drill's とじる": [("menu", "unmap"), ("drill", "とじる")],
}
ENDINGS_NO_MANAGER = {
    "no window manager: drill destroyed, then the menu destroyed":
        [("drill", "destroy"), ("menu", "destroy")],
    "no window manager: drill taken off the screen, then the menu destroyed":
        [("drill", "unmap"), ("menu", "destroy")],
}


def endings(d, program, rows):
    for name, steps in rows.items():
        if d.program is None or d.program.poll() is not None:
            d.start([program])
        drill = open_drill(d)
        if not check(f"{name}: the drill opens", drill):
            continue
        windows = {"menu": (d.window(MENU), MENU), "drill": (drill, "Form2")}
        for which, step in steps:
            window, title = windows[which]
            if step == "とじる":
                close_drill(d, window)
            else:
                LOSE[step](d, window)
            check(f"{name}: the {which} is gone", wait_for(lambda: not d.window(title), 5))
        code = d.exit_status(10)
        check(f"{name}: the program ends with status 0", code == 0, code)
        if code is None:
            d.program.kill()
            d.program.wait()


def scaled(program, outdir, factor, size):
    """The drill with Qt scaling everything by a factor: whole on the screen,
    full screen with F11, and whole again after the screen shrank to 1024 x 768
    under it."""
    name = f"scale {factor} on {size[0]} x {size[1]}"
    with Display(size, manager=True, outdir=outdir) as d:
        if not check(f"{name}: the menu opens", d.start([program], QT_SCALE_FACTOR=str(factor))):
            return
        drill = open_drill(d)
        if not check(f"{name}: the drill opens whole on the {size[0]} x {size[1]} screen",
                     drill and wait_for(lambda: d.on_screen(d.geometry(drill)), 5, hold=0.3),
                     drill and d.geometry(drill)):
            return
        d.key("F11", window=drill)
        check(f"{name}: F11 fills the screen",
              wait_for(lambda: d.geometry(drill) == (0, 0) + size), d.geometry(drill))
        if size[0] > 1024:
            d.resize_screen((1024, 768))
        d.key("F11", window=drill)
        check(f"{name}: leaving full screen puts the drill whole and centred on the screen",
              wait_for(lambda: not d.full_screen(drill) and d.on_screen(d.geometry(drill))
                       and centred(d, d.geometry(drill)), 5, hold=0.3), d.geometry(drill))
        d.image(name=f"scale{factor}-{size[0]}x{size[1]}-drill")


def font_dpi(program, outdir):
    """A font DPI of 400 scales the menu by 4.17: whole on a 1024-high screen."""
    with Display((1280, 1024), manager=True, outdir=outdir) as d:
        menu = d.start([program], QT_FONT_DPI="400")
        if check("font DPI 400: the menu opens", menu):
            check("font DPI 400: the menu lies whole on the screen",
                  wait_for(lambda: d.on_screen(d.frame(menu)), 5, hold=0.3), d.frame(menu))
            d.image(name="font-dpi-400-menu")


def unusable_scales(program, d):
    for factor in ("0", "nan", "inf", "-2", "0.05", "40", "1e6"):
        try:
            result = subprocess.run([program], env=dict(d.env, QT_SCALE_FACTOR=factor),
                                    capture_output=True, text=True, timeout=20)
            code, said = result.returncode, result.stderr.strip().splitlines()
        except subprocess.TimeoutExpired:
            code, said = None, ["(still running)"]
        said = [line for line in said if "QStandardPaths" not in line]
        check(f"QT_SCALE_FACTOR={factor}: status 1 and one line",
              code == 1 and len(said) == 1, (code, said))


def no_manager(program, outdir):
    """With no window manager F11 changes nothing to see, and the drill goes
    on following its screen."""
    with Display((1920, 1080), outdir=outdir) as d:
        if not check("no window manager: the menu opens", d.start([program])):
            return
        drill = open_drill(d)
        if not check("no window manager: the drill opens centred",
                     drill and wait_for(lambda: d.geometry(drill) == (448, 156, 1024, 768), 5),
                     drill and d.geometry(drill)):
            return
        d.key("F11", window=drill)
        d.resize_screen((1024, 768))
        check("no window manager: after F11 the drill follows the screen",
              wait_for(lambda: d.geometry(drill) == (0, 0, 1024, 768), 5, hold=0.3),
              d.geometry(drill))
        d.key("F11", window=drill)
        d.run("xdotool", "windowsize", drill, "500", "400")
        check("no window manager: resized by another program, the drill takes its size back",
              wait_for(lambda: d.geometry(drill) == (0, 0, 1024, 768), 5, hold=0.3),
              d.geometry(drill))
        d.image(name="no-manager")
        endings(d, program, ENDINGS_NO_MANAGER)


def tiny(program, outdir, factor):
    with Display((320, 240), manager=True, outdir=outdir) as d:
        menu = d.start([program], QT_SCALE_FACTOR=str(factor))
        if not check(f"tiny {factor}: the menu opens on 320 x 240", menu):
            return
        # Whole once framed and settled: before the window manager's frame is
        # known the menu is placed as if it had none.
        frame = wait_for(lambda: d.frame(menu) if d.on_screen(d.frame(menu)) else None, 5,
                         hold=0.3)
        check(f"tiny {factor}: the menu lies whole on the screen", frame, d.frame(menu))
        d.image(name=f"tiny-menu-{factor}")
        x, y, w, _ = d.geometry(menu)
        scale = w / Layout(sys.argv[2], window="Form1").size[0]
        check(f"tiny {factor}: the menu is scaled down", scale < 1, w)
        # おわる, where the menu's layout puts it at this scale: whole on the
        # screen, and pressed at its centre.
        ex, ey, ew, eh = Layout(sys.argv[2], scale, window="Form1").rect("Command2")
        end = (x + ex, y + ey, ew, eh)
        check(f"tiny {factor}: おわる lies whole on the screen", d.on_screen(end), end)
        d.click(end[0] + end[2] // 2, end[1] + end[3] // 2)
        code = d.exit_status()
        check(f"tiny {factor}: おわる can be pressed and ends the program", code == 0, code)


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
    program, outdir = sys.argv[1], sys.argv[3]
    require("Xvfb", "openbox", "xdotool", "xrandr", "xprop", "xwininfo", "import", "wmctrl")
    os.makedirs(outdir, exist_ok=True)
    with Display((2560, 1600), manager=True, outdir=outdir) as d:
        if check("the menu opens on 2560 x 1600", d.start([program])):
            shrink(d)
            burst(d)
            presses(d)
            brought_back(d)
            close_and_reopen(d)
            endings(d, program, ENDINGS)
        if d.program.poll() is None:
            d.program.terminate()
            d.program.wait(10)
        no_display(program, d)
        unusable_scales(program, d)
    for size in ((2560, 1600), (1280, 1024), (800, 600)):
        scaled(program, outdir, 3, size)
    scaled(program, outdir, 1.5, (1024, 768))
    font_dpi(program, outdir)
    no_manager(program, outdir)
    for factor in (1, 1.5):
        tiny(program, outdir, factor)
    return summary()


if __name__ == "__main__":
    sys.exit(main())
