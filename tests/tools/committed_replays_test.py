#!/usr/bin/env python3
"""The attacker's games kept in replays/ are refereed by `kostrel-sim replay`: each replays to
the rows, pieces and end that the README's table of them claims, and every adversary has one.
A file is its code on one line that one LF ends.

Usage: committed_replays_test.py <kostrel-sim> <source dir>
"""
import os
import re
import subprocess
import sys

ROW = re.compile(r"^\| `([a-z]+)` \| (\d+) \| (\d+) \| (ended|running) \| "
                 r"\[replays/\1\.replay\]\(replays/\1\.replay\) \|$", re.MULTILINE)


def main():
    sim, root = sys.argv[1], sys.argv[2]
    with open(os.path.join(root, "README.md"), encoding="utf-8") as readme:
        claims = ROW.findall(readme.read())
    adversaries = [line.split("\t")[0] for line in subprocess.run(
        [sim, "adversaries"], capture_output=True, text=True, check=True).stdout.splitlines()]
    assert sorted(claim[0] for claim in claims) == sorted(adversaries), claims
    for adversary, rows, pieces, end in claims:
        with open(os.path.join(root, "replays", adversary + ".replay"), "rb") as kept:
            code = kept.read()
        assert code.count(b"\n") == 1 and code.endswith(b"\n") and b"\r" not in code, adversary
        replayed = subprocess.run([sim, "replay"], input=code, capture_output=True, check=True,
                                  timeout=60).stdout.decode().splitlines()[-4:]
        over = "1" if end == "ended" else "0"
        assert replayed == [f"adversary {adversary}", f"rows {rows}", f"pieces {pieces}",
                            f"over {over}"], (adversary, replayed)
    print(f"committed_replays_test: {len(claims)} games replay to the README's table")


if __name__ == "__main__":
    main()
