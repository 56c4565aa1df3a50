#!/usr/bin/env python3
"""Checks of the committed forecast-areas map, assets/map/areas.bmp.

Standard library only.  Usage: test_map_bmp.py [REPO_ROOT]
(without an argument the root is found from this file's place).
labels.json, written by tools/map/generate_map.py next to the picture,
gives each name's box and its area's outline in pixels.
"""
import json
import os
import struct
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
WIDTH, HEIGHT = 468, 484
SEA, LAND, LINE, BOUNDARY, NAME, DOT = (0xFF, 0xFF, 0xFF), (0xFF, 0xFF, 0x00), (0, 0, 0), \
    (0xFF, 0, 0), (0x00, 0x33, 0x99), (0, 0xFF, 0)
COLOURS = {SEA, LAND, LINE, BOUNDARY, NAME, DOT}
NAMES = [["S.E. ICELAND"], ["FAEROES"], ["BAILEY"], ["FAIR", "ISLE"], ["VIKING"], ["N. UTSIRE"],
         ["S. UTSIRE"], ["HEBRIDES"], ["CROMARTY"], ["FORTIES"], ["ROCKALL"], ["MALIN"], ["FORTH"],
         ["FISHER"], ["TYNE"], ["DOGGER"], ["GERMAN", "BIGHT"], ["IRISH", "SEA"], ["SHANNON"],
         ["HUMBER"], ["THAMES"], ["FASTNET"], ["LUNDY"], ["DOVER"], ["WIGHT"], ["PORT-", "LAND"],
         ["PLYMOUTH"], ["SOLE"], ["TRAFALGAR"], ["BISCAY"]]
BUTTON = (295, 8, 408, 33)


def point_in_polygon(x, y, poly):
    inside, j = False, len(poly) - 1
    for i in range(len(poly)):
        (xi, yi), (xj, yj) = poly[i], poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


class MapBitmap(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        d = os.path.join(ROOT, "assets", "map")
        with open(os.path.join(d, "areas.bmp"), "rb") as f:
            cls.data = f.read()
        with open(os.path.join(d, "labels.json"), encoding="utf-8") as f:
            cls.labels = json.load(f)
        pal = cls.data[54:54 + 1024]
        cls.palette = [(pal[i * 4 + 2], pal[i * 4 + 1], pal[i * 4]) for i in range(256)]
        off = struct.unpack_from("<I", cls.data, 10)[0]
        cls.rgb = {}
        cls.px = [[None] * WIDTH for _ in range(HEIGHT)]
        for y in range(HEIGHT):
            row = off + (HEIGHT - 1 - y) * WIDTH      # rows are stored bottom-up
            for x in range(WIDTH):
                cls.px[y][x] = cls.palette[cls.data[row + x]]

    def test_header_fields(self):
        f = struct.unpack_from("<2sIHHI", self.data, 0)
        i = struct.unpack_from("<IiiHHIIiiII", self.data, 14)
        cases = [("magic", f[0], b"BM"), ("file size", f[1], 227590), ("file size on disk", len(self.data), 227590),
                 ("pixel offset", f[4], 1078), ("info header size", i[0], 40), ("width", i[1], 468),
                 ("height (positive: bottom-up)", i[2], 484), ("planes", i[3], 1), ("bits per pixel", i[4], 8),
                 ("compression BI_RGB", i[5], 0), ("x pixels per metre", i[7], 3790),
                 ("y pixels per metre", i[8], 3800)]
        for name, got, want in cases:
            with self.subTest(field=name):
                self.assertEqual(got, want)
        with self.subTest(field="image size"):
            self.assertIn(i[6], (0, 468 * 484))
        with self.subTest(field="colours used"):
            self.assertIn(i[9], (0, 256))

    def test_exactly_six_colours(self):
        used = {c for row in self.px for c in row}
        self.assertEqual(used, COLOURS)
        for colour in sorted(COLOURS):
            with self.subTest(colour="#%02X%02X%02X" % colour):
                self.assertTrue(any(colour in row for row in self.px))

    def test_button_area_is_open_sea(self):
        x0, y0, x1, y1 = BUTTON
        for y in range(y0, y1 + 1):
            with self.subTest(row=y):
                self.assertEqual({self.px[y][x] for x in range(x0, x1 + 1)}, {SEA})

    def test_green_dots_isolated_on_coast(self):
        dots = [(x, y) for y in range(HEIGHT) for x in range(WIDTH) if self.px[y][x] == DOT]
        self.assertTrue(5 <= len(dots) <= 12, len(dots))
        for x, y in dots:
            with self.subTest(dot=(x, y)):
                around = [self.px[y + dy][x + dx] for dy in (-1, 0, 1) for dx in (-1, 0, 1)
                          if (dx or dy) and 0 <= x + dx < WIDTH and 0 <= y + dy < HEIGHT]
                self.assertNotIn(DOT, around)
                self.assertTrue(LAND in around or LINE in around)

    def test_all_thirty_names(self):
        self.assertEqual(sorted(l["lines"] for l in self.labels["labels"]), sorted(NAMES))

    def test_label_boxes_only_sea_and_name(self):
        for l in self.labels["labels"]:
            x0, y0, x1, y1 = l["box"]
            with self.subTest(name=" ".join(l["lines"])):
                colours = {self.px[y][x] for y in range(y0 - 1, y1 + 2) for x in range(x0 - 1, x1 + 2)}
                self.assertLessEqual(colours, {SEA, NAME})
                self.assertIn(NAME, colours)

    def test_label_boxes_inside_own_area(self):
        for l in self.labels["labels"]:
            x0, y0, x1, y1 = l["box"]
            with self.subTest(name=" ".join(l["lines"])):
                # the box and its 1-pixel margin, all four corners
                for x, y in ((x0 - 1, y0 - 1), (x1 + 1, y0 - 1), (x0 - 1, y1 + 1), (x1 + 1, y1 + 1)):
                    self.assertTrue(point_in_polygon(x + 0.5, y + 0.5, l["polygon"]), (x, y))

    def test_each_area_has_its_name(self):
        areas = [l["area"] for l in self.labels["labels"]]
        self.assertEqual(len(areas), 30)
        self.assertEqual(len(set(areas)), 30)

    def test_each_name_belongs_to_its_area(self):
        want = {"Southeast Iceland": ["S.E. ICELAND"], "Faeroes": ["FAEROES"], "Bailey": ["BAILEY"],
                "Fair Isle": ["FAIR", "ISLE"], "Viking": ["VIKING"], "North Utsire": ["N. UTSIRE"],
                "South Utsire": ["S. UTSIRE"], "Hebrides": ["HEBRIDES"], "Cromarty": ["CROMARTY"],
                "Forties": ["FORTIES"], "Rockall": ["ROCKALL"], "Malin": ["MALIN"], "Forth": ["FORTH"],
                "Fisher": ["FISHER"], "Tyne": ["TYNE"], "Dogger": ["DOGGER"],
                "German Bight": ["GERMAN", "BIGHT"], "Irish Sea": ["IRISH", "SEA"],
                "Shannon": ["SHANNON"], "Humber": ["HUMBER"], "Thames": ["THAMES"],
                "Fastnet": ["FASTNET"], "Lundy": ["LUNDY"], "Dover": ["DOVER"], "Wight": ["WIGHT"],
                "Portland": ["PORT-", "LAND"], "Plymouth": ["PLYMOUTH"], "Sole": ["SOLE"],
                "Trafalgar": ["TRAFALGAR"], "Biscay": ["BISCAY"]}
        self.assertEqual({l["area"]: l["lines"] for l in self.labels["labels"]}, want)

    def test_label_boxes_in_picture(self):
        for l in self.labels["labels"]:
            x0, y0, x1, y1 = l["box"]
            with self.subTest(name=" ".join(l["lines"])):
                self.assertTrue(1 <= x0 <= x1 < WIDTH - 1 and 1 <= y0 <= y1 < HEIGHT - 1)

    def test_label_boxes_do_not_overlap(self):
        boxes = [(" ".join(l["lines"]), l["box"]) for l in self.labels["labels"]]
        for i, (na, a) in enumerate(boxes):
            for nb, b in boxes[i + 1:]:
                with self.subTest(pair=(na, nb)):
                    self.assertTrue(a[2] < b[0] or b[2] < a[0] or a[3] < b[1] or b[3] < a[1])


if __name__ == "__main__":
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        ROOT = sys.argv.pop(1)
    unittest.main()
