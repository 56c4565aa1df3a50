#!/usr/bin/env python3
"""The real program paints its main window without any image decoder.

Its pictures are compiled in as raw pixels and its window icons are built from
them, so by the first paint no Qt image format plugin, no image library that
only such a plugin needs, and no Qt SVG may have been loaded. The program runs
once under LD_DEBUG=libs with GALEVANE_REPORT_FIRST_PAINT set; the libraries
loaded by then are read as the start-up benchmark reads them.

    check_startup_libraries.py <galevane binary>   (run under run-under-openbox.sh)
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools/bench"))
from startup import loaded_libraries  # noqa: E402

# Loaded only to read pictures in some format.
IMAGE_ONLY = ("/imageformats/", "libQt6Svg.so", "libjpeg.so", "libgif.so", "libtiff.so",
              "libwebp.so")


def main():
    program = sys.argv[1]
    env = {key: value for key, value in os.environ.items() if not key.startswith("LD_DEBUG")}
    env["GALEVANE_REPORT_FIRST_PAINT"] = "1"
    at_first_paint, _ = loaded_libraries(program, env)
    print(f"startup libraries: {len(at_first_paint)} loaded at the first paint")
    unwanted = [path for path in at_first_paint if any(part in path for part in IMAGE_ONLY)]
    for path in unwanted:
        print(f"startup libraries: loaded before the first paint: {path}", file=sys.stderr)
    return 1 if unwanted or not at_first_paint else 0


if __name__ == "__main__":
    sys.exit(main())
