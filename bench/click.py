#!/usr/bin/python3
"""Clicks the first pointer button at X Y on the screen, through XTEST.

    click.py X Y

Prints the time (seconds since the epoch) the button was released, which is
when a click takes effect, as for a user whose press lasts a moment. The
time is taken after this program has started, the pointer has reached the
place and the press has been handled, so a measurement from the click holds
none of them.
"""
import sys
import time

from Xlib import X, display
from Xlib.ext import xtest


def main(argv):
    x, y = int(argv[1]), int(argv[2])
    d = display.Display()
    xtest.fake_input(d, X.MotionNotify, x=x, y=y)
    d.sync()
    time.sleep(0.05)
    xtest.fake_input(d, X.ButtonPress, 1)
    d.sync()
    time.sleep(0.05)
    sent = time.time()
    xtest.fake_input(d, X.ButtonRelease, 1)
    d.sync()
    print("%.6f" % sent)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
