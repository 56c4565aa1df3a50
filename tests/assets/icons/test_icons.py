#!/usr/bin/env python3
"""Checks on the generated icons and the yacht drawing (standard library only).

Usage: test_icons.py [repository-root] --app-id ID --icon-sizes N [N...]
Without a root it is found from this file's location. The application id and
the icon sizes are the build's (cmake/Identity.cmake), passed in by CTest.
"""

import argparse
import ast
import os
import re
import struct
import sys
import unittest
import xml.etree.ElementTree as ET

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))

APP_ID = None         # --app-id
HICOLOR_SIZES = None  # --icon-sizes
ICON_DIR = "assets/icons"
ICO_FILES = ["galevane.ico", "areas-cloud.ico"]
GENERATOR = "tools/icons/generate_icons.py"

STD16 = {
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
}
BLACK, WHITE = (0, 0, 0), (0xFF, 0xFF, 0xFF)


def path(*parts):
    return os.path.join(ROOT, *parts)


def read(p):
    with open(p, "rb") as f:
        return f.read()


class IcoImage:
    """One decoded 4-bpp BMP image of an ICO file."""

    def __init__(self, data, entry):
        self.entry = entry
        (self.hdr_size, self.width, self.height, self.planes, self.bitcount,
         self.compression, self.size_image, _, _, self.clr_used,
         _) = struct.unpack_from("<IiiHHIIiiII", data, entry["offset"])
        n = entry["width"]
        self.n = n
        pal_off = entry["offset"] + self.hdr_size
        ncol = self.clr_used or 16
        self.palette = []
        for k in range(ncol):
            b, g, r, _ = struct.unpack_from("<BBBB", data, pal_off + 4 * k)
            self.palette.append((r, g, b))
        xor_off = pal_off + 4 * ncol
        xor_row = ((n * 4 + 31) // 32) * 4
        and_row = ((n + 31) // 32) * 4
        and_off = xor_off + xor_row * n
        self.and_size = and_row * n
        self.end = and_off + self.and_size
        self.file_size = len(data)
        # index[y][x] and clear[y][x], with y = 0 at the top
        self.index = [[0] * n for _ in range(n)]
        self.clear = [[False] * n for _ in range(n)]
        if self.end > len(data):
            return
        for row in range(n):
            y = n - 1 - row  # rows are stored bottom-up
            for x in range(n):
                byte = data[xor_off + row * xor_row + x // 2]
                self.index[y][x] = (byte >> 4) if x % 2 == 0 else (byte & 0x0F)
                mbyte = data[and_off + row * and_row + x // 8]
                self.clear[y][x] = bool(mbyte & (0x80 >> (x % 8)))

    def colour(self, x, y):
        return self.palette[self.index[y][x]]


def parse_ico(p):
    data = read(p)
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for k in range(count):
        w, h, ncol, res, planes, bitcount, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * k)
        entries.append(dict(width=w or 256, height=h or 256, colours=ncol, reserved=res,
                            planes=planes, bitcount=bitcount, size=size, offset=offset))
    return data, (reserved, kind, count), entries


class IcoTests(unittest.TestCase):
    def load(self, name):
        p = path(ICON_DIR, name)
        self.assertTrue(os.path.isfile(p), p)
        data, head, entries = parse_ico(p)
        return data, head, entries, [IcoImage(data, e) for e in entries]

    def test_directory(self):
        for name in ICO_FILES:
            with self.subTest(ico=name):
                data, head, entries, _ = self.load(name)
                self.assertEqual(head, (0, 1, 2))
                self.assertEqual([(e["width"], e["height"]) for e in entries],
                                 [(32, 32), (16, 16)])
                for e in entries:
                    self.assertEqual(e["colours"], 16)
                    self.assertEqual(e["reserved"], 0)
                    self.assertEqual(e["planes"], 1)
                    self.assertEqual(e["bitcount"], 4)
                    self.assertLessEqual(e["offset"] + e["size"], len(data))
                    # BMP, not PNG
                    self.assertNotEqual(data[e["offset"]:e["offset"] + 8], b"\x89PNG\r\n\x1a\n")

    def test_bitmap_headers(self):
        for name in ICO_FILES:
            _, _, entries, images = self.load(name)
            for e, img in zip(entries, images):
                with self.subTest(ico=name, size=e["width"]):
                    self.assertEqual(img.hdr_size, 40)
                    self.assertEqual(img.width, e["width"])
                    self.assertEqual(img.height, 2 * e["height"])
                    self.assertEqual(img.planes, 1)
                    self.assertEqual(img.bitcount, 4)
                    self.assertEqual(img.compression, 0)
                    self.assertIn(img.clr_used, (0, 16))
                    # header + palette + XOR + AND fill the resource exactly
                    self.assertEqual(img.end - e["offset"], e["size"])

    def test_palette_is_standard(self):
        for name in ICO_FILES:
            _, _, entries, images = self.load(name)
            for e, img in zip(entries, images):
                self.assertEqual(len(img.palette), 16)
                for k, c in enumerate(img.palette):
                    with self.subTest(ico=name, size=e["width"], entry=k):
                        self.assertIn(c, STD16)

    def test_mask(self):
        for name in ICO_FILES:
            _, _, entries, images = self.load(name)
            for e, img in zip(entries, images):
                n = img.n
                with self.subTest(ico=name, size=n, check="corners transparent"):
                    for x, y in ((0, 0), (n - 1, 0), (0, n - 1), (n - 1, n - 1)):
                        self.assertTrue(img.clear[y][x], (x, y))
                with self.subTest(ico=name, size=n, check="mixed mask"):
                    opaque = sum(not c for row in img.clear for c in row)
                    self.assertGreater(opaque, n * n // 8)
                    self.assertLess(opaque, n * n * 7 // 8)
                with self.subTest(ico=name, size=n, check="black under transparent"):
                    for y in range(n):
                        for x in range(n):
                            if img.clear[y][x]:
                                self.assertEqual(img.colour(x, y), BLACK, (x, y))
                with self.subTest(ico=name, size=n, check="white inside, black outline"):
                    colours = {img.colour(x, y) for y in range(n) for x in range(n)
                               if not img.clear[y][x]}
                    self.assertIn(WHITE, colours)
                    self.assertIn(BLACK, colours)
                with self.subTest(ico=name, size=n, check="opaque pixels bordering transparency are black"):
                    # The drawing is outlined: its edge against the
                    # transparent outside is black everywhere.
                    for y in range(n):
                        for x in range(n):
                            if img.clear[y][x]:
                                continue
                            edge = any(not (0 <= x + dx < n and 0 <= y + dy < n)
                                       or img.clear[y + dy][x + dx]
                                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                            if edge:
                                self.assertEqual(img.colour(x, y), BLACK, (x, y))

    def test_icons_differ(self):
        a = read(path(ICON_DIR, ICO_FILES[0]))
        b = read(path(ICON_DIR, ICO_FILES[1]))
        self.assertNotEqual(a, b)
        for k in range(2):
            with self.subTest(image=k):
                ia = IcoImage(a, parse_ico(path(ICON_DIR, ICO_FILES[0]))[2][k])
                ib = IcoImage(b, parse_ico(path(ICON_DIR, ICO_FILES[1]))[2][k])
                self.assertNotEqual(ia.clear, ib.clear)

    def test_app_icon_cloud_and_rain(self):
        _, _, entries, images = self.load("galevane.ico")
        for img in images:
            n = img.n
            with self.subTest(size=n, part="white cloud in the upper half"):
                whites = [(x, y) for y in range(n // 2) for x in range(n)
                          if not img.clear[y][x] and img.colour(x, y) == WHITE]
                self.assertGreater(len(whites), n * n // 16)
            with self.subTest(size=n, part="no white in the lower half"):
                whites = [(x, y) for y in range(n // 2 + n // 8, n) for x in range(n)
                          if not img.clear[y][x] and img.colour(x, y) == WHITE]
                self.assertEqual(whites, [])
            with self.subTest(size=n, part="black streaks in the lower half"):
                blacks = [(x, y) for y in range(n * 5 // 8, n) for x in range(n)
                          if not img.clear[y][x] and img.colour(x, y) == BLACK]
                self.assertGreaterEqual(len(blacks), n)
            with self.subTest(size=n, part="streaks slant down to the right"):
                # In the lowest rows, pairs of vertically adjacent streak
                # pixels never step to the left.
                lower = [[not img.clear[y][x] for x in range(n)] for y in range(n)]
                right = left = 0
                for y in range(n * 5 // 8, n - 1):
                    for x in range(1, n - 1):
                        if lower[y][x] and not lower[y + 1][x]:
                            if lower[y + 1][x + 1]:
                                right += 1
                            if lower[y + 1][x - 1]:
                                left += 1
                self.assertGreater(right, 0)
                self.assertGreater(right, left)

    def test_areas_icon_has_no_rain(self):
        _, _, _, images = self.load("areas-cloud.ico")
        for img in images:
            n = img.n
            with self.subTest(size=n):
                # One connected opaque region: the cloud, nothing else.
                cells = {(x, y) for y in range(n) for x in range(n) if not img.clear[y][x]}
                start = next(iter(cells))
                seen, todo = {start}, [start]
                while todo:
                    x, y = todo.pop()
                    for d in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                        q = (x + d[0], y + d[1])
                        if q in cells and q not in seen:
                            seen.add(q)
                            todo.append(q)
                self.assertEqual(len(seen), len(cells))
                grey = {img.colour(x, y) for x, y in cells} & {(0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80)}
                self.assertTrue(grey)


def png_ihdr(p):
    data = read(p)
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    w, h, depth, ctype = struct.unpack(">IIBB", data[16:26])
    return w, h, depth, ctype


class PngTests(unittest.TestCase):
    def check(self, p, size):
        self.assertTrue(os.path.isfile(p), p)
        ihdr = png_ihdr(p)
        self.assertIsNotNone(ihdr, p)
        w, h, depth, ctype = ihdr
        self.assertEqual((w, h), (size, size))
        self.assertEqual(depth, 8)
        self.assertEqual(ctype, 6)  # RGBA

    def test_hicolor_pngs(self):
        for n in HICOLOR_SIZES:
            with self.subTest(size=n):
                self.check(path(ICON_DIR, "hicolor", "%dx%d" % (n, n), "apps", APP_ID + ".png"), n)

    def test_runtime_pngs(self):
        for n in (32, 16):
            with self.subTest(size=n):
                self.check(path(ICON_DIR, "areas-cloud-%d.png" % n), n)


class HicolorTreeTests(unittest.TestCase):
    def test_only_the_builds_sizes_and_id(self):
        # A size or an id the build no longer names leaves no stale file.
        hicolor = path(ICON_DIR, "hicolor")
        found = sorted(os.path.relpath(os.path.join(d, f), hicolor)
                       for d, _, files in os.walk(hicolor) for f in files)
        expected = sorted([os.path.join("%dx%d" % (n, n), "apps", APP_ID + ".png")
                           for n in HICOLOR_SIZES]
                          + [os.path.join("scalable", "apps", APP_ID + ".svg")])
        self.assertEqual(found, expected)


class GeneratorAgreesWithBuildTests(unittest.TestCase):
    """The icon generator is run by hand, not by the build; what it writes
    must be what the build compiles in and installs."""

    @classmethod
    def setUpClass(cls):
        with open(path(*GENERATOR.split("/")), encoding="utf-8") as f:
            cls.tree = ast.parse(f.read())

    def test_sizes(self):
        sizes = [ast.literal_eval(node.value) for node in self.tree.body
                 if isinstance(node, ast.Assign)
                 and any(getattr(t, "id", None) == "HICOLOR_SIZES" for t in node.targets)]
        self.assertEqual(len(sizes), 1, "one HICOLOR_SIZES in " + GENERATOR)
        self.assertEqual(list(sizes[0]), HICOLOR_SIZES)

    def test_application_id(self):
        # Run the generator's own reader of the id, without the rest of the
        # generator (which needs PIL).
        functions = [node for node in self.tree.body
                     if isinstance(node, ast.FunctionDef) and node.name == "application_id"]
        self.assertEqual(len(functions), 1, "one application_id() in " + GENERATOR)
        module = ast.Module(body=functions, type_ignores=[])
        scope = {"os": os, "re": re, "sys": sys}
        exec(compile(module, GENERATOR, "exec"), scope)
        self.assertEqual(scope["application_id"](ROOT), APP_ID)


class SvgTests(unittest.TestCase):
    def cases(self):
        return [
            (ICON_DIR + "/hicolor/scalable/apps/" + APP_ID + ".svg", None),
            ("assets/drawing/yacht.svg", ("1987", "2966", "0 0 1987 2966")),
        ]

    def test_svgs(self):
        for rel, expect in self.cases():
            with self.subTest(svg=rel):
                root = ET.parse(path(*rel.split("/"))).getroot()
                self.assertEqual(root.tag, "{http://www.w3.org/2000/svg}svg")
                w, h, vb = root.get("width"), root.get("height"), root.get("viewBox")
                if expect is None:
                    # square icon whose viewBox matches its size
                    self.assertEqual(w, h)
                    self.assertEqual(vb.split(), ["0", "0", w, h])
                else:
                    self.assertEqual((w, h, vb), expect)

    def test_yacht_uses_plain_features(self):
        tree = ET.parse(path("assets", "drawing", "yacht.svg"))
        ns = "{http://www.w3.org/2000/svg}"
        allowed = {ns + t for t in ("svg", "g", "path", "polygon", "polyline", "ellipse",
                                    "circle", "rect", "line")}
        size = os.path.getsize(path("assets", "drawing", "yacht.svg"))
        self.assertLess(size, 48 * 1024)
        for el in tree.iter():
            with self.subTest(element=el.tag):
                self.assertIn(el.tag, allowed)
                self.assertIsNone(el.get("class"))
                self.assertIsNone(el.get("style"))
                self.assertIsNone(el.get("filter"))


if __name__ == "__main__":
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("root", nargs="?", default=ROOT)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--icon-sizes", required=True, type=int, nargs="+")
    args, rest = parser.parse_known_args()
    ROOT = os.path.abspath(args.root)
    APP_ID, HICOLOR_SIZES = args.app_id, args.icon_sizes
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=1)
