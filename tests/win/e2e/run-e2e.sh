#!/usr/bin/env bash
# End-to-end test of the real Kostrel.exe: the play command refuses at once without a
# display, and kostrel_e2e.py plays a whole game on an X display.
#   tests/win/e2e/run-e2e.sh <mingw-build-dir>
# Uses the caller's Wine prefix and display when both answer (as in scripts/test-windows.sh),
# else those of scripts/wine-env.sh. Czech locale: code page 1250, as a Czech player has.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
[ $# -eq 1 ] || { echo "usage: $0 <mingw-build-dir>" >&2; exit 2; }
build=$(cd "$1" && pwd)
[ -f "$build/win/Kostrel.exe" ] || { echo "run-e2e: no $build/win/Kostrel.exe" >&2; exit 1; }
export PYTHONDONTWRITEBYTECODE=1

# Without a usable display, scripts/play.sh must say so with exit status 1 within seconds,
# never build and then wait on a window nobody can see.
for no_display in "-u DISPLAY" "DISPLAY=:999"; do
  status=0
  # shellcheck disable=SC2086 # the word splits into env's arguments
  printed=$(env $no_display timeout 120 "$root/scripts/play.sh" 2>&1) || status=$?
  if [ "$status" -ne 1 ] || [[ $printed != *"needs an X display"* ]] \
      || [[ $printed == *"== building"* ]]; then
    printf 'FAIL: play.sh with env %s: exit status %s, expected 1 before any build:\n%s\n' \
      "$no_display" "$status" "$printed" >&2
    exit 1
  fi
  echo "play.sh with env $no_display: refused with exit status 1"
done

# The game's keys are planned by kostrel-sim: $KOSTREL_SIM, else the native build's, built
# here if need be.
if [ -z "${KOSTREL_SIM:-}" ]; then
  export KOSTREL_SIM="$root/build/native/tools/kostrel-sim"
  if [ ! -x "$KOSTREL_SIM" ]; then
    (cd "$root" && cmake --preset native > /dev/null &&
      cmake --build --preset native --target kostrel-sim)
  fi
fi

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ] || ! timeout 10 xdpyinfo > /dev/null 2>&1; then
  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh" "$build"
fi
echo "== end-to-end: Kostrel.exe played on $DISPLAY"
# ctest runs kostrel_e2e.py with its helpers and the Czech locale (tests/win/CMakeLists.txt).
# It bounds each of its waits; ctest's limit only guards against a hang outside them.
ctest --test-dir "$build" -R '^kostrel_e2e$' --no-tests=error --output-on-failure
