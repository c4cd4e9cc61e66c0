#!/usr/bin/env python3
"""End-to-end test of the real Kostrel.exe under Wine, driven from outside as a player.

Starts the program on the X display, presses real keys, and checks what a player sees on
screenshots: the empty board and the first preview, each piece where the plan says it is,
the preview beside it, the score label changing when a row is cleared, the piece that no
longer fits at the end, the new-record dialog, the registry as `wine reg query` prints it,
and a second game that starts with the previewed piece and a score of 0 again. The key
presses come from game_plan.txt (made by plan_game.py with kostrel-sim): the first game of
a run is deterministic, so they lead to a known game over with score 1.

The fall timer keeps running while the test plays. The test never relies on its timing:
it waits for each piece to appear on screen, turns and shifts it, steps it down to one row
above its resting row at most, and lets the timer fix it, so a tick between two keys
changes nothing.

Usage: kostrel_e2e.py <Kostrel.exe> <game_plan.txt> <artifact-dir>
Needs DISPLAY and WINEPREFIX set (scripts/wine-env.sh does both).
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import x_display  # noqa: E402
from plan_game import BOARD_COLUMNS, BOARD_ROWS, SHAPES  # noqa: E402

CELL = 20
YELLOW = (255, 255, 0)
BLACK = (0, 0, 0)
# Where the children sit relative to the preview's top-left corner, which is found on
# screen: the preview is at (250, 25) of the main window's client area (group box "Další"
# at (240, 10), preview at (10, 15) in it), the board at (20, 30), and the score label at
# (250, 135), 80 x 30.
BOARD_FROM_PREVIEW = (20 - 250, 30 - 25)
LABEL_FROM_PREVIEW = (0, 135 - 25)
LABEL_SIZE = (80, 30)
WINDOW_SIZE = (360, 505)
PLAYER_NAME = "Žluťoučký kůň"
REGISTRY_KEY = r"HKCU\Software\VarnekKostrel"
DIALOG_TITLE = "^Nejlepší score$"

WAIT_WINDOW = 60      # the first start in a new prefix is slow
WAIT_PIECE = 10       # a piece falls one row per 500 ms; the timer fixes it within one
WAIT_DIALOG = 15
OVERALL_LIMIT = 240


class Failure(Exception):
    pass


def read_plan(path):
    pieces = []
    final_score = None
    with open(path, encoding="ascii") as plan:
        for line in plan:
            words = line.split()
            if not words or words[0].startswith("#"):
                continue
            if words[0] == "piece":
                # piece <n> kind <k> rotation <r> preview <k> <r> turns <t> shift <s> rest <y>
                numbers = [int(word) for word in words[1:] if word.lstrip("-").isdigit()]
                _, kind, rotation, preview_kind, preview_rotation, turns, shift, rest = numbers
                pieces.append(dict(kind=kind, rotation=rotation,
                                   preview=(preview_kind, preview_rotation), turns=turns,
                                   shift=shift, rest=rest, stack=[]))
            elif words[0] == "stack":
                pieces[-1]["stack"].append(words[1])
            elif words[0] == "final":
                final_score = int(words[2])
    return pieces, final_score


def stack_cells(rows):
    return {(r, c) for r, row in enumerate(rows) for c, ch in enumerate(row) if ch == "#"}


def piece_cells(kind, rotation, x, y):
    return {(y + r, x + c) for r, c in SHAPES[kind][rotation]}


def board_text(cells):
    return "\n".join("".join("#" if (r, c) in cells else "." for c in range(BOARD_COLUMNS))
                     for r in range(BOARD_ROWS))


class Screen:
    """The game's window on the X display, located by its preview picture."""

    def __init__(self, display, window):
        self.display = display
        self.window = window
        self.preview = None
        self.board = None
        self.label = None

    def grab_window(self):
        x, y, width, height = x_display.window_geometry(self.window)
        # Wine draws the frame itself in the test prefix, so the X window is the whole
        # window, frame, caption and menu included.
        if (width, height) != WINDOW_SIZE:
            raise Failure(f"the window is {width} x {height}, expected {WINDOW_SIZE}")
        return self.display.grab(x, y, width, height)

    def locate(self):
        """Finds the preview by its yellow cells (the board is still empty, so they are the
        only yellow on the window) and derives the board and label from it."""
        picture = self.grab_window()
        yellow = [(x, y) for y in range(picture.height) for x in range(picture.width)
                  if picture.pixel(x, y) == YELLOW]
        if not yellow:
            raise Failure("no yellow pixel on the window: the preview shows no piece")
        left = min(x for x, _ in yellow) + picture.left
        top = min(y for _, y in yellow) + picture.top
        # A preview cell's yellow interior starts one pixel inside its black frame.
        self.preview = (left - 1, top - 1)
        self.board = (self.preview[0] + BOARD_FROM_PREVIEW[0],
                      self.preview[1] + BOARD_FROM_PREVIEW[1])
        self.label = (self.preview[0] + LABEL_FROM_PREVIEW[0],
                      self.preview[1] + LABEL_FROM_PREVIEW[1])

    def board_cells(self):
        """The filled cells, sampled at their centres; a colour that is neither yellow nor
        black is a failure."""
        picture = self.display.grab(*self.board, CELL * BOARD_COLUMNS, CELL * BOARD_ROWS)
        cells = set()
        for r in range(BOARD_ROWS):
            for c in range(BOARD_COLUMNS):
                colour = picture.pixel(CELL * c + 9, CELL * r + 9)
                if colour == YELLOW:
                    cells.add((r, c))
                elif colour != BLACK:
                    raise Failure(f"board cell ({r}, {c}) shows {colour}, not yellow or black")
        return cells, picture

    def check_cell_extent(self, picture, cells):
        """A filled cell is a 19 x 19 yellow square; its 20th column and row are never
        painted."""
        for r, c in cells:
            x, y = CELL * c, CELL * r
            for px, py in ((x, y), (x + 18, y), (x, y + 18), (x + 18, y + 18)):
                if picture.pixel(px, py) != YELLOW:
                    raise Failure(f"cell ({r}, {c}): pixel ({px}, {py}) is "
                                  f"{picture.pixel(px, py)}, expected yellow")
            for px, py in ((x + 19, y + 9), (x + 9, y + 19)):
                if picture.pixel(px, py) == YELLOW:
                    raise Failure(f"cell ({r}, {c}): the grid pixel ({px}, {py}) is yellow")

    def preview_cells(self):
        """The yellow cells of the preview; every cell must have its black frame."""
        picture = self.display.grab(*self.preview, 4 * CELL, 4 * CELL)
        cells = set()
        for r in range(4):
            for c in range(4):
                x, y = CELL * c, CELL * r
                inside = picture.pixel(x + 10, y + 10)
                corner = picture.pixel(x + 1, y + 1)
                if inside != corner or inside not in (YELLOW, BLACK):
                    raise Failure(f"preview cell ({r}, {c}) is not one colour inside: "
                                  f"{corner} and {inside}")
                for px, py in ((x, y + 10), (x + 19, y + 10), (x + 10, y), (x + 10, y + 19)):
                    if picture.pixel(px, py) != BLACK:
                        raise Failure(f"preview cell ({r}, {c}) has no black frame at "
                                      f"({px}, {py}): {picture.pixel(px, py)}")
                if inside == YELLOW:
                    cells.add((r, c))
        return cells

    def label_ink(self):
        """The dark pixels of the score label: the digits drawn on the button face."""
        picture = self.display.grab(*self.label, *LABEL_SIZE)
        return frozenset((x, y) for y in range(picture.height) for x in range(picture.width)
                         if max(picture.pixel(x, y)) < 100)


def wait_for(what, check, timeout, interval=0.02):
    """Polls check() every interval seconds until it returns something other than None;
    the last mismatch that it reported (through Failure) ends the test after the
    timeout."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            found = check()
            if found is not None:
                return found
        except Failure as mismatch:
            last = mismatch
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}"
                          + (f": {last}" if last else ""))
        time.sleep(interval)


def expect_preview(screen, kind, rotation):
    want = piece_cells(kind, rotation, 0, 0)

    def check():
        seen = screen.preview_cells()
        if seen != want:
            raise Failure(f"preview shows {sorted(seen)}, expected kind {kind} rotation "
                          f"{rotation} {sorted(want)}")
        return seen
    wait_for(f"the preview of kind {kind} rotation {rotation}", check, WAIT_PIECE)


def expect_falling(screen, stack, kind, rotation):
    """Waits until the board shows the stack and the piece in column 4 at some row; returns
    that row."""
    def check():
        seen, _ = screen.board_cells()
        extra = seen - stack
        if not stack <= seen or not extra:
            raise Failure("board shows\n" + board_text(seen) + "\nexpected the stack\n"
                          + board_text(stack))
        row = min(r for r, _ in extra)
        if extra != piece_cells(kind, rotation, 4, row):
            raise Failure(f"board shows\n{board_text(seen)}\nexpected kind {kind} rotation "
                          f"{rotation} at column 4 over the stack\n{board_text(stack)}")
        return row
    return wait_for(f"piece kind {kind} rotation {rotation} over the stack", check, WAIT_PIECE)


def check_start(screen):
    screen.locate()
    cells, picture = screen.board_cells()
    if cells:
        raise Failure("the board before the first game is not empty:\n" + board_text(cells))
    if picture.pixel(199, 399) == YELLOW:
        raise Failure("the board's last pixel is yellow before any game")
    expect_preview(screen, 0, 0)
    ink = screen.label_ink()
    if not ink:
        raise Failure("the score label shows nothing before the first game")
    if min(x for x, _ in ink) < LABEL_SIZE[0] // 2:
        raise Failure("the score label's '0' is not right-aligned")
    return ink


def play(screen, pieces, zero_ink):
    """Plays the plan; returns the label's ink after the row was cleared."""
    x_display.press(screen.window, "F2")
    stack = set()
    score_ink = None
    for n, piece in enumerate(pieces):
        row = expect_falling(screen, stack, piece["kind"], piece["rotation"])
        if n == 0:
            cells, picture = screen.board_cells()
            screen.check_cell_extent(picture, cells)
        expect_preview(screen, *piece["preview"])
        keys = ["Up"] * piece["turns"]
        keys += ["Right" if piece["shift"] > 0 else "Left"] * abs(piece["shift"])
        # One row short of rest: the timer, not a key, fixes the piece, so no key can reach
        # the next piece or the dialog that opens at the end.
        keys += ["Down"] * max(0, piece["rest"] - row - 1)
        x_display.press(screen.window, *keys)
        previous = stack
        stack = stack_cells(piece["stack"])
        if score_ink is None and len(stack) < len(previous) + 4:
            # A row was cleared: the label must change from "0".
            def changed_label():
                ink = screen.label_ink()
                return ink if ink and ink != zero_ink else None
            score_ink = wait_for("the score label to change", changed_label, WAIT_PIECE)
    return stack, score_ink


def check_next_game(screen, zero_ink):
    """After a game over the preview keeps the piece that the next game starts with, and a
    new game sets the label back to the very "0" of the start."""
    preview = screen.preview_cells()
    x_display.press(screen.window, "F2")

    def new_game():
        seen, _ = screen.board_cells()
        if not seen:
            raise Failure("the board is empty")
        row = min(r for r, _ in seen)
        if seen != {(row + r, 4 + c) for r, c in preview}:
            raise Failure(f"board shows\n{board_text(seen)}\nexpected only the piece of the "
                          f"preview {sorted(preview)} at column 4")
        if screen.label_ink() != zero_ink:
            raise Failure("the score label does not show the 0 of the start")
        return True
    wait_for("a new game", new_game, WAIT_PIECE)


def enter_record(dialog):
    # The dialog opens with the focus on OK; the name box is the third tab stop.
    x_display.press(dialog, "Tab", "Tab")
    x_display.type_text(dialog, PLAYER_NAME)
    x_display.press(dialog, "Return")


def run_wine(*arguments):
    """Runs a Wine command; its output goes through a file, not a pipe, because the Wine
    services that a command may start inherit its output and keep a pipe open forever."""
    with tempfile.TemporaryFile() as output:
        done = subprocess.run(["wine", *arguments], stdin=subprocess.DEVNULL, stdout=output,
                              stderr=subprocess.DEVNULL, timeout=60)
        output.seek(0)
        return done.returncode, output.read()


def read_registry():
    code, printed = run_wine("reg", "query", REGISTRY_KEY)
    if code != 0:
        raise Failure(f"wine reg query {REGISTRY_KEY} failed with {code}: {printed!r}")
    values = {}
    for line in printed.split(b"\r\n"):
        words = line.strip().split(None, 2)
        if len(words) >= 2 and words[1].startswith(b"REG_"):
            values[words[0].decode("ascii")] = (words[1].decode("ascii"),
                                                words[2] if len(words) > 2 else b"")
    return values, printed


def check_registry(final_score):
    values, raw = read_registry()
    record = values.get("Record")
    if record is None or record[0] != "REG_DWORD" or int(record[1], 16) != final_score:
        raise Failure(f"Record is {record}, expected REG_DWORD {final_score}; reg printed "
                      f"{raw!r}")
    champion = values.get("Champion")
    # wine reg prints through the console's code page, 852 (OEM) in the Czech locale; the
    # program stored the name through code page 1250, so a wrong conversion shows here.
    if champion is None or champion[0] != "REG_SZ" \
            or champion[1].decode("cp852", errors="replace") != PLAYER_NAME:
        raise Failure(f"Champion is {champion}, expected REG_SZ {PLAYER_NAME!r}; reg printed "
                      f"{raw!r}")
    print(f"registry: Record {final_score}, Champion {PLAYER_NAME}")


def run_test(exe, plan_path, artifacts):
    pieces, final_score = read_plan(plan_path)
    run_wine("reg", "delete", REGISTRY_KEY, "/f")
    display = x_display.Display()
    display.map_characters(PLAYER_NAME)
    program = subprocess.Popen(["wine", exe], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        window = x_display.find_window("^Kostrel$", WAIT_WINDOW)
        if window is None:
            raise Failure("no window named Kostrel appeared")
        screen = Screen(display, window)
        zero_ink = wait_for("the first painted window", lambda: check_start(screen), WAIT_PIECE)
        print("start: empty board, preview kind 0 rotation 0, score label shows a digit")

        stack, score_ink = play(screen, pieces, zero_ink)
        if score_ink is None:
            raise Failure("the plan cleared no row")
        print(f"played {len(pieces)} pieces; the score label changed after the cleared row")

        dialog = x_display.find_window(DIALOG_TITLE, WAIT_DIALOG)
        if dialog is None:
            raise Failure("no new-record dialog at the end of the game")
        if screen.label_ink() != score_ink:
            raise Failure("the score label changed after the only cleared row")
        enter_record(dialog)
        wait_for("the dialog to close",
                 lambda: None if x_display.visible_windows(DIALOG_TITLE) else True,
                 WAIT_DIALOG)
        # The dialog covers the top of the board; once it is gone the frozen board shows
        # the piece that no longer fitted over the stack.
        last = pieces[-1]
        blocked = piece_cells(*last["preview"], 4, 0)

        def frozen_board():
            seen, picture = screen.board_cells()
            if seen != stack | blocked:
                raise Failure("at game over the board shows\n" + board_text(seen)
                              + "\nexpected the stack with the blocked piece at the top\n"
                              + board_text(stack | blocked))
            screen.check_cell_extent(picture, seen)
            return seen
        wait_for("the board after game over", frozen_board, WAIT_PIECE)
        print("game over: the blocked piece shows at the top; the name was entered")
        check_registry(final_score)
        check_next_game(screen, zero_ink)
        print("F2: a new game starts with the previewed piece and the score label shows 0")

        with open(f"/proc/{program.pid}/status") as status:
            peak = next(line.split()[1] for line in status if line.startswith("VmHWM:"))
        print(f"peak memory of Kostrel.exe after a whole game and a new one: {peak} KiB")

        x_display.press(window, "alt+F4", closes=True)
        try:
            code = program.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise Failure("Kostrel did not end after Alt+F4")
        if code != 0:
            raise Failure(f"Kostrel ended with exit code {code}, expected 0")
        print("Alt+F4 ended the program with exit code 0")
    except Failure:
        save_screenshot(artifacts)
        raise
    finally:
        if program.poll() is None:
            program.kill()
            program.wait(timeout=30)
        display.close()


def save_screenshot(artifacts):
    os.makedirs(artifacts, exist_ok=True)
    path = os.path.join(artifacts, "e2e-failure.png")
    subprocess.run(["import", "-window", "root", path], capture_output=True, timeout=30)
    print(f"screenshot: {path}", file=sys.stderr)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    exe, plan_path, artifacts = sys.argv[1:]
    started = time.monotonic()

    def give_up(signum, frame):
        raise Failure(f"the whole test took longer than {OVERALL_LIMIT} s")
    signal.signal(signal.SIGALRM, give_up)
    signal.alarm(OVERALL_LIMIT)
    try:
        run_test(exe, plan_path, artifacts)
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    print(f"PASS: end-to-end game in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
