#!/usr/bin/env python3
"""Draws the bar library's cursors and MDI caption-button bitmaps.

Writes into bars/resources/: four 32x32 monochrome cursors (.cur) and four 16x16
24-bit bitmaps (.bmp). The pictures are drawn here from code, so running the script
again gives the same files; the generated files are kept in the tree beside dxbar.rc.
Run: python3 scripts/gen-bar-resources.py
"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "bars", "resources")
SIZE = 32

# Cursor pixels: ' ' transparent, 'X' black, 'o' white.
ARROW = [
    "X",
    "XX",
    "XoX",
    "XooX",
    "XoooX",
    "XooooX",
    "XoooooX",
    "XooooooX",
    "XoooooooX",
    "XooooooooX",
    "XoooooXXXXX",
    "XooXooX",
    "XoX XooX",
    "XX  XooX",
    "X    XooX",
    "     XooX",
    "      XX",
]


def blank():
    return [[" "] * SIZE for _ in range(SIZE)]


def paste(canvas, art, left, top):
    for y, row in enumerate(art):
        for x, ch in enumerate(row):
            if ch != " ":
                canvas[top + y][left + x] = ch


def box(canvas, left, top, right, bottom, dotted):
    """A black frame with a white inside; a dotted frame alternates black and white."""
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = y in (top, bottom) or x in (left, right)
            if edge:
                canvas[y][x] = "X" if not dotted or (x + y) % 2 == 0 else "o"
            else:
                canvas[y][x] = "o"


def outline(canvas):
    """Gives every black pixel a white rim so the shape reads on dark and light ground."""
    rim = []
    for y in range(SIZE):
        for x in range(SIZE):
            if canvas[y][x] != " ":
                continue
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    ny, nx = y + dy, x + dx
                    if 0 <= ny < SIZE and 0 <= nx < SIZE and canvas[ny][nx] == "X":
                        rim.append((y, x))
    for y, x in rim:
        canvas[y][x] = "o"


def drag_cursor(copy):
    c = blank()
    box(c, 7, 17, 19, 25, dotted=True)
    if copy:
        box(c, 16, 22, 26, 30, dotted=False)
        for i in range(18, 25):
            c[26][i] = "X"
        for i in range(23, 30):
            c[i][21] = "X"
    paste(c, ARROW, 0, 0)
    return c, (0, 0)


def nodrop_cursor():
    c = blank()
    cx = cy = 15.5
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - cx, y - cy)
            on_ring = 8.0 <= d <= 11.0
            # The bar runs from top left to bottom right inside the ring.
            on_bar = d < 8.5 and abs((x - cx) - (y - cy)) <= 2.0
            if on_ring or on_bar:
                c[y][x] = "X"
    outline(c)
    return c, (15, 15)


def sizing_cursor():
    c = blank()
    for y in range(7, 25):
        c[y][15] = "X"
        c[y][16] = "X"
    for x in range(4, 28):
        if x not in (15, 16):
            c[15][x] = "X"
            c[16][x] = "X"
    for i in range(1, 5):
        for y in range(15 - i, 17 + i):
            c[y][4 + i] = "X"
            c[y][27 - i] = "X"
    outline(c)
    return c, (15, 15)


def write_cursor(name, canvas, hotspot):
    row_bytes = SIZE // 8
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        xor_bits = and_bits = 0
        for x in range(SIZE):
            ch = canvas[y][x]
            bit = 1 << (SIZE - 1 - x)
            if ch == " ":
                and_bits |= bit
            elif ch == "o":
                xor_bits |= bit
        xor_rows.append(xor_bits.to_bytes(row_bytes, "big"))
        and_rows.append(and_bits.to_bytes(row_bytes, "big"))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(directory + entry + image)


# Caption-button glyphs: 16x16, magenta ground (the transparent colour, as the bottom-left
# pixel says), black strokes.
GROUND = (255, 0, 255)
INK = (0, 0, 0)


def glyph_close():
    px = set()
    for i in range(9):
        for t in (0, 1):
            px.add((3 + i + t, 3 + i))
            px.add((12 - i + t, 3 + i))
    return px


def window_frame(left, top, right, bottom):
    px = set()
    for x in range(left, right + 1):
        px.add((x, top))
        px.add((x, top + 1))  # the thick title line
        px.add((x, bottom))
    for y in range(top, bottom + 1):
        px.add((left, y))
        px.add((right, y))
    return px


def glyph_maximize():
    return window_frame(3, 3, 12, 11)


def glyph_restore():
    back = window_frame(6, 2, 13, 8)
    front = window_frame(3, 6, 10, 12)
    # The front window hides what of the back one lies inside it.
    hidden = {(x, y) for (x, y) in back if 3 < x < 10 and 6 < y < 12}
    return (back - hidden) | front


def glyph_minimize():
    return {(x, y) for x in range(4, 11) for y in (11, 12)}


def write_bitmap(name, pixels):
    w = h = 16
    row_size = (w * 3 + 3) & ~3
    rows = []
    for y in reversed(range(h)):
        row = bytearray()
        for x in range(w):
            r, g, b = INK if (x, y) in pixels else GROUND
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(file_header + info + data)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_cursor("dragcursor.cur", *drag_cursor(copy=False))
    write_cursor("dragcopycursor.cur", *drag_cursor(copy=True))
    write_cursor("dragnodropcursor.cur", *nodrop_cursor())
    write_cursor("editsizingcursor.cur", *sizing_cursor())
    write_bitmap("mdiclose.bmp", glyph_close())
    write_bitmap("mdirestore.bmp", glyph_restore())
    write_bitmap("mdimaximize.bmp", glyph_maximize())
    write_bitmap("mdiminimize.bmp", glyph_minimize())


if __name__ == "__main__":
    main()
