#!/usr/bin/env python3
"""Checks a Windows program's header: machine type, GUI subsystem, and that it imports
from nothing but DLLs that every Windows has, so that the exe runs with nothing beside it.
Prints the oldest Windows version its header admits.

Usage: check_exe.py <program.exe> i686|x86_64
"""
import struct
import sys

MACHINES = {"i686": (0x14C, 0x10B), "x86_64": (0x8664, 0x20B)}  # COFF machine, PE magic
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll",
               "msvcrt.dll"}
GUI_SUBSYSTEM = 2


def imported_dlls(data, pe, optional, magic):
    """The names of the DLLs in the import directory (data directory 1)."""
    directories = optional + (96 if magic == 0x10B else 112)
    import_rva, _ = struct.unpack_from("<II", data, directories + 8)
    sections = optional + struct.unpack_from("<H", data, pe + 20)[0]

    def offset(rva):
        for n in range(struct.unpack_from("<H", data, pe + 6)[0]):
            size, address, _, raw = struct.unpack_from("<IIII", data, sections + 40 * n + 8)
            if address <= rva < address + size:
                return raw + rva - address
        raise ValueError(f"address 0x{rva:x} lies in no section")

    names, entry = [], offset(import_rva)
    while True:
        name_rva = struct.unpack_from("<5I", data, entry)[3]
        if name_rva == 0:
            return names
        start = offset(name_rva)
        names.append(data[start:data.index(b"\0", start)].decode("ascii").lower())
        entry += 20


def check(path, processor, data=None):
    """The problems of the program at path (or of its bytes, data); prints its summary."""
    if data is None:
        with open(path, "rb") as exe:
            data = exe.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        return [f"{path} is no PE program"]
    machine, magic = struct.unpack_from("<H", data, pe + 4)[0], struct.unpack_from(
        "<H", data, pe + 24)[0]
    problems = []
    if (machine, magic) != MACHINES[processor]:
        problems.append(f"machine 0x{machine:x} and magic 0x{magic:x}, expected those of "
                        f"{processor}: {tuple(hex(v) for v in MACHINES[processor])}")
        return problems
    optional = pe + 24
    os_major, os_minor = struct.unpack_from("<HH", data, optional + 40)
    sub_major, sub_minor = struct.unpack_from("<HH", data, optional + 48)
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    if subsystem != GUI_SUBSYSTEM:
        problems.append(f"subsystem {subsystem}, expected {GUI_SUBSYSTEM} (Windows GUI)")
    dlls = imported_dlls(data, pe, optional, magic)
    others = sorted(set(dlls) - SYSTEM_DLLS)
    if others:
        problems.append(f"imports {sorted(dlls)}, of which {others} are not system DLLs "
                        f"{sorted(SYSTEM_DLLS)}")
    oldest = "%d.%d" % max((os_major, os_minor), (sub_major, sub_minor))
    print(f"{path}: {processor}, GUI, imports {' '.join(dlls)}; "
          f"its header admits Windows {oldest} or later")
    return problems


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in MACHINES:
        sys.exit(__doc__)
    problems = check(sys.argv[1], sys.argv[2])
    for problem in problems:
        print(f"FAIL: {sys.argv[1]}: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
