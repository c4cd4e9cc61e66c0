#!/usr/bin/env python3
"""End-to-end test of kostrel-tui in tmux at 80 x 24, read back with capture-pane. It plays
the Windows program's game of the plan to a cleared row and a new record; each piece is
turned and shifted where it is found and stepped down to one row above its rest at most, so
the running fall timer, not a key, fixes it. kostrel-sim referees the game's kept code, and
a second run plays the zly adversary's plan against the remembered choice.

Usage: tui_e2e.py <kostrel-tui> [kostrel-sim]  (the plan's and the referee; else as
tests/e2e/game_plan.py says). ctest runs it (scripts/test-tui.sh) with tests/e2e on PYTHONPATH.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from game_plan import load_plan, sim_path
from piece_shapes import SHAPES

WAIT = 5.0  # seconds for anything to show; a game step takes 0.5 s
NAME = "Žluťoučký kůň q k"  # k and q are letters of the name, not the quit key
ADVERSARY_ROW = 10  # the adversary's name, under the score
MARK_ROW = 13  # of "Pauza" and "Konec hry"
PREVIEW = (27, 4, 4)  # the preview's left column, rows and columns, for board()
KINDS = "LJOZSTI"  # as the why-this-piece panel names them
TOO_SMALL = "Malé okno: hra potřebuje terminál alespoň 80 × 24 znaků."
Failure = AssertionError


class Terminal:
    def __init__(self, folder, environment, colours=False):
        """A pane with the environment given; `colours` keeps the escape sequences of the
        screen's attributes in what lines() reads."""
        self.socket = os.path.join(folder, "tmux.sock")
        self.environment = [arg for name, value in environment.items()
                            for arg in ("-e", f"{name}={value}")]
        self.capture = ["-e"] if colours else []
        self.last = ""

    def start(self, command, status):
        """Runs the command in a fresh pane that outlives it, so that its last screen can
        still be read, and writes its exit status to `status`."""
        self.tmux("kill-session", "-t", "kostrel", check=False)
        shell = " ".join(f"'{part}'" for part in command)
        self.tmux("new-session", "-d", "-s", "kostrel", "-x", "80", "-y", "24",
                  *self.environment, f"{shell}; echo $? > '{status}'; exec sleep 600")

    def quit(self, status, key="q"):
        self.keys(key)
        code = self.wait_for(f"kostrel-tui to quit on {key}",
                             lambda _: os.path.exists(status) and open(status).read().strip())
        if code != "0":
            raise Failure(f"kostrel-tui quit with status {code}")

    def tmux(self, *arguments, check=True):
        return subprocess.run(["tmux", "-S", self.socket, "-f", "/dev/null", *arguments],
                              capture_output=True, text=True, timeout=10, check=check).stdout

    def keys(self, *keys):
        self.tmux("send-keys", "-t", "kostrel", *keys)

    def lines(self):
        self.last = self.tmux("capture-pane", "-p", *self.capture, "-t", "kostrel")
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


def refereed(sim, code):
    """kostrel-sim replay's verdict on a code: its grid (without the falling piece), rows,
    pieces and whether the game is over."""
    done = subprocess.run([sim, "replay"], input=code, capture_output=True, text=True,
                          timeout=60, check=True)
    lines = done.stdout.split("\n")
    grid = {(r, c) for r in range(20) for c in range(10) if lines[r][c] == "#"}
    facts = dict(line.split() for line in lines[20:24])
    return grid, int(facts["rows"]), int(facts["pieces"]), facts["over"] == "1"


def check_final_board(shown, grid, what):
    """The board shown at the end is the referee's grid and, at the top, the piece that no
    longer fitted."""
    extra = shown - grid
    if not grid <= shown or any(r >= 4 or not 4 <= c < 8 for r, c in extra):
        raise Failure(f"{what} shows {sorted(shown)}, the referee's grid is {sorted(grid)}")


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


def start_screen(term, adversary):
    texts = ("┌─Hra", "Další", "Score", "F2/n nová hra", "k/q/F10 konec")
    return term.wait_for(f"{texts} on the start screen against {adversary}",
                         lambda lines: "┌─Hra" in lines[0] and adversary in lines[ADVERSARY_ROW]
                         and all(on_screen(text)(lines) for text in texts) and lines)


def check_game(term, plan, folder, sim):
    """The plan's game against klasicky, its record and its code; the panel, the pauses, the
    size message and the choice of zly for the next run."""
    data, status = os.path.join(folder, "data", "kostrel"), os.path.join(folder, "status")
    term.start([PROGRAM], status)
    first = start_screen(term, "klasický")
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
    end = term.wait_for("the prompt to close", lambda lines: not on_screen("Vaše skore")(lines)
                        and "Konec hry" in lines[MARK_ROW] and lines)
    stored = open(os.path.join(data, "best-result"), encoding="utf-8").read()
    if stored != f"{score}\n{NAME}\n":
        raise Failure(f"the best-result file holds {stored!r}, expected {score}\\n{NAME}\\n")

    # The game's code, kept as the last game and as the record's, replays to what was shown.
    code = open(os.path.join(data, "last-game.replay")).read()
    grid, rows, pieces, over = refereed(sim, code)
    if (rows, pieces, over) != (int(score), len(plan["pieces"]), True):
        raise Failure(f"the kept code replays to rows {rows}, pieces {pieces}, over {over}; "
                      f"the game scored {score} with {len(plan['pieces'])} pieces")
    check_final_board(board(end), grid, "the game's end")
    if open(os.path.join(data, "best-result.replay")).read() != code:
        raise Failure("best-result.replay is not the record's game")
    shutil.copy(os.path.join(data, "last-game.replay"), os.path.join(folder, "game.replay"))

    # Why this piece: the panel marks the kind that the preview shows.
    cells = board(end, *PREVIEW)
    kind = next(k for k in range(7) for turn in SHAPES[k] if set(turn) == cells)
    term.keys("i")
    marked = term.wait_for("the why-this-piece panel", lambda lines: "Proč tento dílek" in lines[0]
                           and next((m.group(1) for line in lines[:16] if (m := re.search(
                               r"([LJOZSTI]) .*◄", line[40:]))), None))
    if marked != KINDS[kind]:
        raise Failure(f"the panel marks {marked}, the preview shows {KINDS[kind]}:\n{term.last}")

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

    # zly chosen from the list for the next game, which the running one does not change.
    term.keys("a")
    term.wait_for("the list of adversaries, klasický marked", lambda lines: on_screen(
        "Kdo bude vybírat")(lines) and all(on_screen(n)(lines) for n in ("zlý", "S a Z", "náhodný"))
        and on_screen("● klasický")(lines))
    term.keys("Down", "Enter")
    term.wait_for("the choice's notice", lambda lines: on_screen(
        "Protivník zlý bude vybírat dílky od příští nové hry.")(lines)
        and "klasický" in lines[ADVERSARY_ROW])
    remembered = open(os.path.join(folder, "state", "kostrel", "adversary")).read()
    if remembered != "zly\n":
        raise Failure(f"the remembered choice is {remembered!r}")
    term.keys("Enter")
    term.wait_for("the notice to close", lambda lines: not on_screen("příští nové hry")(lines))
    term.quit(status)
    return score


def check_zly_and_replays(term, folder, sim, zly_plan, score):
    """A second run against the remembered zly: its record beside klasicky's, which stays as
    it was; then the first game's code watched with --replay to its end; then refusals."""
    data, status = os.path.join(folder, "data", "kostrel"), os.path.join(folder, "status-zly")
    klasicky = open(os.path.join(data, "best-result"), "rb").read()
    term.start([PROGRAM], status)
    start_screen(term, "zlý")
    zly = play(term, zly_plan)
    term.wait_for("the new-record prompt", on_screen(f"Vaše skore {zly} je nový rekord"))
    term.keys("-l", "Zlý")
    term.keys("Enter")
    term.wait_for("the prompt to close", lambda lines: not on_screen("Vaše skore")(lines))
    stored = open(os.path.join(data, "best-result-zly"), encoding="utf-8").read()
    if stored != f"{zly}\nZlý\n" or open(os.path.join(data, "best-result"), "rb").read() != klasicky:
        raise Failure(f"best-result-zly holds {stored!r}, or zly's record changed klasicky's")
    term.keys("v")
    term.wait_for("zly's record", lambda lines: on_screen("Rekord – protivník zlý")(lines)
                  and on_screen(f"Nelepšího skore {zly} dosáhl Zlý.")(lines))
    term.keys("Enter")
    term.wait_for("the record to close", lambda lines: not on_screen("Nelepšího")(lines))
    term.quit(status)

    game = os.path.join(folder, "game.replay")
    status = os.path.join(folder, "status-replay")
    term.start([PROGRAM, "--replay", game], status)
    term.wait_for("the replay", lambda lines: "┌─Záznam hry" in lines[0]
                  and on_screen("Záznam běží.")(lines))
    term.keys("End")
    end = term.wait_for("the replay's end", lambda lines: on_screen(
        f"Záznam skončil se skóre {score}.")(lines) and "Konec záznamu" in lines[MARK_ROW] and lines)
    check_final_board(board(end), refereed(sim, open(game).read())[0], "the replay's end")
    term.quit(status)

    # Refused before the terminal is taken: an unknown adversary and a code with a count of 1.
    with open(os.path.join(folder, "bad.replay"), "w") as bad:
        bad.write(open(game).read().strip() + "t1\n")
    for arguments, reason in (
            (["--adversary", "nejhorsi"], "kostrel-tui: neznámý protivník „nejhorsi“; "
             "platné hodnoty: klasicky, zly, sz, nahodny\n"),
            (["--replay", bad.name], 'nemá platný záznam hry: bad replay: count "1"')):
        done = subprocess.run([PROGRAM, *arguments], stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=10)
        if done.returncode != 2 or reason not in done.stderr or done.stdout:
            raise Failure(f"kostrel-tui {arguments}: status {done.returncode}, stdout "
                          f"{done.stdout!r}, stderr {done.stderr!r}")


def check_no_colour(folder):
    """With NO_COLOR set, the start screen shows its cells in no colour but the default. A
    remembered adversary that this version does not know gives klasický and a notice."""
    state = os.path.join(folder, "later", "kostrel")
    os.makedirs(state)
    with open(os.path.join(state, "adversary"), "w") as later:
        later.write("nejhorsi\n")
    plain = Terminal(folder, {"NO_COLOR": "1", "LC_ALL": "C.UTF-8",
                              "XDG_DATA_HOME": f"{folder}/data",
                              "XDG_STATE_HOME": f"{folder}/later"}, colours=True)
    plain.start([PROGRAM], os.path.join(folder, "status-plain"))
    screen = plain.wait_for("the start screen with NO_COLOR and the notice", lambda lines: (
        "██" in plain.last and "tato verze nezná" in plain.last
        and "klasický" in lines[ADVERSARY_ROW] and plain.last))
    codes = {int(code) for sgr in re.findall(r"\033\[([0-9;]*)m", screen)
             for code in sgr.split(";") if code}
    if any(30 <= code <= 48 and code not in (39, 49) or code >= 90 for code in codes):
        raise Failure(f"colours {sorted(codes)} with NO_COLOR set")


def main():
    global PROGRAM
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    PROGRAM = os.path.abspath(sys.argv[1])
    sim = sim_path(sys.argv[2] if len(sys.argv) == 3 else None)
    plan, zly_plan = load_plan(sim), load_plan(sim, adversary="zly")
    with tempfile.TemporaryDirectory(prefix="kostrel-tui-e2e-") as folder:
        term = Terminal(folder, {"LC_ALL": "C.UTF-8", "XDG_DATA_HOME": f"{folder}/data",
                                 "XDG_STATE_HOME": f"{folder}/state"})
        try:
            score = check_game(term, plan, folder, sim)
            check_zly_and_replays(term, folder, sim, zly_plan, score)
            check_no_colour(folder)
        except (Failure, subprocess.SubprocessError) as error:
            sys.exit(f"tui_e2e: FAILED: {error}")
        finally:
            subprocess.run(["tmux", "-S", term.socket, "kill-server"], capture_output=True,
                           timeout=10)
    print("tui_e2e: passed")


if __name__ == "__main__":
    main()
