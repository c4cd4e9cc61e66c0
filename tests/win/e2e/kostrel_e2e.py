#!/usr/bin/env python3
"""End-to-end test of the real Kostrel.exe under Wine, played from outside as a player.

Presses the keys of kostrel-sim's plan (the first game of a run is deterministic, so they lead
to a known game over with a new record) and checks on screenshots the board, the preview
and the score label piece by piece, then the new-record dialog, the registry, a second game
and Alt+F4. The fall timer keeps running: each piece is turned, shifted and stepped down to
one row above its rest at most, and the timer fixes it, so a tick between keys changes nothing.

Usage: kostrel_e2e.py <Kostrel.exe> <artifact-dir>  (DISPLAY, WINEPREFIX set; the plan comes
from build/native/tools/kostrel-sim or $KOSTREL_SIM). ctest runs it (run-e2e.sh) with its
helpers' folders, tests/e2e and tools/wine, on PYTHONPATH.
"""
import ctypes
import os
import subprocess
import sys
import tempfile
import time
from ctypes import POINTER, byref, c_int, c_ulong, c_void_p

import x_display
from game_plan import PlanError, load_plan
from piece_shapes import SHAPES
from x_display import BOARD_COLUMNS, BOARD_ROWS, Failure, Screen, wait_for, xlib

PLAYER_NAME = "Žluťoučký kůň"
REGISTRY_KEY = r"HKCU\Software\VarnekKostrel"
DIALOG_TITLE = "^Nejlepší score$"
WAIT_WINDOW = 60  # the first start in a new prefix is slow
WAIT_SCREEN = 10  # a piece falls a row per 500 ms; the timer fixes it within one
LABEL_SIZE = (80, 30)

x_display.declare(
    xlib, ("XDisplayKeycodes", c_int, [c_void_p, POINTER(c_int), POINTER(c_int)]),
    ("XGetKeyboardMapping", POINTER(c_ulong), [c_void_p, ctypes.c_ubyte, c_int, POINTER(c_int)]),
    ("XChangeKeyboardMapping", c_int, [c_void_p, c_int, c_int, POINTER(c_ulong), c_int]),
    ("XSync", c_int, [c_void_p, c_int]), ("XFree", c_int, [c_void_p]))


def map_characters(display, text):
    """Gives each non-ASCII character of the text that no key has yet an unused key code of
    its own. xdotool would otherwise borrow a key for each while it types and give it back
    at once, and a busy program that reads the key later loses letters."""
    # Latin-1 key symbols equal the character's code, the others are Unicode key symbols.
    keysyms = {ord(ch) if ord(ch) < 0x100 else 0x1000000 + ord(ch) for ch in text if ord(ch) > 0x7E}
    lowest, highest, per = c_int(), c_int(), c_int()
    xlib.XDisplayKeycodes(display.handle, byref(lowest), byref(highest))
    count = highest.value - lowest.value + 1
    table = xlib.XGetKeyboardMapping(display.handle, lowest.value, count, byref(per))
    unused = [lowest.value + k for k in range(count)
              if not any(table[k * per.value:(k + 1) * per.value])]
    wanted = sorted(keysyms - set(table[:count * per.value]))
    xlib.XFree(table)
    if len(unused) < len(wanted):
        raise Failure("not enough unused key codes for the characters to type")
    for keycode, keysym in zip(unused, wanted):
        # The same on both levels, so neither Shift nor case rules apply.
        xlib.XChangeKeyboardMapping(display.handle, keycode, 2, (c_ulong * 2)(keysym, keysym), 1)
    xlib.XSync(display.handle, 0)


def board_text(cells):
    return "\n".join("".join("#" if (r, c) in cells else "." for c in range(BOARD_COLUMNS))
                     for r in range(BOARD_ROWS))


def expect_board(screen, stack, shape, row=None, preview=None):
    """Waits until the board shows just the stack and the shape in column 4, at the given
    row or, without one, at any row, and the preview the given shape; returns that row."""
    def check():
        seen = screen.board_cells()
        top = row if row is not None else min((r for r, _ in seen - stack), default=0)
        want = stack | {(top + r, 4 + c) for r, c in shape}
        if seen != want:
            raise Failure(f"the board shows\n{board_text(seen)}\nexpected\n{board_text(want)}")
        if preview is not None and screen.preview_cells() != set(preview):
            raise Failure(f"the preview shows {sorted(screen.preview_cells())}, expected {preview}")
        return top
    return wait_for(f"the piece {sorted(shape)} on the board", check, WAIT_SCREEN)


def expect_label(screen, what, accept):
    """Waits until the score label shows ink (its dark pixels: the digits drawn on the button
    face) that accept() takes; returns the ink."""
    def check():
        pixel = screen.display.grab(*screen.label, *LABEL_SIZE)
        ink = frozenset((x, y) for y in range(LABEL_SIZE[1]) for x in range(LABEL_SIZE[0])
                        if max(pixel(x, y)) < 100)
        return ink if ink and accept(ink) else None
    return wait_for(f"the score label to {what}", check, WAIT_SCREEN)


def play(screen, pieces, zero_ink):
    """Plays the plan; returns the stack at the end and the label's ink once the row was
    cleared (None if none was)."""
    x_display.press(screen.window, "F2")
    stack, score_ink = set(), None
    for piece in pieces:
        row = expect_board(screen, stack, SHAPES[piece["kind"]][piece["rotation"]],
                           preview=SHAPES[piece["preview"][0]][piece["preview"][1]])
        keys = ["Up"] * piece["turns"]
        keys += ["Right" if piece["shift"] > 0 else "Left"] * abs(piece["shift"])
        # One row short of rest: the timer, not a key, fixes the piece, so no key can reach
        # the next piece or the dialog that opens at the end.
        keys += ["Down"] * max(0, piece["rest"] - row - 1)
        x_display.press(screen.window, *keys)
        previous = stack
        stack = {(r, c) for r, line in enumerate(piece["stack"])
                 for c, ch in enumerate(line) if ch == "#"}
        if score_ink is None and len(stack) < len(previous) + 4:  # a row was cleared
            score_ink = expect_label(screen, "change from 0", lambda ink: ink != zero_ink)
    return stack, score_ink


def wine(*arguments):
    """Runs a Wine command. Its output goes through a file, not a pipe: the Wine services
    that a command may start inherit the output and would keep a pipe open forever."""
    with tempfile.TemporaryFile() as output:
        done = subprocess.run(["wine", *arguments], stdin=subprocess.DEVNULL, stdout=output,
                              stderr=subprocess.DEVNULL, timeout=60)
        output.seek(0)
        return done.returncode, output.read()


def check_registry(final_score):
    code, printed = wine("reg", "query", REGISTRY_KEY)
    found = {}
    for line in printed.split(b"\r\n"):
        name, kind, value = (line.split(None, 2) + [b""] * 3)[:3]
        if kind == b"REG_DWORD":
            found[name] = int(value, 16)
        elif kind == b"REG_SZ":
            # wine reg prints through the console's code page, 852 in the Czech locale; the
            # program stored the name through code page 1250, so a wrong conversion shows.
            found[name] = value.decode("cp852", errors="replace")
    if code != 0 or found.get(b"Record") != final_score or found.get(b"Champion") != PLAYER_NAME:
        raise Failure(f"expected Record (REG_DWORD) {final_score} and Champion (REG_SZ) "
                      f"{PLAYER_NAME}; wine reg query ended with {code} and printed {printed!r}")


def run_test(exe, plan, artifacts):
    wine("reg", "delete", REGISTRY_KEY, "/f")
    display = x_display.Display()
    map_characters(display, PLAYER_NAME)
    program = subprocess.Popen(["wine", exe], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        window = x_display.find_window("^Kostrel$", WAIT_WINDOW)
        x_display.release_alt(window)
        screen = Screen(display, window)
        # The Win32 tests prove the empty board and the preview before the first game.
        wait_for("the first painted window", lambda: screen.locate() or True, WAIT_SCREEN)
        zero_ink = expect_label(screen, "show a right-aligned 0",
                                lambda ink: min(x for x, _ in ink) >= LABEL_SIZE[0] // 2)
        print("start: 0 in the score label")

        stack, score_ink = play(screen, plan["pieces"], zero_ink)
        if score_ink is None:
            raise Failure("the plan cleared no row")
        print(f"played {len(plan['pieces'])} pieces; the score label changed after the cleared row")

        dialog = x_display.find_window(DIALOG_TITLE, WAIT_SCREEN)
        # Typed at once, as a player does: the dialog opens with the focus in the name box.
        x_display.xdotool("type", "--window", dialog, "--delay", "30", PLAYER_NAME)
        x_display.press(dialog, "Return")
        wait_for("the dialog to close",
                 lambda: None if x_display.visible_windows(DIALOG_TITLE) else True, WAIT_SCREEN)
        # The dialog covered the top of the board, where the piece that no longer fitted is.
        blocked_kind, blocked_rotation = plan["pieces"][-1]["preview"]
        expect_board(screen, stack, SHAPES[blocked_kind][blocked_rotation], row=0)
        check_registry(plan["final_score"])
        print("game over: the blocked piece shows; Record and Champion are in the registry")

        # A new game starts with the piece that the preview kept, and the label shows 0. The
        # dialog covered the preview as well: it is read once it shows a whole piece again.
        def whole_piece():
            seen = screen.preview_cells()
            return seen if any(seen == set(shape) for turns in SHAPES for shape in turns) else None
        preview = wait_for("a whole piece in the preview", whole_piece, WAIT_SCREEN)
        x_display.press(window, "F2")
        expect_board(screen, set(), preview)
        expect_label(screen, "show 0 again", lambda ink: ink == zero_ink)
        print("F2: a new game starts with the previewed piece and a score of 0")

        x_display.press(window, "alt+F4", closes=True)
        code = wait_for("Kostrel to end after Alt+F4", program.poll, 30)
        if code != 0:
            raise Failure(f"Kostrel ended with exit code {code} after Alt+F4, expected 0")
        print("Alt+F4 ended the program with exit code 0")
    except (Failure, subprocess.TimeoutExpired):
        os.makedirs(artifacts, exist_ok=True)
        path = os.path.join(artifacts, "e2e-failure.png")
        subprocess.run(["import", "-window", "root", path], capture_output=True, timeout=30)
        print(f"screenshot: {path}", file=sys.stderr)
        raise
    finally:
        if program.poll() is None:
            program.kill()
            program.wait(timeout=30)
        display.close()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    started = time.monotonic()
    try:
        run_test(sys.argv[1], load_plan(), sys.argv[2])
    except (Failure, PlanError, subprocess.TimeoutExpired) as failure:  # a Wine command that hung
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    print(f"PASS: end-to-end game in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
