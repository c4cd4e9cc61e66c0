#!/usr/bin/env python3
"""Measures Kostrel.exe under Wine as a player meets it, and prints the figures.

- start: from starting `wine Kostrel.exe` to the first painted window (the preview's
  picture, the black board and the score label on screen): once cold (the prefix's
  wineserver stopped first, so Wine starts its server and services too), then several
  times warm, as for a player's second game; the median and every value.
- key to repaint: from a key press (Left or Right, sent through XTEST in this process) to
  the first screen grab on which the falling piece stands in its new column; the timer's
  own repaints move the piece down, never sideways, so they are not counted.
- memory: the peak resident size (VmHWM) of the program's process after a game was played
  for a while.

Usage: scripts/wine-env.sh <mingw-build-dir> tools/measure_wine.py <Kostrel.exe> [starts]
       [key-presses]
wine-env.sh gives it a private Wine prefix and an Xvfb display of its own. The program runs
with the Czech locale, as a Czech player's. The figures depend on the machine and its load:
quote medians, with this command.
"""
import ctypes
import ctypes.util
import os
import random
import statistics
import subprocess
import sys
import time
from ctypes import c_char_p, c_int, c_ubyte, c_uint, c_ulong, c_void_p

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "wine"))
from x_display import (BLACK, YELLOW, Display, Failure, Screen, declare,  # noqa: E402
                       find_window, press, release_alt, wait_for, xdotool, xlib)

declare(xlib, ("XStringToKeysym", c_ulong, [c_char_p]),
        ("XKeysymToKeycode", c_ubyte, [c_void_p, c_ulong]), ("XFlush", c_int, [c_void_p]))
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
declare(xtst, ("XTestFakeKeyEvent", c_int, [c_void_p, c_uint, c_int, c_ulong]))


def fake_key(display, key_name):
    """Presses and releases one key through XTEST, in this process, so that a timer started
    just before it measures the program, not a helper's start-up. The key goes to the window
    under the pointer (the X focus follows it on a bare Xvfb)."""
    keycode = xlib.XKeysymToKeycode(display.handle, xlib.XStringToKeysym(key_name.encode()))
    for down in (1, 0):
        xtst.XTestFakeKeyEvent(display.handle, keycode, down, 0)
    xlib.XFlush(display.handle)


def stop_program(program, window):
    press(window, "alt+F4", closes=True)
    try:
        program.wait(timeout=20)
    except subprocess.TimeoutExpired:
        program.kill()
        program.wait(timeout=20)


def start_program(display, exe, preview=None):
    """Starts the program and waits for its first painted window; returns the seconds that
    took, the program and its screen. The first start scans the whole window once and
    returns where its preview lay, instead of the seconds; a later start is given that and
    polls four pixels in this process every 5 ms (a search for the window would start a
    program each time, and closer grabs keep the X server from Wine's start). A window that
    opened elsewhere shows none of them, and the wait fails."""
    started = time.perf_counter()
    program = subprocess.Popen(["wine", exe], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               env=dict(os.environ, LC_ALL="cs_CZ.UTF-8"))
    if preview is None:
        screen = Screen(display, find_window("^Kostrel$", 60))
        release_alt(screen.window)
        wait_for("the first painted window", lambda: screen.locate() or True, 30)
        return screen.preview, program, screen
    screen = Screen(display, None)
    screen.place(*preview)

    def colour(at, dx, dy):
        return display.grab(at[0] + dx, at[1] + dy, 1, 1)(0, 0)
    wait_for("the first painted window",
             lambda: (colour(screen.preview, 10, 10) == YELLOW and colour(screen.preview, 0, 10)
                      == BLACK and colour(screen.board, 9, 9) == BLACK
                      and max(colour(screen.label, 2, 2)) > 100) or None, 60, 0.005)
    seconds = time.perf_counter() - started
    screen.window = find_window("^Kostrel$", 10)
    release_alt(screen.window)
    return seconds, program, screen


def new_game(screen):
    """F2, and a wait for the new game's piece at the top; the last one had fallen since."""
    press(screen.window, "F2")
    wait_for("a new game's piece", lambda: any(r == 0 for r, _ in screen.board_cells()) or None,
             10)


def key_latencies(display, screen, presses):
    """Presses Left and Right alternately over a falling piece; returns the latencies."""
    xdotool("mousemove", "--window", screen.window, 100, 200)
    new_game(screen)
    latencies = []
    direction = "Left"
    while len(latencies) < presses:
        before = frozenset(c for _, c in screen.board_cells())
        started = time.perf_counter()
        fake_key(display, direction)
        # Each grab costs the X server about a millisecond; a short rest leaves it and Wine
        # the time to draw on a two-core machine.
        wait_for(f"{direction} to move the piece",
                 lambda: frozenset(c for _, c in screen.board_cells()) != before or None, 2,
                 0.0005)
        latencies.append(time.perf_counter() - started)
        direction = "Right" if direction == "Left" else "Left"
        # Spread the presses over the timer's period, as a player's would be.
        time.sleep(random.uniform(0.05, 0.15))
        if len(latencies) % 10 == 0:
            new_game(screen)  # before the piece lands
    return latencies


def milliseconds(values):
    return ", ".join(f"{1000 * v:.1f}" for v in values)


def main():
    if not 2 <= len(sys.argv) <= 4 or not os.path.isfile(sys.argv[1]):
        sys.exit(__doc__)
    exe = sys.argv[1]
    starts = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    presses = int(sys.argv[3]) if len(sys.argv) > 3 else 30
    wine = subprocess.run(["wine", "--version"], capture_output=True, text=True, timeout=30)
    print(f"== {os.path.basename(exe)} under {wine.stdout.strip()} on {os.cpu_count()} cores, "
          f"display {os.environ['DISPLAY']}")
    display = Display()
    try:
        preview, program, screen = start_program(display, exe)
        times = []
        for n in range(starts + 1):
            stop_program(program, screen.window)
            if n == 0:  # the next start is a cold one
                for option in ("-k", "-w"):
                    subprocess.run(["wineserver", option], stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   timeout=30)
            time.sleep(1)  # the ended process's remains settle, so that starts do not overlap
            seconds, program, screen = start_program(display, exe, preview)
            times.append(seconds)
        print(f"start to first painted window, cold: {1000 * times[0]:.0f} ms")
        print(f"start to first painted window, warm: median "
              f"{1000 * statistics.median(times[1:]):.0f} ms over {starts} starts "
              f"(ms: {milliseconds(times[1:])})")

        latencies = key_latencies(display, screen, presses)
        print(f"key press to repaint: median {1000 * statistics.median(latencies):.1f} ms, "
              f"max {1000 * max(latencies):.1f} ms over {presses} presses "
              f"(ms: {milliseconds(sorted(latencies))})")

        with open(f"/proc/{program.pid}/status") as status:
            memory = dict(line.split(":", 1) for line in status)
        with open(f"/proc/{program.pid}/cmdline", "rb") as cmdline:
            command = cmdline.read().replace(b"\0", b" ").decode(errors="replace").strip()
        print(f"peak memory (VmHWM) of the program's process: {memory['VmHWM'].strip()} "
              f"(now {memory['VmRSS'].strip()}; process: {command})")
        stop_program(program, screen.window)
        print(f"exit code after Alt+F4: {program.returncode}")
        print(f"size of {os.path.basename(exe)}: {os.path.getsize(exe)} bytes")
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    finally:
        display.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
