#!/usr/bin/env bash
# Runs the end-to-end test of the real Kostrel.exe: a whole game played with key presses on
# an X display, checked on screenshots and in the registry; and checks that the play
# command refuses at once where there is no display.
#   tests/win/e2e/run-e2e.sh <mingw-build-dir>
# Uses the caller's Wine prefix and display when both are set and the display answers
# (as inside scripts/test-windows.sh); otherwise sets up the build tree's test prefix and a
# private Xvfb with scripts/wine-env.sh. Czech locale: code page 1250, as a Czech player has.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)

if [ $# -ne 1 ]; then
  echo "usage: $0 <mingw-build-dir>" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
exe="$build/win/Kostrel.exe"
if [ ! -f "$exe" ]; then
  echo "run-e2e: $exe not found; build it first (scripts/test-windows.sh)" >&2
  exit 1
fi

if ! command -v python3 > /dev/null; then
  echo "run-e2e: python3 not found (apt-get install python3)" >&2
  exit 1
fi
export PYTHONDONTWRITEBYTECODE=1

# The plan holds the boards that the game model makes; when the native runner is built,
# make sure the plan still matches it, so a change of the rules fails here with the remedy
# instead of as a puzzling screen mismatch.
sim="$root/build/native/tools/kostrel-sim"
if [ -x "$sim" ]; then
  if ! python3 "$here/plan_game.py" "$sim" | cmp -s - "$here/game_plan.txt"; then
    echo "run-e2e: tests/win/e2e/game_plan.txt no longer matches the game model; renew it:" >&2
    echo "  python3 tests/win/e2e/plan_game.py build/native/tools/kostrel-sim" \
         "> tests/win/e2e/game_plan.txt" >&2
    exit 1
  fi
fi

echo "== the play command without a display"
"$here/play_without_display.sh"

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo > /dev/null 2>&1; then
  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh" "$build"
fi
echo "== end-to-end: Kostrel.exe played on $DISPLAY"
# The test keeps its own limit; this one only guards against a hang outside it.
LC_ALL=cs_CZ.UTF-8 timeout --kill-after=10 300 \
  python3 "$here/kostrel_e2e.py" "$exe" "$here/game_plan.txt" "$build/e2e"
