#!/usr/bin/env python3
"""kostrel-sim as a program with its output streams pipes, as scripts run it: --help and
--version on standard output with status 0, an unknown option's usage on standard error
with status 2.

Usage: kostrel_sim_cli_test.py <kostrel-sim>
"""
import subprocess
import sys


def run(*arguments):
    done = subprocess.run([sys.argv[1], *arguments], stdin=subprocess.DEVNULL,
                          capture_output=True, text=True, timeout=60)
    return done.returncode, done.stdout, done.stderr


def main():
    for arguments in (["--help"], ["attack", "--help"], ["--version"]):
        status, out, err = run(*arguments)
        assert status == 0 and err == "" and out.startswith(("usage: kostrel-sim", "kostrel-sim ")), \
            (arguments, status, out, err)
    status, out, err = run("--bogus")
    assert status == 2 and out == "" and "usage: kostrel-sim" in err, (status, out, err)
    assert err.count("\n") == 1, err
    print("kostrel_sim_cli_test: help, version and a bad option through pipes")


if __name__ == "__main__":
    main()
