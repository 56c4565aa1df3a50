#!/usr/bin/env python3
"""Start-up time and peak memory of Galevane against an empty Qt window.

Starts one Xvfb server of its own, then runs the two programs alternately
(A B A B ...), each with GALEVANE_REPORT_FIRST_PAINT=1 so that it prints
"first-paint-ns <CLOCK_MONOTONIC ns>" after its window's first paint and
exits. Start-up time is that timestamp minus time.monotonic_ns() taken just
before the spawn (both are CLOCK_MONOTONIC on Linux); peak memory is the
child's ru_maxrss from os.wait4. Prints the medians, the ratios
Galevane/empty and whether each ratio is within the target of 1.15.
The CPU time each child used (user + system, to its exit just after the first
paint) is printed too, for information: on a busy machine it varies far less
than the wall-clock start-up time.

    tools/bench/startup.py [GALEVANE [EMPTY_WINDOW]] [--runs N]

Exit status: 0 both targets met, 1 a target missed, 2 the measurement failed.
Standard library only.
"""

import argparse
import os
import select
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

TARGET_RATIO = 1.15
RUN_TIMEOUT_S = 30.0
MARKER = b"first-paint-ns "


def free_display():
    """The lowest display number from 90 up with no lock file or socket."""
    for number in range(90, 200):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(
            f"/tmp/.X11-unix/X{number}"
        ):
            return number
    raise RuntimeError("no free X display number between :90 and :199")


def start_xvfb():
    """Starts Xvfb on a free display; returns (process, display number)."""
    xvfb = shutil.which("Xvfb")
    if not xvfb:
        raise RuntimeError("Xvfb not found (Debian: apt-get install xvfb)")
    for _attempt in range(5):
        number = free_display()
        process = subprocess.Popen(
            [xvfb, f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        deadline = time.monotonic() + 10
        path = f"/tmp/.X11-unix/X{number}"
        while time.monotonic() < deadline and process.poll() is None:
            try:
                with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
                    probe.connect(path)
                return process, number
            except OSError:
                time.sleep(0.05)
        # Lost a race for the number, or the server did not come up.
        stop(process)
    raise RuntimeError("Xvfb did not start")


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def run_once(binary, env):
    """Runs one program to its first paint; returns (start-up ms, peak RSS KiB, CPU ms)."""
    read_end, write_end = os.pipe()
    actions = [
        (os.POSIX_SPAWN_OPEN, 0, os.devnull, os.O_RDONLY, 0),
        (os.POSIX_SPAWN_DUP2, write_end, 1),
        (os.POSIX_SPAWN_CLOSE, read_end),
        (os.POSIX_SPAWN_CLOSE, write_end),
    ]
    started = time.monotonic_ns()
    pid = os.posix_spawn(binary, [binary], env, file_actions=actions)
    os.close(write_end)

    output = b""
    painted = None
    deadline = time.monotonic() + RUN_TIMEOUT_S
    try:
        while painted is None:
            left = deadline - time.monotonic()
            if left <= 0:
                raise RuntimeError(f"{binary}: no first-paint-ns line within {RUN_TIMEOUT_S:.0f} s")
            ready, _, _ = select.select([read_end], [], [], left)
            if not ready:
                continue
            chunk = os.read(read_end, 4096)
            if not chunk:
                raise RuntimeError(f"{binary}: ended without a first-paint-ns line")
            output += chunk
            for line in output.split(b"\n")[:-1]:
                if line.startswith(MARKER):
                    painted = int(line[len(MARKER):])
                    break
    except BaseException:
        os.kill(pid, signal.SIGKILL)
        os.wait4(pid, 0)
        raise
    finally:
        os.close(read_end)

    _, status, usage = os.wait4(pid, 0)
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        raise RuntimeError(f"{binary}: exited with status {code} after its first paint")
    cpu_ms = (usage.ru_utime + usage.ru_stime) * 1e3
    return (painted - started) / 1e6, usage.ru_maxrss, cpu_ms


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument(
        "galevane", nargs="?", default=os.path.join(root, "build/default/app/galevane")
    )
    parser.add_argument(
        "empty",
        nargs="?",
        default=os.path.join(root, "build/default/tools/bench/empty_window"),
    )
    parser.add_argument("--runs", type=int, default=15, help="runs of each program (min 15)")
    args = parser.parse_args()
    runs = max(args.runs, 15)
    programs = {"galevane": os.path.abspath(args.galevane), "empty": os.path.abspath(args.empty)}
    for name, path in programs.items():
        if not os.access(path, os.X_OK):
            print(f"startup: {name} program not found: {path}", file=sys.stderr)
            return 2

    xvfb = None
    runtime_dir = tempfile.mkdtemp(prefix="galevane-startup-")
    try:
        xvfb, display = start_xvfb()
        env = {
            key: value
            for key, value in os.environ.items()
            if key not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY", "XAUTHORITY")
        }
        env.update(
            DISPLAY=f":{display}",
            GALEVANE_REPORT_FIRST_PAINT="1",
            XDG_RUNTIME_DIR=runtime_dir,
        )
        print(f"startup: Xvfb on :{display}, {runs} runs of each program, alternating")

        # One unrecorded run of each first, so that neither pays alone for
        # filling the page cache and the font caches.
        for path in programs.values():
            run_once(path, env)

        results = {name: [] for name in programs}
        for index in range(runs):
            for name, path in programs.items():
                ms, rss, cpu = run_once(path, env)
                results[name].append((ms, rss, cpu))
                print(f"  run {index + 1:2d} {name:9s} {ms:8.1f} ms {rss:8d} KiB {cpu:7.1f} ms CPU")
    except RuntimeError as failure:
        print(f"startup: {failure}", file=sys.stderr)
        return 2
    finally:
        if xvfb is not None:
            stop(xvfb)
        shutil.rmtree(runtime_dir, ignore_errors=True)

    medians = {
        name: (
            statistics.median(ms for ms, _, _ in samples),
            statistics.median(rss for _, rss, _ in samples),
            statistics.median(cpu for _, _, cpu in samples),
        )
        for name, samples in results.items()
    }
    for name, (ms, rss, cpu) in medians.items():
        print(
            f"median {name:9s} start-up {ms:8.1f} ms   peak RSS {rss / 1024:7.1f} MiB"
            f"   CPU {cpu:7.1f} ms"
        )
    time_ratio = medians["galevane"][0] / medians["empty"][0]
    rss_ratio = medians["galevane"][1] / medians["empty"][1]
    cpu_ratio = medians["galevane"][2] / medians["empty"][2]
    time_met = time_ratio <= TARGET_RATIO
    rss_met = rss_ratio <= TARGET_RATIO
    print(
        f"ratio galevane/empty start-up {time_ratio:.3f} "
        f"(target <= {TARGET_RATIO}: {'met' if time_met else 'MISSED'})"
    )
    print(
        f"ratio galevane/empty peak RSS {rss_ratio:.3f} "
        f"(target <= {TARGET_RATIO}: {'met' if rss_met else 'MISSED'})"
    )
    print(f"ratio galevane/empty CPU time {cpu_ratio:.3f} (for information)")
    return 0 if time_met and rss_met else 1


if __name__ == "__main__":
    sys.exit(main())
