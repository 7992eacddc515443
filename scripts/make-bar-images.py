#!/usr/bin/env python3
"""Writes the control bar's images into resources/ctrlbar/.

    python3 scripts/make-bar-images.py

The generated files are committed, so the build needs no Python; run this
again only after changing a picture below, and commit its output with it.

Button images are 8-bit palette bitmaps: LoadImage's LR_LOADMAP3DCOLORS
maps the grey shades through the colour table only (a 24-bit bitmap keeps
its grey, on Windows and under Wine alike), so the background is the palette
entry RGB(192,192,192), which becomes the button face of the user's scheme,
and RGB(128,128,128) becomes the button shadow. Icons are 32-bit with alpha
and an AND mask, as Quorvel.ico.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "ctrlbar")

# One letter a pixel. "." is the background: the button face for bitmaps,
# transparent for icons.
COLOURS = {
    ".": (192, 192, 192),
    "K": (0, 0, 0),
    "d": (128, 128, 128),  # the button shadow once mapped
    "W": (255, 255, 255),
    "B": (0, 0, 128),      # the one accent of the buttons
    "b": (64, 96, 192),
    "R": (192, 0, 0),
    "r": (255, 96, 96),
    "Y": (255, 216, 96),
    "y": (232, 176, 40),
    "o": (128, 88, 0),
    "l": (224, 224, 224),
}

# ---- Button images (12x12, the knob 6x12) --------------------------------

BUTTONS = {
    # The bar's own menu: the suite's initials.
    "System.bmp": """
        ............
        ............
        .KKK..B...B.
        K...K.B...B.
        K...K.B...B.
        K...K.B...B.
        K...K.B...B.
        K.K.K..B.B..
        K..K...B.B..
        .KK.K...B...
        ............
        ............""",
    # Pushed into the board: seen from above, its needle down.
    "PinPinned.bmp": """
        ............
        ....KKKK....
        ....KRrK....
        ....KRrK....
        ....KRrK....
        ....KRrK....
        ..KKKKKKKK..
        ..KddddddK..
        ..KKKKKKKK..
        .....KK.....
        .....KK.....
        ............""",
    # Loose: lying on its side, the needle to the left.
    "PinLoose.bmp": """
        ............
        ............
        ......K.....
        ......KKKKK.
        ......KdRrK.
        .KKKKKKdRrK.
        .ddddddKRrK.
        ......KdRrK.
        ......KKKKK.
        ......K.....
        ............
        ............""",
    # A grip of two raised ridges in the scheme's own 3D colours.
    "Knob.bmp": """
        ......
        .Wd.Wd
        .Wd.Wd
        .Wd.Wd
        .Wd.Wd
        .Wd.Wd
        .Wd.Wd
        .Wd.Wd
        .Wd.Wd
        .Wd.Wd
        .Wd.Wd
        ......""",
    "PageNext.bmp": """
        ............
        ......K.....
        ......KK....
        ......KBK...
        .KKKKKKBBK..
        .KBBBBBBBBK.
        .KBBBBBBBBK.
        .KKKKKKBBK..
        ......KBK...
        ......KK....
        ......K.....
        ............""",
    "PagePrevious.bmp": """
        ............
        .....K......
        ....KK......
        ...KBK......
        ..KBBKKKKKK.
        .KBBBBBBBBK.
        .KBBBBBBBBK.
        ..KBBKKKKKK.
        ...KBK......
        ....KK......
        .....K......
        ............""",
    # Four desktops, the current one filled.
    "SwitchMenu.bmp": """
        ............
        KKKKK..KKKKK
        KBBBK..K..dK
        KBBBK..K..dK
        KKKKK..KKKKK
        ............
        ............
        KKKKK..KKKKK
        K..dK..K..dK
        K..dK..K..dK
        KKKKK..KKKKK
        ............""",
    # A coat hanger: the windows hung on the bar.
    "HangerMenu.bmp": """
        ............
        .....KK.....
        ....K..K....
        .......K....
        ......K.....
        .....KK.....
        ....K..K....
        ...K....K...
        ..K......K..
        .K........K.
        .KKKKKKKKKK.
        ............""",
    # Back to the desktop before: a U-turn to the left.
    "PageBack.bmp": """
        ............
        ...K........
        ..KK........
        .KBKKKKKK...
        KBBBBBBBBK..
        .KBKKKKKBBK.
        ..KK....KBK.
        ...K....KBK.
        ........KBK.
        ...KKKKKBBK.
        ...KBBBBBK..
        ...KKKKKK...""",
}

# ---- Menu icons (16x16) ---------------------------------------------------

FOLDER = """
    ................
    ................
    ..oooo..........
    .oYYYYo.........
    .oYYYYYooooooo..
    .oWWWWWWWWWWWWo.
    .oWYYYYYYYYYYYo.
    .oWYYYYYYYYYYYo.
    .oWYYYYYYYYYYYo.
    .oWYYYYYYYYYYYo.
    .oWYYYYYYYYYYYo.
    .oWYYYYYYYYYYYo.
    .oyyyyyyyyyyyyo.
    .ooooooooooooooK
    ..KKKKKKKKKKKKKK
    ................"""

# A program: a window with its title bar.
ITEM = """
    ................
    .KKKKKKKKKKKKKK.
    .KBBBBBBBBBWlWK.
    .KBBBBBBBBBlWlK.
    .KKKKKKKKKKKKKK.
    .KWWWWWWWWWWWlK.
    .KWddddddWWWWlK.
    .KWWWWWWWWWWWlK.
    .KWdddddddddWlK.
    .KWWWWWWWWWWWlK.
    .KWddddWWWWWWlK.
    .KWWWWWWWWWWWlK.
    .KllllllllllllK.
    .KKKKKKKKKKKKKKd
    ..dddddddddddddd
    ................"""


def rows(picture):
    lines = [line.strip() for line in picture.strip("\n").splitlines()]
    width = len(lines[0])
    assert all(len(line) == width for line in lines), picture
    return lines


# ---- The program's icon: a bar with a grip and its buttons ----------------

# The small one by hand: a grip, the current desktop's button and another.
BAR_SMALL = """
    ................
    ................
    ................
    ................
    KKKKKKKKKKKKKKK.
    KWWWWWWWWWWWWlKd
    KWdlKKKKlKKKKlKd
    KWdlKBBKlKWWKlKd
    KWdlKBBKlKWWKlKd
    KWdlKKKKlKKKKlKd
    KWllllllllllllKd
    KKKKKKKKKKKKKKKd
    .ddddddddddddddd
    ................
    ................
    ................"""


def bar_large():
    """The large one drawn to the same plan, with three buttons."""
    grid = [["."] * 32 for _ in range(32)]

    def fill(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                grid[y][x] = c

    def frame(x0, y0, x1, y1, c):
        fill(x0, y0, x1, y0, c)
        fill(x0, y1, x1, y1, c)
        fill(x0, y0, x0, y1, c)
        fill(x1, y0, x1, y1, c)

    top, bottom, right = 8, 22, 29
    fill(2, top + 2, right + 2, bottom + 2, "d")  # drop shadow
    fill(0, top, right, bottom, "l")
    fill(1, top + 1, right - 1, top + 1, "W")
    fill(1, top + 1, 1, bottom - 1, "W")
    frame(0, top, right, bottom, "K")
    for y in range(top + 3, bottom - 2):  # two ridges of a grip
        grid[y][3] = grid[y][5] = "W"
        grid[y][4] = grid[y][6] = "d"
    for i, x in enumerate((8, 15, 22)):
        frame(x, top + 3, x + 5, bottom - 3, "K")
        fill(x + 1, top + 4, x + 4, bottom - 4, "B" if i == 1 else "W")
        fill(x + 1, bottom - 4, x + 4, bottom - 4, "b" if i == 1 else "d")
    return ["".join(r) for r in grid]


# ---- Writers --------------------------------------------------------------

def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def palette_bitmap(lines):
    """An 8-bit BMP whose colour table holds the picture's colours, the
    background first."""
    height, width = len(lines), len(lines[0])
    used = ["."] + sorted({c for line in lines for c in line} - {"."})
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in (COLOURS[c] for c in used))
    stride = (width + 3) & ~3
    pixels = b""
    for line in reversed(lines):  # bottom-up
        row = bytes(used.index(c) for c in line)
        pixels += row + b"\0" * (stride - width)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, len(used), 0)
    offset = 14 + len(info) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + table + pixels


def icon_image(lines):
    """One icon image: 32-bit BGRA, "." transparent, then the AND mask."""
    size = len(lines)
    colour = b""
    mask = b""
    mask_stride = ((size + 31) // 32) * 4
    for line in reversed(lines):
        bits = 0
        for x, c in enumerate(line):
            if c == ".":
                colour += b"\0\0\0\0"
                bits |= 1 << (size - 1 - x)
            else:
                r, g, b = COLOURS[c]
                colour += struct.pack("<BBBB", b, g, r, 255)
        mask += bits.to_bytes((size + 7) // 8, "big") + b"\0" * (mask_stride - (size + 7) // 8)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + colour + mask


def icon_file(images):
    count = len(images)
    header = struct.pack("<HHH", 0, 1, count)
    directory = b""
    data = b""
    offset = 6 + 16 * count
    for lines in images:
        size = len(lines)
        image = icon_image(lines)
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return header + directory + data


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, picture in BUTTONS.items():
        write(name, palette_bitmap(rows(picture)))
    write("QVCtrlBar.ico", icon_file([bar_large(), rows(BAR_SMALL)]))
    write("MenuFolder.ico", icon_file([rows(FOLDER)]))
    write("MenuItem.ico", icon_file([rows(ITEM)]))


if __name__ == "__main__":
    main()
