#!/usr/bin/env python3
"""Generate Galevane's icons from one geometric description.

Outputs (relative to the repository root):
  assets/icons/galevane.ico                      32x32 + 16x16, 4 bpp BMP images
  assets/icons/areas-cloud.ico                   32x32 + 16x16, 4 bpp BMP images
  assets/icons/areas-cloud-32.png, -16.png       run-time copies of the map icon
  assets/icons/hicolor/<N>x<N>/apps/<application id>.png
  assets/icons/hicolor/scalable/apps/<application id>.svg

The application id is read from cmake/Identity.cmake (GALEVANE_APP_ID), where
the build takes it from too. The sizes <N> are HICOLOR_SIZES below; the build
lists the same ones in GALEVANE_ICON_SIZES, and the icon test checks that the
two lists agree.

Every picture is described in unit coordinates (0..1 across the square,
y pointing down) as a union of circles and rectangles for the cloud plus
line segments for the rain.  The small sizes (16, 32) are rasterised
pixel by pixel with crisp one-pixel outlines and only the 16 standard
Windows colours; the larger PNGs are drawn supersampled and reduced, so
they are antialiased.  Nothing depends on time or randomness, so a rerun
gives byte-identical files.

Usage:  python3 tools/icons/generate_icons.py [repository-root]
"""

import os
import re
import struct
import sys
import zlib

from PIL import Image, ImageChops, ImageDraw

# The square sizes of the hicolor PNGs; 16 and 32 are the .ico's images.
HICOLOR_SIZES = (16, 32, 48, 64, 128, 256)

# The standard Windows 16-colour palette, in its usual order.
STD16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, SILVER, GREY, WHITE = 0, 7, 8, 15
CLEAR = None  # transparent pixel

RGB = {BLACK: (0, 0, 0), SILVER: (0xC0, 0xC0, 0xC0), GREY: (0x80, 0x80, 0x80),
       WHITE: (0xFF, 0xFF, 0xFF)}


# ---------------------------------------------------------------------------
# Geometry
# ---------------------------------------------------------------------------

class Cloud:
    """A cloud: union of circles (cx, cy, r) and rectangles (x0, y0, x1, y1).

    The shapes describe the cloud's body; the black outline lies around
    the body, one 32nd of the square thick (one pixel at 32 pixels).
    The body is white above the line y = shade_y and light grey (silver)
    below it, the underside; if shade2_y is given, the body is darker
    grey below that second line.
    """

    def __init__(self, circles, rects, shade_y, shade2_y=None):
        self.circles = circles
        self.rects = rects
        self.shade_y = shade_y
        self.shade2_y = shade2_y

    def inside(self, x, y, grow=0.0):
        for cx, cy, r in self.circles:
            if (x - cx) ** 2 + (y - cy) ** 2 <= (r + grow) ** 2:
                return True
        for x0, y0, x1, y1 in self.rects:
            if x0 - grow <= x <= x1 + grow and y0 - grow <= y <= y1 + grow:
                return True
        return False

    def scaled(self, s, grow=0.0):
        """Shapes in pixel units for a square of side s, grown by `grow` pixels.

        Growing every shape by the same amount grows their union exactly,
        which is how the outline is made.
        """
        circ = [(cx * s, cy * s, r * s + grow) for cx, cy, r in self.circles]
        rect = [(x0 * s - grow, y0 * s - grow, x1 * s + grow, y1 * s + grow)
                for x0, y0, x1, y1 in self.rects]
        return circ, rect


class Design:
    def __init__(self, cloud, streaks=(), streak_width=0.05, pixel_streaks=None,
                 small_clouds=None):
        self.cloud = cloud
        # Variants of the cloud tuned for particular small sizes {size: Cloud}.
        self.small_clouds = small_clouds or {}
        # Hand-placed streaks for particular small sizes, as pixel end
        # points {size: [((x0, y0), (x1, y1)), ...]}; sizes not listed
        # use the unit-coordinate streaks.
        self.pixel_streaks = pixel_streaks or {}
        self.streaks = list(streaks)      # ((x0, y0), (x1, y1)) in unit coords
        self.streak_width = streak_width  # in unit coords, for large sizes


# Rain cloud of the application: the cloud spans the top of the square,
# the rain streaks fill the lower part, slanting down to the right.
def _rain():
    # Two staggered rows of short streaks, each going one unit right for
    # two units down; the second row sits between the lines of the first.
    rows = [(0.59, [0.16, 0.44, 0.72]), (0.79, [0.05, 0.33, 0.61, 0.89])]
    out = []
    for y0, xs in rows:
        for x0 in xs:
            out.append(((x0, y0), (x0 + 0.075, y0 + 0.15)))
    return out


APP = Design(
    Cloud(circles=[(0.19, 0.38, 0.13), (0.42, 0.24, 0.18), (0.68, 0.30, 0.15),
                   (0.83, 0.40, 0.10)],
          rects=[(0.19, 0.35, 0.83, 0.50)],
          shade_y=0.40),
    streaks=_rain(),
    streak_width=0.055,
    # At 16 pixels the cloud is a little rounder with a one-pixel underside,
    # so that it does not turn into a box, and the streaks are placed by
    # hand: three pixels long, one pixel wide.
    pixel_streaks={16: [((2, 10), (3, 12)), ((6, 10), (7, 12)), ((10, 10), (11, 12)),
                        ((1, 13), (2, 15)), ((5, 13), (6, 15)), ((9, 13), (10, 15)),
                        ((13, 13), (14, 15))]},
    small_clouds={16: Cloud(circles=[(0.22, 0.40, 0.12), (0.46, 0.27, 0.17),
                                     (0.72, 0.31, 0.13), (0.83, 0.42, 0.10)],
                            rects=[(0.22, 0.38, 0.83, 0.52)],
                            shade_y=0.44)},
)

# The map window's cloud: bigger, centred, no rain, shaded in two greys.
AREAS = Design(
    Cloud(circles=[(0.18, 0.64, 0.13), (0.34, 0.51, 0.15), (0.62, 0.40, 0.22),
                   (0.83, 0.62, 0.13)],
          rects=[(0.18, 0.60, 0.83, 0.77)],
          shade_y=0.64, shade2_y=0.73),
    small_clouds={16: Cloud(circles=[(0.17, 0.64, 0.12), (0.33, 0.50, 0.14),
                                     (0.62, 0.40, 0.20), (0.84, 0.62, 0.10)],
                            rects=[(0.17, 0.60, 0.84, 0.75)],
                            shade_y=0.62, shade2_y=0.70)},
)


# ---------------------------------------------------------------------------
# Crisp small rasters (16 and 32 pixels): lists of palette indices / CLEAR
# ---------------------------------------------------------------------------

def _line_pixels(x0, y0, x1, y1):
    """Bresenham line between integer pixel positions."""
    pts = []
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx = 1 if x0 < x1 else -1
    sy = 1 if y0 < y1 else -1
    err = dx + dy
    while True:
        pts.append((x0, y0))
        if x0 == x1 and y0 == y1:
            return pts
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def raster_small(design, n):
    cloud = design.small_clouds.get(n, design.cloud)
    pix = [[CLEAR] * n for _ in range(n)]

    def ins(i, j):
        # The body grown by one pixel: its border pixels become the outline.
        return cloud.inside((i + 0.5) / n, (j + 0.5) / n, grow=1.0 / n)

    inside = [[ins(i, j) for i in range(n)] for j in range(n)]

    def inside_at(i, j):
        return 0 <= i < n and 0 <= j < n and inside[j][i]

    for j in range(n):
        yc = (j + 0.5) / n
        for i in range(n):
            if not inside[j][i]:
                continue
            edge = any(not inside_at(i + di, j + dj)
                       for di, dj in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                pix[j][i] = BLACK
            elif cloud.shade2_y is not None and yc > cloud.shade2_y:
                pix[j][i] = GREY
            elif yc > cloud.shade_y:
                pix[j][i] = SILVER
            else:
                pix[j][i] = WHITE

    # Rain streaks, one pixel wide at 16, two at 32 (a doubled diagonal).
    thick = 2 if n >= 32 else 1
    if n in design.pixel_streaks:
        segments = design.pixel_streaks[n]
    else:
        segments = [((int(ax * n), int(ay * n)), (int(bx * n), int(by * n)))
                    for (ax, ay), (bx, by) in design.streaks]
    for (x0, y0), (x1, y1) in segments:
        for (x, y) in _line_pixels(x0, y0, x1, y1):
            for t in range(thick):
                if 0 <= x + t < n and 0 <= y < n:
                    pix[y][x + t] = BLACK
    return pix


def small_to_image(pix):
    n = len(pix)
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    for j in range(n):
        for i in range(n):
            c = pix[j][i]
            if c is not CLEAR:
                img.putpixel((i, j), STD16[c] + (255,))
    return img


# ---------------------------------------------------------------------------
# Antialiased large rasters (48 px and up)
# ---------------------------------------------------------------------------

SS = 4  # supersampling factor


def _shapes_mask(shapes, size):
    circ, rect = shapes
    m = Image.new("L", (size, size), 0)
    d = ImageDraw.Draw(m)
    for cx, cy, r in circ:
        d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=255)
    for x0, y0, x1, y1 in rect:
        d.rectangle((x0, y0, x1, y1), fill=255)
    return m


def raster_large(design, n):
    s = n * SS
    cloud = design.cloud
    w = s / 32.0  # outline width
    body = _shapes_mask(cloud.scaled(s), s)
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    img.paste((0, 0, 0, 255), (0, 0), _shapes_mask(cloud.scaled(s, grow=w), s))
    img.paste(RGB[WHITE] + (255,), (0, 0), body)
    for y, colour in ((cloud.shade_y, SILVER), (cloud.shade2_y, GREY)):
        if y is None:
            continue
        below = Image.new("L", (s, s), 0)
        ImageDraw.Draw(below).rectangle((0, round(y * s), s, s), fill=255)
        img.paste(RGB[colour] + (255,), (0, 0), ImageChops.multiply(body, below))
    d = ImageDraw.Draw(img)
    sw = max(SS, round(design.streak_width * s))
    for (ax, ay), (bx, by) in design.streaks:
        p0, p1 = (ax * s, ay * s), (bx * s, by * s)
        d.line((p0, p1), fill=(0, 0, 0, 255), width=sw)
        for px, py in (p0, p1):
            d.ellipse((px - sw / 2, py - sw / 2, px + sw / 2, py + sw / 2), fill=(0, 0, 0, 255))
    return img.resize((n, n), Image.BOX)


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def ico_image(pix):
    """One ICO image: BITMAPINFOHEADER, palette, 4-bpp XOR bitmap, AND mask."""
    n = len(pix)
    xor_row = ((n * 4 + 31) // 32) * 4
    and_row = ((n + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for j in reversed(range(n)):          # BMP rows are stored bottom-up
        row = bytearray(xor_row)
        mrow = bytearray(and_row)
        for i in range(n):
            c = pix[j][i]
            idx = BLACK if c is CLEAR else c
            if i % 2 == 0:
                row[i // 2] |= idx << 4
            else:
                row[i // 2] |= idx
            if c is CLEAR:
                mrow[i // 8] |= 0x80 >> (i % 8)
        xor += row
        mask += mrow
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in STD16)
    return header + palette + bytes(xor) + bytes(mask)


def write_ico(path, images):
    """images: list of pixel grids, written in the given order."""
    blobs = [ico_image(p) for p in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for p, blob in zip(images, blobs):
        n = len(p)
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    out += b"".join(blobs)
    _write(path, out)


def png_bytes(img):
    """Minimal deterministic RGBA PNG writer (no timestamps or text chunks)."""
    img = img.convert("RGBA")
    w, h = img.size
    raw = img.tobytes()
    stride = w * 4
    data = b"".join(b"\x00" + raw[y * stride:(y + 1) * stride] for y in range(h))

    def chunk(tag, body):
        return (struct.pack(">I", len(body)) + tag + body
                + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(data, 9))
            + chunk(b"IEND", b""))


def _write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(path, "wb") as f:
        f.write(data)


def _fmt(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


def svg_text(design, size=256):
    """Scalable version of a design, drawn with plain shapes only.

    The outline is the body's shapes grown by the outline width and filled
    black; the body is filled silver; the lit part above shade_y is each
    shape cut at that line (a circle becomes a circular segment) and
    filled white.  No clipping or masking is needed, so simple SVG
    renderers draw it the same way.
    """
    cloud = design.cloud
    s = size
    w = s / 32.0
    line_y = cloud.shade_y * s

    def shapes(grow, fill):
        circ, rect = cloud.scaled(s, grow=grow)
        out = ['<circle cx="%s" cy="%s" r="%s" fill="%s"/>'
               % (_fmt(cx), _fmt(cy), _fmt(r), fill) for cx, cy, r in circ]
        out += ['<rect x="%s" y="%s" width="%s" height="%s" fill="%s"/>'
                % (_fmt(x0), _fmt(y0), _fmt(x1 - x0), _fmt(y1 - y0), fill)
                for x0, y0, x1, y1 in rect]
        return out

    def lit():
        circ, rect = cloud.scaled(s)
        out = []
        for cx, cy, r in circ:
            if line_y >= cy + r:
                out.append('<circle cx="%s" cy="%s" r="%s"/>' % (_fmt(cx), _fmt(cy), _fmt(r)))
            elif line_y > cy - r:
                h = (r * r - (line_y - cy) ** 2) ** 0.5
                large = 1 if line_y > cy else 0
                out.append('<path d="M%s %sA%s %s 0 %d 1 %s %sZ"/>'
                           % (_fmt(cx - h), _fmt(line_y), _fmt(r), _fmt(r), large,
                              _fmt(cx + h), _fmt(line_y)))
        for x0, y0, x1, y1 in rect:
            y1 = min(y1, line_y)
            if y1 > y0:
                out.append('<rect x="%s" y="%s" width="%s" height="%s"/>'
                           % (_fmt(x0), _fmt(y0), _fmt(x1 - x0), _fmt(y1 - y0)))
        return out

    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
             'width="%d" height="%d" viewBox="0 0 %d %d">' % (s, s, s, s),
             '  <g id="outline">']
    lines += ['    ' + e for e in shapes(w, "#000000")]
    lines += ['  </g>', '  <g id="underside">']
    lines += ['    ' + e for e in shapes(0.0, "#c0c0c0")]
    lines += ['  </g>', '  <g id="lit" fill="#ffffff">']
    lines += ['    ' + e for e in lit()]
    lines += ['  </g>']
    if design.streaks:
        sw = design.streak_width * s
        lines.append('  <g id="rain" stroke="#000000" stroke-width="%s" '
                     'stroke-linecap="round" fill="none">' % _fmt(sw))
        for (ax, ay), (bx, by) in design.streaks:
            lines.append('    <line x1="%s" y1="%s" x2="%s" y2="%s"/>'
                         % (_fmt(ax * s), _fmt(ay * s), _fmt(bx * s), _fmt(by * s)))
        lines.append('  </g>')
    lines.append('</svg>')
    return "\n".join(lines) + "\n"


def application_id(root):
    """GALEVANE_APP_ID as cmake/Identity.cmake sets it."""
    identity = os.path.join(root, "cmake", "Identity.cmake")
    with open(identity, encoding="utf-8") as f:
        match = re.search(r'^set\(GALEVANE_APP_ID\s+"?([\w.-]+)"?\)', f.read(), re.M)
    if match is None:
        sys.exit(f"generate_icons: no set(GALEVANE_APP_ID ...) in {identity}")
    return match.group(1)


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.abspath(
        os.path.join(os.path.dirname(__file__), "..", ".."))
    icons = os.path.join(root, "assets", "icons")
    app_id = application_id(root)

    app32, app16 = raster_small(APP, 32), raster_small(APP, 16)
    area32, area16 = raster_small(AREAS, 32), raster_small(AREAS, 16)
    write_ico(os.path.join(icons, "galevane.ico"), [app32, app16])
    write_ico(os.path.join(icons, "areas-cloud.ico"), [area32, area16])
    _write(os.path.join(icons, "areas-cloud-32.png"), png_bytes(small_to_image(area32)))
    _write(os.path.join(icons, "areas-cloud-16.png"), png_bytes(small_to_image(area16)))

    for n in HICOLOR_SIZES:
        if n == 16:
            img = small_to_image(app16)
        elif n == 32:
            img = small_to_image(app32)
        else:
            img = raster_large(APP, n)
        _write(os.path.join(icons, "hicolor", "%dx%d" % (n, n), "apps", app_id + ".png"),
               png_bytes(img))
    _write(os.path.join(icons, "hicolor", "scalable", "apps", app_id + ".svg"),
           svg_text(APP))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
