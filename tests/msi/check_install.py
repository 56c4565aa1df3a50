#!/usr/bin/env python3
"""Installs, repairs, upgrades and removes the Windows installer under Wine,
and checks what each step leaves in the Wine prefix.

    check_install.py --wrapper tests/wine/run-under-wine.sh --prefix DIR
        --arch win32|win64 --msi X.msi --next-msi Y.msi
        --version V --product-code C --next-version V2 --next-product-code C2
        --exe galevane.exe --licence copyright --icon galevane.ico
        --name N --publisher P --tagline T --url U

It starts itself again inside the test wrapper (--host), which gives it an X
server, the prefix and "$GALEVANE_WINE". The prefix is its own, as the test
installs into it; a run that fails part-way leaves a mark in it, and the next
run starts from a new prefix.

The steps:
 1. the prefix's files (drive_c) and registry, as they are before;
 2. msiexec /i /qn: the program and the licence in Program Files, the
    Start-menu shortcut to the program with its icon and description, the
    entry in Programs and Features with version, publisher, web address and
    icon, and nothing else in files or registry beyond what Windows Installer
    keeps for a product;
 3. the shortcut starts the program, which paints its main window
    (GALEVANE_REPORT_FIRST_PAINT) and exits;
 4. with the program and the shortcut deleted, installing the same package
    again puts them back;
 5. the installer of the next version replaces this one: one entry in
    Programs and Features, of the next version;
 6. this version's installer then refuses to go over the newer one;
 7. msiexec /x /qn: the files and registry are as they were in step 1.
"""

import argparse
import os
import pathlib
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import shelllink  # noqa: E402

DIRTY_MARK = ".galevane-msi-test-running"
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"

failures = []


def check(condition, message):
    print(("ok: " if condition else "FAILED: ") + message, flush=True)
    if not condition:
        failures.append(message)
    return condition


class Abort(Exception):
    pass


def require(condition, message):
    if not check(condition, message):
        raise Abort(message)


def step(title):
    print(f"--- {title} ({time.monotonic() - START:.1f} s)", flush=True)


START = time.monotonic()


# --- The prefix -------------------------------------------------------------

def wine(*args, env=None, timeout=180):
    return subprocess.run([os.environ["GALEVANE_WINE"], *args], stdin=subprocess.DEVNULL,
                          capture_output=True, text=True, errors="replace",
                          env=env, timeout=timeout)


def settle(timeout=60):
    """Waits until every process of the prefix has ended and the wineserver
    has gone, so that its registry is written to the files."""
    try:
        subprocess.run([os.environ["GALEVANE_WINESERVER"], "-w"], timeout=timeout, check=False)
        return True
    except subprocess.TimeoutExpired:
        return False


def stop_wine():
    subprocess.run([os.environ["GALEVANE_WINESERVER"], "-k"], check=False)
    settle()


def msiexec(*args):
    result = wine("msiexec", *args)
    stop_wine()
    return result.returncode


def read_registry(path):
    """A registry file of the prefix as {key: {value line, ...}}: the keys'
    time stamps and #time lines dropped, continued lines joined."""
    keys = {}
    current = None
    pending = ""
    for line in path.read_text(encoding="utf-8", errors="replace").splitlines():
        if pending:
            line = pending + line.lstrip()
            pending = ""
        if line.endswith(",\\"):
            pending = line[:-1]
            continue
        if line.startswith("["):
            current = line[1:line.rindex("]")]
            keys.setdefault(current, set())
        elif current is not None and line and not line.startswith("#time="):
            keys[current].add(line)
    return keys


def registry_string(keys, key, name):
    for line in keys.get(key, ()):
        m = re.fullmatch(r'"((?:[^"\\]|\\.)*)"="((?:[^"\\]|\\.)*)"', line)
        if m and m.group(1) == name:
            return re.sub(r"\\(.)", r"\1", m.group(2))
    return None


def reg_key(path):
    # The registry files spell a backslash in a key's name as two.
    return path.replace("\\", "\\\\")


class Snapshot:
    def __init__(self, prefix):
        drive_c = prefix / "drive_c"
        self.files = {str(p.relative_to(drive_c)) for p in drive_c.rglob("*")}
        self.registry = {}
        for hive in ("system.reg", "user.reg", "userdef.reg"):
            for key, values in read_registry(prefix / hive).items():
                self.registry[(hive, key)] = values
                # Wine writes a key without values only while it has no
                # subkeys: its subkeys' keys say that it exists.
                parts = key.split("\\\\")
                for n in range(1, len(parts)):
                    self.registry.setdefault((hive, "\\\\".join(parts[:n])), set())

    def entries(self):
        out = set()
        for (hive, key), values in self.registry.items():
            out.add((hive, key, None))
            out.update((hive, key, v) for v in values)
        return out


# What changes in a prefix while programs run, whatever they are: the
# temporary folders (msiexec unpacks into them), and the devices Wine
# enumerates afresh at every start (display adapters and monitors, with the
# driver's date; sometimes written, sometimes not yet). Nothing here could be
# written by an installer of a program without drivers.
WINE_NOISE_FILES = [
    r"^users/[^/]+/(AppData/Local/)?Temp(/|$)",
    r"^windows/temp(/|$)",
]
WINE_NOISE_KEYS = [
    r"^System\\\\CurrentControlSet\\\\Control\\\\Class(\\\\|$)",
    r"^System\\\\CurrentControlSet\\\\Control\\\\Video(\\\\|$)",
    r"^System\\\\CurrentControlSet\\\\Enum(\\\\|$)",
    r"^Hardware(\\\\|$)",
]


# Where Windows Installer keeps what it knows of installed products.
INSTALLER_KEYS = [
    r"^Software\\\\Classes\\\\Installer(\\\\|$)",
    r"^Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Installer(\\\\|$)",
    r"^Software\\\\Microsoft\\\\Installer(\\\\|$)",
]


def installer_container(entry):
    """An empty key of Windows Installer's own that names no product, such as
    Classes\\Installer\\Products: made by the first install into the prefix
    and kept after the last removal, as Windows keeps it."""
    hive, key, value = entry
    return value is None and noise(INSTALLER_KEYS, key) and \
        not re.search(r"[0-9A-F]{32}|\{[0-9A-F-]{36}\}", key)


def noise(patterns, text):
    return any(re.search(p, text) for p in patterns)


def changed_files(before, after):
    added = sorted(f for f in after.files - before.files if not noise(WINE_NOISE_FILES, f))
    removed = sorted(f for f in before.files - after.files if not noise(WINE_NOISE_FILES, f))
    return added, removed


def changed_registry(before, after):
    b, a = before.entries(), after.entries()
    added = sorted((e for e in a - b if not noise(WINE_NOISE_KEYS, e[1])), key=str)
    removed = sorted((e for e in b - a if not noise(WINE_NOISE_KEYS, e[1])), key=str)
    return added, removed


def show(title, entries, limit=40):
    if entries:
        print(f"  {title}:")
        for e in entries[:limit]:
            print(f"    {e}")
        if len(entries) > limit:
            print(f"    ... {len(entries) - limit} more")


# --- The checks -------------------------------------------------------------

def packed_product(code):
    """The product code as Windows Installer's own keys spell it."""
    hex_ = code.strip("{}").replace("-", "")
    parts = [hex_[0:8], hex_[8:12], hex_[12:16]] + [hex_[i:i + 2] for i in range(16, 32, 2)]
    return "".join(p[::-1] for p in parts)


def installed_products(prefix, name):
    keys = read_registry(prefix / "system.reg")
    found = {}
    for key in keys:
        m = re.fullmatch(re.escape(reg_key(UNINSTALL)) + r"\\\\(\{[0-9A-F-]+\})", key)
        if m and registry_string(keys, key, "DisplayName") == name:
            found[m.group(1)] = registry_string(keys, key, "DisplayVersion")
    return found


def find_shortcut(prefix, name):
    """Windows puts a per-machine shortcut into the common Start menu; Wine 8
    resolves ProgramMenuFolder to the user's even with ALLUSERS=1."""
    drive_c = prefix / "drive_c"
    places = [drive_c / "ProgramData/Microsoft/Windows/Start Menu/Programs"]
    places += sorted(drive_c.glob("users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"))
    return [p / f"{name}.lnk" for p in places if (p / f"{name}.lnk").is_file()]


def windows_path(prefix, path):
    return "C:\\" + str(path.relative_to(prefix / "drive_c")).replace("/", "\\")


def check_installed(args, prefix, version, product_code):
    program_dir = prefix / "drive_c/Program Files" / args.name
    exe, licence = program_dir / "galevane.exe", program_dir / "copyright.txt"
    check(exe.is_file() and exe.read_bytes() == args.exe.read_bytes(),
          f"{windows_path(prefix, exe)} is the program as built")
    check(licence.is_file() and licence.read_bytes() == args.licence.read_bytes(),
          f"{windows_path(prefix, licence)} is packaging/copyright")

    products = installed_products(prefix, args.name)
    check(products == {"{%s}" % product_code: version},
          f"Programs and Features lists {args.name} {version} once, as {{{product_code}}}"
          f" (lists {products})")
    keys = read_registry(prefix / "system.reg")
    entry = reg_key(UNINSTALL + "\\{%s}" % product_code)
    for name, value in (("Publisher", args.publisher), ("URLInfoAbout", args.url),
                        ("DisplayVersion", version)):
        got = registry_string(keys, entry, name)
        check(got == value, f"its {name} is {value!r} (is {got!r})")
    # ARPPRODUCTICON: Windows Installer keeps the icon with the product and
    # names it in the product's key, where Programs and Features reads it.
    icon_file = f"C:\\windows\\Installer\\{{{product_code}}}\\galevane.ico"
    product_key = reg_key("Software\\Classes\\Installer\\Products\\" + packed_product(product_code))
    got = registry_string(keys, product_key, "ProductIcon")
    check(got == icon_file, f"its icon is {icon_file} (is {got!r})")
    cached_icon = prefix / f"drive_c/windows/Installer/{{{product_code}}}/galevane.ico"
    check(cached_icon.is_file() and cached_icon.read_bytes() == args.icon.read_bytes(),
          "that icon is assets/icons/galevane.ico")

    shortcuts = find_shortcut(prefix, args.name)
    if not check(len(shortcuts) == 1, f"one Start-menu shortcut {args.name}.lnk (found {shortcuts})"):
        return None
    link = shelllink.read(shortcuts[0])
    print(f"  the shortcut: {windows_path(prefix, shortcuts[0])}")
    target = f"C:\\Program Files\\{args.name}\\galevane.exe"
    check(link.target == target, f"the shortcut starts {target} (starts {link.target!r})")
    check((link.working_dir or "").rstrip("\\") == f"C:\\Program Files\\{args.name}",
          f"in its folder (in {link.working_dir!r})")
    check(link.description == args.tagline,
          f"its description is {args.tagline!r} (is {link.description!r})")
    check(link.icon_location == icon_file and link.icon_index == 0,
          f"its icon is the application icon, {icon_file},0"
          f" (is {link.icon_location!r},{link.icon_index})")
    check(not link.arguments, "it passes no arguments")
    return shortcuts[0]


def check_added_only_installer_things(args, prefix, before, after, product_code):
    added_files, removed_files = changed_files(before, after)
    program_dir = f"Program Files/{args.name}"
    expected_files = {program_dir, f"{program_dir}/galevane.exe", f"{program_dir}/copyright.txt"}
    expected_files |= {str(p.relative_to(prefix / "drive_c")) for p in find_shortcut(prefix, args.name)}
    # Windows Installer's own: the cached package and the product's icon.
    own = [r"^windows/Installer(/|$)"]
    unexpected = [f for f in added_files if f not in expected_files and not noise(own, f)]
    check(set(added_files) >= expected_files and not unexpected and not removed_files,
          "files added: the program, the licence, the shortcut and Windows Installer's own")
    show("unexpected files", unexpected)
    show("files removed", removed_files)

    added_keys, removed_keys = changed_registry(before, after)
    # Where Windows Installer registers a product; nothing of the program.
    installer_keys = INSTALLER_KEYS + [
        "^" + re.escape(reg_key(UNINSTALL + "\\{%s}" % product_code)) + "$"]
    unexpected = [e for e in added_keys if not noise(installer_keys, e[1])]
    check(not unexpected and not removed_keys,
          "registry: only what Windows Installer keeps for the product")
    show("unexpected registry entries", unexpected)
    show("registry entries removed", removed_keys)
    mentions = [e for e in added_keys if args.publisher.lower() in e[1].lower()]
    check(not mentions, f"no key named after {args.publisher}")
    show("keys naming the publisher", mentions)


def check_starts(args, prefix, shortcut):
    report = prefix.parent / (prefix.name + ".first-paint.txt")
    report.unlink(missing_ok=True)
    env = dict(os.environ, GALEVANE_REPORT_FIRST_PAINT="Z:" + str(report).replace("/", "\\"))
    # start.exe opens the shortcut as Explorer would, and returns at once.
    started = wine("start", "/unix", str(shortcut), env=env)
    check(started.returncode == 0, "start opens the shortcut")
    deadline = time.monotonic() + 60
    text = ""
    while time.monotonic() < deadline:
        if report.is_file():
            text = report.read_text(errors="replace")
            if "first-paint-since-creation-us" in text:
                break
        time.sleep(0.2)
    check("first-paint-since-creation-us" in text,
          "the program started from the shortcut paints its main window")
    print(f"  {text.strip()}")
    check(settle(60), "and exits by itself")
    report.unlink(missing_ok=True)


def run(args):
    prefix = pathlib.Path(os.environ["WINEPREFIX"])
    mark = prefix / DIRTY_MARK
    mark.touch()

    step("the prefix before")
    stop_wine()
    require(not installed_products(prefix, args.name), f"no {args.name} installed yet")
    before = Snapshot(prefix)

    step(f"install {args.msi.name}")
    require(msiexec("/i", str(args.msi), "/qn") == 0, "msiexec /i /qn succeeds")
    shortcut = check_installed(args, prefix, args.version, args.product_code)
    installed = Snapshot(prefix)
    check_added_only_installer_things(args, prefix, before, installed, args.product_code)

    if shortcut:
        step("start the installed program")
        check_starts(args, prefix, shortcut)

    step("install the same package again: a repair")
    (prefix / "drive_c/Program Files" / args.name / "galevane.exe").unlink()
    if shortcut:
        shortcut.unlink()
    require(msiexec("/i", str(args.msi), "/qn") == 0, "msiexec /i /qn of the same package succeeds")
    check_installed(args, prefix, args.version, args.product_code)

    step(f"upgrade with {args.next_msi.name}")
    require(msiexec("/i", str(args.next_msi), "/qn") == 0, "msiexec /i /qn of the next version succeeds")
    check_installed(args, prefix, args.next_version, args.next_product_code)
    check(not (prefix / f"drive_c/windows/Installer/{{{args.product_code}}}").exists(),
          "the older version's icon has gone with it")

    step(f"install {args.msi.name} over the newer version")
    check(msiexec("/i", str(args.msi), "/qn") != 0, "the older installer refuses")
    check(installed_products(prefix, args.name) == {"{%s}" % args.next_product_code: args.next_version},
          "and the newer version stays installed, alone")

    step("uninstall")
    require(msiexec("/x", str(args.next_msi), "/qn") == 0, "msiexec /x /qn succeeds")
    after = Snapshot(prefix)
    added, removed = changed_files(before, after)
    # The folder of Windows Installer's cache stays, empty, as on Windows.
    kept = [f for f in added if f == "windows/Installer"
            and not any((prefix / "drive_c" / f).iterdir())]
    added = [f for f in added if f not in kept]
    check(not added and not removed, "the prefix's files are as before the install")
    show("files left", added)
    show("files gone", removed)
    show("kept by Windows Installer", kept)
    added, removed = changed_registry(before, after)
    kept = [e for e in added if installer_container(e)]
    added = [e for e in added if e not in kept]
    check(not added and not removed, "the prefix's registry is as before the install")
    show("registry entries left", added)
    show("registry entries gone", removed)
    show("kept by Windows Installer (empty, naming no product)", kept)

    if not failures:
        mark.unlink()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    for name in ("wrapper", "prefix", "msi", "next-msi", "exe", "licence", "icon"):
        parser.add_argument("--" + name, type=pathlib.Path, required=True)
    for name in ("arch", "version", "product-code", "next-version", "next-product-code",
                 "name", "publisher", "tagline", "url"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--timeout", default="300")
    args = parser.parse_args()

    if "GALEVANE_WINE" not in os.environ:
        # Outside the wrapper: a prefix a failed run left behind goes, then
        # this script runs again inside the wrapper.
        prefix = args.prefix.resolve()
        if (prefix / DIRTY_MARK).exists():
            print(f"check_install: {prefix} is left from a failed run; starting a new one")
            shutil.rmtree(prefix)
        env = dict(os.environ, GALEVANE_WINEARCH=args.arch)
        os.execve(str(args.wrapper), [str(args.wrapper), "--prefix", str(prefix),
                                      "--timeout", args.timeout, "--host", sys.executable,
                                      str(pathlib.Path(__file__).resolve()), *sys.argv[1:]], env)

    try:
        run(args)
    except Abort:
        pass
    print(f"--- done ({time.monotonic() - START:.1f} s)")
    if failures:
        print(f"{len(failures)} check(s) failed", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
