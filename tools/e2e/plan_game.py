#!/usr/bin/env python3
"""Plans the key presses of the end-to-end game with kostrel-sim and prints them as JSON.

The first game of a run is deterministic, so the native runner plays what the real program
will. A two-piece search places pieces until a row is cleared (the chooser hands out the
pieces that hurt most, so greedy play never clears one); then each piece drops where it
appears until the game ends. Each piece's entry holds what the test checks on screen.

Usage: tools/e2e/plan_game.py <kostrel-sim> > tests/win/e2e/game_plan.json
"""
import json
import os
import subprocess
import sys

# The pieces and the board as the end-to-end tests see them.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests",
                                "win", "e2e"))
from piece_shapes import BOARD_COLUMNS, BOARD_ROWS, SHAPES  # noqa: E402

MOST_STEPS = BOARD_ROWS + 2  # enough steps down to fix a piece dropped on an empty board
ROWS_TO_CLEAR = 1
TIMER_ROWS = 3  # rows that the fall timer may take a piece down before the test's keys


def run(sim, commands):
    """Runs `kostrel-sim play` with the commands; returns the states that its `show`s print:
    the 20 board rows as "grid", then fields such as "piece", "next" and "score"."""
    lines = subprocess.run([sim, "play"], input=" ".join(commands), capture_output=True,
                           text=True, check=True).stdout.splitlines()
    states = []
    for i in range(0, len(lines), BOARD_ROWS + 8):
        states.append(dict(line.split(" ", 1) for line in lines[i + BOARD_ROWS:i + BOARD_ROWS + 8]))
        states[-1]["grid"] = lines[i:i + BOARD_ROWS]
    return states


def game_overs(state):
    return int(state["host"].split()[5])


def fits(grid, cells, x, y):
    return all(0 <= x + c < BOARD_COLUMNS and 0 <= y + r < BOARD_ROWS
               and grid[y + r][x + c] != "#" for r, c in cells)


def placements(grid, kind, rotation):
    """Every (turns, shift, grid after, rows cleared) reachable from the piece's spawn:
    turn in place, shift, then drop."""
    found = []
    for turns in range(4):
        turned = [(rotation + t) % 4 for t in range(turns + 1)]
        if not all(fits(grid, SHAPES[kind][r], 4, 0) for r in turned):
            continue
        cells = SHAPES[kind][turned[-1]]
        for shift in range(-6, 7):
            step = 1 if shift > 0 else -1
            if not all(fits(grid, cells, 4 + x, 0) for x in range(step, shift + step, step)):
                continue
            y = 0
            while fits(grid, cells, 4 + shift, y + 1):
                y += 1
            rows = [list(row) for row in grid]
            for r, c in cells:
                rows[y + r][4 + shift + c] = "#"
            kept = ["".join(row) for row in rows if "." in row]
            cleared = BOARD_ROWS - len(kept)
            found.append((turns, shift, ["." * BOARD_COLUMNS] * cleared + kept, cleared))
    return found


def badness(grid, cleared):
    """A common hand-tuned board measure: tall columns, covered holes and a ragged surface
    are bad, cleared rows good. Holes weigh more than usual, since the chooser aims at
    them."""
    heights, holes = [], 0
    for c in range(BOARD_COLUMNS):
        top = next((r for r in range(BOARD_ROWS) if grid[r][c] == "#"), BOARD_ROWS)
        heights.append(BOARD_ROWS - top)
        holes += sum(1 for r in range(top, BOARD_ROWS) if grid[r][c] == ".")
    bumps = sum(abs(a - b) for a, b in zip(heights, heights[1:]))
    return 0.51 * sum(heights) - 3.0 * cleared + 1.08 * holes + 0.18 * bumps


def choose(grid, kind, rotation, next_kind, next_rotation):
    """The (turns, shift) of the falling piece whose best follow-up with the next piece
    leaves the least bad board; a placement after which the next piece has nowhere to go
    costs 1 more than the board it leaves."""
    best = None
    for turns, shift, after, cleared in placements(grid, kind, rotation):
        rank = badness(after, cleared) + 1
        for _, _, later, later_cleared in placements(after, next_kind, next_rotation):
            rank = min(rank, badness(later, cleared + later_cleared))
        if best is None or rank < best[0]:
            best = (rank, turns, shift)
    return best[1:]  # the piece fits where it appears, or the game would be over


def fixed_after(states):
    """The number of steps down after states[0] until the piece was fixed, and the state
    then."""
    for steps, after in enumerate(states[1:], start=1):
        if after["grid"] != states[0]["grid"] or after["score"] != states[0]["score"] \
                or game_overs(after) != 0:
            return steps, after
    sys.exit("plan_game: a piece never came to rest")


def plan(sim):
    history = ["new"]
    pieces = []
    while True:
        state = run(sim, history + ["show"])[0]
        kind, rotation, _, _ = map(int, state["piece"].split())
        preview = list(map(int, state["next"].split()))
        # Once a row is cleared, each piece drops where it appears: every fall step is then
        # the same whether a key or the timer makes it.
        turns, shift = choose(state["grid"], kind, rotation, *preview) \
            if int(state["score"]) < ROWS_TO_CLEAR else (0, 0)
        keys = ["rotate"] * turns + ["right" if shift > 0 else "left"] * abs(shift)
        states = run(sim, history + keys + ["show"] + ["down", "show"] * MOST_STEPS)
        if states[0]["piece"].split()[1:3] != [str((rotation + turns) % 4), str(4 + shift)]:
            sys.exit(f"plan_game: piece {len(pieces)} did not turn or shift as planned")
        steps, after = fixed_after(states)
        # The test turns and shifts a piece wherever the fall timer has taken it meanwhile:
        # the same keys a few rows lower must lead to the same stack.
        if keys:
            _, lower = fixed_after(run(sim, history + ["down"] * TIMER_ROWS + keys + ["show"]
                                       + ["down", "show"] * MOST_STEPS))
            if (lower["grid"], lower["score"]) != (after["grid"], after["score"]):
                sys.exit(f"plan_game: piece {len(pieces)} needs its keys at the very top")
        history += keys + ["down"] * steps
        pieces.append(dict(kind=kind, rotation=rotation, preview=preview, turns=turns,
                           shift=shift, rest=steps - 1, stack=after["grid"]))
        if game_overs(after) != 0:
            return pieces, int(after["score"])


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    pieces, score = plan(sys.argv[1])
    if score < ROWS_TO_CLEAR:
        sys.exit("plan_game: the game ended before a row was cleared")
    json.dump({"about": "The first game of a run, planned by plan_game.py with kostrel-sim; "
                        "rest is the row where the piece comes to rest, stack the board "
                        "once it is fixed.",
               "pieces": pieces, "final_score": score}, sys.stdout, indent=1)
    print()


if __name__ == "__main__":
    main()
