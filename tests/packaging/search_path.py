"""The run-time library search path an ELF binary carries, for the install
test and the package test alike."""

import re
import shutil
import subprocess


def search_paths(binary):
    """The RPATH and RUNPATH entries of `binary`'s dynamic section, each as
    "RUNPATH [...]"; an empty list when it has none."""
    readelf = shutil.which("readelf")
    if readelf is None:
        raise RuntimeError("readelf not found (Debian package binutils)")
    dynamic = subprocess.run([readelf, "--dynamic", "--wide", str(binary)], check=True,
                             text=True, stdout=subprocess.PIPE,
                             env={"LC_ALL": "C", "PATH": "/usr/bin:/bin"}).stdout
    return [f"{kind} {value}" for kind, value in
            re.findall(r"\((RPATH|RUNPATH)\)[^\[]*(\[.*\])", dynamic)]
