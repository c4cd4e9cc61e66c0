#!/usr/bin/env bash
# A player's wait: the seconds from starting scripts/play.sh to the game's window, on a
# private Xvfb display. Run it in a fresh clone for the first start (build and Wine prefix),
# then again for a later one. The machine should have the packages already.
#   tools/measure_play_start.sh
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" > /dev/null 2>&1 &
xvfb=$!
play=
stop() {
  [ -z "$play" ] || kill "$play" 2> /dev/null || true
  for prefix in build/play/wineprefix*; do
    [ ! -d "$prefix" ] || WINEPREFIX=$PWD/$prefix timeout 20 wineserver -k 2> /dev/null || true
  done
  kill "$xvfb" 2> /dev/null || true
  rm -rf "$work"
}
trap stop EXIT
# Polls the command every 50 ms for at most $1 seconds.
within() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
within 20 grep -q '^[0-9]' "$work/display"
DISPLAY=":$(cat "$work/display")"
export DISPLAY

start=$(date +%s%N)
scripts/play.sh > "$work/play.log" 2>&1 &
play=$!
if ! within 600 xdotool search --name '^Kostrel$' > /dev/null 2>&1; then
  echo "measure_play_start: no window within 600 s; play.sh printed:" >&2
  cat "$work/play.log" >&2
  exit 1
fi
echo "play.sh to the game's window: $(( ($(date +%s%N) - start) / 1000000 )) ms"
