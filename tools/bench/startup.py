#!/usr/bin/env python3
"""Start-up cost of Galevane against the same window in plain Qt and an empty window.

Starts one Xvfb server of its own with the openbox window manager on it, then
runs the three programs alternately (galevane, plain, empty, galevane, ...),
each with GALEVANE_REPORT_FIRST_PAINT=1 so that it prints
"first-paint-ns <ns>" after its window's first paint and exits. The
timestamp is std::chrono::steady_clock, which on Linux is CLOCK_MONOTONIC, the
clock of time.monotonic_ns(). Measured per program:

  first paint   timestamp minus time.monotonic_ns() taken just before the
                spawn: median, 10th and 90th percentile
  peak RSS      the child's ru_maxrss from os.wait4, median
  CPU           user + system time of the child, to its exit just after the
                first paint, median (for information)
  instructions  with valgrind installed, the instructions (Ir) callgrind
                counts over one whole run: from exec to the exit that follows
                the first-paint report, teardown included. One run each, as
                the count barely varies from run to run

Targets, Galevane against the plain program: instructions <= 0.90 x, peak RSS
<= 0.98 x, median first paint <= 1.00 x. A target that is not measured
(--no-callgrind, or no valgrind) is reported as such and does not count.

With --libraries it also lists, for each program, the shared objects the
dynamic loader had loaded when the first paint was reported (see
loaded_libraries).

With --windows it measures, instead, what opening each of Galevane's other
windows costs (help, about, map): after the main window's first paint the
program clicks the control that opens it (GALEVANE_OPEN_AFTER_FIRST_PAINT),
and the cost runs from that click to the end of the new window's first paint:
wall time (median, p10, p90 of the runs) and callgrind's instructions of one
run. It reports and sets no target.

    tools/bench/startup.py [--runs N] [--no-callgrind] [--libraries] [--windows]
                           [--galevane PATH] [--plain PATH] [--empty PATH]

Exit status: 0 every measured target met, 1 a target missed, 2 the
measurement failed. Needs Xvfb, openbox and xprop (x11-utils); valgrind for
the instruction counts. Standard library only.
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
import textwrap
import time

RUN_TIMEOUT_S = 30.0
CALLGRIND_TIMEOUT_S = 900.0
MARKER = b"first-paint-ns "

# Galevane's value over the plain program's, at most.
TARGETS = (
    ("instructions", 0.90),
    ("peak RSS", 0.98),
    ("first paint", 1.00),
)


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
            [xvfb, f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
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


def start_openbox(display, home):
    """Starts openbox on the display and waits until it manages the screen."""
    openbox = shutil.which("openbox")
    xprop = shutil.which("xprop")
    if not openbox:
        raise RuntimeError("openbox not found (Debian: apt-get install openbox)")
    if not xprop:
        raise RuntimeError("xprop not found (Debian: apt-get install x11-utils)")
    env = dict(os.environ, HOME=home, DISPLAY=f":{display}")
    log = open(os.path.join(home, "openbox.log"), "wb")
    process = subprocess.Popen(
        [openbox, "--sm-disable"], env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=log
    )
    log.close()
    # A window manager that owns the screen sets this property on the root.
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and process.poll() is None:
        check = subprocess.run(
            [xprop, "-display", f":{display}", "-root", "_NET_SUPPORTING_WM_CHECK"],
            env=env,
            stdin=subprocess.DEVNULL,
            capture_output=True,
        )
        if b"window id" in check.stdout:
            return process
        time.sleep(0.1)
    stop(process)
    with open(os.path.join(home, "openbox.log"), "rb") as failed:
        sys.stderr.write(failed.read().decode(errors="replace"))
    raise RuntimeError("openbox did not take over the screen")


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def spawn_reading(binary, env, output_fds=(1,)):
    """Spawns `binary` with the given descriptors on one pipe; returns (pid, read end)."""
    read_end, write_end = os.pipe()
    actions = [(os.POSIX_SPAWN_OPEN, 0, os.devnull, os.O_RDONLY, 0)]
    actions += [(os.POSIX_SPAWN_DUP2, write_end, fd) for fd in output_fds]
    actions += [(os.POSIX_SPAWN_CLOSE, read_end), (os.POSIX_SPAWN_CLOSE, write_end)]
    pid = os.posix_spawn(binary, [binary], env, file_actions=actions)
    os.close(write_end)
    return pid, read_end


def read_until_end(read_end, deadline, late):
    """Yields what arrives on `read_end` until it closes; raises RuntimeError(late) at `deadline`."""
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            raise RuntimeError(late)
        ready, _, _ = select.select([read_end], [], [], left)
        if not ready:
            continue
        chunk = os.read(read_end, 65536)
        if not chunk:
            return
        yield chunk


def run_to_end(binary, env, late, output_fds=(1,)):
    """Runs `binary` until it exits; returns (everything it wrote, exit status)."""
    pid, read_end = spawn_reading(binary, env, output_fds)
    output = b""
    deadline = time.monotonic() + RUN_TIMEOUT_S
    try:
        for chunk in read_until_end(read_end, deadline, late):
            output += chunk
    except BaseException:
        os.kill(pid, signal.SIGKILL)
        os.wait4(pid, 0)
        raise
    finally:
        os.close(read_end)
    _, status, _ = os.wait4(pid, 0)
    return output, os.waitstatus_to_exitcode(status)


def run_once(binary, env):
    """Runs one program to its first paint; returns (first paint ms, peak RSS KiB, CPU ms)."""
    started = time.monotonic_ns()
    pid, read_end = spawn_reading(binary, env)

    output = b""
    painted = None
    deadline = time.monotonic() + RUN_TIMEOUT_S
    late = f"{binary}: no first-paint-ns line within {RUN_TIMEOUT_S:.0f} s"
    try:
        for chunk in read_until_end(read_end, deadline, late):
            output += chunk
            for line in output.split(b"\n")[:-1]:
                if line.startswith(MARKER):
                    painted = int(line[len(MARKER):])
                    break
            if painted is not None:
                break
        if painted is None:
            raise RuntimeError(f"{binary}: ended without a first-paint-ns line")
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


def callgrind_instructions(valgrind, binary, env, folder, name):
    """Total instructions (Ir) of one whole run under callgrind."""
    profile = os.path.join(folder, f"{name}.callgrind")
    log_path = os.path.join(folder, f"{name}.valgrind.log")
    with open(log_path, "wb") as log:
        try:
            run = subprocess.run(
                [valgrind, "--tool=callgrind", f"--callgrind-out-file={profile}", binary],
                env=env,
                stdin=subprocess.DEVNULL,
                stdout=subprocess.PIPE,
                stderr=log,
                timeout=CALLGRIND_TIMEOUT_S,
            )
        except subprocess.TimeoutExpired:
            raise RuntimeError(
                f"{binary}: no exit under callgrind within {CALLGRIND_TIMEOUT_S:.0f} s"
            ) from None
    if run.returncode != 0 or MARKER not in run.stdout:
        with open(log_path, "rb") as log:
            sys.stderr.write(log.read().decode(errors="replace")[-4000:])
        raise RuntimeError(f"{binary}: under callgrind, status {run.returncode}, no first paint")
    totals = None
    with open(profile, encoding="utf-8", errors="replace") as counts:
        for line in counts:
            if line.startswith(("totals:", "summary:")):
                totals = int(line.split()[1])
    if totals is None:
        raise RuntimeError(f"{profile}: no totals: or summary: line")
    return totals


# The windows Galevane opens from its main window, and the control there that
# opens each.
OPENINGS = (("help", "Command2"), ("about", "Label8"), ("map", "Command3"))


def labelled_times(output):
    """The "<label> <ns>" lines of a program's output, as {label: ns}."""
    times = {}
    for line in output.decode(errors="replace").splitlines():
        label, _, value = line.partition(" ")
        if label.endswith("-ns") and value.strip().isdigit():
            times[label] = int(value)
    return times


def run_opening(binary, env, control):
    """Runs Galevane to the first paint of the window `control` opens; returns ms from the click."""
    late = f"{binary}: opening with {control} did not end within {RUN_TIMEOUT_S:.0f} s"
    output, code = run_to_end(binary, dict(env, GALEVANE_OPEN_AFTER_FIRST_PAINT=control), late)
    times = labelled_times(output)
    if code != 0 or "click-ns" not in times or "window-paint-ns" not in times:
        raise RuntimeError(f"{binary}: opening with {control}: status {code}, output {output!r}")
    return (times["window-paint-ns"] - times["click-ns"]) / 1e6


def callgrind_opening(valgrind, binary, env, folder, name, control):
    """Instructions (Ir) from the click on `control` to the end of the new window's first paint.

    Callgrind zeroes its counts on entering the program's galevaneOpeningClicked
    and writes them out on entering galevaneOpeningPainted: that dump holds
    the opening alone.
    """
    # %p: the dbus autolaunch helper that Qt forks writes a profile of its own.
    profile = os.path.join(folder, f"{name}.callgrind")
    log_path = os.path.join(folder, f"{name}.valgrind.log")
    command = [
        valgrind,
        "--tool=callgrind",
        f"--callgrind-out-file={profile}.%p",
        "--zero-before=*galevaneOpeningClicked*",
        "--dump-before=*galevaneOpeningPainted*",
        binary,
    ]
    with open(log_path, "wb") as log:
        try:
            run = subprocess.run(
                command,
                env=dict(env, GALEVANE_OPEN_AFTER_FIRST_PAINT=control),
                stdin=subprocess.DEVNULL,
                stdout=subprocess.PIPE,
                stderr=log,
                timeout=CALLGRIND_TIMEOUT_S,
            )
        except subprocess.TimeoutExpired:
            raise RuntimeError(
                f"{binary}: no exit under callgrind within {CALLGRIND_TIMEOUT_S:.0f} s"
            ) from None
    # The dump made on entering galevaneOpeningPainted is the program's first,
    # <profile>.<pid>.1; the profile at the exit has no number.
    dumps = [
        p for p in os.listdir(folder) if p.startswith(f"{name}.callgrind.") and p.endswith(".1")
    ]
    painted = "window-paint-ns" in labelled_times(run.stdout)
    if run.returncode != 0 or not painted or len(dumps) != 1:
        with open(log_path, "rb") as log:
            sys.stderr.write(log.read().decode(errors="replace")[-4000:])
        raise RuntimeError(f"{binary}: under callgrind, opening with {control} failed")
    totals = None
    with open(os.path.join(folder, dumps[0]), encoding="utf-8", errors="replace") as counts:
        for line in counts:
            if line.startswith(("totals:", "summary:")):
                totals = int(line.split()[1])
    if totals is None:
        raise RuntimeError(f"{dumps[0]}: no totals: or summary: line")
    return totals


def measure_openings(binary, env, valgrind, folder, runs):
    """{window: (median ms, p10 ms, p90 ms, instructions or None)} for each of OPENINGS."""
    for _, control in OPENINGS:
        run_opening(binary, env, control)  # unrecorded warm-up
    samples = {name: [] for name, _ in OPENINGS}
    for index in range(runs):
        for name, control in OPENINGS:
            ms = run_opening(binary, env, control)
            samples[name].append(ms)
            print(f"  run {index + 1:2d} {name:6s} {ms:8.2f} ms from the click")
    results = {}
    for name, control in OPENINGS:
        counted = None
        if valgrind:
            counted = callgrind_opening(valgrind, binary, env, folder, f"open-{name}", control)
        results[name] = percentile_range(samples[name]) + (counted,)
    return results


def loaded_libraries(binary, env):
    """The shared objects loaded when the first paint is reported, in load order.

    Runs the program with LD_DEBUG=libs, its standard output and standard
    error on one pipe, so that the dynamic loader's "calling init: <path>"
    lines (one per object it loads and initialises, whether linked in or
    opened later with dlopen, such as Qt's plugins) arrive in order with the
    first-paint line. Objects initialised before that line and not finalised
    by then are the ones loaded at the first paint; the program itself is not
    listed. Returns (at first paint, loaded after it before the exit).
    """
    late = f"{binary}: did not end within {RUN_TIMEOUT_S:.0f} s"
    output, code = run_to_end(binary, dict(env, LD_DEBUG="libs"), late, output_fds=(1, 2))
    if code != 0:
        raise RuntimeError(f"{binary}: under LD_DEBUG, exited with status {code}")

    before, after, painted = [], [], False
    for raw in output.split(b"\n"):
        line = raw.decode(errors="replace")
        if raw.startswith(MARKER):
            painted = True
            continue
        _, separator, rest = line.partition("calling ")
        if not separator:
            continue
        kind, _, path = rest.partition(": ")
        path = path.strip()
        if kind == "init":
            (after if painted else before).append(path)
        elif kind == "fini" and not painted and path in before:
            before.remove(path)
    if not painted:
        raise RuntimeError(f"{binary}: under LD_DEBUG, no first-paint-ns line")
    return before, after


def measure_startup(programs, env, valgrind, folder, args):
    """Alternating runs of every program; returns (samples, instructions, libraries)."""
    instructions = {name: None for name in programs}
    libraries = {}
    # One unrecorded run of each first, so that none pays alone for
    # filling the page cache and the font caches.
    for path in programs.values():
        run_once(path, env)

    results = {name: [] for name in programs}
    for index in range(args.runs):
        for name, path in programs.items():
            ms, rss, cpu = run_once(path, env)
            results[name].append((ms, rss, cpu))
            print(f"  run {index + 1:2d} {name:9s} {ms:8.1f} ms {rss:8d} KiB {cpu:7.1f} ms CPU")

    if valgrind:
        print("startup: counting instructions under callgrind, one run each")
        for name, path in programs.items():
            instructions[name] = callgrind_instructions(valgrind, path, env, folder, name)

    if args.libraries:
        for name, path in programs.items():
            libraries[name] = loaded_libraries(path, env)
    return results, instructions, libraries


def short_name(path):
    """The file name of a library; Qt plugins keep their plugin folder."""
    marker = "/plugins/"
    if marker in path:
        return "plugins/" + path.split(marker, 1)[1]
    return os.path.basename(path)


def print_openings(openings, counted):
    print()
    print(f"{'':8s} {'from the click to its first paint, ms':>38s} {'instructions':>16s}")
    print(f"{'window':8s} {'median':>12s} {'p10':>12s} {'p90':>12s} {'Ir':>16s}")
    for name, (median, p10, p90, instructions) in openings.items():
        shown = f"{instructions:,}" if instructions is not None else "-"
        print(f"{name:8s} {median:12.2f} {p10:12.2f} {p90:12.2f} {shown:>16s}")
    if counted:
        print("instructions: callgrind's Ir of one run, from the click to the end of the first")
        print("paint of the window it opens")
    else:
        print("instructions: not counted")


def percentile_range(values):
    """(median, 10th percentile, 90th percentile)."""
    cuts = statistics.quantiles(values, n=10, method="inclusive")
    return statistics.median(values), cuts[0], cuts[-1]


def ratio(numerator, denominator):
    if numerator is None or denominator in (None, 0):
        return None
    return numerator / denominator


def print_wrapped(title, names):
    print(f"  {title} ({len(names)}):")
    text = ", ".join(names) if names else "-"
    print(textwrap.indent(textwrap.fill(text, width=96, break_on_hyphens=False), "    "))


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    build = os.path.join(root, "build/default")
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--galevane", default=os.path.join(build, "app/galevane"))
    parser.add_argument("--plain", default=os.path.join(build, "tools/bench/plain_window"))
    parser.add_argument("--empty", default=os.path.join(build, "tools/bench/empty_window"))
    parser.add_argument("--runs", type=int, default=15, help="measured runs of each program")
    parser.add_argument(
        "--no-callgrind", action="store_true", help="do not count instructions under valgrind"
    )
    parser.add_argument(
        "--libraries",
        action="store_true",
        help="also list the shared libraries each program has loaded at its first paint",
    )
    parser.add_argument(
        "--windows",
        action="store_true",
        help="measure opening galevane's help, about and map windows instead",
    )
    args = parser.parse_args()
    if args.runs < 3:
        parser.error("--runs must be at least 3")
    programs = {
        "galevane": os.path.abspath(args.galevane),
        "plain": os.path.abspath(args.plain),
        "empty": os.path.abspath(args.empty),
    }
    if args.windows:
        programs = {"galevane": programs["galevane"]}
    for name, path in programs.items():
        if not os.access(path, os.X_OK):
            print(f"startup: {name} program not found: {path}", file=sys.stderr)
            return 2
    valgrind = None if args.no_callgrind else shutil.which("valgrind")

    xvfb = openbox = None
    session_dir = tempfile.mkdtemp(prefix="galevane-startup-")
    wm_home = os.path.join(session_dir, "home")
    runtime_dir = os.path.join(session_dir, "runtime")
    os.mkdir(wm_home)
    os.mkdir(runtime_dir, 0o700)
    try:
        xvfb, display = start_xvfb()
        openbox = start_openbox(display, wm_home)
        env = {
            key: value
            for key, value in os.environ.items()
            if key not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY", "XAUTHORITY")
            and not key.startswith("LD_DEBUG")
        }
        env.update(
            DISPLAY=f":{display}",
            QT_QPA_PLATFORM="xcb",
            GALEVANE_REPORT_FIRST_PAINT="1",
            XDG_RUNTIME_DIR=runtime_dir,
        )
        if args.windows:
            print(f"startup: Xvfb on :{display} with openbox, {args.runs} openings of each window")
            openings = measure_openings(programs["galevane"], env, valgrind, session_dir, args.runs)
        else:
            print(
                f"startup: Xvfb on :{display} with openbox, {args.runs} runs of each program, "
                "alternating"
            )
            results, instructions, libraries = measure_startup(
                programs, env, valgrind, session_dir, args
            )
    except RuntimeError as failure:
        print(f"startup: {failure}", file=sys.stderr)
        return 2
    finally:
        if openbox is not None:
            stop(openbox)
        if xvfb is not None:
            stop(xvfb)
        shutil.rmtree(session_dir, ignore_errors=True)

    if args.windows:
        print_openings(openings, valgrind is not None)
        return 0

    summary = {}
    for name, samples in results.items():
        paint = percentile_range([ms for ms, _, _ in samples])
        summary[name] = {
            "first paint": paint[0],
            "range": paint,
            "peak RSS": statistics.median(rss for _, rss, _ in samples),
            "CPU": statistics.median(cpu for _, _, cpu in samples),
            "instructions": instructions[name],
        }

    print()
    print(f"{'':10s} {'first paint ms':>26s} {'peak RSS':>10s} {'CPU':>8s} {'instructions':>16s}")
    print(
        f"{'program':10s} {'median':>8s} {'p10':>8s} {'p90':>8s} {'MiB':>10s} {'ms':>8s} "
        f"{'Ir':>16s}"
    )
    for name, row in summary.items():
        median, p10, p90 = row["range"]
        counted = f"{row['instructions']:,}" if row["instructions"] is not None else "-"
        print(
            f"{name:10s} {median:8.1f} {p10:8.1f} {p90:8.1f} {row['peak RSS'] / 1024:10.1f} "
            f"{row['CPU']:8.1f} {counted:>16s}"
        )
    if valgrind:
        print("instructions: callgrind's total Ir of one run, from exec to the exit that follows")
        print("the first-paint report (so including the teardown after the first paint)")
    else:
        why = "--no-callgrind" if args.no_callgrind else "valgrind is not installed"
        print(f"instructions: not counted ({why})")

    print()
    print(f"{'ratio':15s} {'first paint':>12s} {'peak RSS':>10s} {'CPU':>8s} {'instructions':>13s}")
    for other in ("plain", "empty"):
        cells = []
        for key in ("first paint", "peak RSS", "CPU", "instructions"):
            value = ratio(summary["galevane"][key], summary[other][key])
            cells.append("-" if value is None else f"{value:.3f}")
        print(
            f"{'galevane/' + other:15s} {cells[0]:>12s} {cells[1]:>10s} {cells[2]:>8s} "
            f"{cells[3]:>13s}"
        )

    print()
    missed = False
    for key, limit in TARGETS:
        value = ratio(summary["galevane"][key], summary["plain"][key])
        label = "median first paint" if key == "first paint" else key
        if value is None:
            verdict, shown = "not measured", "-"
        else:
            verdict, shown = ("met" if value <= limit else "MISSED"), f"{value:.3f}"
            missed = missed or value > limit
        print(f"target galevane/plain {label:18s} <= {limit:.2f}: {shown:>6s} {verdict}")

    if args.libraries:
        print()
        print("shared libraries loaded at the first paint (LD_DEBUG=libs, in load order,")
        print("linked ones and those opened with dlopen; the program itself not listed)")
        for name, (before, after) in libraries.items():
            print(f"{name}:")
            print_wrapped("at first paint", [short_name(path) for path in before])
            if after:
                print_wrapped("loaded after it, before the exit", [short_name(p) for p in after])
        plain_names = {short_name(path) for path in libraries["plain"][0]}
        print("galevane against plain, at first paint:")
        galevane_names = [short_name(path) for path in libraries["galevane"][0]]
        print_wrapped(
            "only in galevane", [n for n in galevane_names if n not in plain_names]
        )
        print_wrapped(
            "only in plain",
            [n for n in map(short_name, libraries["plain"][0]) if n not in galevane_names],
        )

    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
