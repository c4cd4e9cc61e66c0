#!/usr/bin/env bash
# Runs the end-to-end test of the real Kostrel.exe: a whole game played with key presses on
# an X display, checked on screenshots and in the registry.
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

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo > /dev/null 2>&1; then
  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh" "$build"
fi
export PYTHONDONTWRITEBYTECODE=1

echo "== end-to-end: Kostrel.exe played on $DISPLAY"
# The test keeps its own limit; this one only guards against a hang outside it.
LC_ALL=cs_CZ.UTF-8 timeout --kill-after=10 300 \
  python3 "$here/kostrel_e2e.py" "$exe" "$here/game_plan.txt" "$build/e2e"
