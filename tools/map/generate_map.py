#!/usr/bin/env python3
"""Generate assets/map/areas.bmp, the picture of the forecast-areas window.

Usage:  python3 tools/map/generate_map.py [--preview PNG] [REPO_ROOT]

Needs GMT 6 with the GSHHG shorelines (Debian: gmt, gmt-gshhg-low) and
Pillow (python3-pil).  No display.  The output is deterministic: running the
generator twice gives byte-identical files.

--preview PNG also writes the finished picture enlarged 2x (nearest
neighbour) to PNG, for looking at the layout; nothing else changes.

What the picture is
-------------------
468 x 484 pixels, 8-bit palette BMP written by hand (write_bmp), six colours:
white sea, yellow land, black coastline and national borders, red area
boundaries, dark blue names, and a few single green pixels on the coast.
Sea-area corners come from sea-areas.json next to this script (Met Office
table, see assets/map/ATTRIBUTION.md).  Coastline and borders come from GSHHG
through GMT at run time; nothing is traced by hand.

This is a schematic map: its scale is NOT uniform
-------------------------------------------------
The named areas run from 65N (south-east Iceland) down to TRAFALGAR, whose
true area lies between 35N and 41N, while several of them are very narrow:
NORTH UTSIRE is a strip about 55 km wide against Norway, and FORTH,
CROMARTY, TYNE, DOVER and PORTLAND are small coastal areas.  At one uniform
scale those names cannot sit inside their own areas, so the picture is drawn
at a scale that changes smoothly from place to place:

* Latitude maps to picture rows through Y_KNOTS, a monotone piecewise-cubic
  (Fritsch-Carlson) curve: the North Sea, the Irish Sea and the Channel get
  22 to 38 rows a degree, the Bay of Biscay and the Atlantic south of 48N
  only 6 to 12 (15 again near 40N, for the name of TRAFALGAR).
  Parallels stay straight horizontal lines.
* Longitude maps to columns through a monotone piecewise-cubic curve whose
  knots (X_LON) move with latitude: X_FRAMES gives the knot columns at a few
  key latitudes and the columns in between are a smoothstep blend of the two
  nearest frames.  A blend of increasing sequences is increasing, so at
  every latitude the columns still increase from west to east: nothing
  folds, coastlines and area lines keep their order and still meet where
  they meet on the globe.  Meridians become gentle curves.

So every coastline, border and area corner goes through the same smooth,
one-to-one warp, and each name, placed in the warped picture inside its own
warped area, is inside its true area on the globe.  The price is that Ireland,
Iceland and Iberia are squeezed and the North Sea coasts are enlarged.

Extent: south-east Iceland at the top left; the Norwegian coast and the
south of Sweden at the top right; Denmark, Germany, the Low Countries and
France down the right edge; Brittany and the French Atlantic coast down to
the bottom edge, which lies at about 39.8N and so cuts through TRAFALGAR and
the unlabelled FitzRoy area (northern Spain and Portugal are in view).
The rectangle x 295..408, y 8..33 lies under the window's push button and
must be open sea: the frame for the top of the picture pushes the Norwegian
coast right of it.

Area lines
----------
Edges of kind "coast" in sea-areas.json are not drawn (the coastline is the
boundary there).  The others are drawn in red on sea pixels only, densified
in longitude/latitude so that they follow the warp.  Each drawn line is
extended a little past a corner that lies on the coast, so that it really
meets the shore; the part over land is not painted.

Names
-----
Names are set in FONT, a hand-made 5x7 pixel font of capitals made bold by doubling
every stroke one pixel to the right, with a 1-pixel underline under each
line; no antialiasing.  LABELS holds each name's lines and a preferred
centre (lon, lat).  The generator searches outwards from that point, in a
fixed order, for the first position where the whole box plus one pixel of
margin is sea of the area (found by flood-filling the sea between the drawn
lines and coasts), the box corners are inside the area's outline, and the
box is clear of other names and of the button.  It stops with an error if
any name finds no place: there is no fallback outside the area.  The boxes
and each area's outline in pixels go to assets/map/labels.json for the tests.
"""

import bisect
import json
import math
import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 468, 484
BUTTON = (295, 8, 408, 33)  # x0, y0, x1, y1 inclusive: must stay sea white

# Palette indices.  Unused entries of the 256-entry table stay black.
BLACK, WHITE, YELLOW, RED, BLUE, GREEN = 0, 1, 2, 3, 4, 5
PALETTE = [(0x00, 0x00, 0x00), (0xFF, 0xFF, 0xFF), (0xFF, 0xFF, 0x00),
           (0xFF, 0x00, 0x00), (0x00, 0x33, 0x99), (0x00, 0xFF, 0x00)]

# Data box read from GSHHG (W/E/S/N), a little larger than the picture.
REGION = (-22, 16, 38, 67)
GRID_STEP = 0.01


# ---------------------------------------------------------------- the warp
def pchip_slopes(xs, ys):
    """End-point derivatives of a monotone piecewise-cubic (Fritsch-Carlson)."""
    n = len(xs)
    h = [xs[i + 1] - xs[i] for i in range(n - 1)]
    d = [(ys[i + 1] - ys[i]) / h[i] for i in range(n - 1)]
    m = [0.0] * n
    m[0], m[-1] = d[0], d[-1]
    for i in range(1, n - 1):
        if d[i - 1] * d[i] <= 0:
            m[i] = 0.0
        else:
            w1, w2 = 2 * h[i] + h[i - 1], h[i] + 2 * h[i - 1]
            m[i] = (w1 + w2) / (w1 / d[i - 1] + w2 / d[i])
    return m


def pchip_eval(xs, ys, m, x):
    i = bisect.bisect_right(xs, x) - 1
    i = max(0, min(i, len(xs) - 2))
    h = xs[i + 1] - xs[i]
    t = (x - xs[i]) / h
    if t < 0 or t > 1:                      # straight on beyond the ends
        j = 0 if t < 0 else len(xs) - 1
        return ys[j] + m[j] * (x - xs[j])
    t2, t3 = t * t, t * t * t
    return ((2 * t3 - 3 * t2 + 1) * ys[i] + (t3 - 2 * t2 + t) * h * m[i]
            + (-2 * t3 + 3 * t2) * ys[i + 1] + (t3 - t2) * h * m[i + 1])


# Rows: (latitude, row).  Top edge about 64.6N, bottom edge about 39.8N.
Y_KNOTS = [
    (65.2, -12), (64.0, 12), (63.0, 34), (61.0, 74), (59.0, 116), (57.0, 166),
    (55.7, 204), (54.25, 247), (52.75, 289), (51.25, 324), (50.25, 362),
    (48.45, 402), (46.0, 430), (43.5, 451), (41.0, 467), (39.0, 496),
]
_YLAT = [k[0] for k in reversed(Y_KNOTS)]
_YROW = [k[1] for k in reversed(Y_KNOTS)]
_YM = pchip_slopes(_YLAT, _YROW)

# Columns: knot longitudes, and the knot columns at key latitudes.
X_LON = [-24, -19, -15, -10, -6.25, -3.5, -2.0, 0.0, 1.5, 4.0, 5.0, 6.0, 8.0, 13.0, 18.0]
X_FRAMES = [
    (39.0, [-40, 0, 22, 84, 148, 205, 232, 268, 300, 360, 380, 395, 420, 460, 492]),
    (47.0, [-40, 0, 22, 84, 148, 208, 240, 285, 330, 380, 395, 408, 425, 460, 492]),
    (50.5, [-40, 0, 22, 84, 145, 205, 245, 290, 355, 398, 405, 413, 428, 460, 490]),
    (53.0, [-40, 0, 22, 82, 138, 212, 238, 280, 312, 360, 383, 396, 416, 460, 492]),
    (56.0, [-40, 0, 20, 80, 135, 175, 215, 295, 320, 348, 368, 383, 403, 462, 495]),
    (58.0, [-40, 0, 18, 76, 138, 172, 220, 295, 315, 335, 370, 405, 428, 462, 492]),
    (60.5, [-40, 0, 22, 82, 142, 180, 215, 245, 270, 305, 375, 400, 425, 462, 492]),
    (62.5, [-40, 0, 36, 106, 150, 190, 215, 240, 262, 300, 380, 410, 430, 465, 495]),
    (65.0, [-40, 0, 45, 120, 160, 195, 220, 245, 270, 305, 370, 410, 440, 470, 500]),
]
_FLATS = [f[0] for f in X_FRAMES]

# The warp is one-to-one only if rows fall as latitude rises and every
# frame's columns rise from west to east; the blends then do too.
assert all(a[0] > b[0] and a[1] < b[1] for a, b in zip(Y_KNOTS, Y_KNOTS[1:]))
assert all(len(f[1]) == len(X_LON) and all(p < q for p, q in zip(f[1], f[1][1:]))
           for f in X_FRAMES)
assert _FLATS == sorted(_FLATS)


def _xknots(lat):
    i = bisect.bisect_right(_FLATS, lat) - 1
    i = max(0, min(i, len(_FLATS) - 2))
    t = (lat - _FLATS[i]) / (_FLATS[i + 1] - _FLATS[i])
    t = min(1.0, max(0.0, t))
    s = t * t * (3 - 2 * t)                 # smoothstep
    a, b = X_FRAMES[i][1], X_FRAMES[i + 1][1]
    return [(1 - s) * p + s * q for p, q in zip(a, b)]


def lat_to_row(lat):
    return pchip_eval(_YLAT, _YROW, _YM, lat)


def project(lon, lat):
    """lon/lat in degrees to picture coordinates (float, y down)."""
    xs = _xknots(lat)
    return pchip_eval(X_LON, xs, pchip_slopes(X_LON, xs), lon), lat_to_row(lat)


def _invert(f, target, lo, hi):
    for _ in range(40):
        mid = (lo + hi) / 2
        if f(mid) < target:
            lo = mid
        else:
            hi = mid
    return (lo + hi) / 2


def row_lat(py):
    """Latitude of picture row coordinate py (rows grow southwards)."""
    return _invert(lambda lat: -lat_to_row(lat), -py, REGION[2], REGION[3])


def row_lons(lat, cols):
    """Longitudes of picture column coordinates cols (increasing) at lat."""
    xs = _xknots(lat)
    m = pchip_slopes(X_LON, xs)
    lons = [REGION[0] + i * 0.02 for i in range(int((REGION[1] - REGION[0]) / 0.02) + 1)]
    px = [pchip_eval(X_LON, xs, m, lon) for lon in lons]
    out = []
    for c in cols:
        i = max(0, min(bisect.bisect_right(px, c) - 1, len(px) - 2))
        out.append(lons[i] + (c - px[i]) / (px[i + 1] - px[i]) * (lons[i + 1] - lons[i]))
    return out


# ---------------------------------------------------------------- font
# 5x7 capitals ('#' = ink), drawn bold by doubling each stroke one pixel to
# the right.  Narrow glyphs are narrower; a glyph's width is its row length.
FONT = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "J": ["..###", "...#.", "...#.", "...#.", "#..#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    ".": [".", ".", ".", ".", ".", ".", "#"],
    "-": ["...", "...", "...", "###", "...", "...", "..."],
    " ": ["..", "..", "..", "..", "..", "..", ".."],
}
GLYPH_H = 7


def text_bits(text):
    """Ink pixels (x, y) of one line of text, bold, and the line's width."""
    bits, x = set(), 0
    for n, ch in enumerate(text):
        rows = FONT[ch]
        w = len(rows[0])
        for y, row in enumerate(rows):
            for i, c in enumerate(row):
                if c == "#":
                    bits.add((x + i, y))
                    bits.add((x + i + 1, y))
        x += w + 1 + (1 if n + 1 < len(text) else 0)
    width = max(b[0] for b in bits) + 1
    return bits, width


def label_bits(lines):
    """Ink pixels of a name set on one or more centred, underlined lines,
    with the size of its box.  Each line: 7 rows of letters, a blank row,
    the underline; lines are one blank row apart."""
    parts = [text_bits(t) for t in lines]
    w = max(p[1] for p in parts)
    out, y = [], 0
    for bits, lw in parts:
        ox = (w - lw) // 2
        out += sorted((x + ox, yy + y) for x, yy in bits)
        out += [(ox + x, y + GLYPH_H + 1) for x in range(lw)]
        y += GLYPH_H + 2 + 1
    return out, w, y - 1


# ---------------------------------------------------------------- labels
# name lines, preferred centre (lon, lat).  FitzRoy has no name but needs a
# seed for the flood fill, given in SEEDS below.
LABELS = {
    "Southeast Iceland": (["S.E. ICELAND"], -12.5, 62.7),
    "Faeroes": (["FAEROES"], -5.0, 61.3),
    "Bailey": (["BAILEY"], -12.8, 59.5),
    "Fair Isle": (["FAIR", "ISLE"], -4.0, 60.0),
    "Viking": (["VIKING"], 2.0, 59.9),
    "North Utsire": (["N. UTSIRE"], 4.45, 60.0),
    "South Utsire": (["S. UTSIRE"], 4.9, 58.3),
    "Hebrides": (["HEBRIDES"], -8.5, 58.5),
    "Cromarty": (["CROMARTY"], -1.9, 58.0),
    "Forties": (["FORTIES"], 1.5, 57.3),
    "Rockall": (["ROCKALL"], -12.5, 56.0),
    "Malin": (["MALIN"], -8.0, 55.9),
    "Forth": (["FORTH"], -1.8, 56.4),
    "Fisher": (["FISHER"], 6.0, 56.9),
    "Tyne": (["TYNE"], -0.7, 55.0),
    "Dogger": (["DOGGER"], 2.3, 55.1),
    "German Bight": (["GERMAN", "BIGHT"], 6.0, 54.9),
    "Irish Sea": (["IRISH", "SEA"], -5.2, 53.6),
    "Shannon": (["SHANNON"], -12.5, 52.0),
    "Humber": (["HUMBER"], 2.2, 53.6),
    "Thames": (["THAMES"], 2.8, 52.2),
    "Fastnet": (["FASTNET"], -8.2, 50.9),
    "Lundy": (["LUNDY"], -5.6, 51.3),
    "Dover": (["DOVER"], 1.0, 50.65),
    "Wight": (["WIGHT"], -0.6, 50.2),
    "Portland": (["PORT-", "LAND"], -2.7, 49.9),
    "Plymouth": (["PLYMOUTH"], -4.9, 49.4),
    "Sole": (["SOLE"], -10.5, 49.2),
    "Trafalgar": (["TRAFALGAR"], -11.5, 40.3),
    "Biscay": (["BISCAY"], -4.0, 45.8),
}
SEEDS = {"FitzRoy": (-10.0, 45.0)}

# Green coast dots: coastal weather stations, moved to the nearest
# coastline pixel.
GREEN_SITES = [
    (-2.08, 57.15),   # Aberdeen
    (-3.09, 58.45),   # Wick
    (-6.36, 58.21),   # Stornoway
    (-6.88, 56.50),   # Tiree
    (-7.37, 55.38),   # Malin Head
    (-10.25, 51.94),  # Valentia
    (-5.20, 49.96),   # the Lizard
    (-0.11, 53.58),   # Spurn Head
]


# ---------------------------------------------------------------- data
def run(cmd, cwd):
    return subprocess.run(cmd, cwd=cwd, check=True, capture_output=True).stdout


def gmt_data(tmp):
    """Land mask grid and national borders from GSHHG (intermediate)."""
    w, e, s, n = REGION
    region = "-R%d/%d/%d/%d" % REGION
    inc = GRID_STEP
    # Lakes count as land (-N ocean/land/lake/island/pond), so inland water
    # does not clutter the picture.
    run(["gmt", "grdlandmask", region, "-I%g" % inc, "-Di", "-A0/0/1",
         "-N0/1/1/1/1", "-Gland.nc"], tmp)
    raw = run(["gmt", "grd2xyz", "land.nc", "-ZTLc"], tmp)
    nx = int(round((e - w) / inc)) + 1
    ny = int(round((n - s) / inc)) + 1
    assert len(raw) == nx * ny, (len(raw), nx, ny)
    text = run(["gmt", "coast", region, "-Di", "-N1", "-M"], tmp).decode()
    borders, cur = [], []
    for line in text.splitlines():
        if line.startswith(">"):
            if len(cur) > 1:
                borders.append(cur)
            cur = []
        elif line.strip():
            lon, lat = map(float, line.split()[:2])
            cur.append((lon, lat))
    if len(cur) > 1:
        borders.append(cur)
    return (w, n, inc, nx, ny, raw), borders


def land_mask(grid):
    """Land (1) or sea (0) at each pixel centre, looked up in the grid."""
    w, n, inc, nx, ny, raw = grid
    land = bytearray(WIDTH * HEIGHT)
    cols = [x + 0.5 for x in range(WIDTH)]
    for y in range(HEIGHT):
        lat = row_lat(y + 0.5)
        j = int(round((n - lat) / inc))
        base = j * nx
        for x, lon in enumerate(row_lons(lat, cols)):
            i = int(round((lon - w) / inc))
            if 0 <= i < nx and 0 <= j < ny and raw[base + i]:
                land[y * WIDTH + x] = 1
    return land
def densify(p0, p1, step_deg=0.05):
    k = max(1, int(math.ceil(max(abs(p1[0] - p0[0]), abs(p1[1] - p0[1])) / step_deg)))
    return [(p0[0] + (p1[0] - p0[0]) * t / k, p0[1] + (p1[1] - p0[1]) * t / k)
            for t in range(k + 1)]


def extend(p_from, p_to, km):
    """Point km beyond p_to on the line from p_from (small-distance approx)."""
    dlon = (p_to[0] - p_from[0]) * math.cos(math.radians(p_to[1]))
    dlat = p_to[1] - p_from[1]
    length = math.hypot(dlon, dlat) * 111.2
    f = km / length
    return (p_to[0] + (p_to[0] - p_from[0]) * f, p_to[1] + (p_to[1] - p_from[1]) * f)


def on_coast(area, i):
    """Corner i of the area is on the coast (it ends an edge of kind coast)."""
    return any(e["kind"] == "coast" and i in (e["from"], e["to"]) for e in area["edges"])


def _near_segment(p, a, b, tol):
    """Point p lies alongside segment a-b, within tol degrees of it."""
    ax, ay = a
    bx, by = b
    px, py = p
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    if not 0.0 <= t <= 1.0:        # beyond the ends: not alongside it
        return False
    return math.hypot(ax + t * dx - px, ay + t * dy - py) <= tol


def _parallel(e1, e2, max_deg=12.0):
    """Two edges run in nearly the same (or opposite) direction."""
    a1 = math.atan2(e1[1][1] - e1[0][1], e1[1][0] - e1[0][0])
    a2 = math.atan2(e2[1][1] - e2[0][1], e2[1][0] - e2[0][0])
    d = abs(math.degrees(a1 - a2)) % 180.0
    return min(d, 180.0 - d) <= max_deg


def red_lines(areas):
    """Polylines (picture coordinates) of every drawn edge.

    Neighbouring areas list their common edge twice, and because the table is
    rounded to whole minutes the two copies can differ by up to 0.05 degrees;
    drawing both would make a double line.  So the parts of an edge that lie
    within 0.07 degrees of an edge already drawn are skipped.
    """
    drawn, lines = [], []
    for a in areas:
        c = a["corners"]
        for e in a["edges"]:
            if e["kind"] == "coast":
                continue
            p0, p1 = tuple(c[e["from"]]), tuple(c[e["to"]])
            if on_coast(a, e["from"]):
                p0 = extend(p1, p0, 15.0)
            if on_coast(a, e["to"]):
                p1 = extend(p0, p1, 15.0)
            # Each kept run starts and ends one sample into the skipped
            # part, so it joins the line already drawn without a gap.
            run_, prev = [], None
            along = [d for d in drawn if _parallel((p0, p1), d)]
            for q in densify(p0, p1):
                if any(_near_segment(q, s0, s1, 0.07) for s0, s1 in along):
                    if run_:
                        run_.append(q)
                        lines.append([project(*r) for r in run_])
                    run_ = []
                else:
                    if not run_ and prev is not None:
                        run_.append(prev)
                    run_.append(q)
                prev = q
            if len(run_) > 1:
                lines.append([project(*r) for r in run_])
            drawn.append((p0, p1))
    return lines


# Where an area's closing "coast" edge cuts off a bay that belongs to the
# area, the outline written for the tests goes round the bay over land
# through these points instead (area name, index of the edge's first
# corner).  Land inside an outline does no harm: names must sit on sea.
DETOURS = {
    ("Biscay", 1): [(-5.5, 43.2), (-1.0, 43.0), (1.0, 45.0), (0.0, 47.5), (-3.0, 48.1)],
    ("German Bight", 4): [(6.0, 52.6), (9.5, 53.5), (9.5, 55.5)],
    ("Irish Sea", 3): [(-4.0, 52.0), (-3.0, 53.0), (-2.5, 54.0), (-3.0, 54.9), (-4.5, 55.0)],
    ("Lundy", 2): [(-5.0, 50.3), (-3.5, 50.8), (-2.5, 51.6), (-3.5, 51.9), (-4.5, 51.95)],
}


def area_outline(area):
    """The area's corner polygon in pixels, straight edges densified."""
    c = area["corners"]
    pts = []
    for e in area["edges"]:
        way = [tuple(c[e["from"]])] + DETOURS.get((area["name"], e["from"]), []) + [tuple(c[e["to"]])]
        for p0, p1 in zip(way, way[1:]):
            seg = densify(p0, p1, 0.25)
            pts += [project(*p) for p in seg[:-1]]
    return pts


def point_in_polygon(x, y, poly):
    inside = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


# ---------------------------------------------------------------- drawing
def stroke_mask(polylines):
    """1-bit mask of polylines drawn without antialiasing."""
    img = Image.new("L", (WIDTH, HEIGHT), 0)
    d = ImageDraw.Draw(img)
    for pl in polylines:
        d.line([(round(x), round(y)) for x, y in pl], fill=255, width=1)
    return img.tobytes()


def flood(pix, seed):
    """4-connected region of white pixels around seed."""
    sx, sy = seed
    if pix[sy * WIDTH + sx] != WHITE:
        return None
    region = {sy * WIDTH + sx}
    stack = [(sx, sy)]
    while stack:
        x, y = stack.pop()
        for nx_, ny_ in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx_ < WIDTH and 0 <= ny_ < HEIGHT:
                k = ny_ * WIDTH + nx_
                if k not in region and pix[k] == WHITE:
                    region.add(k)
                    stack.append((nx_, ny_))
    return region


def spiral(cx, cy, radius):
    pts = [(dx, dy) for dy in range(-radius, radius + 1) for dx in range(-radius, radius + 1)]
    pts.sort(key=lambda p: (p[0] * p[0] + p[1] * p[1], p[1], p[0]))
    return [(cx + dx, cy + dy) for dx, dy in pts]


def place_labels(pix, regions, polygons):
    placed = []
    taken = bytearray(WIDTH * HEIGHT)
    for name, (lines, lon, lat) in LABELS.items():
        bits, w, h = label_bits(lines)
        ax, ay = project(lon, lat)
        found = _find_spot(w, h, ax, ay, regions[name], polygons[name], taken)
        if found is None:
            raise SystemExit("no room inside its area for the name of %s" % name)
        x0, y0 = found
        for yy in range(y0 - 1, y0 + h + 1):
            for xx in range(x0 - 1, x0 + w + 1):
                taken[yy * WIDTH + xx] = 1
        for dx, dy in bits:
            pix[(y0 + dy) * WIDTH + x0 + dx] = BLUE
        placed.append({"area": name, "lines": lines,
                       "box": [x0, y0, x0 + w - 1, y0 + h - 1]})
    return placed, taken


def _find_spot(w, h, ax, ay, region, poly, taken):
    """Top-left corner nearest (ax, ay) where a w x h box plus a 1 px margin
    is sea of the region, untaken, off the button and inside the outline."""
    bx0, by0, bx1, by1 = BUTTON
    for cx, cy in spiral(int(round(ax)), int(round(ay)), 80):
        x0, y0 = cx - w // 2, cy - h // 2
        if x0 < 1 or y0 < 1 or x0 + w + 1 > WIDTH or y0 + h + 1 > HEIGHT:
            continue
        if not (x0 + w < bx0 - 1 or x0 > bx1 + 1 or y0 + h < by0 - 1 or y0 > by1 + 1):
            continue
        if all(row + xx in region and not taken[row + xx]
               for row in range((y0 - 1) * WIDTH, (y0 + h + 1) * WIDTH, WIDTH)
               for xx in range(x0 - 1, x0 + w + 1)) and \
           all(point_in_polygon(px + 0.5, py + 0.5, poly)
               for px, py in ((x0 - 1, y0 - 1), (x0 + w, y0 - 1), (x0 - 1, y0 + h), (x0 + w, y0 + h))):
            return x0, y0
    return None


def place_green(pix, taken):
    done = []
    for lon, lat in GREEN_SITES:
        px, py = project(lon, lat)
        best = None
        for cx, cy in spiral(int(round(px)), int(round(py)), 20):
            if not (1 <= cx < WIDTH - 1 and 1 <= cy < HEIGHT - 1):
                continue
            k = cy * WIDTH + cx
            if pix[k] != BLACK or taken[k]:
                continue
            nb = [pix[(cy + dy) * WIDTH + cx + dx] for dx in (-1, 0, 1) for dy in (-1, 0, 1) if dx or dy]
            if GREEN in nb or YELLOW not in nb or WHITE not in nb:
                continue
            best = k
            break
        if best is None:
            raise SystemExit("no coast pixel near green site %r" % ((lon, lat),))
        pix[best] = GREEN
        done.append([best % WIDTH, best // WIDTH])
    return done


def write_bmp(path, pix):
    row = WIDTH                                  # 468 is a multiple of 4
    image_size = row * HEIGHT
    offset = 14 + 40 + 256 * 4
    out = bytearray()
    out += struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    out += struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, image_size,
                       3790, 3800, 256, 0)
    for i in range(256):
        r, g, b = PALETTE[i] if i < len(PALETTE) else (0, 0, 0)
        out += bytes((b, g, r, 0))
    for y in range(HEIGHT - 1, -1, -1):          # bottom-up rows
        out += pix[y * WIDTH:(y + 1) * WIDTH]
    assert len(out) == 227590
    with open(path, "wb") as f:
        f.write(out)


def to_image(pix, marks=()):
    im = Image.frombytes("P", (WIDTH, HEIGHT), bytes(pix))
    im.putpalette([v for c in PALETTE for v in c])
    im = im.convert("RGB")
    d = ImageDraw.Draw(im)
    for x, y in marks:
        d.rectangle([x - 1, y - 1, x + 1, y + 1], outline=(255, 0, 255))
    return im.resize((WIDTH * 2, HEIGHT * 2), Image.NEAREST)


def main():
    args = sys.argv[1:]
    preview = None
    if args[:1] == ["--preview"]:
        preview, args = args[1], args[2:]
    root = args[0] if args else os.path.dirname(os.path.dirname(HERE))
    out_dir = os.path.join(root, "assets", "map")
    with open(os.path.join(HERE, "sea-areas.json"), encoding="utf-8") as f:
        areas = json.load(f)["areas"]
    by_name = {a["name"]: a for a in areas}
    with tempfile.TemporaryDirectory() as tmp:
        grid, borders = gmt_data(tmp)
    land = land_mask(grid)

    pix = bytearray(WHITE if not v else YELLOW for v in land)
    for y in range(HEIGHT):                       # coastline: land next to sea
        for x in range(WIDTH):
            k = y * WIDTH + x
            if land[k]:
                for nx_, ny_ in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                    if 0 <= nx_ < WIDTH and 0 <= ny_ < HEIGHT and not land[ny_ * WIDTH + nx_]:
                        pix[k] = BLACK
                        break
    border_px = stroke_mask([[project(*p) for p in b] for b in borders])
    for k in range(WIDTH * HEIGHT):
        if border_px[k] and land[k]:
            pix[k] = BLACK
    red_px = stroke_mask(red_lines(areas))
    for k in range(WIDTH * HEIGHT):
        if red_px[k] and pix[k] == WHITE:
            pix[k] = RED

    seeds = {n: (v[1], v[2]) for n, v in LABELS.items()}
    seeds.update(SEEDS)
    regions, polygons = {}, {}
    for name, (lon, lat) in seeds.items():
        x, y = project(lon, lat)
        inside = 0 <= x < WIDTH and 0 <= y < HEIGHT
        reg = flood(pix, (int(x), int(y))) if inside else None
        if reg is None or any(next(iter(reg)) in r for r in regions.values()):
            if preview:
                to_image(pix, [project(*v) for v in seeds.values()]).save(preview)
            raise SystemExit("seed of %s is not open sea of its own area" % name)
        regions[name] = reg
        polygons[name] = area_outline(by_name[name])
    try:
        placed, taken = place_labels(pix, regions, polygons)
    except SystemExit:
        if preview:
            to_image(pix, [project(*v) for v in seeds.values()]).save(preview)
        raise
    greens = place_green(pix, taken)

    bx0, by0, bx1, by1 = BUTTON
    for y in range(by0, by1 + 1):
        for x in range(bx0, bx1 + 1):
            if pix[y * WIDTH + x] != WHITE:
                if preview:
                    to_image(pix).save(preview)
                raise SystemExit("button rectangle is not open sea at %d,%d" % (x, y))

    if preview:
        to_image(pix).save(preview)
    write_bmp(os.path.join(out_dir, "areas.bmp"), pix)
    doc = {
        "image": {"width": WIDTH, "height": HEIGHT, "button_sea": list(BUTTON)},
        "labels": [dict(l, polygon=[[round(x, 1), round(y, 1)] for x, y in polygons[l["area"]]])
                   for l in placed],
        "fitzroy_polygon": [[round(x, 1), round(y, 1)] for x, y in polygons["FitzRoy"]],
        "green": greens,
    }
    with open(os.path.join(out_dir, "labels.json"), "w", encoding="utf-8") as f:
        json.dump(doc, f, indent=1)
        f.write("\n")


if __name__ == "__main__":
    main()
