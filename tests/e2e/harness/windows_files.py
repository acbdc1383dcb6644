"""What a Windows program left in a prefix, read from the prefix's files: shell links (.lnk) and the
registry's keys (system.reg, user.reg; written when the prefix's wineserver ends)."""

import re
import struct
from dataclasses import dataclass
from pathlib import Path, PureWindowsPath

_HAS_ID_LIST, _HAS_LINK_INFO, _HAS_NAME, _HAS_RELATIVE_PATH, _HAS_WORKING_DIR = 0x1, 0x2, 0x4, 0x8, 0x10
_IS_UNICODE = 0x80
_LINK_INFO_HAS_LOCAL_PATH = 0x1


@dataclass(frozen=True)
class ShellLink:
    target: str  # Windows path of the program it starts
    working_dir: str  # Windows path of the folder it starts it in ("" for none)


def read_shell_link(path):
    """The target and working directory of a shell link file."""
    data = Path(path).read_bytes()
    if len(data) < 0x4C or struct.unpack_from("<I", data, 0)[0] != 0x4C:
        raise ValueError(f"{path} is not a shell link")
    flags = struct.unpack_from("<I", data, 0x14)[0]
    offset = 0x4C
    if flags & _HAS_ID_LIST:
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    target = ""
    if flags & _HAS_LINK_INFO:
        size, header_size, info_flags, _, local_offset = struct.unpack_from("<5I", data, offset)
        if info_flags & _LINK_INFO_HAS_LOCAL_PATH:
            if header_size >= 0x24:
                unicode_offset = struct.unpack_from("<I", data, offset + 0x1C)[0]
                target = _utf16z(data, offset + unicode_offset)
            else:
                target = _ansiz(data, offset + local_offset)
        offset += size
    strings = []
    for flag in (_HAS_NAME, _HAS_RELATIVE_PATH, _HAS_WORKING_DIR):
        if flags & flag:
            count = struct.unpack_from("<H", data, offset)[0]
            width = 2 if flags & _IS_UNICODE else 1
            raw = data[offset + 2:offset + 2 + count * width]
            # Wine counts the terminating NUL of the working directory too.
            strings.append((flag, raw.decode("utf-16-le" if width == 2 else "cp1252").rstrip("\0")))
            offset += 2 + count * width
    working_dir = dict(strings).get(_HAS_WORKING_DIR, "")
    return ShellLink(target, working_dir)


def _utf16z(data, offset):
    end = offset
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[offset:end].decode("utf-16-le")


def _ansiz(data, offset):
    return data[offset:data.index(b"\0", offset)].decode("cp1252")


def unix_path(prefix, windows_path):
    """Where a C: path of the prefix lies on this machine."""
    path = PureWindowsPath(windows_path)
    if path.drive.upper() != "C:":
        raise ValueError(f"{windows_path} is not on C:")
    return Path(prefix, "drive_c", *path.parts[1:])


_ESCAPE = re.compile(r'\\(x[0-9a-fA-F]{1,4}|.)')


def _unescape(text):
    def replace(match):
        code = match.group(1)
        if code[0] == "x":
            return chr(int(code[1:], 16))
        return {"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(code, code)

    return _ESCAPE.sub(replace, text)


def read_registry_key(reg_file, key):
    """The values of one key of a Wine registry file as {name: str or int}; None when the key is absent. `key`
    is relative to the file's root (e.g. Software\\Microsoft\\... in system.reg, which holds HKLM)."""
    header = "[" + key.replace("\\", "\\\\") + "]"
    values = None
    for line in Path(reg_file).read_text(encoding="utf-8", errors="replace").splitlines():
        if line.startswith("["):
            if values is not None:
                break
            if line.split("] ", 1)[0] + "]" == header or line == header:
                values = {}
            continue
        if values is None:
            continue
        match = re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)
        if not match:
            continue
        name, value = _unescape(match.group(1)), match.group(2)
        if value.startswith('"'):
            values[name] = _unescape(value[1:-1])
        elif value.startswith("dword:"):
            values[name] = int(value[6:], 16)
        else:
            values[name] = value
    return values
