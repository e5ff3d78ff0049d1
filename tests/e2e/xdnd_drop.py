#!/usr/bin/python3
"""Drops files on an X window the way a file manager does: the XDND protocol.

    xdnd_drop.py WINDOW X Y FILE...

WINDOW is the target's top-level client window (decimal id), X and Y the
drop point in root coordinates. The helper owns XdndSelection, sends
XdndEnter / XdndPosition / XdndDrop, serves the text/uri-list the target
asks for, and waits for XdndFinished.

Exit status: 0 the target accepted and finished the drop, 2 the target
refused it (XdndStatus without the accept bit), 1 on any other failure.
"""
import os
import select
import sys
import time
import urllib.parse

from Xlib import X, Xatom, display
from Xlib.protocol import event

TIMEOUT = 10.0


def file_uri(path):
    return "file://" + urllib.parse.quote(os.path.abspath(path).encode("utf-8"))


def main(argv):
    if len(argv) < 5:
        print(__doc__, file=sys.stderr)
        return 1
    target_id, x, y = int(argv[1], 0), int(argv[2]), int(argv[3])
    payload = "".join(file_uri(p) + "\r\n" for p in argv[4:]).encode("ascii")

    d = display.Display()
    atom = lambda name: d.intern_atom(name)  # noqa: E731
    aware, selection = atom("XdndAware"), atom("XdndSelection")
    enter, position, status = atom("XdndEnter"), atom("XdndPosition"), atom("XdndStatus")
    leave, drop, finished = atom("XdndLeave"), atom("XdndDrop"), atom("XdndFinished")
    copy, uri_list = atom("XdndActionCopy"), atom("text/uri-list")

    root = d.screen().root
    target = d.create_resource_object("window", target_id)
    prop = target.get_full_property(aware, Xatom.ATOM)
    if prop is None or not prop.value:
        print("target window is not XdndAware", file=sys.stderr)
        return 1
    version = min(5, int(prop.value[0]))

    source = root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent,
                                event_mask=X.PropertyChangeMask)
    # A server timestamp for the selection and the protocol messages.
    source.change_property(Xatom.WM_NAME, Xatom.STRING, 8, b"xdnd-drop")
    d.flush()
    stamp = X.CurrentTime
    while True:
        e = d.next_event()
        if e.type == X.PropertyNotify:
            stamp = e.time
            break
    source.set_selection_owner(selection, stamp)

    def send(kind, data):
        msg = event.ClientMessage(window=target, client_type=kind,
                                  data=(32, (data + [0] * 5)[:5]))
        target.send_event(msg, event_mask=0)
        d.flush()

    def serve(req):
        """Answers the target's request for the dropped data."""
        prop_atom = req.property or req.target
        if req.target == uri_list:
            req.requestor.change_property(prop_atom, uri_list, 8, payload)
        else:
            prop_atom = X.NONE
        note = event.SelectionNotify(time=req.time, requestor=req.requestor,
                                     selection=req.selection, target=req.target,
                                     property=prop_atom)
        req.requestor.send_event(note, event_mask=0)
        d.flush()

    def wait_for(kind):
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            while d.pending_events():
                e = d.next_event()
                if e.type == X.SelectionRequest:
                    serve(e)
                elif e.type == X.ClientMessage and e.client_type == kind:
                    return e
            select.select([d.fileno()], [], [], 0.05)
        return None

    send(enter, [source.id, version << 24, uri_list, 0, 0])
    send(position, [source.id, 0, (x << 16) | y, stamp, copy])
    st = wait_for(status)
    if st is None:
        print("no XdndStatus from the target", file=sys.stderr)
        return 1
    if not st.data[1][1] & 1:
        send(leave, [source.id, 0])
        print("the target refused the drop", file=sys.stderr)
        return 2
    send(drop, [source.id, 0, stamp])
    fin = wait_for(finished)
    if fin is None:
        print("no XdndFinished from the target", file=sys.stderr)
        return 1
    # Version 5 reports whether the drop was performed.
    if version >= 5 and not fin.data[1][1] & 1:
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
