#!/usr/bin/env python3
"""Packs the yacht drawing's PNG renderings into the run-length pictures the
Windows front end compiles in (win32/resources/yacht-WxH.rle).

A PNG needs a decoder that not every Windows has at hand in a plain Win32
program, and the raw pixels of three renderings would take megabytes of the
executable; the drawing's flat colours pack into a fraction of that.

File layout, little-endian:

  offset  size  contents
       0     4  "GRLE"
       4     4  width in pixels
       8     4  height in pixels
      12     4  0
      16     .  packets, rows top to bottom, pixels left to right; each pixel
                is 4 bytes blue, green, red, alpha, with premultiplied alpha
                (what AlphaBlend wants). A packet starts with a byte c:
                c < 128: c + 1 pixels follow;
                c >= 128: one pixel follows, repeated c - 126 times.

Usage:
  yachtpictures.py --write            renders the SVG at every size with
                                      rsvg-convert (Debian's librsvg2-bin) and
                                      packs the PNGs
  yachtpictures.py --check OUTDIR     packs the committed PNGs into OUTDIR and
                                      compares them with the committed files
"""

import argparse
import struct
import subprocess
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DRAWING = ROOT / "assets" / "drawing"
RESOURCES = ROOT / "win32" / "resources"
# The sizes of Image1 of the main window at 96, 144 and 192 dots per inch.
SIZES = [(331, 302), (497, 453), (662, 604)]


def png_rgba(path):
    """Width, height and RGBA bytes of an 8-bit RGBA, non-interlaced PNG."""
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        sys.exit(f"{path}: expected 8-bit RGBA, not interlaced")
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - 4] if x >= 4 else 0
            b = previous[x]
            c = previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + a) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + b) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[x] = (line[x] + pred) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, b"".join(rows)


def pack(width, height, rgba):
    pixels = []
    for i in range(0, len(rgba), 4):
        r, g, b, a = rgba[i:i + 4]
        pixels.append(bytes(((b * a + 127) // 255, (g * a + 127) // 255,
                             (r * a + 127) // 255, a)))
    out = bytearray(b"GRLE" + struct.pack("<III", width, height, 0))
    i, n = 0, len(pixels)
    while i < n:
        run = 1
        while i + run < n and run < 129 and pixels[i + run] == pixels[i]:
            run += 1
        if run >= 2:
            out.append(run + 126)
            out += pixels[i]
            i += run
            continue
        start = i
        i += 1
        while i < n and i - start < 128 and not (i + 1 < n and pixels[i + 1] == pixels[i]):
            i += 1
        out.append(i - start - 1)
        for p in pixels[start:i]:
            out += p
    return bytes(out)


def png_name(size):
    return DRAWING / f"yacht-{size[0]}x{size[1]}.png"


def rle_name(folder, size):
    return folder / f"yacht-{size[0]}x{size[1]}.rle"


def main():
    parser = argparse.ArgumentParser()
    group = parser.add_mutually_exclusive_group(required=True)
    group.add_argument("--write", action="store_true")
    group.add_argument("--check", type=Path, metavar="OUTDIR")
    args = parser.parse_args()
    if args.write:
        for size in SIZES:
            subprocess.run(["rsvg-convert", "--width", str(size[0]), "--height", str(size[1]),
                            "--format", "png", "--output", str(png_name(size)),
                            str(DRAWING / "yacht.svg")], check=True)
    folder = args.check if args.check else RESOURCES
    folder.mkdir(parents=True, exist_ok=True)
    failures = 0
    for size in SIZES:
        width, height, rgba = png_rgba(png_name(size))
        if (width, height) != size:
            print(f"FAIL: {png_name(size).name} is {width}x{height}")
            failures += 1
            continue
        packed = pack(width, height, rgba)
        rle_name(folder, size).write_bytes(packed)
        if args.check:
            same = rle_name(RESOURCES, size).read_bytes() == packed
            print(f"{'ok' if same else 'FAIL'}: {rle_name(RESOURCES, size).name}")
            failures += not same
    print(f"{len(SIZES) - failures} passed, {failures} failed" if args.check else "written")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
