#!/usr/bin/python3
"""Build the Debian package with CPack into a scratch folder and inspect it
with dpkg-deb: control fields, dependencies and the file list, and that the
packaged executable is stripped and carries no library search path of its
own. The version, the application id and the icon sizes are those CMake
passes in."""

import argparse
import re
import shutil
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from installed_files import installed_files  # noqa: E402
from project_version import package_version  # noqa: E402
from search_path import search_paths  # noqa: E402

EXPECTED_FIELDS = {
    "Package": "galevane",
    "Version": None,  # the package version of --project-version
    "Maintainer": "Quayforth <info@quayforth.co.uk>",
    "Section": "science",
    "Architecture": None,  # checked against dpkg --print-architecture
}

REQUIRED_DEPENDS = ["libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6svg6",
                    "qt6-qpa-plugins", "fonts-liberation2", "fonts-comic-neue"]
# Qt's Wayland platform plugin: without it the program runs on X11 only.
REQUIRED_RECOMMENDS = ["qt6-wayland"]


def run(*cmd, capture=False):
    print("+", " ".join(str(c) for c in cmd), flush=True)
    result = subprocess.run([str(c) for c in cmd], check=True, text=True,
                            stdout=subprocess.PIPE if capture else None)
    return result.stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cpack", required=True)
    parser.add_argument("--cpack-config", required=True, type=Path)
    parser.add_argument("--out-dir", required=True, type=Path)
    parser.add_argument("--project-version", required=True)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--icon-sizes", required=True, type=int, nargs="+")
    parser.add_argument("--config", default="")
    args = parser.parse_args()
    version = package_version(args.project_version)
    expected_files = installed_files(args.app_id, args.icon_sizes, "./usr/")

    for tool in ("dpkg-deb", "dpkg-shlibdeps"):
        if shutil.which(tool) is None:
            sys.exit(f"check_deb: {tool} not found (Debian package dpkg-dev)")

    shutil.rmtree(args.out_dir, ignore_errors=True)
    args.out_dir.mkdir(parents=True)
    cmd = [args.cpack, "-G", "DEB", "--config", args.cpack_config, "-B", args.out_dir]
    if args.config:
        cmd += ["-C", args.config]
    run(*cmd)

    arch = run("dpkg", "--print-architecture", capture=True).strip()
    debs = sorted(args.out_dir.glob("*.deb"))
    if [d.name for d in debs] != [f"galevane_{version}_{arch}.deb"]:
        print(f"FAIL: expected only galevane_{version}_{arch}.deb, got {[d.name for d in debs]}")
        return 1
    deb = debs[0]
    failures = []

    for field, value in EXPECTED_FIELDS.items():
        got = run("dpkg-deb", "-f", deb, field, capture=True).strip()
        want = {"Architecture": arch, "Version": version}.get(field, value)
        print(f"  {field}: {got}")
        if got != want:
            failures.append(f"{field} is {want!r} (got {got!r})")

    depends = run("dpkg-deb", "-f", deb, "Depends", capture=True).strip()
    print(f"  Depends: {depends}")
    names = {re.split(r"[\s(]", alt.strip(), maxsplit=1)[0]
             for dep in depends.split(",") for alt in dep.split("|") if alt.strip()}
    for package in REQUIRED_DEPENDS:
        if package not in names:
            failures.append(f"Depends lacks {package}")

    recommends = run("dpkg-deb", "-f", deb, "Recommends", capture=True).strip()
    print(f"  Recommends: {recommends}")
    recommended = {re.split(r"[\s(]", alt.strip(), maxsplit=1)[0]
                   for dep in recommends.split(",") for alt in dep.split("|") if alt.strip()}
    for package in REQUIRED_RECOMMENDS:
        if package not in recommended:
            failures.append(f"Recommends lacks {package}")

    listing = run("dpkg-deb", "-c", deb, capture=True)
    files = []
    for line in listing.splitlines():
        mode, path = line.split()[0], line.split()[-1]
        if not mode.startswith("d"):
            files.append(path)
            if path == "./usr/bin/galevane" and "x" not in mode[1:4]:
                failures.append(f"usr/bin/galevane not executable ({mode})")
    files.sort()
    for path in sorted(set(expected_files) - set(files)):
        failures.append(f"missing from the package: {path}")
    for path in sorted(set(files) - set(expected_files)):
        failures.append(f"not expected in the package: {path}")

    # The packaged executable must be stripped.
    extract = args.out_dir / "extracted"
    run("dpkg-deb", "-x", deb, extract)
    described = run("file", "-b", extract / "usr/bin/galevane", capture=True)
    if "not stripped" in described:
        failures.append("usr/bin/galevane is not stripped")
    for path in search_paths(extract / "usr/bin/galevane"):
        failures.append(f"usr/bin/galevane searches for libraries in its own path: {path}")

    for failure in failures:
        print(f"FAIL: {failure}")
    if failures:
        return 1
    print(f"deb: {deb.name} as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
