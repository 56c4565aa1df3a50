#!/usr/bin/python3
"""Checks the program's windows through the accessibility bus (AT-SPI) alone.

Run by atspi_press.sh, which starts the buses and the program:
    atspi_press.py --pid <program's pid> --status-file <file with its exit status>

Each check prints one PASS or FAIL line; a FAIL line is followed by what was
found on the bus. After the first failure the remaining checks are not run,
as each relies on the state the ones before it leave. The last line sums up;
the exit status is 0 only if every check passed.
"""

import argparse
import sys
import time
import warnings

warnings.simplefilter("ignore", DeprecationWarning)

import gi  # noqa: E402

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

TIMEOUT = 10.0  # seconds to wait for each state
EXIT_TIMEOUT = 5.0  # seconds for the program to end after Exit
POLL = 0.05

APP_NAMES = {"galevane"}
MAIN_TITLE = "Galevane"
ABOUT_NAME = "About Galevane"
HELP_NAME = "Galevane help"
MAKER_NAME = "\u00a9 Quayforth"
WINDOW_ROLES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_DIALOG}
PRESS_NAMES = ("press", "click")  # what a push button's action may be called


class CheckFailed(Exception):
    def __init__(self, message, found=None):
        super().__init__(message)
        self.found = found or []


def pump():
    """Handles what the buses have sent (an application leaving, say)."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(probe, timeout=TIMEOUT, give_up=None):
    """Polls probe() until it returns something true; None on time-out.

    The accessibility tree of a Qt program is built lazily and may be torn
    down and rebuilt as windows come and go, so every poll looks afresh and
    an object that vanished under the probe just means "not yet". give_up(),
    if given, may raise to end the wait early.
    """
    deadline = time.monotonic() + timeout
    while True:
        pump()
        if give_up:
            give_up()
        try:
            result = probe()
        except GLib.GError:
            result = None
        if result:
            return result
        if time.monotonic() >= deadline:
            return None
        time.sleep(POLL)


def fresh(accessible):
    try:
        accessible.clear_cache()
    except GLib.GError:
        pass
    return accessible


def children(accessible):
    fresh(accessible)
    result = []
    for index in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(index)
        if child is not None:
            result.append(child)
    return result


def states(accessible):
    return set(fresh(accessible).get_state_set().get_states())


def role_name(accessible):
    try:
        return accessible.get_role_name()
    except GLib.GError:
        return "?"


def name_of(accessible):
    try:
        return accessible.get_name()
    except GLib.GError:
        return "?"


def describe(accessible):
    try:
        state_names = sorted(s.value_nick for s in states(accessible))
    except GLib.GError:
        state_names = ["?"]
    return f"{name_of(accessible)!r} ({role_name(accessible)}; {', '.join(state_names)})"


def action_names(accessible):
    action = accessible.get_action_iface()
    if action is None:
        return []
    return [action.get_action_name(i) for i in range(action.get_n_actions())]


def do_action(accessible, wanted):
    """Does the first action whose name is in wanted (case-insensitive)."""
    names = action_names(accessible)
    for index, name in enumerate(names):
        if name.lower() in wanted:
            if not accessible.get_action_iface().do_action(index):
                raise CheckFailed(f"action {name!r} of {describe(accessible)} reported failure")
            return names
    raise CheckFailed(f"{describe(accessible)} has no action among {list(wanted)}; it has {names}")


def find_descendant(root, name, roles=None, depth=8):
    """Breadth first: the first object named `name` (and of one of roles)."""
    level = [root]
    for _ in range(depth):
        below = []
        for accessible in level:
            for child in children(accessible):
                if name_of(child) == name and (roles is None or child.get_role() in roles):
                    return child
                below.append(child)
        level = below
    return None


class Galevane:
    def __init__(self, pid, status_file):
        self.pid = pid
        self.status_file = status_file
        self.app = None

    def exit_status(self):
        """How the program ended, or None while it runs."""
        try:
            with open(self.status_file) as f:
                return f.read().strip()
        except FileNotFoundError:
            return None

    def still_running(self):
        status = self.exit_status()
        if status is not None:
            raise CheckFailed(f"the program (pid {self.pid}) ended, status {status}")

    def wait(self, probe):
        return wait_for(probe, give_up=self.still_running)

    # -- the application and its top-level windows --------------------------

    def desktop_apps(self):
        desktop = fresh(Atspi.get_desktop(0))
        return children(desktop)

    def find_app(self):
        for app in self.desktop_apps():
            if (name_of(app) or "").lower() not in APP_NAMES:
                continue
            try:
                pid = app.get_process_id()
            except GLib.GError:
                pid = None
            if pid in (None, self.pid):
                return app
        return None

    def found_apps(self):
        lines = []
        try:
            for app in self.desktop_apps():
                try:
                    pid = app.get_process_id()
                except GLib.GError:
                    pid = "?"
                lines.append(f"application {name_of(app)!r} (pid {pid})")
        except GLib.GError as error:
            lines.append(f"the desktop could not be read: {error}")
        return lines or ["no application on the accessibility bus"]

    def top_levels(self):
        return children(self.app)

    def found_windows(self):
        if self.app is None:
            return self.found_apps()
        try:
            windows = self.top_levels()
        except GLib.GError as error:
            return [f"the application's windows could not be read: {error}"]
        if not windows:
            return ["the application has no top-level window"]
        return ["top-level " + describe(w) for w in windows]

    def window(self, name):
        """The shown top-level window named `name`, or None."""
        for window in self.top_levels():
            if name_of(window) == name and window.get_role() in WINDOW_ROLES:
                if pyatspi.STATE_SHOWING in states(window) or pyatspi.STATE_VISIBLE in states(window):
                    return window
        return None

    def wait_window(self, name, what):
        window = self.wait(lambda: self.window(name))
        if window is None:
            raise CheckFailed(f"{what}: no top-level {name!r} (frame/window/dialog) appeared",
                              self.found_windows())
        return window

    def wait_gone(self, name, what):
        # Gone on two looks in a row, not just missing from one half-built
        # list of windows.
        looks = []

        def probe():
            looks.append(self.window(name) is None)
            return looks[-2:] == [True, True]
        if not self.wait(probe):
            raise CheckFailed(f"{what}: {name!r} is still up", self.found_windows())

    def wait_sensitive(self, window, sensitive, what):
        def probe():
            s = states(window)
            has = {pyatspi.STATE_SENSITIVE in s, pyatspi.STATE_ENABLED in s}
            return has == {sensitive}
        if not self.wait(probe):
            raise CheckFailed(f"{what}: {describe(window)}", self.found_windows())

    def wait_object(self, window, name, roles, what):
        found = self.wait(lambda: find_descendant(window, name, roles))
        if found is None:
            raise CheckFailed(f"{what}: no {name!r} in {describe(window)}", self.found_windows())
        return found

    def press(self, accessible, wanted, what):
        try:
            return do_action(accessible, wanted)
        except CheckFailed as failure:
            failure.found = self.found_windows()
            raise
        except GLib.GError as error:
            raise CheckFailed(f"{what}: the action failed: {error}", self.found_windows())


class Run:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, title, body):
        """Runs body(); it returns the detail for the PASS line or raises."""
        try:
            detail = body()
        except CheckFailed as failure:
            self.fail(title, str(failure), failure.found)
            return False
        except Exception as error:  # a broken bus, a bug here: still a clear FAIL
            self.fail(title, f"{type(error).__name__}: {error}", [])
            return False
        self.passed += 1
        print(f"PASS {title}: {detail}" if detail else f"PASS {title}", flush=True)
        return True

    def fail(self, title, message, found):
        self.failed += 1
        print(f"FAIL {title}: {message}", flush=True)
        for line in found:
            print(f"     found: {line}", flush=True)

    def all(self, label, checks):
        """Runs (title, body) checks in order up to the first failure, prints
        the summary line and returns the exit status: 0 only if all passed."""
        for title, body in checks:
            if not self.check(title, body):
                break
        not_run = len(checks) - self.passed - self.failed
        summary = f"{label}: {self.passed} passed, {self.failed} failed"
        if not_run:
            summary += f", {not_run} not run"
        print(summary, flush=True)
        return 0 if self.failed == 0 and not_run == 0 else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--status-file", required=True)
    args = parser.parse_args()

    Atspi.init()
    g = Galevane(args.pid, args.status_file)
    run = Run()
    windows = {}

    def app_on_bus():
        g.app = g.wait(g.find_app)
        if g.app is None:
            raise CheckFailed(f"no application named {sorted(APP_NAMES)} with pid {args.pid}",
                              g.found_apps())
        return f"{name_of(g.app)!r} (pid {args.pid})"

    def main_window():
        windows["main"] = w = g.wait_window(MAIN_TITLE, "main window")
        return describe(w)

    def main_maker():
        w = windows["main"]
        maker = g.wait_object(w, MAKER_NAME, None, "main window's maker label")
        windows["main maker"] = maker
        names = action_names(maker)
        if "Press" not in names:
            raise CheckFailed(f"{describe(maker)} has actions {names}, not 'Press'",
                              g.found_windows())
        if pyatspi.STATE_FOCUSABLE in states(maker):
            raise CheckFailed(f"{describe(maker)} is focusable", g.found_windows())
        return f"{describe(maker)}, actions {names}, not focusable"

    def about_from_main():
        g.press(windows["main maker"], ("press",), "Press on the main window's maker label")
        about = g.wait_window(ABOUT_NAME, "after Press on the main window's maker label")
        windows["about"] = about
        return f"{name_of(about)!r} appeared, role {role_name(about)}"

    def main_off():
        g.wait_sensitive(windows["main"], False, "the main window is still sensitive/enabled")
        if g.window(ABOUT_NAME) is None:
            raise CheckFailed("the about window went away", g.found_windows())
        return "main window neither sensitive nor enabled while the about window is up"

    def ok_about_from_main():
        ok = g.wait_object(windows["about"], "OK", {pyatspi.ROLE_PUSH_BUTTON}, "about window")
        names = g.press(ok, PRESS_NAMES, "OK in the about window")
        g.wait_gone(ABOUT_NAME, "after OK in the about window")
        g.wait_sensitive(windows["main"], True, "the main window is not sensitive again")
        return f"OK (actions {names}) closed the about window; main window sensitive again"

    def help_window():
        button = g.wait_object(windows["main"], "Help", {pyatspi.ROLE_PUSH_BUTTON}, "main window")
        names = g.press(button, PRESS_NAMES, "Help")
        windows["help"] = w = g.wait_window(HELP_NAME, "after Press on Help")
        return f"Help (actions {names}) opened {name_of(w)!r}, role {role_name(w)}"

    def help_maker():
        maker = g.wait_object(windows["help"], MAKER_NAME, None, "help window's maker label")
        windows["help maker"] = maker
        names = action_names(maker)
        if "Press" not in names:
            raise CheckFailed(f"{describe(maker)} has actions {names}, not 'Press'",
                              g.found_windows())
        return f"{describe(maker)}, actions {names}"

    def about_from_help():
        g.press(windows["help maker"], ("press",), "Press on the help window's maker label")
        about = g.wait_window(ABOUT_NAME, "after Press on the help window's maker label")
        windows["about"] = about
        if g.window(HELP_NAME) is None:
            raise CheckFailed("the help window went away", g.found_windows())
        return f"{name_of(about)!r} appeared over the help window, role {role_name(about)}"

    def ok_both():
        ok = g.wait_object(windows["about"], "OK", {pyatspi.ROLE_PUSH_BUTTON}, "about window")
        about_names = g.press(ok, PRESS_NAMES, "OK in the about window")
        g.wait_gone(ABOUT_NAME, "after OK in the about window")
        if g.window(HELP_NAME) is None:
            raise CheckFailed("OK in the about window also closed the help window",
                              g.found_windows())
        ok = g.wait_object(windows["help"], "OK", {pyatspi.ROLE_PUSH_BUTTON}, "help window")
        help_names = g.press(ok, PRESS_NAMES, "OK in the help window")
        g.wait_gone(HELP_NAME, "after OK in the help window")
        g.wait_gone(ABOUT_NAME, "after OK in the help window")
        g.wait_sensitive(windows["main"], True, "the main window is not sensitive again")
        return (f"OK in the about window (actions {about_names}), then in the help window "
                f"(actions {help_names}): both gone, main window sensitive")

    def exit_button():
        button = g.wait_object(windows["main"], "Exit", {pyatspi.ROLE_PUSH_BUTTON}, "main window")
        names = action_names(button)
        # The program may end before its answer to the action reaches us.
        lost_answer = None
        try:
            do_action(button, PRESS_NAMES)
        except GLib.GError as error:
            lost_answer = error
        status = wait_for(g.exit_status, timeout=EXIT_TIMEOUT)
        if status is None:
            found = g.found_windows()
            if lost_answer is not None:
                found.insert(0, f"the action failed: {lost_answer}")
            raise CheckFailed(f"the program (pid {args.pid}) still runs "
                              f"{EXIT_TIMEOUT:g} s after Exit", found)
        if status != "0":
            raise CheckFailed(f"the program ended with status {status}")
        return f"Exit (actions {names}) ended the program with status 0"

    checks = [
        ("application on the accessibility bus", app_on_bus),
        ("main window", main_window),
        ("maker label in the main window", main_maker),
        ("Press on it opens the about window", about_from_main),
        ("main window input off under the about window", main_off),
        ("OK dismisses the about window", ok_about_from_main),
        ("Help opens the help window", help_window),
        ("maker label in the help window", help_maker),
        ("Press on it opens the about window over the help window", about_from_help),
        ("OK dismisses the about window, then the help window", ok_both),
        ("Exit ends the program", exit_button),
    ]
    return run.all("atspi press", checks)


if __name__ == "__main__":
    sys.exit(main())
