#!/usr/bin/env python3
"""The end-to-end tests' plan, replayed through `kostrel-sim play` as the tests press it:
each piece appears as planned; its keys, pressed at once or after the fall timer has taken
it up to three rows down, leave the planned stack, resting in the planned row; the game ends
with the planned score, a cleared row at least.

Usage: game_plan_test.py <kostrel-sim>
"""
import subprocess
import sys

from game_plan import load_plan

ROWS = 20
TIMER_ROWS = 3
STEPS = ROWS + 1  # enough steps down to fix any piece


def shows(sim, commands):
    """The states that the commands' `show`s print: the grid and the named lines."""
    lines = subprocess.run([sim, "play"], input=" ".join(commands), capture_output=True,
                           text=True, check=True).stdout.splitlines()
    states = []
    for top in range(0, len(lines), ROWS + 8):
        state = dict(line.split(" ", 1) for line in lines[top + ROWS:top + ROWS + 8])
        state["grid"] = lines[top:top + ROWS]
        states.append(state)
    return states


def fixed(states):
    """The row where the piece of states[0] rested and the state once it was fixed."""
    for before, after in zip(states, states[1:]):
        row = int(before["piece"].split()[3])
        if int(after["piece"].split()[3]) != row + 1:
            return row, after
    raise AssertionError("the piece never came to rest")


def main():
    sim = sys.argv[1]
    plan = load_plan(sim)
    history = ["new"]
    for n, piece in enumerate(plan["pieces"]):
        start = shows(sim, history + ["show"])[0]
        appears = [piece["kind"], piece["rotation"], 4, 0]
        assert list(map(int, start["piece"].split())) == appears, (n, start["piece"], appears)
        assert list(map(int, start["next"].split())) == piece["preview"], (n, start["next"])
        keys = ["rotate"] * piece["turns"]
        keys += ["right" if piece["shift"] > 0 else "left"] * abs(piece["shift"])
        for late in range(TIMER_ROWS + 1 if keys else 1):
            row, after = fixed(shows(sim, history + ["down"] * late + keys + ["show"]
                                     + ["down", "show"] * STEPS))
            assert (row, after["grid"]) == (piece["rest"], piece["stack"]), \
                f"piece {n} with its keys {late} rows down rests in row {row} on\n" \
                + "\n".join(after["grid"])
        history += keys + ["down"] * (piece["rest"] + 1)
    end = shows(sim, history + ["show"])[0]
    assert end["running"] == "0" and " gameovers 1 " in end["host"], end["host"]
    assert int(end["score"]) == plan["final_score"] >= 1, (end["score"], plan["final_score"])
    print(f"game_plan_test: {len(plan['pieces'])} pieces to a score of {plan['final_score']}")


if __name__ == "__main__":
    main()
