#!/usr/bin/env python3
"""Draws the editor's two cursor images as 32x32 PNG files.

"#" is black, "." white, anything else transparent. Run it from this folder
after changing a picture; the PNG files are what the program loads.
"""
import struct
import zlib

ARROW = [
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#........#",
    "#.........#",
    "#......#####",
    "#...#..#",
    "#..##..#",
    "#.#  #..#",
    "##   #..#",
    "#     #..#",
    "      #..#",
    "       ##",
]

# The left-margin pointer: the arrow mirrored, pointing up and to the right,
# as the row selection it offers runs to the right.
RIGHT_ARROW = [row.ljust(12)[::-1] for row in ARROW]

# The copy-drag pointer: the arrow over a dotted text block and a plus box.
DRAG_SEL_COPY = [row.ljust(12) for row in ARROW[:14]] + [
    "#.#  #..#",
    "##   #..#",
    "#     #..#",
    "      #..#",
    "       ##",
    "",
    "  # # # # # #",
    "             ",
    "  #         #",
    "        #######",
    "  #     #.....#",
    "        #..#..#",
    "  # # # #.###.#",
    "        #..#..#",
    "        #.....#",
    "        #######",
]


def png(rows, path, width=32, height=32):
    pixels = bytearray()
    for y in range(height):
        pixels.append(0)  # no filter
        row = rows[y] if y < len(rows) else ""
        for x in range(width):
            c = row[x] if x < len(row) else " "
            if c == "#":
                pixels += bytes((0, 0, 0, 255))
            elif c == ".":
                pixels += bytes((255, 255, 255, 255))
            else:
                pixels += bytes((0, 0, 0, 0))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(bytes(pixels), 9)))
        f.write(chunk(b"IEND", b""))


def tip(rows):
    """The first black pixel of the first row: where the pointer points."""
    return rows[0].index("#"), 0


if __name__ == "__main__":
    png(RIGHT_ARROW, "right_arrow.png")
    png(DRAG_SEL_COPY, "drag_sel_copy.png")
    print("right_arrow.png hot spot", tip(RIGHT_ARROW))
    print("drag_sel_copy.png hot spot", tip(DRAG_SEL_COPY))
