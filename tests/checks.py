"""The checks the real-window and screen-reader drivers print, and the wait
they poll with instead of fixed sleeps."""

import time

failures = []


def check(name, ok, detail=""):
    print(("PASS " if ok else "FAIL ") + name + ("" if ok else f" ({detail})"), flush=True)
    if not ok:
        failures.append(name)
    return ok


def wait_for(find, seconds=10.0):
    """Polls until find() returns something true; returns it, or the last
    false answer."""
    deadline = time.monotonic() + seconds
    while True:
        found = find()
        if found or time.monotonic() > deadline:
            return found
        time.sleep(0.05)
