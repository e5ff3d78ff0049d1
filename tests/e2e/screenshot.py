#!/usr/bin/python3
"""Writes the whole X screen to a PNG file: screenshot.py OUT.png

Used to record what was on the screen when an end-to-end test failed.
"""
import struct
import sys
import zlib

from Xlib import X, display


def main(out):
    d = display.Display()
    root = d.screen().root
    geo = root.get_geometry()
    w, h = geo.width, geo.height
    raw = root.get_image(0, 0, w, h, X.ZPixmap, 0xFFFFFFFF).data
    rows = bytearray()
    for y in range(h):
        rows.append(0)
        line = raw[y * w * 4:(y + 1) * w * 4]
        px = bytearray(w * 3)
        px[0::3] = line[2::4]  # BGRX -> RGB
        px[1::3] = line[1::4]
        px[2::3] = line[0::4]
        rows += px

    def chunk(kind, data):
        c = kind + data
        return struct.pack(">I", len(data)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b"")
    with open(out, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main(sys.argv[1])
