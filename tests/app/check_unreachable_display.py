#!/usr/bin/env python3
"""Start the program where the display it would use cannot be reached and
check that it says so in exactly one line on stderr and exits with status 2,
instead of being aborted by Qt (standard library only).

Usage: check_unreachable_display.py PROGRAM

The cases: DISPLAY naming an X display no server holds; QT_QPA_PLATFORM=wayland
with an empty runtime folder, so no compositor socket; a Wayland display
announced in WAYLAND_DISPLAY with neither a compositor nor an X display."""

import os
import resource
import subprocess
import sys
import tempfile
from pathlib import Path

# Everything that tells Qt or the program which window system to use.
DISPLAY_VARIABLES = ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM",
                     "XDG_SESSION_TYPE", "XDG_RUNTIME_DIR", "XAUTHORITY")


def free_x_display():
    """The lowest display number from 59 up that no local X server holds:
    no lock file, no socket file, no abstract socket."""
    try:
        sockets = Path("/proc/net/unix").read_text()
    except OSError:
        sockets = ""
    for number in range(59, 200):
        name = f"/tmp/.X11-unix/X{number}"
        if (not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(name)
                and not any(line.endswith((f" {name}", f" @{name}"))
                            for line in sockets.splitlines())):
            return number
    raise RuntimeError("no free X display number between :59 and :199")


def no_core_dump():
    # Should Qt abort after all, the test fails on the signal; it needs no core.
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))


def run_case(program, name, variables, expected_parts):
    env = {key: value for key, value in os.environ.items() if key not in DISPLAY_VARIABLES}
    env.update(variables)
    shown = " ".join(f"{key}={value}" for key, value in variables.items())
    try:
        result = subprocess.run([program], env=env, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, timeout=60,
                                preexec_fn=no_core_dump)
    except subprocess.TimeoutExpired:
        print(f"FAIL  {name}: still running after 60 s ({shown})")
        return False
    lines = result.stderr.splitlines()
    problems = []
    if result.returncode < 0:
        problems.append(f"killed by signal {-result.returncode}")
    elif result.returncode != 2:
        problems.append(f"exit status {result.returncode}, not 2")
    if len(lines) != 1:
        problems.append(f"{len(lines)} lines on stderr, not one")
    for part in expected_parts:
        if not any(part in line for line in lines):
            problems.append(f"no mention of {part!r}")
    if result.stdout:
        problems.append("output on stdout")
    if problems:
        print(f"FAIL  {name} ({shown}): {'; '.join(problems)}")
        for line in lines[:12]:
            print(f"      stderr: {line}")
        return False
    print(f"PASS  {name}: {lines[0]}")
    return True


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_unreachable_display.py PROGRAM")
    program = os.path.abspath(sys.argv[1])
    display = f":{free_x_display()}"
    with tempfile.TemporaryDirectory(prefix="galevane-runtime-") as runtime_dir:
        os.chmod(runtime_dir, 0o700)
        cases = [
            ("X display without a server", {"DISPLAY": display},
             [f'"{display}"', "xvfb-run -a"]),
            ("Wayland without a compositor",
             {"QT_QPA_PLATFORM": "wayland", "XDG_RUNTIME_DIR": runtime_dir},
             [f"{runtime_dir}/wayland-0", "xvfb-run -a"]),
            ("Wayland display announced, neither compositor nor X display",
             {"WAYLAND_DISPLAY": "wayland-3", "XDG_RUNTIME_DIR": runtime_dir},
             [f"{runtime_dir}/wayland-3", "DISPLAY is not set", "xvfb-run -a"]),
        ]
        results = [run_case(program, *case) for case in cases]
    if not all(results):
        print(f"unreachable display: {results.count(False)} of {len(results)} cases failed")
        return 1
    print(f"unreachable display: all {len(results)} cases as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
