#!/usr/bin/env python3
"""End-to-end test of kostrel-tui in tmux at 80 x 24, read back with capture-pane. It plays
the Windows program's game of the plan to a cleared row and a new record; each piece is
turned and shifted where it is found and stepped down to one row above its rest at most, so
the running fall timer, not a key, fixes it.

Usage: tui_e2e.py <kostrel-tui> [kostrel-sim]  (the plan's; else as tests/e2e/game_plan.py says)
ctest runs it (scripts/test-tui.sh) with tests/e2e on PYTHONPATH.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

from game_plan import load_plan
from piece_shapes import SHAPES

WAIT = 5.0  # seconds for anything to show; a game step takes 0.5 s
NAME = "Žluťoučký kůň q k"  # k and q are letters of the name, not the quit key
MARK_ROW = 10  # of "Pauza" and "Konec hry"
PREVIEW = (27, 4, 4)  # the preview's left column, rows and columns, for board()
TOO_SMALL = "Malé okno: hra potřebuje terminál alespoň 80 × 24 znaků."
Failure = AssertionError


class Terminal:
    def __init__(self, folder):
        self.socket = os.path.join(folder, "tmux.sock")
        self.last = ""

    def tmux(self, *arguments):
        return subprocess.run(["tmux", "-S", self.socket, "-f", "/dev/null", *arguments],
                              capture_output=True, text=True, timeout=10, check=True).stdout

    def keys(self, *keys):
        self.tmux("send-keys", "-t", "kostrel", *keys)

    def lines(self):
        self.last = self.tmux("capture-pane", "-p", "-t", "kostrel")
        return (self.last.split("\n") + [""] * 30)[:30]

    def wait_for(self, what, check):
        deadline = time.monotonic() + WAIT
        while not (result := check(self.lines())):
            if time.monotonic() > deadline:
                raise Failure(f"timed out waiting for {what}; the screen:\n{self.last}")
            time.sleep(0.02)
        return result


def board(lines, left=1, rows=20, columns=10):
    """The filled cells of the board, or of the preview (PREVIEW) to its right."""
    return {(r, c) for r in range(rows) for c in range(columns)
            if lines[1 + r][left + 2 * c:left + 2 * c + 2] == "██"}


def piece_on_board(stack, shape):
    # The row of the falling piece when the board shows the stack and the shape in column 4
    # (at any row), else None.
    def check(lines):
        seen = board(lines)
        top = min((r for r, _ in seen - stack), default=0)
        return (top + 1) if seen == stack | {(top + r, 4 + c) for r, c in shape} else None
    return check


def on_screen(text, row=None):
    return lambda lines: any(text in line for line in (lines if row is None else [lines[row]]))


def play(term, plan):
    """Plays the plan's pieces. A piece that needs no key is not waited for: near the top it
    may lock within one step, before a loaded machine shows it. The game's end, and with it
    the final score, shows in the new-record prompt."""
    term.keys("F2")
    stack, drawn = set(), []
    for n, piece in enumerate(plan["pieces"]):
        if piece["turns"] or piece["shift"] or piece["rest"] > 1:
            on_board = piece_on_board(stack, SHAPES[piece["kind"]][piece["rotation"]])
            preview = set(SHAPES[piece["preview"][0]][piece["preview"][1]])
            row = term.wait_for(f"piece {n}, kind {piece['kind']} rotation {piece['rotation']} "
                                f"in column 4 with the preview {piece['preview']}, on the "
                                "stack\n" + "\n".join(drawn), lambda lines: board(
                                    lines, *PREVIEW) == preview and on_board(lines)) - 1
            keys = ["Up"] * piece["turns"]
            keys += ["Right" if piece["shift"] > 0 else "Left"] * abs(piece["shift"])
            keys += ["Down"] * max(0, piece["rest"] - row - 1)
            term.keys(*keys)
        drawn = piece["stack"]
        stack = {(r, c) for r, line in enumerate(piece["stack"]) for c, ch in enumerate(line)
                 if ch == "#"}
    return str(plan["final_score"])


def check_game(term, plan, data, status):
    texts = ("┌─Hra", "Další", "Score", "F2/n nová hra", "k/q/F10 konec")
    first = term.wait_for(f"{texts} on the start screen", lambda lines: "┌─Hra" in lines[0]
                          and all(on_screen(text)(lines) for text in texts) and lines)
    if board(first) or board(first, *PREVIEW) != set(SHAPES[0][0]):
        raise Failure(f"the start board is not empty or the preview not 0/0:\n{term.last}")
    # play() finds the plan's first piece and preview, which kostrel_sim_test pins, on screen.
    score = play(term, plan)

    # The name is typed and edited into NAME; a tab, a line separator, a direction mark and a
    # noncharacter are refused.
    term.wait_for("the new-record prompt", on_screen(f"Vaše skore {score} je nový rekord"))
    term.keys("-l", "Xkůň q kY")
    term.keys("BSpace", "Home", "Left", "DC")  # Left stays at the start
    term.keys("-l", "Žluťoučký \t\u2028\u202e\uffff")
    term.keys("End", "Right", "DC", "Enter")  # Right stays at the end, Delete finds nothing
    # The mark shows behind the open prompt too: the prompt's closing is what Enter does,
    # and the file is written before the screen changes.
    term.wait_for("the prompt to close", lambda lines: not on_screen("Vaše skore")(lines)
                  and "Konec hry" in lines[MARK_ROW])
    stored = open(os.path.join(data, "kostrel", "best-result"), encoding="utf-8").read()
    if stored != f"{score}\n{NAME}\n":
        raise Failure(f"the best-result file holds {stored!r}, expected {score}\\n{NAME}\\n")


    # Pauses: a focus-out report typed as text, then a sequence the terminal's description
    # does not know, whose letter would quit; then `p`.
    term.keys("n")
    term.wait_for("a new game", lambda lines: "Konec hry" not in lines[MARK_ROW] and board(lines))
    for pause, resume in ((["\033[O", "\033[2Q"], ["\033[I"]), (["p"], ["p"])):
        for text in pause:
            term.keys("-l", text)
        held = term.wait_for("the pause mark",
                             lambda lines: "Pauza" in lines[MARK_ROW] and board(lines))
        time.sleep(1.2)
        if board(term.lines()) != held or "Zubrant" in term.last or os.path.exists(status):
            raise Failure(f"the game moved while paused, or a sequence was read as keys:\n"
                          f"{term.last}")
        term.keys("-l", *resume)
        term.wait_for("the game to go on", lambda lines: "Pauza" not in lines[MARK_ROW])

    # Too small: the message wraps within the window, whole, and names the size it needs.
    for columns, rows in ((40, 12), (20, 5)):
        term.tmux("resize-window", "-t", "kostrel", "-x", str(columns), "-y", str(rows))
        term.wait_for(f"the size message within {columns} x {rows}", lambda lines: all(
            len(line) < columns for line in lines) and " ".join(
                line for line in lines if line) == TOO_SMALL and "80 × 24" in term.last)
    term.tmux("resize-window", "-t", "kostrel", "-x", "80", "-y", "24")
    term.wait_for("the board again", on_screen("┌─Hra", 0))

    term.keys("q")
    code = term.wait_for("kostrel-tui to quit on q",
                         lambda _: os.path.exists(status) and open(status).read().strip())
    if code != "0":
        raise Failure(f"kostrel-tui quit with status {code}")


def check_no_colour(term, program, data):
    """With NO_COLOR set, the start screen shows its cells in no colour but the default."""
    term.tmux("new-session", "-d", "-s", "plain", "-x", "80", "-y", "24", "-e", "NO_COLOR=1",
              "-e", "LC_ALL=C.UTF-8", "-e", f"XDG_DATA_HOME={data}", program)
    deadline = time.monotonic() + WAIT
    while "██" not in (screen := term.tmux("capture-pane", "-p", "-e", "-t", "plain")):
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for the start screen with NO_COLOR:\n{screen}")
        time.sleep(0.02)
    codes = {int(code) for sgr in re.findall(r"\033\[([0-9;]*)m", screen)
             for code in sgr.split(";") if code}
    if any(30 <= code <= 48 and code not in (39, 49) or code >= 90 for code in codes):
        raise Failure(f"colours {sorted(codes)} with NO_COLOR set")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    plan = load_plan(sys.argv[2] if len(sys.argv) == 3 else None)
    with tempfile.TemporaryDirectory(prefix="kostrel-tui-e2e-") as folder:
        term = Terminal(folder)
        data, status = os.path.join(folder, "data"), os.path.join(folder, "status")
        # The pane outlives the program, so that its last screen can still be read.
        command = f"'{os.path.abspath(sys.argv[1])}'; echo $? > '{status}'; exec sleep 600"
        term.tmux("new-session", "-d", "-s", "kostrel", "-x", "80", "-y", "24",
                  "-e", "LC_ALL=C.UTF-8", "-e", f"XDG_DATA_HOME={data}", command)
        try:
            check_game(term, plan, data, status)
            check_no_colour(term, sys.argv[1], data)
        except (Failure, subprocess.SubprocessError) as error:
            sys.exit(f"tui_e2e: FAILED: {error}")
        finally:
            subprocess.run(["tmux", "-S", term.socket, "kill-server"], capture_output=True,
                           timeout=10)
    print("tui_e2e: passed")


if __name__ == "__main__":
    main()
