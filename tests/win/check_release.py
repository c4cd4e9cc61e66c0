#!/usr/bin/env python3
"""Checks a release zip: exactly Kostrel.exe and CTIMNE.TXT at its root, the program a
GUI program of the named processor importing system DLLs only, and the text UTF-8 with a
byte order mark and CRLF line ends, as Windows Notepad needs.

Usage: check_release.py <Kostrel-version-arch.zip> i686|x86_64
"""
import os
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_exe  # noqa: E402

NAMES = ["CTIMNE.TXT", "Kostrel.exe"]


def check(zip_path, processor):
    with zipfile.ZipFile(zip_path) as archive:
        names = sorted(archive.namelist())
        if names != NAMES:
            return [f"holds {names}, expected {NAMES}"]
        problems = check_exe.check(f"{zip_path}:Kostrel.exe", processor,
                                   archive.read("Kostrel.exe"))
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
    if len(sys.argv) != 3 or sys.argv[2] not in check_exe.MACHINES:
        sys.exit(__doc__)
    problems = check(*sys.argv[1:])
    for problem in problems:
        print(f"FAIL: {sys.argv[1]}: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
