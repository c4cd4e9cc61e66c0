#!/usr/bin/env python3
"""Checks the Debian package without installing it: its control fields, its files as
dpkg-deb lists them, the unpacked kostrel-tui answering --version, and lintian finding no
error (its warnings are printed). scripts/package.sh runs it on the package it makes.

Usage: check_deb.py <kostrel-tui_VERSION_ARCH.deb>
"""
import os
import subprocess
import sys
import tempfile

DOCS = "usr/share/doc/kostrel-tui/"
FILES = {"usr/games/kostrel-tui", "usr/games/kostrel-sim", "usr/share/man/man6/kostrel-tui.6.gz",
         "usr/share/man/man6/kostrel-sim.6.gz", "usr/share/man/cs/man6/kostrel-tui.6.gz",
         "usr/share/applications/kostrel-tui.desktop", DOCS + "README.md", DOCS + "copyright",
         DOCS + "changelog.Debian.gz"}


def output(*command):
    return subprocess.run(command, capture_output=True, text=True, timeout=300, check=True).stdout


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    deb = sys.argv[1]
    version = os.path.basename(deb).split("_")[1]
    failures = []
    fields = dict(line.split(": ", 1) for line in output(
        "dpkg-deb", "--field", deb, "Section", "Version", "Depends").splitlines())
    description = output("dpkg-deb", "--field", deb, "Description").splitlines()
    if (fields["Section"], fields["Version"]) != ("games", version) or \
            "libncursesw6" not in fields["Depends"] or len(description) < 3:
        failures.append(f"fields {fields}, description {description}")

    listed = {line.split(maxsplit=5)[5].removeprefix("./")
              for line in output("dpkg-deb", "--contents", deb).splitlines()
              if line.startswith("-")}
    if listed != FILES:
        failures.append(f"files {sorted(listed)}, expected {sorted(FILES)}")

    with tempfile.TemporaryDirectory(prefix="kostrel-deb-") as folder:
        output("dpkg-deb", "--extract", deb, folder)
        said = output(os.path.join(folder, "usr/games/kostrel-tui"), "--version")
        if not said.startswith(f"kostrel-tui {version}\n"):
            failures.append(f"the unpacked kostrel-tui --version says {said!r}")

    linted = subprocess.run(["lintian", "--fail-on", "error", "--tag-display-limit", "0", deb],
                            capture_output=True, text=True, timeout=600)
    print(f"check_deb: lintian on {os.path.basename(deb)}:\n{linted.stdout}", end="")
    if linted.returncode != 0:
        failures.append(f"lintian: status {linted.returncode}\n{linted.stderr}")
    if failures:
        sys.exit("check_deb: FAILED:\n" + "\n".join(failures))
    print(f"check_deb: {deb}: {len(FILES)} files, fields and lintian checked")


if __name__ == "__main__":
    main()
