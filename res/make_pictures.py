#!/usr/bin/env python3
"""Builds Sonobar's bitmap strips and icons from the text pictures in res/pictures.

usage: make_pictures.py OUTDIR

Writes OUTDIR/bitmap_N.bmp for every bitmap resource N (133, 134, 135, 150..160, 300..310) and
OUTDIR/icon_128.ico and OUTDIR/icon_161.ico. Every bitmap is a 4-bit, bottom-up, uncompressed
strip of 20 x 20 tiles with the full 16-entry palette below; the program replaces the palette's
black, silver, grey, lime, yellow and white entries by the system's button colours when it loads
a strip, so the glyphs are inked only in the other entries (among them a black and a white that
stay as they are). res/pictures/README.md describes the
picture files.
"""

import os
import struct
import sys
import zlib

PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures")

# The standard 16-colour palette as (red, green, blue), and the character of each entry.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x00, 0x00), (0xFF, 0xFF, 0xFF),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
CHARS = "KrkwbmcsdRGYBMCW"
CLEAR = "."

BLACK, DARK_RED, NAVY, TEAL, FACE, SHADOW, RED, CYAN, WHITE = 0, 1, 4, 6, 7, 8, 9, 14, 15
# Black and white that no colour scheme replaces: a glyph and the paper it stands on keep their
# colours together, so that a scheme whose text is white (high contrast) cannot turn the paper
# into the colour of the ink.
KEPT_BLACK, KEPT_WHITE = 2, 3

TILE = 20
GLYPH_MAX = 14

# Glyph entries per side: (dim, bright).
OUTPUT_INKS = (TEAL, CYAN)
INPUT_INKS = (DARK_RED, RED)

SOURCE_GLYPHS = [
    "source_0_undefined", "source_1_digital", "source_2_line", "source_3_microphone",
    "source_4_synthesizer", "source_5_compactdisc", "source_6_telephone",
    "source_7_pcspeaker", "source_8_waveout", "source_9_auxiliary", "source_10_analog",
]


def read_picture(name):
    """Returns the rows of res/pictures/NAME.txt as lists of palette entries (None = clear)."""
    path = os.path.join(PICTURES, name + ".txt")
    rows = []
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith(";"):
                continue
            bad = [c for c in line if c != CLEAR and c not in CHARS]
            if bad:
                raise ValueError(f"{path}:{number}: unknown pixel character {bad[0]!r}")
            rows.append([None if c == CLEAR else CHARS.index(c) for c in line])
    if not rows or any(len(r) != len(rows[0]) for r in rows) or not rows[0]:
        raise ValueError(f"{path}: rows must be non-empty and of equal length")
    return rows


def blank(width, height, entry):
    return [[entry] * width for _ in range(height)]


def paste(canvas, picture, left, top, recolour=lambda e: e):
    for y, row in enumerate(picture):
        for x, entry in enumerate(row):
            if entry is not None:
                canvas[top + y][left + x] = recolour(entry)


def frame(tile, inset, top_left, bottom_right):
    """One-pixel rectangle; the bottom and right sides run the full length, as a sunken or
    raised edge draws them."""
    last = TILE - 1 - inset
    for i in range(inset, last + 1):
        tile[inset][i] = top_left
        tile[i][inset] = top_left
    for i in range(inset, last + 1):
        tile[last][i] = bottom_right
        tile[i][last] = bottom_right


def mute_tile(glyph, inks, row, column, input_side):
    """Black square (kept black) with a sunken frame; dotted frame for focus and press; the
    pressed tile shows the other row's brightness; the disabled tile inks the glyph white (kept
    white)."""
    tile = blank(TILE, TILE, KEPT_BLACK)
    frame(tile, 0, SHADOW, WHITE)
    dim, bright = inks
    if column == 3:
        ink = KEPT_WHITE
    elif column == 2:
        ink = dim if row == 1 else bright
    else:
        ink = bright if row == 1 else dim
    if column in (1, 2):
        last = TILE - 2
        for i in range(1, last + 1):
            for x, y in ((i, 1), (i, last), (1, i), (last, i)):
                if (x + y) % 2 == 0:
                    tile[y][x] = bright
    height, width = len(glyph), len(glyph[0])
    paste(tile, glyph, (TILE - width) // 2, (TILE - height) // 2, lambda e: ink)
    if column == 3 and input_side:
        for y in range(1, 4):
            for x in range(1, 4):
                tile[y][x] = RED
    return tile


def menu_tile(glyph, column):
    """Raised face; the same in a black outline for focus; sunken with the glyph moved one
    pixel down and right when pressed; an embossed glyph when disabled."""
    tile = blank(TILE, TILE, FACE)
    if column in (0, 3):
        frame(tile, 0, WHITE, BLACK)
        for i in range(1, TILE - 1):
            tile[TILE - 2][i] = SHADOW
            tile[i][TILE - 2] = SHADOW
    elif column == 1:
        frame(tile, 0, BLACK, BLACK)
        frame(tile, 1, WHITE, BLACK)
        for i in range(2, TILE - 2):
            tile[TILE - 3][i] = SHADOW
            tile[i][TILE - 3] = SHADOW
    else:
        frame(tile, 0, BLACK, BLACK)
        frame(tile, 1, SHADOW, SHADOW)
    height, width = len(glyph), len(glyph[0])
    left, top = (TILE - 1 - width) // 2, (TILE - 1 - height) // 2
    if column == 2:
        paste(tile, glyph, left + 1, top + 1)
    elif column == 3:
        # Engraved look of a disabled control: a white copy one pixel down and right under a
        # grey one; the glyph's white body falls away into the face.
        outline = [[None if e in (None, KEPT_WHITE) else e for e in row] for row in glyph]
        paste(tile, outline, left + 1, top + 1, lambda e: WHITE)
        paste(tile, outline, left, top, lambda e: SHADOW)
    else:
        paste(tile, glyph, left, top)
    return tile


def strip(tiles):
    """Joins rows of tiles (a list of rows, each a list of tiles) into one picture."""
    picture = []
    for tile_row in tiles:
        for y in range(TILE):
            picture.append([e for tile in tile_row for e in tile[y]])
    return picture


def mute_strip(glyph_name, input_side):
    glyph = read_picture(glyph_name)
    if len(glyph) > GLYPH_MAX or len(glyph[0]) > GLYPH_MAX:
        raise ValueError(f"{glyph_name}: a glyph is at most {GLYPH_MAX} x {GLYPH_MAX}")
    inks = INPUT_INKS if input_side else OUTPUT_INKS
    return strip([[mute_tile(glyph, inks, row, column, input_side) for column in range(4)]
                  for row in range(2)])


def menu_strip():
    glyph = read_picture("menu")
    return strip([[menu_tile(glyph, column) for column in range(4)]])


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def packed_rows(picture, clear_entry=0):
    """4-bit pixel rows, bottom row first, each padded to a multiple of four bytes."""
    width = len(picture[0])
    stride = (width * 4 + 31) // 32 * 4
    data = bytearray()
    for row in reversed(picture):
        line = bytearray(stride)
        for x, entry in enumerate(row):
            entry = clear_entry if entry is None else entry
            line[x // 2] |= entry << 4 if x % 2 == 0 else entry
        data += line
    return bytes(data)


def mask_rows(picture):
    """1-bit AND mask of an icon, bottom row first: set where the picture is clear."""
    width = len(picture[0])
    stride = (width + 31) // 32 * 4
    data = bytearray()
    for row in reversed(picture):
        line = bytearray(stride)
        for x, entry in enumerate(row):
            if entry is None:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def bmp_file(picture):
    if any(e is None for row in picture for e in row):
        raise ValueError("a strip has no clear pixels")
    bits = packed_rows(picture)
    offset = 14 + 40 + 64
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return header + info_header(len(picture[0]), len(picture), len(bits)) + palette_bytes() + bits


# Icon images from this size up are stored as PNG, which Windows reads from Vista on: a tenth of
# the bytes of a bitmap for large, blocky pictures. Only finer screens than Windows XP's ask for
# them.
PNG_FROM = 48


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_image(picture):
    """An 8-bit indexed PNG; the entry after the sixteen colours is the transparent one."""
    width, height = len(picture[0]), len(picture)
    clear = len(PALETTE)
    rows = b"".join(b"\0" + bytes(clear if e is None else e for e in row) for row in picture)
    palette = b"".join(bytes(rgb) for rgb in PALETTE) + b"\0\0\0"
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
            + png_chunk(b"PLTE", palette)
            + png_chunk(b"tRNS", b"\xff" * len(PALETTE) + b"\0")
            + png_chunk(b"IDAT", zlib.compress(rows, 9))
            + png_chunk(b"IEND", b""))


def ico_file(pictures):
    images = []
    for picture in pictures:
        width, height = len(picture[0]), len(picture)
        if width >= PNG_FROM:
            images.append((width, height, 32, png_image(picture)))
            continue
        bits = packed_rows(picture) + mask_rows(picture)
        # An icon image's header counts the colour rows and the mask rows together.
        images.append((width, height, 4, info_header(width, 2 * height, len(bits)) + palette_bytes() + bits))
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, height, bit_count, image in images:
        colours = 16 if bit_count == 4 else 0
        data += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1, bit_count, len(image), offset)
        offset += len(image)
    return data + b"".join(image for _, _, _, image in images)


def overlay(base, top):
    picture = [row[:] for row in base]
    paste(picture, top, 0, 0)
    return picture


def bitmaps():
    """Resource id -> picture."""
    result = {133: menu_strip(), 134: mute_strip("master", False), 135: mute_strip("master", True)}
    for i, name in enumerate(SOURCE_GLYPHS):
        result[300 + i] = mute_strip(name, False)
        result[150 + i] = mute_strip(name, True)
    return result


# The sizes of each icon: what Windows asks for as the small and the large icon at 96, 120, 144
# and 192 DPI. The muted icon only ever shows in the tray.
ICON_SIZES = {128: (16, 20, 24, 32, 40, 48, 64), 161: (16, 20, 24, 32)}


def enlarged(picture, size):
    """The picture in a size x size square: each pixel a block of the largest whole factor that
    fits, centred, the rest clear, so that an icon for a finer screen is as sharp as the
    drawing."""
    factor = size // len(picture)
    margin = (size - factor * len(picture)) // 2
    square = [[None] * size for _ in range(size)]
    for y, row in enumerate(picture):
        for x, entry in enumerate(row):
            for dy in range(factor):
                for dx in range(factor):
                    square[margin + factor * y + dy][margin + factor * x + dx] = entry
    return square


def sized(drawings, size):
    """The drawing that fills most of size when enlarged by a whole factor (the larger drawing
    when two fill it alike), enlarged."""
    fits = [d for d in drawings if len(d) <= size]
    best = max(fits, key=lambda d: (size // len(d) * len(d), len(d)))
    return enlarged(best, size)


def icons():
    """Resource id -> list of pictures, smallest first."""
    slider16 = read_picture("slider_16")
    drawings = {128: [slider16, read_picture("slider_32")],
                161: [overlay(slider16, read_picture("no_entry_16"))]}
    return {res_id: [sized(drawings[res_id], size) for size in ICON_SIZES[res_id]]
            for res_id in drawings}


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    for res_id, picture in bitmaps().items():
        write(os.path.join(outdir, f"bitmap_{res_id}.bmp"), bmp_file(picture))
    for res_id, pictures in icons().items():
        write(os.path.join(outdir, f"icon_{res_id}.ico"), ico_file(pictures))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
