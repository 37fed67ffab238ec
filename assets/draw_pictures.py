#!/usr/bin/env python3
"""Draws the program's three pictures and writes them as Windows .ico files.

    python3 assets/draw_pictures.py                  write app.ico, netdrive.ico, warning.ico
    python3 assets/draw_pictures.py --check          re-read the written files and check them
    python3 assets/draw_pictures.py --preview DIR    also write PNG previews (1:1 and 8x) into DIR

The pictures are pixel art: each one is a list of strings, one character a
pixel, with a legend that gives every character its colour.  Images are
palette images with a transparency mask, the way icons were drawn before alpha
channels: a 32 x 32 image takes 744 bytes in 16 colours and 2216 in 256, where
a 32-bit one takes 4264, and the program holds itself to a size budget.  Every
picture has a 16-colour image, which any display shows; the window icon also
has a 256-colour one, which Windows prefers on displays with more colours, and
there a legend entry may be a Ramp that shades smoothly between two colours.

Only the Python 3 standard library is used, and the output is the same, byte
for byte, on every run.
"""

import argparse
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# In every picture the light falls from the top left.
CLEAR = None  # legend entry of a transparent pixel


class Ramp:
    """A legend entry that blends from one colour to another across the box
    around all pixels drawn with it (one Ramp may serve several characters).
    across: "x" left to right, "y" top to bottom, "xy" top left to bottom right."""

    def __init__(self, start, end, across):
        if across not in ("x", "y", "xy"):
            raise ValueError("a ramp runs across x, y or xy, not %r" % across)
        self.start, self.end, self.across = start, end, across

    def colour(self, t):
        return tuple(int(a + (b - a) * t + 0.5) for a, b in zip(self.start, self.end))


# ---------------------------------------------------------------------------
# The pictures
# ---------------------------------------------------------------------------

PICTURES = {}  # file name -> list of (grid, legend, bits per pixel)

# What each file must hold, image by image: (width, height, bits per pixel).
# The program relies on these, so the check holds the pictures to them.
EXPECTED = {
    "app.ico": [(32, 32, 8), (32, 32, 4), (16, 16, 4)],
    "netdrive.ico": [(32, 32, 4)],
    "warning.ico": [(31, 32, 4)],
}

# Pictures whose outline and black ink must be mirror-symmetric.
SYMMETRIC = {"warning.ico"}


# --- The window icon: a monitor whose screen shows a small settings window ---

APP_LEGEND = {
    ".": CLEAR,
    "K": (0, 0, 0),          # outline
    "h": (252, 250, 238),    # casing, lit edge
    "c": (222, 217, 195),    # casing
    "m": (178, 171, 144),    # casing, shaded edge
    "d": (112, 106, 86),     # casing, deep shade and the screen's recess
    "e": (24, 96, 160),      # desktop on the screen
    "N": (10, 36, 106),      # title bar, dark end
    "B": (52, 104, 196),     # title bar, middle
    "L": (150, 190, 240),    # title bar, light end
    "w": (255, 255, 255),    # white
    "g": (212, 208, 200),    # dialog grey
    "G": (128, 128, 128),    # grey
    "x": (64, 64, 64),       # dark grey: frame shadow and text
    "l": (40, 200, 40),      # power light
}

APP_32 = [
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    ".KhhhhhhhhhhhhhhhhhhhhhhhhhhhmK.",
    ".KhccccccccccccccccccccccccccmK.",
    ".KhcddddddddddddddddddddddddcmK.",
    ".KhcdeeeeeeeeeeeeeeeeeeeeeehcmK.",
    ".KhcdeNNwwwwwNNBBBBBBLLggLehcmK.",
    ".KhcdeNNNNNNNNNBBBBBBLLggLehcmK.",
    ".KhcdewggggggggggggggggggxehcmK.",
    ".KhcdewgGGGGGggggggggxwggxehcmK.",
    ".KhcdewgGwwwKggggggggxwggxehcmK.",
    ".KhcdewgGKwKwgxxxxgggxwggxehcmK.",
    ".KhcdewgGwKwwggggggwwwwxgxehcmK.",
    ".KhcdewggggggggggggwgggxgxehcmK.",
    ".KhcdewggggggggggggxxxxxgxehcmK.",
    ".KhcdewgGGGGGggggggggxwggxehcmK.",
    ".KhcdewgGwwwKggggggggxwggxehcmK.",
    ".KhcdewgGKwKwgxxxggggxwggxehcmK.",
    ".KhcdewgGwKwwggggggggxwggxehcmK.",
    ".KhcdewggggggggggggggggggxehcmK.",
    ".KhcdexxxxxxxxxxxxxxxxxxxxehcmK.",
    ".KhcdhhhhhhhhhhhhhhhhhhhhhhhcmK.",
    ".KhcccccccccccccccccccccllcccmK.",
    ".KmmmmmmmmmmmmmmmmmmmmmmmmmmmdK.",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "............KcmmmddK............",
    "............KcmmmddK............",
    ".......KKKKKKKKKKKKKKKKKKK......",
    "......KhhhhhhhhhhhhhhhhhhmK.....",
    "......KccccccccccccccccccmK.....",
    "......KdddddddddddddddddddK.....",
    ".......KKKKKKKKKKKKKKKKKKK......",
    "................................",
]

APP_16 = [
    ".KKKKKKKKKKKKKK.",
    "KhhhhhhhhhhhhhmK",
    "KhddddddddddddmK",
    "KhdNwwwNBBBLLhmK",
    "KhdgggggggggghmK",
    "KhdgwwwKggggghmK",
    "KhdgKwKwgxxxghmK",
    "KhdgwKwwggggghmK",
    "KhdgGGGGwxGGghmK",
    "KhdhhhhhhhhhhhmK",
    "KhcccccccclcccmK",
    ".KKKKKKKKKKKKKK.",
    "......KcmK......",
    "...KKKKKKKKKK...",
    "..KhhhhhhhhhmK..",
    "...KKKKKKKKKK...",
]

# The same drawing in 256 colours: the title bar, the desktop and the casing
# shade smoothly where 16 colours allow only steps.
APP_LEGEND_256 = dict(APP_LEGEND)
APP_LEGEND_256.update({
    "N": Ramp((10, 36, 106), (166, 202, 240), "x"),
    "e": Ramp((40, 124, 192), (14, 70, 134), "y"),
    "c": Ramp((236, 232, 212), (204, 198, 172), "xy"),
})
for _ch in "BL":
    APP_LEGEND_256[_ch] = APP_LEGEND_256["N"]

PICTURES["app.ico"] = [
    (APP_32, APP_LEGEND_256, 8),
    (APP_32, APP_LEGEND, 4),
    (APP_16, APP_LEGEND, 4),
]


# --- The network drive: a disk drive on a short pipe to a connector bar ---

NETDRIVE_LEGEND = {
    ".": CLEAR,
    "K": (0, 0, 0),          # outline
    "w": (255, 255, 255),    # lit edges
    "h": (228, 228, 228),    # top face
    "c": (192, 192, 192),    # front face
    "m": (144, 144, 144),    # shaded edges
    "d": (104, 104, 104),    # right side face
    "x": (48, 48, 48),       # slot
    "l": (32, 208, 32),      # activity light
}

NETDRIVE_32 = [
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    ".....KKKKKKKKKKKKKKKKKKKKKKKK...",
    "....KhhhhhhhhhhhhhhhhhhhhhhcK...",
    "...KhhhhhhhhhhhhhhhhhhhhhhcdK...",
    "..KwwwwwwwwwwwwwwwwwwwwwwmddK...",
    "..KwcccccccccccccccccccccmddK...",
    "..KwcccccccccccccccccccccmddK...",
    "..KwcccccccccccccccccccccmddK...",
    "..KwcmxxxxxxxxxxxxxccccccmddK...",
    "..KwccwwwwwwwwwwwwwwcllccmddK...",
    "..KwcccccccccccccccccccccmddK...",
    "..KwcccccccccccccccccccccmdK....",
    "..KmmmmmmmmmmmmmmmmmmmmmmmK.....",
    "..KKKKKKKKKKKKKKKKKKKKKKKK......",
    "............KhccmK..............",
    "............KhccmK..............",
    "............KhccmK..............",
    "............KhccmK..............",
    "............KhccmK..............",
    "......KKKKKKKhccmKKKKKKK........",
    ".....KhhhhhhhhhhhhhhhhhhK.......",
    ".....KccccccccccccccccccK.......",
    ".....KmmmmmmmmmmmmmmmmmmK.......",
    "......KKKKKKKKKKKKKKKKKK........",
    "................................",
    "................................",
    "................................",
    "................................",
]

PICTURES["netdrive.ico"] = [
    (NETDRIVE_32, NETDRIVE_LEGEND, 4),
]


# --- The warning sign: a yellow triangle with an exclamation mark, 31 x 32 ---

WARNING_LEGEND = {
    ".": CLEAR,
    "K": (0, 0, 0),          # border and exclamation mark
    "w": (255, 250, 190),    # lit inner edge
    "a": (255, 238, 96),     # yellow, shading from the top ...
    "b": (255, 226, 40),
    "c": (255, 214, 0),
    "d": (248, 198, 0),      # ... to the bottom
    "r": (214, 154, 0),      # shaded inner edge
}

WARNING_31x32 = [
    "...............................",
    "...............................",
    "..............KKK..............",
    "..............KKK..............",
    ".............KKaKK.............",
    ".............KKaKK.............",
    "............KKwarKK............",
    "............KKwarKK............",
    "...........KKwaaarKK...........",
    "...........KKwaaarKK...........",
    "..........KKwbKKKbrKK..........",
    "..........KKwbKKKbrKK..........",
    ".........KKwbbKKKbbrKK.........",
    ".........KKwbbKKKbbrKK.........",
    "........KKwbbbKKKbbbrKK........",
    "........KKwbbbKKKbbbrKK........",
    ".......KKwccccKKKccccrKK.......",
    ".......KKwccccKKKccccrKK.......",
    "......KKwcccccKKKcccccrKK......",
    "......KKwcccccKKKcccccrKK......",
    ".....KKwcccccccKcccccccrKK.....",
    ".....KKwcccccccccccccccrKK.....",
    "....KKwdddddddddddddddddrKK....",
    "....KKwdddddddKKKdddddddrKK....",
    "...KKwddddddddKKKddddddddrKK...",
    "...KKwddddddddKKKddddddddrKK...",
    "..KKwdddddddddddddddddddddrKK..",
    "..KKwdddddddddddddddddddddrKK..",
    ".KKwrrrrrrrrrrrrrrrrrrrrrrrrKK.",
    ".KKKKKKKKKKKKKKKKKKKKKKKKKKKKK.",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "...............................",
]

PICTURES["warning.ico"] = [
    (WARNING_31x32, WARNING_LEGEND, 4),
]


# ---------------------------------------------------------------------------
# Turning a grid into pixels
# ---------------------------------------------------------------------------

def grid_pixels(grid, legend):
    """Returns (width, height, rows of RGBA tuples) for a pixel grid."""
    height = len(grid)
    width = len(grid[0])
    boxes = {}  # id of a Ramp -> [left, top, right, bottom] of its pixels
    for y, line in enumerate(grid):
        if len(line) != width:
            raise ValueError("row %d is %d wide, expected %d" % (y, len(line), width))
        for x, ch in enumerate(line):
            if ch not in legend:
                raise ValueError("row %d column %d: %r is not in the legend" % (y, x, ch))
            if isinstance(legend[ch], Ramp):
                box = boxes.setdefault(id(legend[ch]), [x, y, x, y])
                box[:] = [min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)]
    rows = []
    for y, line in enumerate(grid):
        row = []
        for x, ch in enumerate(line):
            colour = legend[ch]
            if isinstance(colour, Ramp):
                left, top, right, bottom = boxes[id(colour)]
                run = {"x": (x - left, right - left), "y": (y - top, bottom - top),
                       "xy": (x - left + y - top, right - left + bottom - top)}[colour.across]
                colour = colour.colour(run[0] / run[1] if run[1] else 0)
            row.append((0, 0, 0, 0) if colour is CLEAR else tuple(colour) + (255,))
        rows.append(row)
    return width, height, rows


# ---------------------------------------------------------------------------
# ICO writer
# ---------------------------------------------------------------------------

def _mask_rows(width, height, rows):
    """AND mask, bottom-up, 1 bit a pixel, rows padded to 32 bits; 1 = transparent."""
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def _bitmap_header(width, height, bpp, image_size):
    # BITMAPINFOHEADER; the height counts the colour bitmap and the mask.
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bpp, 0,
                       image_size, 0, 0, 0, 0)


def _stride(width, bpp):
    """Bytes in one row of the colour bitmap: rows are padded to 32 bits."""
    return ((width * bpp + 31) // 32) * 4


def encode_indexed(width, height, rows, bpp):
    """A palette image (4 or 8 bits a pixel) with its transparency mask."""
    palette = [(0, 0, 0)]  # index 0 is black: transparent pixels use it
    index = {(0, 0, 0): 0}
    for row in rows:
        for px in row:
            if px[3] and px[:3] not in index:
                index[px[:3]] = len(palette)
                palette.append(px[:3])
    if len(palette) > 1 << bpp:
        raise ValueError("more than %d colours" % (1 << bpp))
    pal = bytearray()
    for r, g, b in palette + [(0, 0, 0)] * ((1 << bpp) - len(palette)):
        pal += bytes((b, g, r, 0))
    per_byte = 8 // bpp
    xor = bytearray()
    for row in reversed(rows):
        line = bytearray(_stride(width, bpp))
        for x, px in enumerate(row):
            value = index[px[:3]] if px[3] else 0
            line[x // per_byte] |= value << (8 - bpp * (1 + x % per_byte))
        xor += line
    mask = _mask_rows(width, height, rows)
    return _bitmap_header(width, height, bpp, len(xor) + len(mask)) + bytes(pal) + bytes(xor) + mask


def build_ico(images):
    """images: list of (grid, legend, bpp) -> bytes of the .ico file."""
    blobs = []
    for grid, legend, bpp in images:
        width, height, rows = grid_pixels(grid, legend)
        blobs.append((width, height, bpp, encode_indexed(width, height, rows, bpp)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for width, height, bpp, blob in blobs:
        colours = 1 << bpp if bpp < 8 else 0  # the directory counts colours below 256 only
        out += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1, bpp,
                           len(blob), offset)
        offset += len(blob)
    for _, _, _, blob in blobs:
        out += blob
    return bytes(out)


# ---------------------------------------------------------------------------
# ICO reader (used by the check and the previews)
# ---------------------------------------------------------------------------

class IcoImage:
    def __init__(self, width, height, bpp, colours, mask):
        self.width, self.height, self.bpp = width, height, bpp
        self.colours = colours  # rows top-down of (r, g, b, 255)
        self.mask = mask        # rows top-down of 0/1; 1 = transparent


def read_ico(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError("not an icon file")
    images = []
    end = 6 + 16 * count
    for i in range(count):
        w, h, ncol, res, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w = w or 256
        h = h or 256
        if bpp not in (4, 8):
            raise ValueError("image %d: %d bits per pixel is not used here" % (i, bpp))
        if ncol != (1 << bpp) % 256 or res != 0 or planes != 1:
            raise ValueError("image %d: bad directory entry" % i)
        if offset != end:
            raise ValueError("image %d: not where expected" % i)
        end = offset + size
        if end > len(data):
            raise ValueError("image %d runs past the end of the file" % i)
        (hsize, bw, bh, bplanes, bbpp, compression, image_size,
         _, _, clr_used, _) = struct.unpack_from("<IiiHHIIiiII", data, offset)
        if hsize != 40 or bw != w or bh != 2 * h or bplanes != 1 or bbpp != bpp or compression != 0:
            raise ValueError("image %d: header does not match its directory entry" % i)
        # A shorter palette is valid in a bitmap, but these files always carry
        # the full one, so a different count means a broken header.
        if clr_used not in (0, 1 << bpp):
            raise ValueError("image %d: palette of %d colours, expected %d"
                             % (i, clr_used, 1 << bpp))
        n = 1 << bpp
        pos = offset + 40
        palette = [(data[pos + 4 * k + 2], data[pos + 4 * k + 1], data[pos + 4 * k])
                   for k in range(n)]
        pos += 4 * n
        stride = _stride(w, bpp)
        per_byte = 8 // bpp
        mstride = ((w + 31) // 32) * 4
        if image_size != stride * h + mstride * h:
            raise ValueError("image %d: header gives %d bytes of colours and mask, expected %d"
                             % (i, image_size, stride * h + mstride * h))
        if size != 40 + 4 * n + stride * h + mstride * h:
            raise ValueError("image %d: %d bytes, expected 40 of header, %d of palette, "
                             "%d of colours and %d of mask"
                             % (i, size, 4 * n, stride * h, mstride * h))
        colours = []
        for y in range(h):
            line = data[pos + stride * (h - 1 - y): pos + stride * (h - y)]
            values = [(line[x // per_byte] >> (8 - bpp * (1 + x % per_byte))) & ((1 << bpp) - 1)
                      for x in range(w)]
            if max(values) >= n:
                raise ValueError("image %d: a pixel points past the palette" % i)
            colours.append([palette[v] + (255,) for v in values])
        pos += stride * h
        mask = []
        for y in range(h):
            line = data[pos + mstride * (h - 1 - y): pos + mstride * (h - y)]
            mask.append([(line[x // 8] >> (7 - x % 8)) & 1 for x in range(w)])
        images.append(IcoImage(w, h, bpp, colours, mask))
    if end != len(data):
        raise ValueError("extra bytes at the end of the file")
    return images


def shown_on(image, background):
    """The image as Windows draws it on a plain background colour: rows of RGB."""
    out = []
    for y in range(image.height):
        row = []
        for x in range(image.width):
            keep = image.mask[y][x]  # (screen AND mask) XOR colour
            row.append(tuple((bg if keep else 0) ^ c
                             for bg, c in zip(background, image.colours[y][x][:3])))
        out.append(row)
    return out


# ---------------------------------------------------------------------------
# Self-check
# ---------------------------------------------------------------------------

def check(directory=HERE):
    """Re-reads the written files and checks them; returns a list of problems."""
    problems = []
    for name, images in PICTURES.items():
        path = os.path.join(directory, name)
        if not os.path.exists(path):
            problems.append("%s: missing" % name)
            continue
        with open(path, "rb") as f:
            data = f.read()
        if data != build_ico(images):
            problems.append("%s: differs from what this script draws (run it again)" % name)
        try:
            read = read_ico(data)
        except ValueError as e:
            problems.append("%s: %s" % (name, e))
            continue
        layout = [(im.width, im.height, im.bpp) for im in read]
        if layout != EXPECTED[name]:
            problems.append("%s: holds %s, expected %s" % (name, layout, EXPECTED[name]))
            continue
        if len(read) != len(images):
            problems.append("%s: %d images, expected %d" % (name, len(read), len(images)))
            continue
        # Windows picks one image of a size by the display's colours, so all
        # images of one size must show the same outline.
        for k, image in enumerate(read):
            for other in read[:k]:
                if (other.width, other.height) == (image.width, image.height) \
                        and other.mask != image.mask:
                    problems.append("%s: the %dx%d images at %d and %d bpp differ in outline"
                                    % (name, image.width, image.height, other.bpp, image.bpp))
        for k, (image, (grid, legend, bpp)) in enumerate(zip(read, images)):
            label = "%s image %d (%dx%d, %d bpp)" % (name, k, image.width, image.height, image.bpp)
            width, height, rows = grid_pixels(grid, legend)
            if (image.width, image.height, image.bpp) != (width, height, bpp):
                problems.append("%s: expected %dx%d at %d bpp" % (label, width, height, bpp))
                continue
            opaque = 0
            for y in range(height):
                for x in range(width):
                    want = rows[y][x]
                    got = image.colours[y][x]
                    masked = image.mask[y][x]
                    if masked and got[:3] != (0, 0, 0):
                        problems.append("%s: pixel %d,%d is masked but not black" % (label, x, y))
                    if masked != (want[3] == 0) or (not masked and got[:3] != want[:3]):
                        problems.append("%s: pixel %d,%d is not as drawn" % (label, x, y))
                    opaque += not masked
            if opaque < width * height // 4:
                problems.append("%s: only %d pixels drawn" % (label, opaque))
            if opaque == width * height:
                problems.append("%s: no transparent pixels" % label)
            if name in SYMMETRIC:
                for y in range(height):
                    ink = [(image.mask[y][x], image.colours[y][x] == (0, 0, 0, 255))
                           for x in range(width)]
                    if ink != ink[::-1]:
                        problems.append("%s: row %d is not symmetric" % (label, y))
    return problems


# ---------------------------------------------------------------------------
# PNG previews
# ---------------------------------------------------------------------------

WHITE = (255, 255, 255)
DIALOG_GREY = (0xD4, 0xD0, 0xC8)


def write_png(path, rows):
    """rows: top-down lists of (r, g, b)."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
           + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def scaled(rows, factor):
    out = []
    for row in rows:
        wide = [px for px in row for _ in range(factor)]
        out.extend([list(wide) for _ in range(factor)])
    return out


def sheet(tiles, gap, background):
    """Lays tiles (lists of rows) side by side on one background."""
    height = max(len(t) for t in tiles) + 2 * gap
    width = sum(len(t[0]) for t in tiles) + gap * (len(tiles) + 1)
    out = [[background] * width for _ in range(height)]
    x0 = gap
    for t in tiles:
        for y, row in enumerate(t):
            out[gap + y][x0:x0 + len(row)] = row
        x0 += len(t[0]) + gap
    return out


def write_previews(directory, ico_dir=HERE):
    os.makedirs(directory, exist_ok=True)
    written = []
    for name in PICTURES:
        with open(os.path.join(ico_dir, name), "rb") as f:
            images = read_ico(f.read())
        stem = os.path.splitext(name)[0]
        for factor in (1, 8):
            rows = []
            for bg_name, bg in (("white", WHITE), ("grey", DIALOG_GREY)):
                tiles = [scaled(shown_on(im, bg), factor) for im in images]
                for im, tile in zip(images, tiles):
                    path = os.path.join(directory, "%s_%dx%d_%dbpp_%s_x%d.png"
                                        % (stem, im.width, im.height, im.bpp, bg_name, factor))
                    write_png(path, tile)
                    written.append(path)
                rows.extend(sheet(tiles, 2 * factor, bg))
            path = os.path.join(directory, "%s_sheet_x%d.png" % (stem, factor))
            write_png(path, rows)
            written.append(path)
    return written


# ---------------------------------------------------------------------------

def main(argv):
    parser = argparse.ArgumentParser(description="Draws the program's icons.")
    parser.add_argument("--check", action="store_true",
                        help="only re-read the written .ico files and check them")
    parser.add_argument("--preview", metavar="DIR",
                        help="also write PNG previews (1:1 and 8x, on white and on grey) into DIR")
    args = parser.parse_args(argv)
    if args.check:
        problems = check()
        for p in problems:
            print(p)
        if problems:
            return 1
        print("all pictures check out")
        return 0
    for name, images in PICTURES.items():
        path = os.path.join(HERE, name)
        with open(path, "wb") as f:
            f.write(build_ico(images))
        print("wrote", path)
    if args.preview:
        written = write_previews(args.preview)
        print("wrote %d previews into %s" % (len(written), args.preview))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
