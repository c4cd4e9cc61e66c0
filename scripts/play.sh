#!/usr/bin/env bash
# Plays Kostrel on Linux: installs what is missing, cross-builds Kostrel.exe and starts it
# under Wine on the current X display with a Czech locale (Windows code page 1250).
# The Wine prefix, and with it the best result in its registry, lives in build/play and
# survives rebuilds; it is not the prefix that the tests use.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2> /dev/null || echo 2)
build="$root/build/mingw"
prefix="$root/build/play/wineprefix"

no_display() {
  echo "play: $1" >&2
  echo "play: Kostrel is a windowed game and needs an X display: run this in a desktop" \
       "session (or over ssh -X), or set DISPLAY to a running X server." >&2
  exit 1
}

# Checked first, so that a machine without a display fails at once instead of after the
# build, and never waits on a window nobody can see.
[ -n "${DISPLAY:-}" ] || no_display "DISPLAY is not set."

"$root/scripts/install-deps.sh"

timeout 10 xdpyinfo > /dev/null 2>&1 || no_display "cannot open the X display '$DISPLAY'."

echo "== building Kostrel.exe (MinGW-w64, i686)"
cmake -S "$root" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$jobs" --target Kostrel

export WINEPREFIX="$prefix"
export WINEARCH=win32
export WINEDEBUG=-all
# No downloads of Wine's Mono and Gecko on the first start: the game needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=cs_CZ.UTF-8

if [ ! -f "$prefix/.kostrel-ready" ]; then
  echo "== creating the Wine prefix $prefix (once, about 15 s)"
  mkdir -p "$prefix"
  timeout 180 wineboot -i > "$prefix/wineboot.log" 2>&1 \
    || { echo "play: wineboot failed (see $prefix/wineboot.log)" >&2; exit 1; }
  timeout 120 wineserver -w || true
  touch "$prefix/.kostrel-ready"
fi

echo "== starting Kostrel (F2: new game; arrows: move, turn, step down)"
exec wine "$build/win/Kostrel.exe"
