"""The game that the end-to-end tests play, as kostrel-sim's bot plans it.

load_plan() runs `kostrel-sim plan`, against the adversary named if one is, and returns its
JSON as a dict: "pieces", each with the piece's "kind" and "rotation" as it appears, its
"preview" [kind, rotation], the "turns" (Up) and "shift" (Right when positive, else Left)
keys that place it, the "rest" row it comes to rest in and the "stack" it leaves (20 strings
of '.' and '#'); and the "final_score".
"""
import json
import os
import subprocess

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
DEFAULT_SIM = os.path.join(ROOT, "build", "native", "tools", "kostrel-sim")


class PlanError(Exception):
    pass


def sim_path(sim=None):
    """`sim`, else $KOSTREL_SIM, else the native build's kostrel-sim; a clear error if it
    cannot be run."""
    sim = sim or os.environ.get("KOSTREL_SIM") or DEFAULT_SIM
    if not os.access(sim, os.X_OK):
        raise PlanError(f"no kostrel-sim at {sim} to plan the game: build the native tree "
                        "(cmake --preset native && cmake --build --preset native) or set "
                        "KOSTREL_SIM")
    return sim


def load_plan(sim=None, adversary=None):
    """The plan from sim_path(sim), against `adversary` if given, else klasicky."""
    sim = sim_path(sim)
    done = subprocess.run([sim, "plan", *(["--adversary", adversary] if adversary else [])],
                          stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=60)
    if done.returncode != 0:
        raise PlanError(f"{sim} plan ended with status {done.returncode}: {done.stderr.strip()}")
    return json.loads(done.stdout)
