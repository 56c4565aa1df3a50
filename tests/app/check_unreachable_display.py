#!/usr/bin/env python3
"""Start the program where the display it would use cannot be reached and
check that it says so in exactly one line on stderr and exits with status 2,
instead of being aborted by Qt (standard library only).

Usage: check_unreachable_display.py PROGRAM [--qt-platforms FOLDER]

The cases: DISPLAY naming an X display no server holds; QT_QPA_PLATFORM=wayland
with an empty runtime folder, so no compositor socket; a Wayland display
announced in WAYLAND_DISPLAY with neither a compositor nor an X display.

Then under a headless Weston (Debian packages weston and xwayland), where
Qt's Wayland plugin (Debian package qt6-wayland) is not among Qt's platform
plugins (FOLDER): a compositor that answers, with WAYLAND_DISPLAY set or
QT_QPA_PLATFORM=wayland, and no X display: one line naming the package, status
2; the same with Weston's XWayland as DISPLAY: the program runs on X11 (xcb).
Where the plugin is installed, the Wayland cases run on Wayland instead."""

import argparse
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time
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
    env = program_env(variables)
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


def program_env(variables):
    env = {key: value for key, value in os.environ.items() if key not in DISPLAY_VARIABLES}
    env.update(variables)
    return env


def loaded_platform(pid):
    """The Qt platform plugin the running program has loaded, or None."""
    try:
        maps = Path(f"/proc/{pid}/maps").read_text()
    except OSError:
        return None
    if "/platforms/libqxcb.so" in maps:
        return "xcb"
    if "/platforms/libqwayland-" in maps:
        return "wayland"
    return None


def has_x_window(display, title):
    result = subprocess.run(["xwininfo", "-root", "-tree", "-display", display],
                            capture_output=True, text=True, timeout=10)
    return f'"{title}": ("galevane"' in result.stdout


def run_running_case(program, name, variables, platform, notice_parts):
    """The program must start and keep running on `platform` (with its main
    window on the X display where that is xcb); stderr holds one line with
    every part of notice_parts, or nothing where there are none."""
    shown = " ".join(f"{key}={value}" for key, value in variables.items())
    with tempfile.TemporaryFile(mode="w+") as errors:
        process = subprocess.Popen([program], env=program_env(variables),
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=errors, preexec_fn=no_core_dump)
        found = None
        window = False
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline and process.poll() is None:
            found = loaded_platform(process.pid)
            window = found == "wayland" or (found == "xcb" and has_x_window(
                variables["DISPLAY"], "Galevane"))
            if window:
                break
            time.sleep(0.2)
        status = process.poll()
        if status is None:
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        errors.seek(0)
        lines = errors.read().splitlines()
    problems = []
    if status is not None:
        problems.append(f"ended with status {status}")
    if found != platform:
        problems.append(f"platform plugin {found or 'none'} loaded, not {platform}")
    elif not window:
        problems.append("no main window \"Galevane\" on the X display")
    if notice_parts:
        if len(lines) != 1:
            problems.append(f"{len(lines)} lines on stderr, not one")
        for part in notice_parts:
            if not any(part in line for line in lines):
                problems.append(f"no mention of {part!r}")
    elif lines:
        problems.append(f"{len(lines)} lines on stderr, not none")
    if problems:
        print(f"FAIL  {name} ({shown}): {'; '.join(problems)}")
        for line in lines[:12]:
            print(f"      stderr: {line}")
        return False
    print(f"PASS  {name}: runs on {platform}" + (f"; {lines[0]}" if lines else ""))
    return True


class Weston:
    """A headless Weston on a socket of its own in runtime_dir, with or
    without XWayland; stopped again on leaving."""

    def __init__(self, runtime_dir, socket, xwayland):
        self.runtime_dir = runtime_dir
        self.socket = socket
        self.xwayland = xwayland
        self.log = Path(runtime_dir) / f"{socket}.log"
        self.process = None
        self.x_display = None

    def __enter__(self):
        command = ["weston", "--backend=headless-backend.so", "--no-config", "--idle-time=0",
                   f"--socket={self.socket}", f"--log={self.log}"]
        if self.xwayland:
            command.append("--xwayland")
        env = program_env({"XDG_RUNTIME_DIR": self.runtime_dir})
        self.process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        socket_path = Path(self.runtime_dir) / self.socket
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and self.process.poll() is None:
            log = self.log.read_text(errors="replace") if self.log.exists() else ""
            listening = re.search(r"xserver listening on display (:\d+)", log)
            if listening:
                self.x_display = listening.group(1)
            if socket_path.exists() and (not self.xwayland or self.x_display):
                return self
            time.sleep(0.1)
        self.__exit__(None, None, None)
        raise RuntimeError(f"weston did not come up on {socket_path}"
                           + (" with XWayland" if self.xwayland else ""))

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            # Weston and the clients it launched (shell, keyboard, XWayland).
            os.killpg(self.process.pid, signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait()


def weston_cases(program, qt_platforms):
    missing = [tool for tool in ("weston", "Xwayland", "xwininfo") if shutil.which(tool) is None]
    if missing:
        print(f"FAIL  Wayland cases: {', '.join(missing)} missing "
              "(Debian packages weston, xwayland, x11-utils)")
        return [False]
    plugin = bool(list(Path(qt_platforms).glob("libqwayland-*.so"))) if qt_platforms else False
    print(f"      Qt's Wayland plugin is {'installed' if plugin else 'not installed'}"
          + (f" ({qt_platforms})" if qt_platforms else ""))
    results = []
    with tempfile.TemporaryDirectory(prefix="galevane-weston-") as runtime_dir:
        os.chmod(runtime_dir, 0o700)
        base = {"XDG_RUNTIME_DIR": runtime_dir}
        with Weston(runtime_dir, "wayland-alone", xwayland=False):
            socket = f"{runtime_dir}/wayland-alone"
            for name, variables in [
                    ("Weston answering, no X display",
                     {**base, "WAYLAND_DISPLAY": "wayland-alone"}),
                    ("Weston answering and chosen, no X display",
                     {**base, "WAYLAND_DISPLAY": "wayland-alone", "QT_QPA_PLATFORM": "wayland"})]:
                if plugin:
                    results.append(run_running_case(program, name, variables, "wayland", []))
                else:
                    results.append(run_case(program, name, variables,
                                            [socket, "qt6-wayland", "DISPLAY is not set",
                                             "xvfb-run -a"]))
        with Weston(runtime_dir, "wayland-x", xwayland=True) as weston:
            variables = {**base, "WAYLAND_DISPLAY": "wayland-x", "DISPLAY": weston.x_display}
            results.append(run_running_case(program, "Weston with XWayland", variables,
                                            "xcb", []))
            chosen = {**variables, "QT_QPA_PLATFORM": "wayland"}
            if plugin:
                results.append(run_running_case(program, "Weston with XWayland, Wayland chosen",
                                                chosen, "wayland", []))
            else:
                results.append(run_running_case(program, "Weston with XWayland, Wayland chosen",
                                                chosen, "xcb", ["qt6-wayland", "X display"]))
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--qt-platforms", default="",
                        help="the folder of Qt's platform plugins")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
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
    results += weston_cases(program, args.qt_platforms)
    if not all(results):
        print(f"unreachable display: {results.count(False)} of {len(results)} cases failed")
        return 1
    print(f"unreachable display: all {len(results)} cases as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
