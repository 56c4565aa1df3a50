#!/usr/bin/python3
"""Compile the application's configured .rc file for 32-bit Windows and check
what ends up in the executable; or, with --exe, check the Windows program
itself as it is built.

The resource is compiled with the MinGW resource compiler, linked into a tiny
i686 program, and read back with pefile: machine type, the fixed version
block, the string table and its order, the translation, and the icon group
and images, which must be byte-for-byte the images of the .ico file. The
version numbers and texts must be those of the PROJECT_VERSION CMake passes
in.
"""

import argparse
import shutil
import struct
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from project_version import display_version, numbers  # noqa: E402

try:
    import pefile
except ImportError:
    sys.exit("check_version_resource: the Python module pefile is missing "
             "(Debian package python3-pefile); run this with /usr/bin/python3")


def expected_strings(version_text):
    """The string table, keys and values in the template's order."""
    return [
        ("Comments", "For 10m above sea level"),
        ("CompanyName", "Quayforth"),
        ("FileDescription", "Galevane"),
        ("LegalCopyright", "Copyright (C) Quayforth"),
        ("LegalTrademarks", "Galevane is a trademark of Quayforth"),
        ("ProductName", "galevane.exe"),
        ("FileVersion", version_text),
        ("ProductVersion", version_text),
        ("InternalName", "galevane"),
        ("OriginalFilename", "galevane.exe"),
    ]


failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print(f"FAIL: {what}")


def tool(name):
    path = shutil.which(name)
    if path is None:
        sys.exit(f"check_version_resource: {name} not found "
                 "(Debian packages gcc-mingw-w64-i686 and binutils-mingw-w64-i686)")
    return path


def run(*cmd):
    print("+", " ".join(str(c) for c in cmd), flush=True)
    subprocess.run([str(c) for c in cmd], check=True)


def read_ico(path):
    """Directory entries and image bytes of a .ico file."""
    data = path.read_bytes()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        sys.exit(f"{path} is not an icon file")
    images = []
    for i in range(count):
        w, h, colours, res, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        images.append(dict(width=w or 256, height=h or 256, colours=colours,
                           planes=planes, bits=bits, size=size,
                           data=data[offset:offset + size]))
    return images


def resource_entries(pe, type_id):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == type_id:
            return entry.directory.entries
    return []


def leaf_data(pe, name_entry):
    """The (only) language leaf of a resource name entry: (lang, bytes)."""
    langs = name_entry.directory.entries
    check(len(langs) == 1, f"resource {name_entry.id} has one language")
    leaf = langs[0]
    rva, size = leaf.data.struct.OffsetToData, leaf.data.struct.Size
    return leaf.data.lang, leaf.data.sublang, pe.get_data(rva, size)


def build_probe(args):
    """A tiny i686 program carrying the configured resource."""
    if not (args.rc and args.probe_source and args.work_dir):
        sys.exit("check_version_resource: without --exe, --rc, --probe-source and "
                 "--work-dir are needed")
    windres, cc = tool(args.windres), tool(args.cc)
    if not args.rc.is_file():
        sys.exit(f"check_version_resource: {args.rc} missing; configure the project first")
    work = args.work_dir
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    res_obj = work / "galevane_rc.o"
    exe = work / "galevane.exe"
    run(windres, "--target=pe-i386", "-i", args.rc, "-o", res_obj)
    run(cc, "-Wall", "-Wextra", "-Werror", "-O2", "-o", exe, args.probe_source, res_obj)
    return exe


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", type=Path, help="check this executable instead of a probe")
    parser.add_argument("--rc", type=Path)
    parser.add_argument("--ico", required=True, type=Path)
    parser.add_argument("--probe-source", type=Path)
    parser.add_argument("--work-dir", type=Path)
    parser.add_argument("--windres", default="i686-w64-mingw32-windres")
    parser.add_argument("--cc", default="i686-w64-mingw32-gcc")
    parser.add_argument("--project-version", required=True)
    args = parser.parse_args()
    major, minor, patch, tweak = numbers(args.project_version)
    version_ms, version_ls = (major << 16) | minor, (patch << 16) | tweak
    expected = expected_strings(display_version(args.project_version))

    if args.exe:
        exe = args.exe
        check(exe.is_file(), f"{exe} exists")
    else:
        exe = build_probe(args)

    pe = pefile.PE(str(exe))

    # Machine: 32-bit x86.
    check(pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"],
          f"machine is i386 (got {pe.FILE_HEADER.Machine:#x})")

    # Fixed part of the version block.
    check(hasattr(pe, "VS_FIXEDFILEINFO") and len(pe.VS_FIXEDFILEINFO) == 1,
          "exactly one VS_FIXEDFILEINFO")
    ffi = pe.VS_FIXEDFILEINFO[0]
    expected_fixed = dict(
        Signature=0xFEEF04BD,
        FileVersionMS=version_ms, FileVersionLS=version_ls,
        ProductVersionMS=version_ms, ProductVersionLS=version_ls,
        FileFlagsMask=0x3F, FileFlags=0x0,
        FileOS=0x4,          # VOS__WINDOWS32
        FileType=0x1,        # VFT_APP
        FileSubtype=0x0,
    )
    for field, value in expected_fixed.items():
        got = getattr(ffi, field)
        check(got == value, f"VS_FIXEDFILEINFO.{field} == {value:#x} (got {got:#x})")

    # String table: one table, 040904B0, keys and values in order.
    tables = [t for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
              for t in info.StringTable]
    check(len(tables) == 1, f"one string table (got {len(tables)})")
    if tables:
        table = tables[0]
        check(table.LangID == b"040904B0",
              f"string table language/codepage 040904B0 (got {table.LangID!r})")
        got = [(k.decode("utf-8"), v.decode("utf-8")) for k, v in table.entries.items()]
        for k, v in got:
            print(f"  {k!r}: {v!r}")
        check(got == expected,
              f"strings in order {expected}\n      got {got}")

    # Translation: English (United States), Unicode.
    translations = [var.entry for info in pe.FileInfo[0] if info.Key == b"VarFileInfo"
                    for var in info.Var]
    check(translations == [{b"Translation": "0x0409 0x04b0"}],
          f"VarFileInfo Translation 0x409, 1200 (got {translations})")

    # The raw version block: one RT_VERSION resource, id 1, English (US);
    # every string value stored NUL-terminated in UTF-16; the translation
    # value one DWORD, language then code page, after the 32-bit aligned key.
    versions = resource_entries(pe, pefile.RESOURCE_TYPE["RT_VERSION"])
    check([v.id for v in versions] == [1], "one RT_VERSION resource with id 1")
    lang, sublang, version_blob = leaf_data(pe, versions[0])
    check((lang, sublang) == (0x09, 0x01),
          f"RT_VERSION language English (US) (got {lang:#x}/{sublang:#x})")
    for key, value in expected:
        check((value + "\0").encode("utf-16-le") in version_blob,
              f"value of {key} is NUL-terminated UTF-16")
    key = "Translation\0".encode("utf-16-le")
    idx = version_blob.find(key)
    check(idx >= 0, "Translation key present")
    value = version_blob[(idx + len(key) + 3) & ~3:][:4]
    check(value == struct.pack("<HH", 0x0409, 1200),
          f"Translation value bytes 09 04 b0 04 (got {value.hex()})")

    # Icons: the application's group is id 1, the lowest, so that Explorer
    # and the taskbar pick it, with two images exactly as in the .ico file.
    # The resource alone holds nothing else; the program also carries the
    # map window's icon, a group of its own after it.
    ico_images = read_ico(args.ico)
    check([(i["width"], i["height"]) for i in ico_images] == [(32, 32), (16, 16)],
          "the .ico holds 32x32 then 16x16")
    groups = resource_entries(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    group_ids = [g.id for g in groups]
    if args.exe:
        check(group_ids[:1] == [1], f"the first icon group has id 1 (got {group_ids})")
    else:
        check(group_ids == [1], f"one icon group with id 1 (got {group_ids})")
    icons = {e.id: leaf_data(pe, e)[2] for e in resource_entries(pe, pefile.RESOURCE_TYPE["RT_ICON"])}
    if not args.exe:
        check(len(icons) == 2, f"two RT_ICON images (got {len(icons)})")
    if groups:
        _, _, group = leaf_data(pe, groups[0])
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        check((reserved, kind, count) == (0, 1, 2),
              f"group header 0, 1, 2 entries (got {reserved}, {kind}, {count})")
        for i in range(count):
            w, h, colours, _, planes, bits, size, icon_id = struct.unpack_from(
                "<BBBBHHIH", group, 6 + 14 * i)
            print(f"  icon {icon_id}: {w}x{h}, {colours} colours, {planes} plane(s), "
                  f"{bits} bpp, {size} bytes")
            ico = ico_images[i] if i < len(ico_images) else None
            expected_size = [(32, 32), (16, 16)][i] if i < 2 else None
            check((w, h) == expected_size, f"group entry {i} is {expected_size} (got {w}x{h})")
            check(colours == 16 and bits == 4 and planes == 1,
                  f"group entry {i}: 16 colours, 4 bpp, 1 plane")
            data = icons.get(icon_id)
            check(data is not None, f"RT_ICON {icon_id} exists")
            if ico is not None and data is not None:
                check(size == ico["size"] == len(data),
                      f"icon {icon_id} size {size} matches the .ico ({ico['size']})")
                check(data == ico["data"], f"icon {icon_id} bytes equal the .ico image {i}")
                # The image is a 4-bit DIB with an AND mask (transparency).
                hdr, dib_w, dib_h, _, dib_bits = struct.unpack_from("<IiiHH", data, 0)
                check((hdr, dib_w, dib_h, dib_bits) == (40, w, 2 * h, 4),
                      f"icon {icon_id} is a {w}x{h} 4 bpp DIB with mask")

    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("version resource and icon: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
