#!/usr/bin/env bash
# Replay figures, after a native build: kostrel-sim replay of a 10,000-piece game (the depth-2
# bot's second game against klasicky, which lasts), the code's length per piece, and what
# watching costs next to playing (kostrel-replay-cost).
set -euo pipefail
cd "$(dirname "$0")/.."
sim=build/native/tools/kostrel-sim
games=$(mktemp)
trap 'rm -f "$games"' EXIT
"$sim" bot --games 2 --depth 2 --adversary klasicky --max-pieces 10000 --replays > "$games"
sed -n 3p "$games"
code=$(sed -n 4p "$games")
awk -v characters="${#code}" 'BEGIN { printf "code: %d characters, %.2f a piece\n", characters, characters / 10000 }'
for run in 1 2 3; do
  start=$(date +%s%N)
  "$sim" replay <<< "$code" > /dev/null
  echo "kostrel-sim replay, run $run: $(( ($(date +%s%N) - start) / 1000000 )) ms"
done
build/native/tools/kostrel-replay-cost
