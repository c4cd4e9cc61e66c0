#!/usr/bin/env python3
"""Measures kostrel-tui in a private tmux server at 80 x 24: the CPU time it uses over a
while of a paused game and of a running one (new games started as each one ends), from
/proc/PID/stat, and the key-to-screen latency: `p` sent with send-keys until capture-pane
shows the pause mark appear or go.

Usage: measure_tui.py <kostrel-tui> [seconds] [key-presses]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

MARK_ROW = 13  # of "Pauza" and "Konec hry", under the adversary beside the score


def main():
    program = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60
    presses = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    ticks = os.sysconf("SC_CLK_TCK")
    with tempfile.TemporaryDirectory(prefix="kostrel-tui-measure-") as folder:
        socket = os.path.join(folder, "tmux.sock")

        def tmux(*arguments):
            return subprocess.run(["tmux", "-S", socket, "-f", "/dev/null", *arguments],
                                  capture_output=True, text=True, timeout=10, check=True).stdout

        def mark():
            return tmux("capture-pane", "-p", "-t", "m").split("\n")[MARK_ROW][24:]

        def cpu_seconds(pid):
            fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
            return (int(fields[11]) + int(fields[12])) / ticks  # utime + stime

        try:
            tmux("new-session", "-d", "-s", "m", "-x", "80", "-y", "24", "-e", "LC_ALL=C.UTF-8",
                 "-e", f"XDG_DATA_HOME={folder}", program)
            time.sleep(0.5)
            pid = int(tmux("list-panes", "-t", "m", "-F", "#{pane_pid}").strip())
            tmux("send-keys", "-t", "m", "n", "p")
            start = cpu_seconds(pid)
            time.sleep(seconds)
            paused = cpu_seconds(pid) - start
            tmux("send-keys", "-t", "m", "p")
            start = cpu_seconds(pid)
            end = time.monotonic() + seconds
            while time.monotonic() < end:
                time.sleep(0.5)
                if "Konec hry" in mark():
                    tmux("send-keys", "-t", "m", "n")
            running = cpu_seconds(pid) - start
            print(f"paused game:  {paused:.2f} s CPU in {seconds:.0f} s ({100 * paused / seconds:.3f} % of a core)")
            print(f"running game: {running:.2f} s CPU in {seconds:.0f} s ({100 * running / seconds:.3f} % of a core)")

            latencies = []
            for _ in range(presses):
                before = "Pauza" in mark()
                sent = time.monotonic()
                tmux("send-keys", "-t", "m", "p")
                while ("Pauza" in mark()) == before:
                    if time.monotonic() - sent > 5:
                        sys.exit("measure_tui: the pause mark did not change")
                latencies.append(1000 * (time.monotonic() - sent))
                time.sleep(0.05)
            print(f"key to screen (send-keys to capture-pane), {presses} presses: median "
                  f"{statistics.median(latencies):.1f} ms, max {max(latencies):.1f} ms")
        finally:
            subprocess.run(["tmux", "-S", socket, "kill-server"], capture_output=True, timeout=10)


if __name__ == "__main__":
    main()
