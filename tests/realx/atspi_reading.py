#!/usr/bin/python3
"""Checks what a screen reader reads of the program, through the accessibility
bus (AT-SPI) alone: names, roles, values, descriptions and reading order.

Run by atspi_press.sh, which starts the buses and the program:
    atspi_press.sh <galevane binary> atspi_reading.py
which runs
    atspi_reading.py --pid <program's pid> --status-file <file with its exit status>

- The six boxes of the main window are combo boxes named by their headings,
  their value (the text of their edit field) their text; after force 8 is
  picked with the keyboard the knots box is still "Knots", its text "34 - 40".
- The help and about windows are dialogs whose description is their text:
  the help sentence; the contact details in reading order. The about
  window's lines come in reading order: heading, name, street, town, region,
  postcode, e-mail.
- The map is an image named "Map of the shipping forecast areas", its area
  names its description; a reader can move to it, Tab does not.

Output and exit status as atspi_press.py's: one PASS or FAIL line a check,
the remaining checks not run after a failure, a summary last.
"""

import argparse
import subprocess
import sys
import time

from atspi_press import (  # noqa: E402 (the same folder)
    ABOUT_NAME, HELP_NAME, MAIN_TITLE, MAKER_NAME, PRESS_NAMES, Atspi, CheckFailed, GLib,
    Galevane, Run, children, describe, do_action, name_of, pyatspi, role_name, states,
    wait_for)

AREAS_TITLE = "Forecast Areas"
MAP_NAME = "Map of the shipping forecast areas"
HEADINGS = ["Beaufort Force", "Description", "Knots", "M/Sec", "Mph", "Wave Height - Mtrs"]
FIRST_VALUES = {"Beaufort Force": "0", "Description": "Calm", "Knots": "Less than 1",
                "M/Sec": "0.0 - 0.2", "Mph": "Less than 1", "Wave Height - Mtrs": "0.0"}
FORCE_8 = {"Beaufort Force": "8", "Description": "Gale", "Knots": "34 - 40"}
HELP_SENTENCE = ("Select the information you require from any drop down list box, highlight, "
                 "and the others will change accordingly.")
ABOUT_LINES = ["For more information contact:-", "Quayforth,", "7 Ropewalk Lane", "Falmouth",
               "Cornwall, England", "TR11 3QF", "E - Mail:   info@quayforth.co.uk"]
AREA_NAMES = [
    "S.E. Iceland", "Faeroes", "Bailey", "Fair Isle", "Viking", "North Utsire", "South Utsire",
    "Hebrides", "Cromarty", "Forties", "Rockall", "Malin", "Forth", "Fisher", "Tyne", "Dogger",
    "German Bight", "Irish Sea", "Shannon", "Humber", "Thames", "Fastnet", "Lundy", "Dover",
    "Wight", "Portland", "Plymouth", "Sole", "Trafalgar", "Biscay"]


def description_of(accessible):
    try:
        return accessible.get_description() or ""
    except GLib.GError:
        return "?"


def text_of(accessible):
    """The whole text of an object with a text interface, else None."""
    try:
        text = accessible.get_text_iface()
        if text is None:
            return None
        return text.get_text(0, text.get_character_count())
    except GLib.GError:
        return None


def combo_boxes(window):
    return [child for child in children(window) if child.get_role() == pyatspi.ROLE_COMBO_BOX]


def box_value(box):
    """What a reader says as a combo box's value: its edit field's text."""
    for child in children(box):
        if child.get_role() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY):
            return text_of(child)
    return None


def boxes_by_name(window):
    return {name_of(box): box for box in combo_boxes(window)}


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=True, timeout=20)


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
            raise CheckFailed(f"no application with pid {args.pid}", g.found_apps())
        windows["main"] = w = g.wait_window(MAIN_TITLE, "main window")
        return f"{name_of(g.app)!r}, main window {describe(w)}"

    def boxes_named_by_headings():
        def named():
            boxes = boxes_by_name(windows["main"])
            return boxes if sorted(boxes) == sorted(HEADINGS) and len(
                combo_boxes(windows["main"])) == 6 else None
        boxes = g.wait(named)
        if boxes is None:
            found = [describe(b) for b in combo_boxes(windows["main"])]
            raise CheckFailed(f"the combo boxes are not named {HEADINGS}", found)
        values = {name: box_value(box) for name, box in boxes.items()}
        if values != FIRST_VALUES:
            raise CheckFailed(f"values {values}, not {FIRST_VALUES}")
        return ", ".join(f"{name!r} = {value!r}" for name, value in values.items())

    def boxes_keep_their_names():
        force = boxes_by_name(windows["main"])["Beaufort Force"]
        force.get_component_iface().grab_focus()  # its answer says little: see the state
        if not g.wait(lambda: pyatspi.STATE_FOCUSED in states(force)):
            raise CheckFailed(f"{describe(force)} is not focused")
        key(*["Down"] * 8)

        def picked():
            boxes = boxes_by_name(windows["main"])
            if sorted(boxes) != sorted(HEADINGS):
                return None
            values = {name: box_value(boxes[name]) for name in FORCE_8}
            return values if values == FORCE_8 else None
        values = g.wait(picked)
        if values is None:
            boxes = combo_boxes(windows["main"])
            raise CheckFailed(f"after picking force 8 not {FORCE_8}",
                              [f"{describe(b)} = {box_value(b)!r}" for b in boxes])
        knots = boxes_by_name(windows["main"])["Knots"]
        return (f"{name_of(knots)}, {role_name(knots)}, {box_value(knots)} "
                f"(description {description_of(knots)!r})")

    def check_dialog(window, description):
        if window.get_role() not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT):
            raise CheckFailed(f"{describe(window)} is a {role_name(window)}, not a dialog")
        got = description_of(window)
        if got.splitlines() != description.splitlines():
            raise CheckFailed(f"{describe(window)} has description {got!r}, "
                              f"not {description!r}")
        return f"{name_of(window)!r}, {role_name(window)}, description {got!r}"

    def help_dialog():
        button = g.wait_object(windows["main"], "Help", {pyatspi.ROLE_PUSH_BUTTON}, "main window")
        g.press(button, PRESS_NAMES, "Help")
        windows["help"] = w = g.wait_window(HELP_NAME, "after Press on Help")
        return check_dialog(w, HELP_SENTENCE)

    def about_dialog():
        maker = g.wait_object(windows["help"], MAKER_NAME, None, "help window's maker label")
        g.press(maker, ("press",), "Press on the help window's maker label")
        windows["about"] = w = g.wait_window(ABOUT_NAME, "after Press on the maker label")
        return check_dialog(w, "\n".join(ABOUT_LINES))

    def about_reading_order():
        listed = [(name_of(child), child.get_role()) for child in children(windows["about"])]
        lines = [name for name, role in listed if role == pyatspi.ROLE_LABEL]
        if lines != ABOUT_LINES:
            raise CheckFailed(f"the about window's lines come as {lines}, not {ABOUT_LINES}",
                              [f"child {name!r}" for name, _ in listed])
        names = [name for name, _ in listed]
        if "OK" not in names or names.index("OK") < names.index(ABOUT_LINES[-2]):
            raise CheckFailed(f"OK comes before the postcode: {names}")
        return " / ".join(names)

    def close_panels():
        ok = g.wait_object(windows["about"], "OK", {pyatspi.ROLE_PUSH_BUTTON}, "about window")
        g.press(ok, PRESS_NAMES, "OK in the about window")
        g.wait_gone(ABOUT_NAME, "after OK in the about window")
        ok = g.wait_object(windows["help"], "OK", {pyatspi.ROLE_PUSH_BUTTON}, "help window")
        g.press(ok, PRESS_NAMES, "OK in the help window")
        g.wait_gone(HELP_NAME, "after OK in the help window")
        g.wait_sensitive(windows["main"], True, "the main window is not sensitive again")
        return "both closed"

    def map_image():
        button = g.wait_object(windows["main"], AREAS_TITLE, {pyatspi.ROLE_PUSH_BUTTON},
                               "main window")
        g.press(button, PRESS_NAMES, "Forecast Areas")
        windows["areas"] = w = g.wait_window(AREAS_TITLE, "after Press on Forecast Areas")
        found = g.wait_object(w, MAP_NAME, None, "forecast areas window")
        windows["map"] = found
        if found.get_role() != pyatspi.ROLE_IMAGE:
            raise CheckFailed(f"{describe(found)} is a {role_name(found)}, not an image")
        description = description_of(found)
        if description != ", ".join(AREA_NAMES):
            raise CheckFailed(f"{describe(found)} has description {description!r}")
        return f"{name_of(found)!r}, {role_name(found)}, {len(AREA_NAMES)} area names"

    def map_reachable():
        found = windows["map"]
        if pyatspi.STATE_FOCUSABLE not in states(found):
            raise CheckFailed(f"{describe(found)} is not focusable")
        found.get_component_iface().grab_focus()
        if not g.wait(lambda: pyatspi.STATE_FOCUSED in states(found)):
            raise CheckFailed(f"{describe(found)} is not focused after grab_focus")
        # Tab goes to the Back button and stays among the tab stops.
        back = g.wait_object(windows["areas"], "Back", {pyatspi.ROLE_PUSH_BUTTON}, "areas")
        key("Tab")
        if not g.wait(lambda: pyatspi.STATE_FOCUSED in states(back)):
            raise CheckFailed(f"Tab from the map did not reach {describe(back)}")
        key("Tab")
        time.sleep(0.3)
        if pyatspi.STATE_FOCUSED in states(found):
            raise CheckFailed("Tab moved the focus to the map")
        return "focusable, takes the focus from assistive technology; Tab passes it by"

    def leave():
        back = g.wait_object(windows["areas"], "Back", {pyatspi.ROLE_PUSH_BUTTON}, "areas")
        g.press(back, PRESS_NAMES, "Back")
        g.wait_gone(AREAS_TITLE, "after Back")
        button = g.wait_object(windows["main"], "Exit", {pyatspi.ROLE_PUSH_BUTTON}, "main window")
        try:
            do_action(button, PRESS_NAMES)
        except GLib.GError:
            pass  # the program may end before its answer reaches us
        status = wait_for(g.exit_status, timeout=5.0)
        if status != "0":
            raise CheckFailed(f"the program ended with status {status}")
        return "Back, then Exit: status 0"

    checks = [
        ("application and main window on the accessibility bus", app_on_bus),
        ("combo boxes named by their headings, valued by their text", boxes_named_by_headings),
        ("a pick changes the values, not the names", boxes_keep_their_names),
        ("help window is a dialog that says the help sentence", help_dialog),
        ("about window is a dialog that says the contact details", about_dialog),
        ("about window's lines in reading order", about_reading_order),
        ("OK closes the about and help windows", close_panels),
        ("map is an image named and described", map_image),
        ("map reachable by a reader, not by Tab", map_reachable),
        ("Back and Exit", leave),
    ]
    return run.all("atspi reading", checks)


if __name__ == "__main__":
    sys.exit(main())
