#!/usr/bin/python3
"""Start-up time of a GUI program: from exec to its first window mapped.

    time_to_window.py TITLE_REGEX RSS_FILE -- PROGRAM [ARGS...]

Watches the X server for a top-level window whose title matches TITLE_REGEX
to become mapped (the window manager's frame or, without one, the window
itself), then ends the program. PROGRAM runs under /usr/bin/time -v, whose
report (with the peak resident set size) goes to RSS_FILE.

Prints the seconds from the exec to the map. Exit status 1 when no such
window appeared within 60 seconds.
"""
import os
import re
import select
import signal
import subprocess
import sys
import time

from Xlib import X, display, error

TIMEOUT = 60.0
SETTLE = 0.5  # let the program finish its start-up before it is ended


def title_of(d, win):
    for prop in ("_NET_WM_NAME", "WM_NAME"):
        try:
            p = win.get_full_property(d.intern_atom(prop), X.AnyPropertyType)
        except error.XError:
            return None
        if p is not None and p.value:
            v = p.value
            return v.decode("utf-8", "replace") if isinstance(v, bytes) else str(v)
    return None


def matching(d, win, pattern, depth=0):
    """True when win or a descendant (a frame's client) has a matching title."""
    t = title_of(d, win)
    if t is not None and pattern.search(t):
        return True
    if depth >= 3:
        return False
    try:
        children = win.query_tree().children
    except error.XError:
        return False
    return any(matching(d, c, pattern, depth + 1) for c in children)


def main(argv):
    if len(argv) < 5 or argv[3] != "--":
        print(__doc__, file=sys.stderr)
        return 2
    pattern, rss_file, cmd = re.compile(argv[1]), argv[2], argv[4:]
    d = display.Display()
    root = d.screen().root
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    d.sync()

    start = time.time()
    proc = subprocess.Popen(["/usr/bin/time", "-v", "-o", rss_file] + cmd,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mapped = None
    deadline = start + TIMEOUT
    while mapped is None and time.time() < deadline:
        while d.pending_events():
            e = d.next_event()
            if e.type == X.MapNotify and matching(d, e.window, pattern):
                mapped = time.time()
                break
        if mapped is None:
            select.select([d.fileno()], [], [], 0.01)

    time.sleep(SETTLE)
    # End the program itself (the child of time), so time still reports.
    try:
        with open("/proc/%d/task/%d/children" % (proc.pid, proc.pid)) as f:
            kids = f.read().split()
        for k in kids:
            os.kill(int(k), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
    if mapped is None:
        print("no window matching %r appeared" % argv[1], file=sys.stderr)
        return 1
    print("%.4f" % (mapped - start))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
