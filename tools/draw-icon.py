#!/usr/bin/env python3
"""Writes the program's 16 by 16, 16-colour icon from the pixel map below.

Each character is an index into the standard 16-colour palette (hex digit). Run it again after
changing the map: tools/draw-icon.py src/ui/win32/resources/scenewright.ico
"""
import struct
import sys

# A framed landscape: sky, sun, cloud and hills.
PIXELS = [
    "0000000000000000",
    "0888888888888880",
    "08EEEEEEEEEEEE80",
    "08EEEEEEEEEBBE80",
    "08EFFFEEEEBBBB80",
    "08FFFFFEEEBBBB80",
    "08EEEEEEEEEBBE80",
    "08EEEEEEEEEEEE80",
    "08EEEAEEEEEEEE80",
    "08EEAAAEEEEEEA80",
    "08EAAAAAEEEEAA80",
    "08AAAAAAAEEAAA80",
    "08A2AAAAAAAAA280",
    "0822222A22222280",
    "0888888888888880",
    "0000000000000000",
]

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def icon_bytes():
    size = 16
    assert len(PIXELS) == size and all(len(row) == size for row in PIXELS)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    xor = bytearray()
    for row in reversed(PIXELS):  # bottom-up
        for x in range(0, size, 2):
            xor.append(int(row[x], 16) << 4 | int(row[x + 1], 16))
    mask = bytes(4 * size)  # fully opaque; rows padded to four bytes
    image = header + palette + bytes(xor) + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(icon_bytes())
