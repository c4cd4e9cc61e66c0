#!/usr/bin/env python3
"""Measures Kostrel.exe under Wine as a player meets it, and prints the figures.

- start: from starting `wine Kostrel.exe` to the first painted window (the preview's
  picture and the black board on screen): once cold (the prefix's wineserver stopped
  first, so Wine starts its server and services too), then several times warm (the server
  running, as for a player's second game); the median and every value.
- key to repaint: from a key press (Left or Right, sent through XTEST in this process) to
  the first screen grab on which the falling piece stands in its new column; the timer's
  own repaints move the piece down, never sideways, so they are not counted.
- memory: the peak resident size (VmHWM) of the program's process after a game was played
  for a while.

Usage: measure_wine.py <Kostrel.exe> [starts] [key-presses]
Needs DISPLAY and WINEPREFIX set (scripts/wine-env.sh does both).
"""
import ctypes
import ctypes.util
import os
import random
import statistics
import subprocess
import sys
import time
from ctypes import POINTER, byref, c_char, c_int, c_uint, c_ulong, c_void_p

# The end-to-end test's screen reading: one copy, shared.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "win", "e2e"))
import x_display  # noqa: E402
from kostrel_e2e import BLACK, YELLOW, Screen  # noqa: E402
from x_display import Failure, wait_for, xlib  # noqa: E402

xlib.XQueryTree.argtypes = [c_void_p, c_ulong, POINTER(c_ulong), POINTER(c_ulong),
                            POINTER(POINTER(c_ulong)), POINTER(c_uint)]
xlib.XFetchName.argtypes = [c_void_p, c_ulong, POINTER(POINTER(c_char))]
xlib.XStringToKeysym.restype = c_ulong
xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
xlib.XKeysymToKeycode.argtypes = [c_void_p, c_ulong]
xlib.XFlush.argtypes = [c_void_p]
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
xtst.XTestFakeKeyEvent.argtypes = [c_void_p, c_uint, c_int, c_ulong]


def top_window_named(display, name):
    """The first top-level X window called exactly name, or None. Asks the X server
    directly, so it can be called every few milliseconds without starting a program."""
    root, parent = c_ulong(), c_ulong()
    children, count = POINTER(c_ulong)(), c_uint()
    if not xlib.XQueryTree(display.handle, display.root, byref(root), byref(parent),
                           byref(children), byref(count)):
        return None
    try:
        for i in range(count.value):
            title = POINTER(c_char)()
            if xlib.XFetchName(display.handle, children[i], byref(title)) and title:
                matches = ctypes.string_at(title) == name.encode()
                xlib.XFree(title)
                if matches:
                    return children[i]
        return None
    finally:
        if children:
            xlib.XFree(children)


def fake_key(display, key_name):
    """Presses and releases one key through the XTEST extension, in this process, so a
    timer started just before it measures the program and not a helper's start-up. The
    key goes to the window under the pointer (the X focus follows it on a bare Xvfb)."""
    keycode = xlib.XKeysymToKeycode(display.handle, xlib.XStringToKeysym(key_name.encode()))
    if keycode == 0:
        raise Failure(f"no key code for {key_name}")
    xtst.XTestFakeKeyEvent(display.handle, keycode, 1, 0)
    xtst.XTestFakeKeyEvent(display.handle, keycode, 0, 0)
    xlib.XFlush(display.handle)


def start_program(exe):
    return subprocess.Popen(["wine", exe], stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def stop_program(program, window):
    x_display.press(window, "alt+F4", closes=True)
    try:
        program.wait(timeout=20)
    except subprocess.TimeoutExpired:
        program.kill()
        program.wait(timeout=20)


def find_layout(display, exe):
    """Starts the program once to find where its preview, board and label lie relative to
    the window's corner; later starts then need to look at three pixels only."""
    program = start_program(exe)
    window = x_display.find_window("^Kostrel$", 60)
    screen = Screen(display, window)
    wait_for("the first painted window", lambda: screen.locate() or True, 30)
    x, y, _, _ = x_display.window_geometry(window)
    layout = {part: (at[0] - x, at[1] - y) for part, at in
              (("preview", screen.preview), ("board", screen.board), ("label", screen.label))}
    stop_program(program, window)
    return layout


def first_paint(display, exe, layout):
    """Seconds from the start to the first painted window: the preview's first cell yellow
    inside its frame, the board's first cell black and the label on the button face.
    Returns (seconds, program, screen)."""
    started = time.perf_counter()
    program = start_program(exe)
    window = None
    while window is None:
        if time.perf_counter() - started > 60:
            raise Failure("no window named Kostrel appeared within 60 s")
        time.sleep(0.002)
        window = top_window_named(display, "Kostrel")
    x, y, _, _ = x_display.window_geometry(window)
    at = {part: (x + dx, y + dy) for part, (dx, dy) in layout.items()}

    def colour(part, dx, dy):
        return display.grab(at[part][0] + dx, at[part][1] + dy, 1, 1)(0, 0)
    while not (colour("preview", 10, 10) == YELLOW and colour("preview", 0, 10) == BLACK
               and colour("board", 9, 9) == BLACK and max(colour("label", 2, 2)) > 100):
        if time.perf_counter() - started > 60:
            raise Failure("the window was not painted within 60 s")
        time.sleep(0.001)
    elapsed = time.perf_counter() - started
    screen = Screen(display, window)
    screen.preview, screen.board, screen.label = at["preview"], at["board"], at["label"]
    return elapsed, program, screen


def stop_wineserver():
    """Ends the prefix's Wine server and waits for it, so the next start is a cold one."""
    for option in ("-k", "-w"):
        subprocess.run(["wineserver", option], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)


def piece_columns(screen):
    cells = screen.board_cells()
    return frozenset(c for _, c in cells)


def key_latencies(display, screen, presses):
    """Presses Left and Right alternately over a falling piece; returns the latencies."""
    x_display.xdotool("mousemove", "--window", screen.window, 100, 200)
    x_display.press(screen.window, "F2")
    wait_for("the first piece", lambda: piece_columns(screen) or None, 10)
    latencies = []
    direction = "Left"
    while len(latencies) < presses:
        before = piece_columns(screen)
        started = time.perf_counter()
        fake_key(display, direction)
        deadline = started + 2
        while piece_columns(screen) == before:
            if time.perf_counter() > deadline:
                raise Failure(f"{direction} moved nothing within 2 s")
            # Each grab costs the X server about a millisecond; a short rest leaves it and
            # Wine the time to draw on a two-core machine.
            time.sleep(0.0005)
        latencies.append(time.perf_counter() - started)
        direction = "Right" if direction == "Left" else "Left"
        # Spread the presses over the timer's period, as a player's would be.
        time.sleep(random.uniform(0.05, 0.15))
        if len(latencies) % 10 == 0:
            x_display.press(screen.window, "F2")  # a new game before the piece lands
            time.sleep(0.2)
    return latencies


def peak_memory_kib(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
        command = cmdline.read().replace(b"\0", b" ").decode(errors="replace").strip()
    return int(fields["VmHWM"].split()[0]), int(fields["VmRSS"].split()[0]), command


def milliseconds(values):
    return ", ".join(f"{1000 * v:.1f}" for v in values)


def main():
    if not 2 <= len(sys.argv) <= 4:
        sys.exit(__doc__)
    exe = sys.argv[1]
    starts = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    presses = int(sys.argv[3]) if len(sys.argv) > 3 else 30
    display = x_display.Display()
    try:
        layout = find_layout(display, exe)
        stop_wineserver()
        cold, program, screen = first_paint(display, exe, layout)
        stop_program(program, screen.window)
        time.sleep(1)
        print(f"start to first painted window, cold: {1000 * cold:.0f} ms")
        times = []
        for n in range(starts):
            seconds, program, screen = first_paint(display, exe, layout)
            times.append(seconds)
            if n < starts - 1:
                stop_program(program, screen.window)
                # Let the ended process's remains settle, so starts do not overlap.
                time.sleep(1)
        print(f"start to first painted window, warm: median "
              f"{1000 * statistics.median(times):.0f} ms over {starts} starts "
              f"(ms: {milliseconds(times)})")

        latencies = key_latencies(display, screen, presses)
        print(f"key press to repaint: median {1000 * statistics.median(latencies):.1f} ms, "
              f"max {1000 * max(latencies):.1f} ms over {presses} presses "
              f"(ms: {milliseconds(sorted(latencies))})")

        hwm, rss, command = peak_memory_kib(program.pid)
        print(f"peak memory (VmHWM) of the program's process: {hwm} KiB "
              f"(now {rss} KiB; process: {command})")
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
