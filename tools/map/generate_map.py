#!/usr/bin/env python3
"""Generate assets/map/areas.bmp, the picture of the forecast-areas window.

Usage:  python3 tools/map/generate_map.py [REPO_ROOT]

Needs GMT 6 with the GSHHG shorelines (Debian: gmt, gmt-gshhg-low), Pillow
(python3-pil) and Liberation Sans Bold (fonts-liberation2).  No display.

What the picture is
-------------------
468 x 484 pixels, 8-bit palette BMP written by hand (write_bmp), six colours:
white sea, yellow land, black coastline and national borders, red area
boundaries, dark blue names, and a few single green pixels on the coast.
Sea-area corners come from sea-areas.json next to this script (Met Office
table, see assets/map/ATTRIBUTION.md).  Coastline and borders come from GSHHG
through GMT at run time; nothing is traced by hand.

Extent and projection (the choices that were forced)
----------------------------------------------------
* TRAFALGAR must be labelled inside its real area, which lies between 35N and
  41N.  The map therefore runs down to about 40N at its bottom edge, much
  further south than "Brittany and the French Atlantic coast down to the
  bottom edge" would suggest; the bottom edge cuts through TRAFALGAR and the
  unlabelled FitzRoy area next to it, with northern Spain and Portugal in
  view.  The top still shows the south-east coast of Iceland at the left and
  the Norwegian coast at the right.
* At a uniform scale that range (about 2,800 km north to south in 484 rows,
  roughly 5.7 km a pixel) leaves DOVER, FORTH, TYNE, CROMARTY, THAMES and
  PORTLAND with too little sea to hold an 8 px name without touching a line
  or the coast (the Strait of Dover would be 6 px wide).  So the map uses a
  variable-scale projection: a spherical Lambert conformal conic (standard
  parallels 45N and 60N, central meridian 3W), then a radial "magnifier"
  centred on the North Sea coast of England (FOCUS).  Within R_INNER km of the
  focus the scale is constant (SCALE_INNER px/km), beyond R_OUTER it is
  SCALE_OUTER, and in between it changes linearly.  Directions from the focus
  are kept, so every coastline, border and area corner stays in its true
  place relative to its neighbours: each name sits inside its true area.  The
  price is that Iceland, Norway and Iberia are drawn smaller and squeezed
  towards the middle.
* The rectangle x 295..408, y 8..33 must be open sea (a push button lies on
  it).  With the focus placed as below, that corner of the picture is the
  Norwegian Sea north of the VIKING/FAEROES outer limits.

Area lines
----------
Edges of kind "coast" in sea-areas.json are not drawn (the coastline is the
boundary there).  The others are drawn in red on sea pixels only, densified
in longitude/latitude so that parallels come out as curves.  Each drawn line
is extended a little past a corner that lies on the coast, so that it really
meets the shore; the part over land is not painted.

Labels
------
LABELS holds each name's lines and a preferred centre (lon, lat).  The
generator searches outwards from that point, in a fixed order, for the first
position where the whole box plus one pixel of margin is sea belonging to the
area (found by flood-filling the sea between the drawn lines), clear of other
names and of the button.  It stops with an error if a name finds no place.
The chosen boxes and each area's outline in pixels go to
assets/map/labels.json for the tests.
"""

import bisect
import json
import math
import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 468, 484
BUTTON = (295, 8, 408, 33)  # x0, y0, x1, y1 inclusive: must stay sea white

# Palette indices.  Unused entries of the 256-entry table stay black.
BLACK, WHITE, YELLOW, RED, BLUE, GREEN = 0, 1, 2, 3, 4, 5
PALETTE = [(0x00, 0x00, 0x00), (0xFF, 0xFF, 0xFF), (0xFF, 0xFF, 0x00),
           (0xFF, 0x00, 0x00), (0x00, 0x33, 0x99), (0x00, 0xFF, 0x00)]

FONT_FILE = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"
FONT_SIZE = 8
FONT_SIZE_SMALL = 7     # only for a name that finds no room at FONT_SIZE

# ---------------------------------------------------------------- projection
EARTH_KM = 6371.0
LAT1, LAT2, LON0 = 45.0, 60.0, -9.0
FOCUS = (-1.5, 54.4)          # lon, lat of the magnifier centre
FOCUS_PX = (262.0, 243.0)     # where the focus lands in the picture
SCALE_INNER = 1.0 / 2.75       # px per km near the focus
SCALE_OUTER = 1.0 / 18.0      # px per km far from it
R_INNER, R_OUTER = 360.0, 640.0
# Distances east-west count only ASPECT times as much as north-south when
# the magnifier decides how far out a point is: the picture has more room
# across than down, so the squeeze is gentler sideways.
ASPECT = 0.7


def _lcc_setup():
    p1, p2 = math.radians(LAT1), math.radians(LAT2)
    n = (math.log(math.cos(p1) / math.cos(p2))
         / math.log(math.tan(math.pi / 4 + p2 / 2) / math.tan(math.pi / 4 + p1 / 2)))
    f = math.cos(p1) * math.tan(math.pi / 4 + p1 / 2) ** n / n
    return n, f


_N, _F = _lcc_setup()


def lcc(lon, lat):
    """Lambert conformal conic in km, x east, y south."""
    rho = _F / math.tan(math.pi / 4 + math.radians(lat) / 2) ** _N
    th = _N * math.radians(lon - LON0)
    return EARTH_KM * rho * math.sin(th), EARTH_KM * rho * math.cos(th)


def lcc_inv(x, y):
    x, y = x / EARTH_KM, y / EARTH_KM
    rho = math.hypot(x, y)
    th = math.atan2(x, y)
    lat = 2 * math.atan((_F / rho) ** (1 / _N)) - math.pi / 2
    return LON0 + math.degrees(th / _N), math.degrees(lat)


def _radial(r):
    """Distance in px for a distance r in km from the focus."""
    if r <= R_INNER:
        return r * SCALE_INNER
    base = R_INNER * SCALE_INNER
    if r <= R_OUTER:
        t = r - R_INNER
        slope = (SCALE_OUTER - SCALE_INNER) / (R_OUTER - R_INNER)
        return base + SCALE_INNER * t + slope * t * t / 2
    base += (SCALE_INNER + SCALE_OUTER) / 2 * (R_OUTER - R_INNER)
    return base + (r - R_OUTER) * SCALE_OUTER


_RADIAL_STEP = 0.25
_RADIAL_KM = [i * _RADIAL_STEP for i in range(int(8000 / _RADIAL_STEP))]
_RADIAL_PX = [_radial(r) for r in _RADIAL_KM]
_FX, _FY = lcc(*FOCUS)


def _radial_inv(p):
    i = bisect.bisect_right(_RADIAL_PX, p) - 1
    i = max(0, min(i, len(_RADIAL_PX) - 2))
    p0, p1 = _RADIAL_PX[i], _RADIAL_PX[i + 1]
    return _RADIAL_KM[i] + (p - p0) / (p1 - p0) * _RADIAL_STEP


def project(lon, lat):
    """lon/lat in degrees to picture coordinates (float, y down)."""
    x, y = lcc(lon, lat)
    dx, dy = x - _FX, y - _FY
    r = math.hypot(dx * ASPECT, dy)
    if r == 0:
        return FOCUS_PX
    k = _radial(r) / r
    return FOCUS_PX[0] + dx * k, FOCUS_PX[1] + dy * k


def unproject(px, py):
    dx, dy = px - FOCUS_PX[0], py - FOCUS_PX[1]
    p = math.hypot(dx * ASPECT, dy)
    if p == 0:
        return FOCUS
    k = _radial_inv(p) / p
    return lcc_inv(_FX + dx * k, _FY + dy * k)


# ---------------------------------------------------------------- labels
# name lines, preferred centre (lon, lat).  FitzRoy has no name but needs a
# seed for the flood fill, given in SEEDS below.
LABELS = {
    "Southeast Iceland": (["S.E. ICELAND"], -12.0, 62.9),
    "Faeroes": (["FAEROES"], -6.0, 61.2),
    "Bailey": (["BAILEY"], -12.8, 60.0),
    "Fair Isle": (["FAIR", "ISLE"], -3.4, 60.2),
    "Viking": (["VIKING"], 2.0, 59.7),
    "North Utsire": (["N. UTSIRE"], 4.5, 60.2),
    "South Utsire": (["S. UTSIRE"], 5.2, 58.4),
    "Hebrides": (["HEBRIDES"], -8.3, 58.6),
    "Cromarty": (["CROMARTY"], -2.0, 58.0),
    "Forties": (["FORTIES"], 1.5, 57.3),
    "Rockall": (["ROCKALL"], -12.5, 56.0),
    "Malin": (["MALIN"], -8.0, 55.9),
    "Forth": (["FORTH"], -1.7, 56.4),
    "Fisher": (["FISHER"], 6.0, 56.9),
    "Tyne": (["TYNE"], -0.6, 55.0),
    "Dogger": (["DOGGER"], 2.3, 55.1),
    "German Bight": (["GERMAN", "BIGHT"], 6.0, 54.9),
    "Irish Sea": (["IRISH", "SEA"], -5.0, 53.6),
    "Shannon": (["SHANNON"], -12.5, 52.0),
    "Humber": (["HUMBER"], 2.2, 53.6),
    "Thames": (["THAMES"], 2.6, 52.1),
    "Fastnet": (["FASTNET"], -8.2, 51.0),
    "Lundy": (["LUNDY"], -5.6, 51.3),
    "Dover": (["DOVER"], 1.2, 50.8),
    "Wight": (["WIGHT"], -0.8, 50.2),
    "Portland": (["PORT-", "LAND"], -2.7, 49.7),
    "Plymouth": (["PLYMOUTH"], -4.8, 49.4),
    "Sole": (["SOLE"], -10.5, 49.2),
    "Trafalgar": (["TRAFALGAR"], -12.0, 40.5),
    "Biscay": (["BISCAY"], -4.0, 45.8),
}
SEEDS = {"FitzRoy": (-10.0, 45.0)}

# Areas whose sea is too small on this map to hold their name even at
# FONT_SIZE_SMALL with a clear pixel all round.  North Utsire is a strip one
# degree of longitude (about 55 km) wide against the Norwegian coast; the
# others are the narrow coastal areas of the North Sea and the Strait of
# Dover.  Their names go to the nearest clear open sea.  The generator
# fails if this list is not exactly the set of names that found no room.
OUTSIDE_OK = ["Southeast Iceland", "Faeroes", "Bailey", "North Utsire", "Cromarty", "Forth", "Dover", "Trafalgar"]

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
    corners = [unproject(x, y) for x in range(0, WIDTH + 1, 13) for y in (0, HEIGHT)]
    corners += [unproject(x, y) for y in range(0, HEIGHT + 1, 11) for x in (0, WIDTH)]
    w = math.floor(min(c[0] for c in corners)) - 1
    e = math.ceil(max(c[0] for c in corners)) + 1
    s = math.floor(min(c[1] for c in corners)) - 1
    n = math.ceil(max(c[1] for c in corners)) + 1
    region = "-R%d/%d/%d/%d" % (w, e, s, n)
    inc = 0.01
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
    w, n, inc, nx, ny, raw = grid
    land = bytearray(WIDTH * HEIGHT)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            lon, lat = unproject(x + 0.5, y + 0.5)
            i = int(round((lon - w) / inc))
            j = int(round((n - lat) / inc))
            if 0 <= i < nx and 0 <= j < ny and raw[j * nx + i]:
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


def render_label(lines, font):
    """Pixels (dx, dy) of a label set in lines, each underlined, and its size."""
    bits, width, y = [], 0, 0
    for n, text in enumerate(lines):
        l, t, r, b = font.getbbox(text)
        w, h = r - l, b - t
        img = Image.new("L", (w + 4, h + 4), 0)
        d = ImageDraw.Draw(img)
        d.fontmode = "1"
        d.text((2 - l, 2 - t), text, font=font, fill=255)
        data = img.tobytes()
        for yy in range(h + 4):
            for xx in range(w + 4):
                if data[yy * (w + 4) + xx]:
                    bits.append((xx - 2, y + yy - 2))
        line_h = h
        for xx in range(w):                      # underline, 1 px below a gap
            bits.append((xx, y + line_h + 1))
        width = max(width, w)
        y += line_h + 2 + (2 if n + 1 < len(lines) else 0)
    # centre each line horizontally within the block
    return bits, width, y


def label_bits_centered(lines, font):
    out, total_w, y = [], 0, 0
    parts = []
    for text in lines:
        bits, w, h = render_label([text], font)
        parts.append((bits, w, h))
        total_w = max(total_w, w)
    for n, (bits, w, h) in enumerate(parts):
        ox = (total_w - w) // 2
        out += [(x + ox, yy + y) for x, yy in bits]
        y += h + (2 if n + 1 < len(parts) else 0)
    xs = [b[0] for b in out]
    ys = [b[1] for b in out]
    assert min(xs) >= 0 and min(ys) >= 0
    return out, max(xs) + 1, max(ys) + 1


def spiral(cx, cy, radius):
    pts = [(dx, dy) for dy in range(-radius, radius + 1) for dx in range(-radius, radius + 1)]
    pts.sort(key=lambda p: (p[0] * p[0] + p[1] * p[1], p[1], p[0]))
    return [(cx + dx, cy + dy) for dx, dy in pts]


def place_labels(pix, regions, polygons, fonts):
    placed, failed = [], []
    taken = bytearray(WIDTH * HEIGHT)
    open_sea = {k for k, v in enumerate(pix) if v == WHITE}
    for name, (lines, lon, lat) in LABELS.items():
        region = regions[name]
        poly = polygons[name]
        ax, ay = project(lon, lat)
        found = None
        for f in fonts:
            bits, w, h = label_bits_centered(lines, f)
            found = _find_spot(w, h, ax, ay, region, poly, taken)
            if found:
                break
        inside = found is not None
        if not inside:
            # No room anywhere in the area: the nearest clear open sea
            # instead, at the small size (see OUTSIDE_OK).
            failed.append(name)
            found = _find_spot(w, h, ax, ay, open_sea, None, taken)
            if found is None:
                raise SystemExit("no room at all for the name of %s" % name)
        x0, y0 = found
        for yy in range(y0 - 1, y0 + h + 1):
            for xx in range(x0 - 1, x0 + w + 1):
                taken[yy * WIDTH + xx] = 1
        for dx, dy in bits:
            pix[(y0 + dy) * WIDTH + x0 + dx] = BLUE
        placed.append({"area": name, "lines": lines, "size": f.size, "inside_area": inside,
                       "box": [x0, y0, x0 + w - 1, y0 + h - 1]})
    return placed, taken, failed


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
           (poly is None or all(point_in_polygon(px + 0.5, py + 0.5, poly)
               for px, py in ((x0, y0), (x0 + w - 1, y0), (x0, y0 + h - 1), (x0 + w - 1, y0 + h - 1)))):
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


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(HERE))
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

    if os.environ.get("MAPDEBUG"):
        im = Image.frombytes("P", (WIDTH, HEIGHT), bytes(pix))
        im.putpalette([v for c in PALETTE for v in c])
        d = ImageDraw.Draw(im)
        for n, v in list(LABELS.items()) + [(k, (None,) + s) for k, s in SEEDS.items()]:
            x, y = project(v[1], v[2])
            d.rectangle([x - 1, y - 1, x + 1, y + 1], fill=BLUE)
            print(n, round(x), round(y))
        im.convert("RGB").resize((WIDTH * 2, HEIGHT * 2), Image.NEAREST).save(os.environ["MAPDEBUG"])
    regions, polygons = {}, {}
    seeds = {n: (v[1], v[2]) for n, v in LABELS.items()}
    seeds.update(SEEDS)
    owner = {}
    for name, (lon, lat) in seeds.items():
        x, y = project(lon, lat)
        inside = 0 <= x < WIDTH and 0 <= y < HEIGHT
        reg = flood(pix, (int(x), int(y))) if inside else None
        if reg is None:
            raise SystemExit("seed of %s is not open sea" % name)
        first = next(iter(reg))
        for other, oreg in regions.items():
            if first in oreg:
                if os.environ.get("MAPDEBUG"):
                    im = Image.frombytes("P", (WIDTH, HEIGHT), bytes(GREEN if k in reg else v for k, v in enumerate(pix)))
                    im.putpalette([v for c in PALETTE for v in c])
                    im.convert("RGB").resize((WIDTH * 2, HEIGHT * 2), Image.NEAREST).save(os.environ["MAPDEBUG"])
                raise SystemExit("%s and %s share one region" % (name, other))
        regions[name] = reg
        polygons[name] = area_outline(by_name[name])
    fonts = [ImageFont.truetype(FONT_FILE, FONT_SIZE), ImageFont.truetype(FONT_FILE, FONT_SIZE_SMALL)]
    placed, taken, failed = place_labels(pix, regions, polygons, fonts)
    if os.environ.get("MAPDEBUG"):
        im = Image.frombytes("P", (WIDTH, HEIGHT), bytes(pix))
        im.putpalette([v for c in PALETTE for v in c])
        im.convert("RGB").resize((WIDTH * 2, HEIGHT * 2), Image.NEAREST).save(os.environ["MAPDEBUG"])
    if sorted(failed) != sorted(OUTSIDE_OK):
        raise SystemExit("names outside their areas: %s (expected %s)" % (failed, OUTSIDE_OK))
    greens = place_green(pix, taken)

    bx0, by0, bx1, by1 = BUTTON
    for y in range(by0, by1 + 1):
        for x in range(bx0, bx1 + 1):
            if pix[y * WIDTH + x] != WHITE:
                raise SystemExit("button rectangle is not open sea at %d,%d" % (x, y))

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
