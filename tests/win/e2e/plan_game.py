#!/usr/bin/env python3
"""Plans the key presses of the end-to-end game with kostrel-sim and writes them out.

The first game of a run is deterministic, so the native runner plays exactly what the real
program will. The plan places pieces with a small two-piece search until a row is cleared
(the chooser hands out the pieces that hurt most, so plain greedy play never clears one),
then drops every piece where it appears until the game ends. For each piece it records
where it appears, the preview meanwhile, the turns and shifts, the row where it comes to
rest and the stack once it is fixed, so the test can check the screen piece by piece.

Usage: plan_game.py <kostrel-sim> > game_plan.txt
"""
import subprocess
import sys

BOARD_COLUMNS = 10
BOARD_ROWS = 20
# Enough steps down to fix a piece dropped from the top of an empty board.
MOST_STEPS = BOARD_ROWS + 2
ROWS_TO_CLEAR = 1
# Rows that the fall timer may take a piece down before the test's keys reach it.
TIMER_ROWS = 3


def run(sim, commands):
    done = subprocess.run([sim, "play"], input=" ".join(commands), capture_output=True,
                          text=True, check=True)
    return done.stdout


def parse_states(text):
    """Splits the output of several `show` commands into dictionaries."""
    states = []
    lines = text.splitlines()
    i = 0
    while i < len(lines):
        grid = lines[i:i + BOARD_ROWS]
        fields = {}
        for line in lines[i + BOARD_ROWS:i + BOARD_ROWS + 8]:
            key, _, value = line.partition(" ")
            fields[key] = value
        fields["grid"] = grid
        states.append(fields)
        i += BOARD_ROWS + 8
    return states


def game_overs(state):
    return int(state["host"].split()[5])


def piece_keys(rotations, shift):
    keys = ["rotate"] * rotations
    keys += ["right" if shift > 0 else "left"] * abs(shift)
    return keys


# The piece pictures, turned as the game turns them: a quarter turn, then shifted up and
# left until row 0 and column 0 hold a cell. Used only to search; kostrel-sim decides.
TEMPLATES = ["X   X   XX      ", " X   X  XX      ", "XX  XX          ",
             "XX   XX         ", " XX XX          ", " X  XXX         ", "X   X   X   X   "]


def turn(picture):
    cells = [picture[i * 4 + (3 - j)] for j in range(4) for i in range(4)]
    while all(cells[c] == " " for c in range(4)) and any(ch != " " for ch in cells):
        cells = cells[4:] + [" "] * 4
    while all(cells[r * 4] == " " for r in range(4)) and any(ch != " " for ch in cells):
        cells = [cells[r * 4 + c + 1] if c < 3 else " " for r in range(4) for c in range(4)]
    return "".join(cells)


def build_shapes():
    shapes = []
    for template in TEMPLATES:
        rotation = template
        for _ in range(4):
            rotation = turn(rotation)
        kind = [rotation]
        for _ in range(3):
            kind.append(turn(kind[-1]))
        shapes.append([[(i // 4, i % 4) for i, ch in enumerate(p) if ch != " "] for p in kind])
    return shapes


SHAPES = build_shapes()


def fits(grid, cells, x, y):
    for r, c in cells:
        if not (0 <= x + c < BOARD_COLUMNS and 0 <= y + r < BOARD_ROWS):
            return False
        if grid[y + r][x + c] == "#":
            return False
    return True


def placements(grid, kind, rotation):
    """Every (turns, shift, grid after, rows cleared) reachable from the piece's spawn:
    turn in place, shift, then drop."""
    found = []
    for turns in range(4):
        r, ok = rotation, fits(grid, SHAPES[kind][rotation], 4, 0)
        for _ in range(turns):
            r = (r + 1) % 4
            ok = ok and fits(grid, SHAPES[kind][r], 4, 0)
        if not ok:
            continue
        cells = SHAPES[kind][r]
        for shift in range(-6, 7):
            step = 1 if shift > 0 else -1
            x = 4
            while x != 4 + shift and fits(grid, cells, x + step, 0):
                x += step
            if x != 4 + shift:
                continue
            y = 0
            while fits(grid, cells, x, y + 1):
                y += 1
            rows = [list(row) for row in grid]
            for cr, cc in cells:
                rows[y + cr][x + cc] = "#"
            kept = ["".join(row) for row in rows if "." in row]
            cleared = BOARD_ROWS - len(kept)
            after = ["." * BOARD_COLUMNS] * cleared + kept
            found.append((turns, shift, after, cleared))
    return found


# Weights of a common hand-tuned board measure: tall columns, covered holes and a ragged
# surface are bad, cleared rows good. Holes weigh more than usual, since the chooser aims at
# them.
HEIGHT_WEIGHT = 0.51
CLEARED_WEIGHT = 3.0
HOLE_WEIGHT = 1.08
BUMP_WEIGHT = 0.18
# Added when the next piece has nowhere to go, so such a placement is taken only if nothing
# better exists.
NO_FOLLOW_PENALTY = 1.0


def badness(grid, cleared):
    heights = []
    holes = 0
    for c in range(BOARD_COLUMNS):
        top = next((r for r in range(BOARD_ROWS) if grid[r][c] == "#"), BOARD_ROWS)
        heights.append(BOARD_ROWS - top)
        holes += sum(1 for r in range(top, BOARD_ROWS) if grid[r][c] == ".")
    bumps = sum(abs(a - b) for a, b in zip(heights, heights[1:]))
    return (HEIGHT_WEIGHT * sum(heights) - CLEARED_WEIGHT * cleared + HOLE_WEIGHT * holes
            + BUMP_WEIGHT * bumps)


def choose(grid, kind, rotation, next_kind, next_rotation):
    """The placement (turns, shift) of the falling piece whose best follow-up with the known
    next piece leaves the least bad board."""
    best = None
    for turns, shift, after, cleared in placements(grid, kind, rotation):
        rank = badness(after, cleared) + NO_FOLLOW_PENALTY
        for _, _, later, later_cleared in placements(after, next_kind, next_rotation):
            rank = min(rank, badness(later, cleared + later_cleared))
        if best is None or rank < best[0]:
            best = (rank, turns, shift)
    return best


def fixed_after(states, before):
    """The number of steps down until the piece was fixed, and the state then."""
    for steps, after in enumerate(states, start=1):
        if after["grid"] != before["grid"] or after["score"] != before["score"] \
                or game_overs(after) != 0:
            return steps, after
    sys.exit("plan_game: a piece never came to rest")


def lands_the_same_lower(sim, history, keys, after):
    """The test turns and shifts a piece wherever the fall timer has taken it meanwhile;
    the plan holds only if the same keys a few rows lower lead to the same stack."""
    early = ["down"] * TIMER_ROWS
    states = parse_states(run(sim, history + early + keys + ["show"]
                              + ["down", "show"] * MOST_STEPS))
    _, later = fixed_after(states[1:], states[0])
    return later["grid"] == after["grid"] and later["score"] == after["score"]


def plan(sim):
    history = ["new"]
    pieces = []
    while True:
        state = parse_states(run(sim, history + ["show"]))[0]
        kind, rotation, _, _ = map(int, state["piece"].split())
        preview = tuple(map(int, state["next"].split()))
        if int(state["score"]) < ROWS_TO_CLEAR:
            best = choose(state["grid"], kind, rotation, *preview)
            if best is None:
                sys.exit("plan_game: no placement fits after " + " ".join(history))
            _, turns, shift = best
        else:
            # Dropped where it appears: every fall step is the same whether a key or the
            # timer makes it.
            turns, shift = 0, 0
        keys = piece_keys(turns, shift)
        states = parse_states(run(sim, history + keys + ["show"] + ["down", "show"] * MOST_STEPS))
        moved = states[0]
        if moved["piece"].split()[1:3] != [str((rotation + turns) % 4), str(4 + shift)]:
            sys.exit(f"plan_game: piece {len(pieces)} did not turn or shift as planned")
        steps, after = fixed_after(states[1:], moved)
        if keys and not lands_the_same_lower(sim, history, keys, after):
            sys.exit(f"plan_game: piece {len(pieces)} needs its keys at the very top")
        history += keys + ["down"] * steps
        pieces.append(dict(kind=kind, rotation=rotation, preview=preview, turns=turns,
                           shift=shift, rest=steps - 1, stack=after["grid"]))
        if game_overs(after) != 0:
            return pieces, int(after["score"])
        if int(after["score"]) < ROWS_TO_CLEAR and len(pieces) > 50:
            sys.exit("plan_game: no row cleared in 50 pieces")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    pieces, score = plan(sys.argv[1])
    if score < ROWS_TO_CLEAR:
        sys.exit("plan_game: the game ended before a row was cleared")
    print("# The first game of a run, planned by plan_game.py with kostrel-sim.")
    print("# piece <n> kind <k> rotation <r> preview <kind> <rotation> turns <t> shift <s>"
          " rest <row>")
    print("#   then the 20 rows of the stack once the piece is fixed.")
    for n, piece in enumerate(pieces):
        print(f"piece {n} kind {piece['kind']} rotation {piece['rotation']} "
              f"preview {piece['preview'][0]} {piece['preview'][1]} turns {piece['turns']} "
              f"shift {piece['shift']} rest {piece['rest']}")
        for row in piece["stack"]:
            print("stack " + row)
    print(f"final score {score}")


if __name__ == "__main__":
    main()
