#!/usr/bin/env python3
"""Checks a Windows program, alone or in its release zip: machine type, GUI subsystem, and
imports from nothing but DLLs that every Windows has, so that the exe runs with nothing
beside it; prints the oldest Windows version its header admits. A release zip must hold
exactly Kostrel.exe and CTIMNE.TXT at its root, the text UTF-8 with a byte order mark and
CRLF line ends, as Windows Notepad needs.

Usage: check_exe.py <program.exe>|<Kostrel-version-arch.zip> i686|x86_64
"""
import struct
import sys
import zipfile

MACHINES = {"i686": (0x14C, 0x10B), "x86_64": (0x8664, 0x20B)}  # COFF machine, PE magic
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll",
               "msvcrt.dll"}
RELEASE_NAMES = ["CTIMNE.TXT", "Kostrel.exe"]


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


def check_program(name, data, processor):
    """The problems of the program named name, whose bytes are data; prints its summary."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        return [f"{name} is no PE program"]
    optional = pe + 24
    machine, magic = struct.unpack_from("<H", data, pe + 4)[0], struct.unpack_from(
        "<H", data, optional)[0]
    if (machine, magic) != MACHINES[processor]:
        return [f"machine 0x{machine:x} and magic 0x{magic:x}, expected those of "
                f"{processor}: {tuple(hex(v) for v in MACHINES[processor])}"]
    problems = []
    os_version = struct.unpack_from("<HH", data, optional + 40)
    subsystem_version = struct.unpack_from("<HH", data, optional + 48)
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    if subsystem != 2:
        problems.append(f"subsystem {subsystem}, expected 2 (Windows GUI)")
    dlls = imported_dlls(data, pe, optional, magic)
    others = sorted(set(dlls) - SYSTEM_DLLS)
    if others:
        problems.append(f"imports {sorted(dlls)}, of which {others} are not system DLLs "
                        f"{sorted(SYSTEM_DLLS)}")
    print(f"{name}: {processor}, GUI, imports {' '.join(dlls)}; its header admits Windows "
          "%d.%d or later" % max(os_version, subsystem_version))
    return problems


def check_release(path, processor):
    with zipfile.ZipFile(path) as archive:
        names = sorted(archive.namelist())
        if names != RELEASE_NAMES:
            return [f"holds {names}, expected {RELEASE_NAMES}"]
        problems = check_program(f"{path}:Kostrel.exe", archive.read("Kostrel.exe"), processor)
        text = archive.read("CTIMNE.TXT")
    if not text.startswith(b"\xef\xbb\xbf"):
        problems.append(f"CTIMNE.TXT starts with {text[:3]!r}, not the UTF-8 byte order mark")
    line_ends, crlf = text.count(b"\n"), text.count(b"\r\n")
    if line_ends == 0 or line_ends != crlf:
        problems.append(f"CTIMNE.TXT has {line_ends} line ends, {crlf} of them CRLF")
    try:
        text.decode("utf-8")
    except UnicodeDecodeError as error:
        problems.append(f"CTIMNE.TXT is not UTF-8: {error}")
    return problems


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in MACHINES:
        sys.exit(__doc__)
    path, processor = sys.argv[1:]
    if path.endswith(".zip"):
        problems = check_release(path, processor)
    else:
        with open(path, "rb") as exe:
            problems = check_program(path, exe.read(), processor)
    for problem in problems:
        print(f"FAIL: {path}: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
