#!/usr/bin/env python3
"""`cmake --install` of the native build into a scratch prefix: the files a player finds,
each manual page rendered by man without a warning, the desktop entry valid, and the
installed kostrel-tui answering on the command line with its standard output a pipe and no
terminal at all.

Usage: install_test.py <cmake> <build-dir> <version>
"""
import os
import subprocess
import sys
import tempfile

FILES = {"bin/kostrel-tui", "bin/kostrel-sim", "share/man/man6/kostrel-tui.6.gz",
         "share/man/man6/kostrel-sim.6.gz", "share/man/cs/man6/kostrel-tui.6.gz",
         "share/applications/kostrel-tui.desktop", "share/doc/kostrel-tui/README.md",
         "share/doc/kostrel-tui/LICENSE"}
# What a page must tell beside the keys: the game's environment, in both languages.
TOLD = {"kostrel-tui": ("XDG_DATA_HOME", "XDG_STATE_HOME", "NO_COLOR", "best-result",
                        "last-game.replay", "--adversary", "--replay"),
        "kostrel-sim": ("adversaries", "attack", "replay", "--adversary")}


def run(*command, env=None):
    return subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          timeout=60, env=env)


def main():
    cmake, build, version = sys.argv[1:]
    failures = []
    with tempfile.TemporaryDirectory(prefix="kostrel-install-") as prefix:
        done = run(cmake, "--install", build, "--prefix", prefix)
        if done.returncode != 0:
            sys.exit(f"install_test: cmake --install failed:\n{done.stderr}")
        found = {os.path.relpath(os.path.join(folder, name), prefix)
                 for folder, _, names in os.walk(prefix) for name in names}
        if found != FILES:
            failures.append(f"installed {sorted(found)}, expected {sorted(FILES)}")

        manual = dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="80")
        for page in sorted(name for name in found if name.endswith(".6.gz")):
            done = run("man", "--warnings", "-l", os.path.join(prefix, page), env=manual)
            missing = [word for word in TOLD[os.path.basename(page)[:-5]]
                       if word not in done.stdout]
            if done.returncode != 0 or done.stderr or missing:
                failures.append(f"man -l {page}: status {done.returncode}, missing {missing}, "
                                f"warnings:\n{done.stderr}")

        done = run("desktop-file-validate",
                   os.path.join(prefix, "share/applications/kostrel-tui.desktop"))
        if done.returncode != 0 or done.stdout or done.stderr:
            failures.append(f"desktop-file-validate: {done.stdout}{done.stderr}")

        # (arguments, exit status, the stream that answers, what it starts with)
        for arguments, status, stream, start in (
                (["--help"], 0, "stdout", "Použití: kostrel-tui"),
                (["--version"], 0, "stdout", f"kostrel-tui {version}\n"),
                (["--version", "--hlep"], 0, "stdout", f"kostrel-tui {version}\n"),
                (["--hlep"], 2, "stderr", "kostrel-tui: neznámá volba „--hlep“\nPoužití:"),
                (["--help=1"], 2, "stderr", "kostrel-tui: volba „--help“ nebere hodnotu\n")):
            done = run(os.path.join(prefix, "bin/kostrel-tui"), *arguments)
            quiet = done.stderr if stream == "stdout" else done.stdout
            if (done.returncode, quiet) != (status, "") or \
                    not getattr(done, stream).startswith(start):
                failures.append(f"kostrel-tui {' '.join(arguments)}: status {done.returncode}, "
                                f"stdout {done.stdout!r}, stderr {done.stderr!r}")
    if failures:
        sys.exit("install_test: FAILED:\n" + "\n".join(failures))
    print(f"install_test: {len(FILES)} files installed and checked")


if __name__ == "__main__":
    main()
