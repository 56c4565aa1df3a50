#!/usr/bin/python3
"""Install the built project into an empty prefix and compare the installed
files with the expected list: the executable, the desktop entry, the
AppStream metadata, the seven icons, the copyright file, the changelog and
the manual page. Nothing may be
missing and nothing else may appear."""

import argparse
import gzip
import os
import shutil
import struct
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from installed_files import APP_ID, ICON_SIZES as SIZES, installed_files  # noqa: E402

EXPECTED = installed_files("")


def png_size(path):
    data = path.read_bytes()[:24]
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", data[16:24])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build-dir", required=True, type=Path)
    parser.add_argument("--prefix", required=True, type=Path)
    parser.add_argument("--source-dir", required=True, type=Path)
    parser.add_argument("--config", default="")
    args = parser.parse_args()

    shutil.rmtree(args.prefix, ignore_errors=True)
    cmd = [args.cmake, "--install", str(args.build_dir), "--prefix", str(args.prefix)]
    if args.config:
        cmd += ["--config", args.config]
    print("+", " ".join(cmd), flush=True)
    subprocess.run(cmd, check=True)

    installed = sorted(str(p.relative_to(args.prefix)) for p in args.prefix.rglob("*")
                       if p.is_file() or p.is_symlink())
    failures = []
    for path in sorted(set(EXPECTED) - set(installed)):
        failures.append(f"missing: {path}")
    for path in sorted(set(installed) - set(EXPECTED)):
        failures.append(f"not expected: {path}")

    exe = args.prefix / "bin/galevane"
    if exe.is_file() and not os.access(exe, os.X_OK):
        failures.append("bin/galevane is not executable")
    for s in SIZES:
        png = args.prefix / f"share/icons/hicolor/{s}x{s}/apps/{APP_ID}.png"
        if png.is_file() and png_size(png) != (s, s):
            failures.append(f"{png} is not a {s}x{s} PNG (got {png_size(png)})")
    for name, src in ((f"share/applications/{APP_ID}.desktop", f"packaging/{APP_ID}.desktop"),
                      (f"share/metainfo/{APP_ID}.metainfo.xml", f"packaging/{APP_ID}.metainfo.xml"),
                      ("share/doc/galevane/copyright", "packaging/copyright")):
        dst = args.prefix / name
        if dst.is_file() and dst.read_bytes() != (args.source_dir / src).read_bytes():
            failures.append(f"{name} differs from {src}")

    for name, src in (("share/doc/galevane/changelog.gz", "packaging/changelog"),
                      ("share/man/man1/galevane.1.gz", "packaging/galevane.1")):
        dst = args.prefix / name
        if dst.is_file() and gzip.decompress(dst.read_bytes()) != (args.source_dir / src).read_bytes():
            failures.append(f"{name} is not {src} compressed")

    for path in installed:
        print(f"  {path}")
    for failure in failures:
        print(f"FAIL: {failure}")
    if failures:
        return 1
    print(f"install: {len(installed)} files as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
