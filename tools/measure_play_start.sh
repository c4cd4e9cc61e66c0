#!/usr/bin/env bash
# The time from starting scripts/play.sh to the game's window, on a private Xvfb display:
# run it in a fresh clone for a first start (build and Wine prefix), then for a later one.
set -euo pipefail
cd "$(dirname "$0")/.."
display=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp 3> "$display" > /dev/null 2>&1 &
stop() {
  jobs -p | xargs -r kill 2> /dev/null
  rm -f "$display"
  for prefix in build/play/wineprefix*; do WINEPREFIX=$PWD/$prefix timeout 20 wineserver -k; done
}
trap stop EXIT
timeout 20 sh -c "until grep -q '^[0-9]' $display; do sleep 0.1; done"
DISPLAY=":$(cat "$display")"
export DISPLAY
start=$(date +%s%N)
scripts/play.sh > /dev/null 2>&1 &
timeout 600 sh -c "until xdotool search --name '^Kostrel$' > /dev/null 2>&1; do sleep 0.05; done"
echo "play.sh to the game's window: $(( ($(date +%s%N) - start) / 1000000 )) ms"
