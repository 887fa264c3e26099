#!/usr/bin/python3
"""Reads ぽこもじ as a screen reader does, over AT-SPI.

Starts the program on an Xvfb of its own (tests/display.py) with Qt's
accessibility switched on, in a D-Bus session of its own with the AT-SPI
registry, and walks its accessibility tree with pyatspi: the menu and both
drills are named frames, the options are radio buttons in a group named after
their frame, the results panel is named and lists no decorative pictures,
hidden controls are not listed, and the two "おわる" buttons are told apart.
The drills are opened and played through the buttons' own accessible actions;
the results panel's buttons, once hidden, say they are neither enabled nor
focusable, and pressing them does nothing.

Usage: atspi_check.py PROGRAM
Prints one line per check and "N passed, N failed"; exits 1 if a check
failed, 77 if Xvfb, pyatspi, the AT-SPI bus or dbus-run-session is missing.
"""

import os
import shutil
import subprocess
import sys

from display import MENU, SKIP, Display, check, summary, wait_for

OWN_BUS = "POKOMOJI_ATSPI_OWN_BUS"


def skip(reason):
    print("SKIP " + reason, flush=True)
    sys.exit(SKIP)


def missing():
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        return "python3-pyatspi is not installed"
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        return "at-spi2-core is not installed"
    if not shutil.which("dbus-run-session"):
        return "dbus-run-session (dbus-daemon) is not installed"
    if not shutil.which("Xvfb"):
        return "Xvfb is not installed"
    return None


def own_bus():
    """Runs this script again inside a D-Bus session of its own, so that it
    shares no accessibility bus with anything else on the machine."""
    env = dict(os.environ, **{OWN_BUS: "1"})
    for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"):
        env.pop(name, None)
    command = ["dbus-run-session", "--", sys.executable] + sys.argv
    sys.exit(subprocess.run(command, env=env, check=False).returncode)


def main():
    import pyatspi

    d = Display()
    d.start([sys.argv[1]], QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")

    def children(node):
        return [c for c in node if c is not None]

    def walk(node):
        yield node
        for child in children(node):
            yield from walk(child)

    def application():
        for app in children(pyatspi.Registry.getDesktop(0)):
            if app.name == "pokomoji" and app.childCount:
                return app
        return None

    def frame(name):
        app = application()
        for window in children(app) if app else []:
            if window.name == name:
                return window
        return None

    def named(node, name, role=None):
        for found in walk(node):
            if found.name == name and (role is None or found.getRoleName() == role):
                return found
        return None

    def press(node):
        action = node.queryAction()
        for i in range(action.nActions):
            if action.getName(i).lower() in ("press", "click", "toggle"):
                return action.doAction(i)
        raise RuntimeError(f"{node.name} has no press action")

    def checked(node):
        return node.getState().contains(pyatspi.STATE_CHECKED)

    try:
        menu = wait_for(lambda: frame(MENU))
        if not check("the menu is on the bus", menu is not None):
            return
        check("the menu is a frame", menu.getRoleName() == "frame", menu.getRoleName())
        menu_end = named(menu, "おわる", "push button")
        check("the menu's おわる says it ends the program",
              menu_end is not None and menu_end.description == "ぽこもじを おわる",
              menu_end and menu_end.description)

        for opener, asks in (("カタカナ ど〜れ？", "カタカナ ど〜れ？"),
                             ("ひらがな ど〜れ？", "ひらがな ど〜れ？")):
            press(named(menu, opener, "push button"))
            drill = wait_for(lambda: frame(asks))
            if not check(f"{asks}: the drill opens as a named window", drill is not None):
                continue
            check(f"{asks}: the drill is a frame", drill.getRoleName() == "frame",
                  drill.getRoleName())

            group = named(drill, "もんだいのかず")
            options = children(group) if group else []
            check(f"{asks}: the options are three radio buttons in the group もんだいのかず",
                  [o.getRoleName() for o in options] == ["radio button"] * 3,
                  [o.getRoleName() for o in options])
            check(f"{asks}: the options are named by their captions",
                  [o.name for o in options] ==
                  ["ぜんぶ (71こ)", "はんぶん (30こ)", "すこし (15こ)"],
                  [o.name for o in options])
            check(f"{asks}: ぜんぶ is the chosen option",
                  [checked(o) for o in options] == [True, False, False],
                  [checked(o) for o in options])
            press(options[2])
            check(f"{asks}: choosing すこし moves the choice to it",
                  wait_for(lambda: [checked(o) for o in options] == [False, False, True]),
                  [checked(o) for o in options])

            listed = [n.name for n in walk(drill)]
            check(f"{asks}: the hidden results panel and marks are not listed",
                  not {"けっか", "もういちどする", "まる", "ばつ", "せいかい"} & set(listed),
                  sorted({"けっか", "もういちどする", "まる", "ばつ", "せいかい"} & set(listed)))

            press(named(drill, "スタート", "push button"))
            stop = named(drill, "ストップ", "push button")
            wait_for(lambda: stop.getState().contains(pyatspi.STATE_ENABLED))
            press(stop)
            panel = wait_for(lambda: named(drill, "けっか"))
            if not check(f"{asks}: Stop brings up the results panel, named けっか",
                         panel is not None):
                continue
            inside = children(panel)
            check(f"{asks}: the results panel lists no pictures",
                  all(c.name and c.getRoleName() != "filler" for c in inside),
                  [(c.getRoleName(), c.name) for c in inside])
            check(f"{asks}: the results panel holds もういちどする and おわる",
                  [c.name for c in inside if c.getRoleName() == "push button"] ==
                  ["もういちどする", "おわる"],
                  [c.name for c in inside])
            panel_end = named(panel, "おわる", "push button")
            check(f"{asks}: the panel's おわる is told apart from the menu's",
                  panel_end is not None and panel_end.description
                  and panel_end.description != menu_end.description,
                  panel_end and panel_end.description)
            # A screen reader keeps the panel's buttons it has seen. Put
            # away and in the next session, they are neither enabled nor
            # focusable, and pressing them does nothing.
            panel_again = named(panel, "もういちどする", "push button")
            press(panel_again)
            check(f"{asks}: もういちどする puts the results panel away",
                  wait_for(lambda: named(drill, "けっか") is None))
            press(named(drill, "スタート", "push button"))
            wait_for(lambda: stop.getState().contains(pyatspi.STATE_ENABLED))
            for hidden in (panel_end, panel_again):
                state = hidden.getState()
                check(f"{asks}: the hidden {hidden.name} is neither enabled nor focusable",
                      not state.contains(pyatspi.STATE_ENABLED)
                      and not state.contains(pyatspi.STATE_SENSITIVE)
                      and not state.contains(pyatspi.STATE_FOCUSABLE),
                      sorted(str(s) for s in state.getStates()))
                press(hidden)
            # Stop after the presses: had おわる closed the window, Stop and
            # its panel would be gone.
            press(stop)
            panel = wait_for(lambda: named(drill, "けっか"))
            if not check(f"{asks}: pressing the hidden おわる left the session running to its Stop",
                         panel is not None and frame(asks) is not None):
                continue

            unnamed = [n.getRoleName() for n in walk(drill)
                       if not n.name and n.getRoleName() not in ("label",)]
            check(f"{asks}: nothing in the window is unnamed", not unnamed, unnamed)
    finally:
        d.close()
    sys.exit(summary())


if __name__ == "__main__":
    reason = missing()
    if reason:
        skip(reason)
    if not os.environ.get(OWN_BUS):
        own_bus()
    main()
