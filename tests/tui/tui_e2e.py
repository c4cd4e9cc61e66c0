#!/usr/bin/env python3
"""End-to-end test of kostrel-tui in tmux at 80 x 24, read back with capture-pane.

Plays the first game of a run from tests/win/e2e/game_plan.json (the same game as the
Windows program's: same rules, chooser and random sequence) to a cleared row and a new
record, types a Czech name and reads the best-result file back, shows the best result,
pauses on a focus-out report sent as text and on `p`, shrinks and grows the window and
quits. The fall timer keeps running: each piece is turned and shifted where it is found
and stepped down to one row above its rest at most, so the timer, not a key, fixes it.

Usage: tui_e2e.py <kostrel-tui> <game_plan.json>
"""
import json
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "win", "e2e"))
from plan_game import SHAPES  # noqa: E402  the pieces as the game draws them

WAIT = 5.0  # seconds for anything to show; a game step takes 0.5 s
NAME = "Žluťoučký kůň q k"  # k and q are letters of the name, not the quit key
PREVIEW_COLUMN = 27
SCORE_ROW = 7
MARK_ROW = 10


class Failure(Exception):
    pass


class Terminal:
    def __init__(self, folder):
        self.socket = os.path.join(folder, "tmux.sock")
        self.last = ""

    def tmux(self, *arguments):
        return subprocess.run(["tmux", "-S", self.socket, "-f", "/dev/null", *arguments],
                              capture_output=True, text=True, timeout=10, check=True).stdout

    def keys(self, *keys):
        self.tmux("send-keys", "-t", "kostrel", *keys)

    def text(self, text):
        self.tmux("send-keys", "-t", "kostrel", "-l", text)

    def lines(self):
        self.last = self.tmux("capture-pane", "-p", "-t", "kostrel")
        return (self.last.split("\n") + [""] * 30)[:30]

    def wait_for(self, what, check):
        deadline = time.monotonic() + WAIT
        while True:
            result = check(self.lines())
            if result:
                return result
            if time.monotonic() > deadline:
                raise Failure(f"timed out waiting for {what}; the screen:\n{self.last}")
            time.sleep(0.02)


def cells(lines, top, left, rows, columns):
    return {(r, c) for r in range(rows) for c in range(columns)
            if lines[top + r][left + 2 * c:left + 2 * c + 2] == "██"}


def board(lines):
    return cells(lines, 1, 1, 20, 10)


def preview(lines):
    return cells(lines, 1, PREVIEW_COLUMN, 4, 4)


def board_text(found):
    return "\n".join("".join("#" if (r, c) in found else "." for c in range(10)) for r in range(20))


def piece_on_board(stack, shape):
    """The row of the falling piece when the board shows the stack and the shape in
    column 4 (at any row), else None."""
    def check(lines):
        seen = board(lines)
        top = min((r for r, _ in seen - stack), default=0)
        return (top + 1) if seen == stack | {(top + r, 4 + c) for r, c in shape} else None
    return check


def on_screen(text, row=None):
    return lambda lines: any(text in line for line in (lines if row is None else [lines[row]]))


def play(term, plan):
    term.keys("F2")
    stack = set()
    for n, piece in enumerate(plan["pieces"]):
        shape = SHAPES[piece["kind"]][piece["rotation"]]
        row = term.wait_for(f"piece {n} on the board\nexpected with\n{board_text(stack)}",
                            piece_on_board(stack, shape)) - 1
        want = set(SHAPES[piece["preview"][0]][piece["preview"][1]])
        term.wait_for(f"the preview {piece['preview']}", lambda lines: preview(lines) == want)
        keys = ["Up"] * piece["turns"]
        keys += ["Right" if piece["shift"] > 0 else "Left"] * abs(piece["shift"])
        keys += ["Down"] * max(0, piece["rest"] - row - 1)
        if keys:
            term.keys(*keys)
        stack = {(r, c) for r, line in enumerate(piece["stack"]) for c, ch in enumerate(line)
                 if ch == "#"}
    score = str(plan["final_score"])
    term.wait_for("the final score", lambda lines: lines[SCORE_ROW][25:37].strip() == score)
    return score


def run(program, plan_path):
    plan = json.load(open(plan_path))
    with tempfile.TemporaryDirectory(prefix="kostrel-tui-e2e-") as folder:
        term = Terminal(folder)
        data = os.path.join(folder, "data")
        status = os.path.join(folder, "status")
        command = f"'{program}'; echo $? > '{status}'"
        term.tmux("new-session", "-d", "-s", "kostrel", "-x", "80", "-y", "24",
                  "-e", "LC_ALL=C.UTF-8", "-e", f"XDG_DATA_HOME={data}", command)
        try:
            check_game(term, plan, data, status)
        finally:
            subprocess.run(["tmux", "-S", term.socket, "kill-server"], capture_output=True,
                           timeout=10)


def check_game(term, plan, data, status):
    # The start screen: frames, titles, help, and kind 0 in rotation 0 in the preview.
    first = term.wait_for("the start screen", lambda lines: "┌─Hra" in lines[0] and lines)
    for text in ("Další", "Score", "F2/n nová hra", "k/q/F10 konec"):
        if not any(text in line for line in first):
            raise Failure(f"no {text!r} on the start screen:\n{term.last}")
    if board(first) or preview(first) != set(SHAPES[0][0]):
        raise Failure(f"the start screen is not an empty board with preview 0/0:\n{term.last}")
    # After a new game the piece is kind 0, rotation 0 in column 4; the preview 0/2.
    if plan["pieces"][0]["preview"] != [0, 2] or plan["pieces"][0]["kind"] != 0:
        raise Failure("the plan does not start with kind 0 and the preview 0/2")
    score = play(term, plan)

    term.wait_for("the new-record prompt", on_screen(f"Vaše skore {score} je nový rekord"))
    term.text(NAME + "x")
    # Edits by whole characters: drop the "x" and the " k", type a space after the "Ž" and
    # take it back, then put the " k" back at the end.
    term.keys("Left", "Delete", "End", "BSpace", "BSpace", "Home", "Right")
    term.text(" ")
    term.keys("BSpace", "End")
    term.text(" k")
    term.keys("Enter")
    term.wait_for("the end mark", on_screen("Konec hry", MARK_ROW))
    stored = open(os.path.join(data, "kostrel", "best-result"), encoding="utf-8").read()
    if stored != f"{score}\n{NAME}\n":
        raise Failure(f"the best-result file holds {stored!r}, expected {score}\\n{NAME}\\n")

    term.keys("v")
    term.wait_for("the best result", on_screen(f"Nelepšího skore {score} dosáhl {NAME}."))
    term.keys("Escape")
    term.wait_for("the message to close", lambda lines: not on_screen("Rekord")(lines))

    # Pauses: a focus-out report typed as text, split in two; then `p`.
    term.keys("n")
    term.wait_for("a new game", lambda lines: "Konec hry" not in lines[MARK_ROW] and board(lines))
    for pause, resume in ((["\033", "[O"], ["\033[I"]), (["p"], ["p"])):
        for text in pause:
            term.text(text)
        held = term.wait_for("the pause mark", lambda lines: "Pauza" in lines[MARK_ROW] and board(lines))
        time.sleep(1.2)
        if board(term.lines()) != held or "Zubrant" in term.last:
            raise Failure(f"the game moved while paused, or a report was read as keys:\n{term.last}")
        for text in resume:
            term.text(text)
        term.wait_for("the game to go on", lambda lines: "Pauza" not in lines[MARK_ROW])

    term.tmux("resize-window", "-t", "kostrel", "-x", "60", "-y", "20")
    term.wait_for("the size message", on_screen("alespoň 80 × 24", 0))
    term.tmux("resize-window", "-t", "kostrel", "-x", "80", "-y", "24")
    term.wait_for("the board again", on_screen("┌─Hra", 0))

    term.keys("q")
    deadline = time.monotonic() + WAIT
    while not (os.path.exists(status) and open(status).read().strip()):
        if time.monotonic() > deadline:
            raise Failure(f"kostrel-tui did not quit on q; the screen:\n{term.last}")
        time.sleep(0.05)
    if open(status).read().strip() != "0":
        raise Failure(f"kostrel-tui quit with status {open(status).read().strip()}")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    try:
        run(os.path.abspath(sys.argv[1]), sys.argv[2])
    except (Failure, subprocess.SubprocessError) as error:
        sys.exit(f"tui_e2e: FAILED: {error}")
    print("tui_e2e: passed")


if __name__ == "__main__":
    main()
