"""The checks the real-window and screen-reader drivers print, and the wait
they poll with instead of fixed sleeps."""

import time

failures = []


def check(name, ok, detail=""):
    print(("PASS " if ok else "FAIL ") + name + ("" if ok else f" ({detail})"), flush=True)
    if not ok:
        failures.append(name)
    return ok


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
