#!/usr/bin/python3
"""Install the built project into an empty prefix and compare the installed
files with the expected list: the executable, the desktop entry, the
AppStream metadata, the icons, the copyright file, the changelog and the
manual page. Nothing may be missing and nothing else may appear. The files
configured by the build must be installed as configured, and the installed
executable must carry no library search path of its own."""

import argparse
import gzip
import os
import shutil
import struct
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from installed_files import installed_files  # noqa: E402
from search_path import search_paths  # noqa: E402


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
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--icon-sizes", required=True, type=int, nargs="+")
    parser.add_argument("--desktop-entry", required=True, type=Path,
                        help="the desktop entry as the build configured it")
    parser.add_argument("--metainfo", required=True, type=Path,
                        help="the AppStream metadata as the build configured it")
    parser.add_argument("--man-page", required=True, type=Path,
                        help="the manual page as the build configured it")
    parser.add_argument("--config", default="")
    args = parser.parse_args()
    app_id = args.app_id
    expected = installed_files(app_id, args.icon_sizes)

    shutil.rmtree(args.prefix, ignore_errors=True)
    cmd = [args.cmake, "--install", str(args.build_dir), "--prefix", str(args.prefix)]
    if args.config:
        cmd += ["--config", args.config]
    print("+", " ".join(cmd), flush=True)
    subprocess.run(cmd, check=True)

    installed = sorted(str(p.relative_to(args.prefix)) for p in args.prefix.rglob("*")
                       if p.is_file() or p.is_symlink())
    failures = []
    for path in sorted(set(expected) - set(installed)):
        failures.append(f"missing: {path}")
    for path in sorted(set(installed) - set(expected)):
        failures.append(f"not expected: {path}")

    exe = args.prefix / "bin/galevane"
    if exe.is_file() and not os.access(exe, os.X_OK):
        failures.append("bin/galevane is not executable")
    if exe.is_file():
        for path in search_paths(exe):
            failures.append(f"bin/galevane searches for libraries in its own path: {path}")
    for s in args.icon_sizes:
        png = args.prefix / f"share/icons/hicolor/{s}x{s}/apps/{app_id}.png"
        if png.is_file() and png_size(png) != (s, s):
            failures.append(f"{png} is not a {s}x{s} PNG (got {png_size(png)})")
    for name, src in ((f"share/applications/{app_id}.desktop", args.desktop_entry),
                      (f"share/metainfo/{app_id}.metainfo.xml", args.metainfo),
                      ("share/doc/galevane/copyright", args.source_dir / "packaging/copyright")):
        dst = args.prefix / name
        if dst.is_file() and dst.read_bytes() != src.read_bytes():
            failures.append(f"{name} differs from {src}")

    for name, src in (("share/doc/galevane/changelog.gz", args.source_dir / "packaging/changelog"),
                      ("share/man/man1/galevane.1.gz", args.man_page)):
        dst = args.prefix / name
        if dst.is_file() and gzip.decompress(dst.read_bytes()) != src.read_bytes():
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
