#!/usr/bin/env python3
"""Draws the bar library's cursors and bitmaps, and the demo program's toolbar pictures.

Writes into bars/resources/: four 32x32 monochrome cursors (.cur), four 16x16 24-bit
MDI caption-button bitmaps, two 13x13 16-colour font marks and four 16x16 16-colour item
glyphs (.bmp); and into
demo/resources/: four 32x32 24-bit toolbar pictures. The pictures are drawn here from
code, so running the script again gives the same files; the generated files are kept in
the tree beside the .rc files that use them.
Run: python3 scripts/gen-bar-resources.py
"""
import math
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
OUT = os.path.join(ROOT, "bars", "resources")
DEMO_OUT = os.path.join(ROOT, "demo", "resources")
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


def write_bmp24(path, grid):
    """Writes rows of (r, g, b) top row first as a 24-bit bottom-up BMP file."""
    h, w = len(grid), len(grid[0])
    row_size = (w * 3 + 3) & ~3
    rows = []
    for y in reversed(range(h)):
        row = bytearray()
        for r, g, b in grid[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(file_header + info + data)


def write_bitmap(name, pixels):
    grid = [[INK if (x, y) in pixels else GROUND for x in range(16)] for y in range(16)]
    write_bmp24(os.path.join(OUT, name), grid)


# The 16-colour palette of the font marks: the standard colours in their usual order.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def write_bmp4(path, grid):
    """Writes rows of palette indices top row first as a 4-bit (16-colour) BMP file."""
    h, w = len(grid), len(grid[0])
    row_size = ((w * 4 + 31) // 32) * 4
    rows = []
    for y in reversed(range(h)):
        row = bytearray()
        for x in range(0, w, 2):
            high = grid[y][x]
            low = grid[y][x + 1] if x + 1 < w else 0
            row.append((high << 4) | low)
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + info + palette + data)


# Font marks: 13x13, magenta ground (transparent, as the bottom-left pixel says).
# '.' ground, 'K' black, 'G' grey, 'N' navy.
MARK_COLOURS = {".": 13, "K": 0, "G": 7, "N": 4}

# Two overlapping letters T: a grey one behind, a navy one in front and lower right.
TRUETYPE_MARK = [
    ".............",
    "GGGGGGG......",
    "GGGGGGG......",
    "..GGG........",
    "..GGGNNNNNNN.",
    "..GGGNNNNNNN.",
    "..GGG..NNN...",
    "..GGG..NNN...",
    "..GGG..NNN...",
    "..GGG..NNN...",
    ".......NNN...",
    ".......NNN...",
    ".......NNN...",
]

# A bold lower-case a in black.
NONTRUETYPE_MARK = [
    ".............",
    ".............",
    ".............",
    "....KKKKK....",
    "...KK...KK...",
    "........KK...",
    ".....KKKKK...",
    "...KK...KK...",
    "...KK...KK...",
    "...KK..KKK...",
    "....KKKK.KK..",
    ".............",
    ".............",
]


def write_mark(name, art):
    assert len(art) == 13 and all(len(row) == 13 for row in art)
    write_bmp4(os.path.join(OUT, name), [[MARK_COLOURS[ch] for ch in row] for row in art])


# Glyphs of extra item kinds: 16x16, same palette and ground as the marks.
# 'R' red, 'L' lime, 'B' blue, 'Y' yellow, 'K' black, 'N' navy, 'G' grey.
# 'W' white.
GLYPH_COLOURS = {".": 13, "K": 0, "G": 7, "N": 4, "R": 9, "L": 10, "B": 12, "Y": 11, "W": 15}

# Four colour swatches in a black frame.
COLOR_COMBO_GLYPH = [
    "................",
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KRRRRRKKLLLLLK.",
    ".KRRRRRKKLLLLLK.",
    ".KRRRRRKKLLLLLK.",
    ".KRRRRRKKLLLLLK.",
    ".KRRRRRKKLLLLLK.",
    ".KKKKKKKKKKKKKK.",
    ".KBBBBBKKYYYYYK.",
    ".KBBBBBKKYYYYYK.",
    ".KBBBBBKKYYYYYK.",
    ".KBBBBBKKYYYYYK.",
    ".KBBBBBKKYYYYYK.",
    ".KKKKKKKKKKKKKK.",
    "................",
]

# A navy capital A over a grey baseline.
FONT_NAME_COMBO_GLYPH = [
    "................",
    "................",
    ".......NN.......",
    "......NNNN......",
    "......NNNN......",
    ".....NN..NN.....",
    ".....NN..NN.....",
    "....NN....NN....",
    "....NNNNNNNN....",
    "...NNNNNNNNNN...",
    "...NN......NN...",
    "..NN........NN..",
    "..NN........NN..",
    "................",
    ".GGGGGGGGGGGGGG.",
    "................",
]

# A small picture (sky, sun, meadow) in a combo's box beside its drop-down arrow.
IMAGE_COMBO_GLYPH = [
    "................",
    "................",
    "................",
    "GGGGGGGGGGGGGGGG",
    "GWWWWWWWWWWWWWWG",
    "GWBBBBYBWWWWWWWG",
    "GWBBBBBBWKKKKKWG",
    "GWBBBBBBWWKKKWWG",
    "GWLLLLLLWWWKWWWG",
    "GWLLLLLLWWWWWWWG",
    "GWWWWWWWWWWWWWWG",
    "GGGGGGGGGGGGGGGG",
    "................",
    "................",
    "................",
    "................",
]

# Three nodes joined by tree lines in a combo's box beside its drop-down arrow.
TREE_VIEW_COMBO_GLYPH = [
    "................",
    "................",
    "................",
    "GGGGGGGGGGGGGGGG",
    "GWWWWWWWWWWWWWWG",
    "GWBBBWWWWWWWWWWG",
    "GWWKWWWWWKKKKKWG",
    "GWWKKKNNNWKKKWWG",
    "GWWKWWWWWWWKWWWG",
    "GWWKKKNNNWWWWWWG",
    "GWWWWWWWWWWWWWWG",
    "GGGGGGGGGGGGGGGG",
    "................",
    "................",
    "................",
    "................",
]


def write_glyph(name, art):
    assert len(art) == 16 and all(len(row) == 16 for row in art)
    write_bmp4(os.path.join(OUT, name), [[GLYPH_COLOURS[ch] for ch in row] for row in art])


# The demo's toolbar pictures: 32x32, one flat ground colour (the button face's classic
# grey), which the image list masks out as the bottom-left pixel's colour. The pictures
# themselves never use the ground colour.
DEMO_GROUND = (212, 208, 200)
OUTLINE = (64, 64, 64)
PAGE = (255, 255, 255)
TEXT_LINE = (150, 150, 150)
FOLDER = (240, 200, 80)
FOLDER_DARK = (160, 120, 30)
PLUS = (40, 170, 40)
PLUS_DARK = (0, 90, 0)
CROSS = (220, 40, 40)
CROSS_DARK = (130, 0, 0)
PLAY = (60, 190, 60)


def canvas32():
    return [[DEMO_GROUND] * 32 for _ in range(32)]


def fill(grid, left, top, right, bottom, colour):
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            grid[y][x] = colour


def frame(grid, left, top, right, bottom, colour):
    for x in range(left, right + 1):
        grid[top][x] = grid[bottom][x] = colour
    for y in range(top, bottom + 1):
        grid[y][left] = grid[y][right] = colour


def plus(grid, cx, cy, arm, half):
    """A plus centred on (cx, cy): arms of length arm, 2*half+1 wide, with a dark rim."""
    shape = set()
    for d in range(-arm, arm + 1):
        for w in range(-half, half + 1):
            shape.add((cx + d, cy + w))
            shape.add((cx + w, cy + d))
    rim = {(x + dx, y + dy) for (x, y) in shape for dx in (-1, 0, 1) for dy in (-1, 0, 1)} - shape
    for x, y in rim:
        grid[y][x] = PLUS_DARK
    for x, y in shape:
        grid[y][x] = PLUS


def picture_add():
    g = canvas32()
    # A page with its top right corner folded over.
    fill(g, 5, 2, 22, 28, PAGE)
    frame(g, 5, 2, 22, 28, OUTLINE)
    for i in range(7):
        for x in range(17 + i, 23):
            g[2 + i][x] = DEMO_GROUND  # cut away above the fold
        g[2 + i][16 + i] = OUTLINE  # the fold
        g[2 + i][16] = OUTLINE  # the flap's left edge
    fill(g, 16, 8, 22, 8, OUTLINE)  # the flap's bottom edge
    for y in range(12, 25, 3):
        fill(g, 8, y, 19, y, TEXT_LINE)
    plus(g, 22, 21, 6, 1)
    return g


def picture_add_folder():
    g = canvas32()
    # The tab, then the folder's body.
    fill(g, 3, 6, 12, 9, FOLDER)
    frame(g, 3, 6, 12, 9, FOLDER_DARK)
    fill(g, 3, 9, 26, 25, FOLDER)
    frame(g, 3, 9, 26, 25, FOLDER_DARK)
    fill(g, 4, 10, 25, 11, (250, 225, 130))
    plus(g, 22, 21, 6, 1)
    return g


def picture_remove():
    g = canvas32()
    shape = set()
    for y in range(32):
        for x in range(32):
            # Two bars from corner to corner, about five pixels thick.
            on_a = abs(x - y) <= 2 and 5 <= x <= 26
            on_b = abs(x + y - 31) <= 2 and 5 <= x <= 26
            if on_a or on_b:
                shape.add((x, y))
    rim = {(x + dx, y + dy) for (x, y) in shape for dx in (-1, 0, 1) for dy in (-1, 0, 1)} - shape
    for x, y in rim:
        g[y][x] = CROSS_DARK
    for x, y in shape:
        g[y][x] = CROSS
    return g


def picture_start():
    g = canvas32()
    # A triangle pointing right: from the left edge x = 8 (y 4 ... 27) to its tip at x = 26.
    shape = set()
    for y in range(32):
        for x in range(32):
            if 8 <= x <= 26:
                half = 12.0 * (26 - x) / 18.0
                if abs(y - 15.5) <= half:
                    shape.add((x, y))
    rim = {(x + dx, y + dy) for (x, y) in shape for dx in (-1, 0, 1) for dy in (-1, 0, 1)} - shape
    for x, y in rim:
        g[y][x] = PLUS_DARK
    for x, y in shape:
        g[y][x] = PLAY
    return g


def write_demo_picture(name, grid):
    assert grid[31][0] == DEMO_GROUND  # the image list's mask colour
    write_bmp24(os.path.join(DEMO_OUT, name), grid)


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
    write_mark("truetypefont.bmp", TRUETYPE_MARK)
    write_mark("nontruetypefont.bmp", NONTRUETYPE_MARK)
    write_glyph("colorcombo.bmp", COLOR_COMBO_GLYPH)
    write_glyph("fontnamecombo.bmp", FONT_NAME_COMBO_GLYPH)
    write_glyph("treeviewcombo.bmp", TREE_VIEW_COMBO_GLYPH)
    write_glyph("imagecombo.bmp", IMAGE_COMBO_GLYPH)
    os.makedirs(DEMO_OUT, exist_ok=True)
    write_demo_picture("add.bmp", picture_add())
    write_demo_picture("addfolder.bmp", picture_add_folder())
    write_demo_picture("remove.bmp", picture_remove())
    write_demo_picture("start.bmp", picture_start())


if __name__ == "__main__":
    main()
