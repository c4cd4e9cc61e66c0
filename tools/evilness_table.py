#!/usr/bin/env python3
"""How evil each adversary is: each player against each adversary, as the README's table.

Players: the bot looking at the falling piece only (depth 1) and at the preview too (depth 2,
what a player sees), 20 games each capped at 2000 pieces; the attacker at beams 8, 64 and
256 from three starts, capped at 1000 pieces. Per cell: mean and maximum rows, games still
running at the cap, and the time taken.

Each cell is kept in a JSON file as soon as it is done, so a long run can be stopped and
resumed, or split: --cells names the cells to compute (adversary:player, e.g.
zly:beam64), and cells already in the file are not computed again unless --again. The
table is printed from whatever the file holds, a cell not computed yet as "-".

    tools/evilness_table.py [--sim build/native/tools/kostrel-sim] [--results FILE]
                            [--cells zly:beam64,sz:depth2 ...] [--weights evolved] [--again]
"""
import argparse
import json
import os
import statistics
import subprocess
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
ADVERSARIES = ["klasicky", "zly", "sz", "nahodny"]
PLAYERS = ["depth1", "depth2", "beam8", "beam64", "beam256"]
STARTS = ["0029e2c0.00", "4d1f6a2b.52", "b7e15162.13"]  # a fresh program's, and two others
BOT_GAMES, BOT_CAP, ATTACK_CAP = 20, 2000, 1000


def bot_cell(sim, adversary, depth, weights):
    lines = subprocess.run([sim, "bot", "--adversary", adversary, "--depth", str(depth),
                            "--games", str(BOT_GAMES), "--max-pieces", str(BOT_CAP),
                            "--weights", weights], check=True, capture_output=True,
                           text=True).stdout.splitlines()[:-1]
    games = [line.split() for line in lines]
    return [{"rows": int(g[3]), "pieces": int(g[5]), "capped": g[-1] == "capped"} for g in games]


def attack_cell(sim, adversary, beam, weights):
    games = []
    for start in STARTS:
        lines = subprocess.run([sim, "attack", "--adversary", adversary, "--beam", str(beam),
                                "--max-pieces", str(ATTACK_CAP), "--weights", weights,
                                "--start", start], check=True, capture_output=True,
                               text=True).stdout.splitlines()
        result, speed = lines[1].split(), lines[2].split()
        games.append({"start": start, "rows": int(result[1]), "pieces": int(result[3]),
                      "capped": result[4] == "running", "seconds": float(speed[3]),
                      "pieces_per_second": float(speed[5])})
        print(f"  {adversary} beam {beam} from {start}: {lines[1]}", flush=True)
    return games


def compute(sim, adversary, player, weights):
    begin = time.monotonic()
    if player.startswith("depth"):
        games = bot_cell(sim, adversary, int(player[5:]), weights)
    else:
        games = attack_cell(sim, adversary, int(player[4:]), weights)
    return {"games": games, "seconds": round(time.monotonic() - begin, 1)}


def show(cell):
    if cell is None:
        return "-"
    rows = [game["rows"] for game in cell["games"]]
    capped = sum(game["capped"] for game in cell["games"])
    return (f"{statistics.mean(rows):.1f} / {max(rows)}, {capped}/{len(rows)} capped, "
            f"{cell['seconds']:.0f} s")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--sim", default=os.path.join(ROOT, "build/native/tools/kostrel-sim"))
    parser.add_argument("--results", default=os.path.join(ROOT, "build/evilness.json"))
    parser.add_argument("--cells", help="adversary:player,... (default: every cell)")
    parser.add_argument("--weights", default="evolved", help="the players' weight set")
    parser.add_argument("--again", action="store_true", help="compute cells already kept")
    options = parser.parse_args()

    results = {}
    if os.path.exists(options.results):
        with open(options.results, encoding="utf-8") as stored:
            results = json.load(stored)
    wanted = ([tuple(cell.split(":")) for cell in options.cells.split(",")] if options.cells
              else [(a, p) for a in ADVERSARIES for p in PLAYERS])
    for adversary, player in wanted:
        if adversary not in ADVERSARIES or player not in PLAYERS:
            parser.error(f"no cell {adversary}:{player}")
        key = f"{adversary}:{player}:{options.weights}"
        if key in results and not options.again:
            continue
        print(f"{key} ...", flush=True)
        results[key] = compute(options.sim, adversary, player, options.weights)
        os.makedirs(os.path.dirname(options.results) or ".", exist_ok=True)
        with open(options.results + ".new", "w", encoding="utf-8") as kept:
            json.dump(results, kept, indent=1)
        os.replace(options.results + ".new", options.results)

    print(f"\nMean / maximum rows, games capped, time; players with the {options.weights} "
          "weights:\n")
    print("| adversary | " + " | ".join(
        ["depth-1 bot", "depth-2 bot", "attacker beam 8", "beam 64", "beam 256"]) + " |")
    print("|---" * (len(PLAYERS) + 1) + "|")
    for adversary in ADVERSARIES:
        cells = [show(results.get(f"{adversary}:{p}:{options.weights}")) for p in PLAYERS]
        print(f"| `{adversary}` | " + " | ".join(cells) + " |")


if __name__ == "__main__":
    main()
