#!/usr/bin/python3
"""Check that everything the build made states the same version and id.

CMake passes in its PROJECT_VERSION, the application id and the application
name; this script works out the forms of the version itself and compares
them with what the build produced: the application object (through a probe
program linked like galevane), the configured Windows resource, the
configured manual page, the CPack settings of the Debian package, and the
configured desktop entry and AppStream metadata.
"""

import argparse
import re
import shlex
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from project_version import display_version, numbers, package_version  # noqa: E402

failures = []


def check(what, got, want):
    ok = got == want
    print(f"  {'ok  ' if ok else 'FAIL'} {what}: {got!r}" + ("" if ok else f", expected {want!r}"))
    if not ok:
        failures.append(what)


def probe_description(probe):
    result = subprocess.run([str(probe)], check=True, text=True, stdout=subprocess.PIPE)
    return dict(line.split("=", 1) for line in result.stdout.splitlines() if "=" in line)


def rc_fields(rc):
    text = rc.read_text(encoding="utf-8")
    fields = dict(re.findall(r"^\s*(FILEVERSION|PRODUCTVERSION)\s+(\S+)\s*$", text, re.M))
    fields.update(re.findall(r'^\s*VALUE\s+"(\w+)",\s*"([^"]*)"', text, re.M))
    return fields


def man_page_source(man_page):
    """The fourth argument of the .TH line: the program and its version."""
    for line in man_page.read_text(encoding="utf-8").splitlines():
        if line.startswith(".TH "):
            words = shlex.split(line)
            return words[4] if len(words) > 4 else None
    return None


def cpack_setting(cpack_config, name):
    match = re.search(r'^set\(%s "([^"]*)"\)' % re.escape(name),
                      cpack_config.read_text(encoding="utf-8"), re.M)
    return match.group(1) if match else None


def desktop_entry(path):
    entry, group = {}, None
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("["):
            group = line.strip("[]")
        elif group == "Desktop Entry" and "=" in line and not line.startswith("#"):
            key, value = line.split("=", 1)
            entry[key.strip()] = value.strip()
    return entry


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--project-version", required=True)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--application-name", required=True)
    parser.add_argument("--probe", required=True, type=Path)
    parser.add_argument("--rc", required=True, type=Path)
    parser.add_argument("--man-page", required=True, type=Path)
    parser.add_argument("--cpack-config", required=True, type=Path)
    parser.add_argument("--desktop-entry", required=True, type=Path)
    parser.add_argument("--metainfo", required=True, type=Path)
    args = parser.parse_args()

    app_id = args.app_id
    shown = display_version(args.project_version)
    packaged = package_version(args.project_version)
    commas = ",".join(str(n) for n in numbers(args.project_version))
    print(f"project version {args.project_version}: shown as {shown}, packaged as {packaged}")

    print("application object:")
    described = probe_description(args.probe)
    check("applicationVersion", described.get("version"), shown)
    check("applicationName", described.get("name"), args.application_name)
    check("desktopFileName", described.get("desktop-file"), app_id)

    print(f"Windows resource {args.rc}:")
    rc = rc_fields(args.rc)
    for field in ("FILEVERSION", "PRODUCTVERSION"):
        check(field, rc.get(field), commas)
    for field in ("FileVersion", "ProductVersion"):
        check(field, rc.get(field), shown)

    print(f"manual page {args.man_page}:")
    check(".TH source", man_page_source(args.man_page), f"galevane {packaged}")

    print(f"Debian package {args.cpack_config}:")
    check("CPACK_PACKAGE_VERSION", cpack_setting(args.cpack_config, "CPACK_PACKAGE_VERSION"),
          packaged)

    print(f"desktop entry {args.desktop_entry}:")
    check("file name", args.desktop_entry.name, f"{app_id}.desktop")
    entry = desktop_entry(args.desktop_entry)
    check("Icon", entry.get("Icon"), app_id)
    check("StartupWMClass", entry.get("StartupWMClass"), args.application_name)

    print(f"AppStream metadata {args.metainfo}:")
    check("file name", args.metainfo.name, f"{app_id}.metainfo.xml")
    component = ET.parse(args.metainfo).getroot()
    check("id", component.findtext("id"), app_id)
    check("launchable", component.findtext("launchable[@type='desktop-id']"), f"{app_id}.desktop")
    developer = component.find("developer")
    check("developer id", None if developer is None else developer.get("id"),
          app_id.rsplit(".", 1)[0])
    check("developer name", None if developer is None else developer.findtext("name"),
          "Quayforth")
    check("developer_name (replaced by developer)", component.find("developer_name"), None)
    check("supported controls", sorted(c.text for c in component.findall("supports/control")),
          ["keyboard", "pointing"])

    if failures:
        print(f"{len(failures)} check(s) failed: {', '.join(failures)}")
        return 1
    print("identity: version and id agree everywhere")
    return 0


if __name__ == "__main__":
    sys.exit(main())
