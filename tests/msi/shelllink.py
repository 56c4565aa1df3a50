"""A reader of Windows shortcuts (.lnk, the Shell Link Binary File Format),
as far as the installer tests need: the target path, the working folder,
the description, the arguments and the icon.

    link = shelllink.read(path)
    link.target, link.working_dir, link.description, link.icon_location, ...
"""

import struct
from dataclasses import dataclass

HEADER_SIZE = 0x4C
LINK_CLSID = bytes.fromhex("0114020000000000c000000000000046")

# LinkFlags
HAS_TARGET_ID_LIST = 0x01
HAS_LINK_INFO = 0x02
HAS_NAME = 0x04
HAS_RELATIVE_PATH = 0x08
HAS_WORKING_DIR = 0x10
HAS_ARGUMENTS = 0x20
HAS_ICON_LOCATION = 0x40
IS_UNICODE = 0x80

# LinkInfoFlags
VOLUME_ID_AND_LOCAL_BASE_PATH = 0x01


@dataclass
class ShellLink:
    target: str | None = None
    description: str | None = None
    relative_path: str | None = None
    working_dir: str | None = None
    arguments: str | None = None
    icon_location: str | None = None
    icon_index: int = 0
    show_command: int = 1


def _c_string(data: bytes, offset: int) -> str:
    end = data.index(b"\0", offset)
    return data[offset:end].decode("cp1252")


def _wide_string(data: bytes, offset: int) -> str:
    end = offset
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[offset:end].decode("utf-16-le")


def _link_info_path(info: bytes) -> str | None:
    (_size, header_size, flags, _volume, local_base, _network,
     suffix) = struct.unpack_from("<7I", info, 0)
    if not flags & VOLUME_ID_AND_LOCAL_BASE_PATH:
        return None
    if header_size >= 0x24:
        local_base_w, suffix_w = struct.unpack_from("<2I", info, 28)
        return _wide_string(info, local_base_w) + _wide_string(info, suffix_w)
    return _c_string(info, local_base) + _c_string(info, suffix)


def parse(data: bytes) -> ShellLink:
    if len(data) < HEADER_SIZE or struct.unpack_from("<I", data, 0)[0] != HEADER_SIZE \
            or data[4:20] != LINK_CLSID:
        raise ValueError("not a shell link")
    flags = struct.unpack_from("<I", data, 20)[0]
    link = ShellLink()
    link.icon_index, link.show_command = struct.unpack_from("<iI", data, 56)
    pos = HEADER_SIZE
    if flags & HAS_TARGET_ID_LIST:
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    if flags & HAS_LINK_INFO:
        size = struct.unpack_from("<I", data, pos)[0]
        link.target = _link_info_path(data[pos:pos + size])
        pos += size
    # The strings follow in this order, each a count of characters and the
    # characters, without terminator; Wine 8 writes the terminator too and
    # counts it, so one at the end is dropped.
    for flag, field in ((HAS_NAME, "description"), (HAS_RELATIVE_PATH, "relative_path"),
                        (HAS_WORKING_DIR, "working_dir"), (HAS_ARGUMENTS, "arguments"),
                        (HAS_ICON_LOCATION, "icon_location")):
        if not flags & flag:
            continue
        count = struct.unpack_from("<H", data, pos)[0]
        pos += 2
        if flags & IS_UNICODE:
            text = data[pos:pos + 2 * count].decode("utf-16-le")
            pos += 2 * count
        else:
            text = data[pos:pos + count].decode("cp1252")
            pos += count
        setattr(link, field, text.removesuffix("\0"))
    return link


def read(path) -> ShellLink:
    with open(path, "rb") as f:
        return parse(f.read())
