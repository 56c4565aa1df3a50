#!/usr/bin/env python3
"""Checks the Windows packages as built, without Wine.

    check_packages.py msi --msi X.msi --exe galevane.exe --licence copyright
        --arch x86|x64 --version V --product-code C --upgrade-code C
        --name N --publisher P --tagline T --url U
    check_packages.py zip --zip X.zip --exe galevane.exe --licence copyright

msi: reads the installer's tables with msiinfo and its files with
msiextract: the identity in the Property table, one Start-menu shortcut to
the program with the icon and the tagline, the Upgrade table that replaces an
older version and refuses to go over a newer one, the folder for the
processor, the two files as built and no Registry rows.
zip: the portable zip holds exactly the program and the licence, as built.
"""

import argparse
import pathlib
import subprocess
import sys
import tempfile
import zipfile

failures = []


def check(condition, message):
    print(("ok: " if condition else "FAILED: ") + message)
    if not condition:
        failures.append(message)


def table(msi, name):
    """The rows of a table as dicts of column name to text."""
    text = subprocess.run(["msiinfo", "export", str(msi), name], check=True,
                          capture_output=True, text=True).stdout
    lines = text.split("\r\n") if "\r\n" in text else text.split("\n")
    columns = lines[0].split("\t")
    # Lines 2 and 3 are the column types and the table's name and keys.
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def check_msi(args):
    msi = args.msi
    tables = subprocess.run(["msiinfo", "tables", str(msi)], check=True,
                            capture_output=True, text=True).stdout.split()

    properties = {row["Property"]: row["Value"] for row in table(msi, "Property")}
    expected = {
        "ProductName": args.name,
        "Manufacturer": args.publisher,
        "ProductVersion": args.version,
        "ProductCode": "{%s}" % args.product_code,
        "UpgradeCode": "{%s}" % args.upgrade_code,
        "ALLUSERS": "1",
        "ARPPRODUCTICON": "galevane.ico",
        "ARPURLINFOABOUT": args.url,
    }
    for key, value in expected.items():
        check(properties.get(key) == value, f"Property {key} is {value!r} (is {properties.get(key)!r})")

    summary = subprocess.run(["msiinfo", "suminfo", str(msi)], check=True,
                             capture_output=True, text=True).stdout
    template = {"x86": "Intel;1033", "x64": "x64;1033"}[args.arch]
    check(f"Template: {template}\n" in summary, f"the package is for {template}")
    check(f"Author: {args.publisher}\n" in summary, f"the package's author is {args.publisher}")

    icons = [row["Name"] for row in table(msi, "Icon")]
    check(icons == ["galevane.ico"], f"one icon, galevane.ico (are {icons})")

    shortcuts = table(msi, "Shortcut")
    check(len(shortcuts) == 1, f"one shortcut (are {len(shortcuts)})")
    if shortcuts:
        s = shortcuts[0]
        for column, value in (("Directory_", "ProgramMenuFolder"), ("Name", args.name),
                              ("Target", "[#galevane.exe]"), ("Description", args.tagline),
                              ("Icon_", "galevane.ico"), ("IconIndex", "0"),
                              ("WkDir", "INSTALLDIR"), ("Component_", "Program")):
            check(s.get(column) == value, f"Shortcut {column} is {value!r} (is {s.get(column)!r})")

    # No Registry rows at all: the shortcut's component has the executable
    # as its key path, and the program keeps no settings.
    registry = table(msi, "Registry") if "Registry" in tables else []
    check(registry == [], f"no Registry rows (are {len(registry)})")

    program_files = {"x86": "ProgramFilesFolder", "x64": "ProgramFiles64Folder"}[args.arch]
    directories = {row["Directory"]: row for row in table(msi, "Directory")}
    install_dir = directories.get("INSTALLDIR", {})
    check(install_dir.get("Directory_Parent") == program_files
          and install_dir.get("DefaultDir") == args.name,
          f"installs into {program_files}\\{args.name} (is {install_dir})")

    components = table(msi, "Component")
    win64 = {"x86": 0, "x64": 256}[args.arch]
    check(sorted(c["Component"] for c in components) == ["Licence", "Program"],
          "two components, Program and Licence")
    check(all(int(c["Attributes"]) & 256 == win64 for c in components),
          f"components are {'64' if win64 else '32'}-bit")
    keys = {c["Component"]: c["KeyPath"] for c in components}
    check(keys.get("Program") == "galevane.exe", "the program's key path is galevane.exe")

    files = {row["FileName"]: row for row in table(msi, "File")}
    check(sorted(files) == ["copyright.txt", "galevane.exe"],
          f"two files, galevane.exe and copyright.txt (are {sorted(files)})")

    # The Upgrade table MajorUpgrade makes: one row finds older versions, to
    # remove them (RemoveExistingProducts); the other finds newer ones only
    # to detect them, and a launch condition then refuses the install.
    upgrades = table(msi, "Upgrade")
    older = [u for u in upgrades if u["VersionMax"] == args.version and not u["VersionMin"]
             and int(u["Attributes"]) & 0x202 == 0]
    newer = [u for u in upgrades if u["VersionMin"] == args.version and not u["VersionMax"]
             and int(u["Attributes"]) & 0x102 == 0x002]
    check(len(upgrades) == 2 and older and newer,
          "Upgrade rows find older versions (below this one) and newer ones (detect only)")
    check(all(u["UpgradeCode"] == "{%s}" % args.upgrade_code for u in upgrades),
          "the Upgrade rows look for this upgrade code")
    sequence = {row["Action"]: row for row in table(msi, "InstallExecuteSequence")}
    check("FindRelatedProducts" in sequence and "RemoveExistingProducts" in sequence,
          "the install finds related products and removes the older ones")
    if older:
        conditions = [row["Condition"] for row in table(msi, "LaunchCondition")]
        newer_property = newer[0]["ActionProperty"] if newer else "?"
        check(f"NOT {newer_property}" in conditions, "a newer version installed stops the install")
    repair = sequence.get("RepairWhenInstalledAgain", {})
    check(repair.get("Condition") == "Installed AND NOT REMOVE AND NOT REINSTALL",
          "installing the same package again reinstalls it")

    # The files themselves, unpacked from the embedded cabinet.
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["msiextract", "-C", tmp, str(msi)], check=True, capture_output=True)
        unpacked = sorted(str(p.relative_to(tmp)) for p in pathlib.Path(tmp).rglob("*") if p.is_file())
        # msiextract 0.101 names the 32-bit Program Files only; the 64-bit
        # folder's files come out in a folder of the program's name.
        folder = {"x86": f"Program Files/{args.name}", "x64": args.name}[args.arch]
        want = [f"{folder}/copyright.txt", f"{folder}/galevane.exe"]
        check(unpacked == want, f"the package unpacks to {want} (is {unpacked})")
        if unpacked == want:
            check((pathlib.Path(tmp) / want[1]).read_bytes() == args.exe.read_bytes(),
                  "the packed galevane.exe is the one built")
            check((pathlib.Path(tmp) / want[0]).read_bytes() == args.licence.read_bytes(),
                  "the packed copyright.txt is packaging/copyright")


def check_zip(args):
    with zipfile.ZipFile(args.zip) as z:
        names = z.namelist()
        check(sorted(names) == ["copyright.txt", "galevane.exe"],
              f"the zip holds galevane.exe and copyright.txt at its top (holds {names})")
        if "galevane.exe" in names:
            check(z.read("galevane.exe") == args.exe.read_bytes(), "its galevane.exe is the one built")
        if "copyright.txt" in names:
            check(z.read("copyright.txt") == args.licence.read_bytes(),
                  "its copyright.txt is packaging/copyright")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="what", required=True)
    msi = sub.add_parser("msi")
    msi.add_argument("--msi", type=pathlib.Path, required=True)
    for name in ("arch", "version", "product-code", "upgrade-code", "name", "publisher",
                 "tagline", "url"):
        msi.add_argument("--" + name, required=True)
    zip_ = sub.add_parser("zip")
    zip_.add_argument("--zip", type=pathlib.Path, required=True)
    for p in (msi, zip_):
        p.add_argument("--exe", type=pathlib.Path, required=True)
        p.add_argument("--licence", type=pathlib.Path, required=True)
    args = parser.parse_args()
    (check_msi if args.what == "msi" else check_zip)(args)
    if failures:
        print(f"{len(failures)} check(s) failed", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
