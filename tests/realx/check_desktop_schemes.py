#!/usr/bin/env python3
"""The real program's main window looks the same whatever the desktop asks for.

Starts the real program once as it starts on a plain desktop, then under
dark and high-contrast colour schemes (through the qt6ct and GTK platform
themes and KDE Plasma's own settings, Breeze Dark) and under other Qt styles
(QT_STYLE_OVERRIDE, -style), and compares the main window's pixels, as the X
server holds them, with the plain run's.

The text cursor blinks in the box that has the focus: each run takes a
series of pictures over more than one blink, and every picture of a run must
equal one of the plain run's, which must have caught the cursor both shown
and hidden.

Usage: check_desktop_schemes.py <galevane binary> [folder for the pictures of a failure]
(run under run-under-openbox.sh)
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
QT6CT_COLOURS = Path("/usr/share/qt6ct/colors")
QT_PLUGINS = Path("/usr/lib/x86_64-linux-gnu/qt6/plugins")

PICTURES = 12
PICTURE_INTERVAL = 0.25  # seconds: 3 s in all, past the slowest blink


def qt6ct_config(home: Path, scheme: Path) -> dict:
    folder = home / "qt6ct"
    folder.mkdir(parents=True)
    (folder / "qt6ct.conf").write_text(
        "[Appearance]\n"
        f"color_scheme_path={scheme}\n"
        "custom_palette=true\n"
        "style=Fusion\n"
    )
    return {"QT_QPA_PLATFORMTHEME": "qt6ct", "XDG_CONFIG_HOME": str(home)}


def kde_config(home: Path) -> dict:
    home.mkdir(parents=True)
    shutil.copy(HERE / "schemes" / "kdeglobals-breeze-dark", home / "kdeglobals")
    return {"XDG_CURRENT_DESKTOP": "KDE", "KDE_SESSION_VERSION": "5",
            "XDG_CONFIG_HOME": str(home)}


def variants(scratch: Path):
    """(name, environment, arguments, what it needs) of every desktop tried."""
    qt6ct = QT_PLUGINS / "platformthemes" / "libqt6ct.so"
    gtk3 = QT_PLUGINS / "platformthemes" / "libqgtk3.so"
    adwaita = QT_PLUGINS / "styles" / "adwaita.so"
    yield ("dark scheme (qt6ct, darker)",
           lambda: qt6ct_config(scratch / "dark", QT6CT_COLOURS / "darker.conf"), [], qt6ct)
    yield ("high-contrast black scheme (qt6ct)",
           lambda: qt6ct_config(scratch / "contrast", HERE / "schemes" / "highcontrast-black.conf"),
           [], qt6ct)
    yield ("Breeze Dark (KDE Plasma settings)", lambda: kde_config(scratch / "kde"), [], None)
    yield ("dark GTK theme (gtk3 platform theme, Adwaita:dark)",
           lambda: {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark"}, [], gtk3)
    yield ("Adwaita style (QT_STYLE_OVERRIDE)",
           lambda: {"QT_STYLE_OVERRIDE": "adwaita"}, [], adwaita)
    yield ("Adwaita style (-style)", lambda: {}, ["-style", "adwaita"], adwaita)
    yield ("Windows style (QT_STYLE_OVERRIDE)", lambda: {"QT_STYLE_OVERRIDE": "Windows"}, [], None)


def main_window() -> str:
    found = subprocess.run(
        ["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Galevane$"],
        capture_output=True, text=True, timeout=30, check=False)
    lines = found.stdout.split()
    if not lines:
        raise RuntimeError("no window named Galevane appeared")
    return lines[0]


def picture(window: str) -> bytes:
    return subprocess.run(["import", "-window", window, "-depth", "8", "rgb:-"],
                          capture_output=True, timeout=30, check=True).stdout


def window_size(window: str) -> tuple:
    info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                          timeout=30, check=True).stdout
    fields = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
    return int(fields["Width"]), int(fields["Height"])


def pictures_of_a_run(program: str, environment: dict, arguments: list) -> tuple:
    """Starts the program, takes its main window's pictures and ends it."""
    env = dict(os.environ)
    for name in ("QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE", "XDG_CURRENT_DESKTOP",
                 "KDE_SESSION_VERSION", "GTK_THEME", "XDG_CONFIG_HOME"):
        env.pop(name, None)
    env.update(environment)
    process = subprocess.Popen([program, *arguments], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    try:
        window = main_window()
        time.sleep(1.0)  # the first paint, and the window manager's placing
        size = window_size(window)
        shots = []
        for _ in range(PICTURES):
            shots.append(picture(window))
            time.sleep(PICTURE_INTERVAL)
        return size, shots
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def differing_area(a: bytes, b: bytes, size: tuple) -> str:
    width, _ = size
    xs, ys = [], []
    for i in range(0, min(len(a), len(b)), 3):
        if a[i:i + 3] != b[i:i + 3]:
            pixel = i // 3
            xs.append(pixel % width)
            ys.append(pixel // width)
    if not xs:
        return "no pixel differs"
    return (f"{len(xs)} pixels differ, within x {min(xs)}..{max(xs)}, "
            f"y {min(ys)}..{max(ys)}")


def save(folder: Path, name: str, shot: bytes, size: tuple) -> None:
    folder.mkdir(parents=True, exist_ok=True)
    target = folder / (name.split(" (")[0].replace(" ", "-") + ".png")
    subprocess.run(["convert", "-size", f"{size[0]}x{size[1]}", "-depth", "8", "rgb:-",
                    str(target)], input=shot, check=True, timeout=30)
    print(f"  saved {target}")


def main() -> int:
    program = sys.argv[1]
    failures_folder = Path(sys.argv[2]) if len(sys.argv) > 2 else None
    size, plain = pictures_of_a_run(program, {}, [])
    phases = list(dict.fromkeys(plain))
    print(f"plain desktop: {size[0]}x{size[1]}, {len(phases)} distinct pictures")
    if len(phases) != 2:
        print("the plain run did not catch the text cursor both shown and hidden", file=sys.stderr)
        return 1

    failures = 0
    skipped = 0
    with tempfile.TemporaryDirectory() as scratch:
        for name, environment, arguments, needs in variants(Path(scratch)):
            if needs is not None and not needs.exists():
                print(f"SKIP {name}: {needs} is not installed")
                skipped += 1
                continue
            their_size, shots = pictures_of_a_run(program, environment(), arguments)
            strangers = [shot for shot in shots if shot not in phases]
            if their_size == size and not strangers:
                print(f"PASS {name}: all {len(shots)} pictures equal the plain desktop's")
                continue
            failures += 1
            print(f"FAIL {name}: size {their_size[0]}x{their_size[1]}, "
                  f"{len(strangers)} of {len(shots)} pictures differ from the plain desktop's; "
                  f"{differing_area(strangers[0] if strangers else shots[0], phases[0], size)}")
            if failures_folder and strangers:
                save(failures_folder, "plain", phases[0], size)
                save(failures_folder, name, strangers[0], their_size)
    if failures:
        return 1
    if skipped:
        print(f"{skipped} desktops skipped: install qt6ct, qt6-gtk-platformtheme and adwaita-qt6")
    print("desktop schemes: the main window looks the same under every desktop tried")
    return 0


if __name__ == "__main__":
    sys.exit(main())
