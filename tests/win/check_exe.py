#!/usr/bin/env python3
"""Checks a Windows program, alone or in its release zip: machine type, GUI subsystem, and
imports from nothing but DLLs that every Windows has, so that the exe runs with nothing
beside it; prints the oldest Windows version its header admits. A release zip must hold
exactly Kostrel.exe and CTIMNE.TXT at its root, the text UTF-8 with a byte order mark and
CRLF line ends, as Windows Notepad needs.

Usage: check_exe.py <program.exe>|<Kostrel-version-arch.zip> i686|x86_64
"""
import os
import re
import subprocess
import sys
import tempfile
import zipfile

FORMATS = {"i686": "pei-i386", "x86_64": "pei-x86-64"}  # as the MinGW-w64 objdump names them
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll",
               "msvcrt.dll"}
RELEASE_NAMES = ["CTIMNE.TXT", "Kostrel.exe"]


def check_program(name, data, processor):
    """The problems of the program named name, whose bytes are data; prints its summary.
    The header is read by the MinGW-w64 objdump of that processor."""
    with tempfile.NamedTemporaryFile(suffix=".exe", delete=False) as exe:
        exe.write(data)
    try:
        header = subprocess.run([f"{processor}-w64-mingw32-objdump", "-p", exe.name],
                                capture_output=True, text=True, timeout=60).stdout
    finally:
        os.unlink(exe.name)
    if f"file format {FORMATS[processor]}" not in header:
        return [f"{name} is no {FORMATS[processor]} program"]
    field = dict(re.findall(r"^(\w+)\s+(\w+)", header, re.MULTILINE))
    problems = []
    if int(field.get("Subsystem", "0"), 16) != 2:
        problems.append(f"subsystem {field.get('Subsystem')}, expected 2 (Windows GUI)")
    dlls = [dll.lower() for dll in re.findall(r"DLL Name: (\S+)", header)]
    others = sorted(set(dlls) - SYSTEM_DLLS)
    if not dlls or others:
        problems.append(f"imports {sorted(dlls)}, of which {others} are not system DLLs "
                        f"{sorted(SYSTEM_DLLS)}")
    version = max((int(field[f"Major{kind}Version"]), int(field[f"Minor{kind}Version"]))
                  for kind in ("OSystem", "Subsystem"))
    print(f"{name}: {processor}, GUI, imports {' '.join(dlls)}; its header admits Windows "
          "%d.%d or later" % version)
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
    if len(sys.argv) != 3 or sys.argv[2] not in FORMATS:
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
