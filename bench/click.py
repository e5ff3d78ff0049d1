#!/usr/bin/python3
"""Clicks the first pointer button at X Y on the screen, through XTEST.

    click.py X Y

Prints the time (seconds since the epoch) the press was sent, taken after
this program has started and the pointer has reached the place, so that a
measurement from the click holds neither.
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
    sent = time.time()
    xtest.fake_input(d, X.ButtonPress, 1)
    xtest.fake_input(d, X.ButtonRelease, 1)
    d.sync()
    print("%.6f" % sent)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
