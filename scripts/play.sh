#!/usr/bin/env bash
# Plays Kostrel on Linux: installs what is missing, cross-builds Kostrel.exe and starts it
# under Wine on the current X display with a Czech locale (Windows code page 1250).
# Where the host cannot execute 32-bit x86 code (or with KOSTREL_WINE_ARCH=win64) it plays
# the x86_64 build under 64-bit Wine (scripts/wine-arch.sh).
# The Wine prefixes, and with them the best results in their registries, live in build/play
# (wineprefix for the 32-bit game, wineprefix64 for the 64-bit one) and survive rebuilds;
# they are not the prefixes that the tests use.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2> /dev/null || echo 2)
# shellcheck source=wine-arch.sh
source "$root/scripts/wine-arch.sh"

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

kostrel_wine_arch_decide
arch=$KOSTREL_WINE_ARCH_USED
build="$root/$(kostrel_mingw_build "$arch")"
prefix="$root/build/play/wineprefix"
processor=i686
if [ "$arch" = win64 ]; then
  echo "== playing the 64-bit build under 64-bit Wine: $KOSTREL_WINE_ARCH_WHY"
  prefix="$root/build/play/wineprefix64"
  processor=x86_64
fi

echo "== building Kostrel.exe (MinGW-w64, $processor)"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/$(kostrel_mingw_toolchain "$arch")" \
  -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$jobs" --target Kostrel

export WINEPREFIX="$prefix"
kostrel_wine_use "$arch" "$root/build/play/wine-bin"
export WINEDEBUG=-all
# No downloads of Wine's Mono and Gecko on the first start: the game needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=cs_CZ.UTF-8

if [ ! -f "$prefix/.kostrel-ready" ]; then
  echo "== creating the Wine prefix $prefix (once, about 15 s)"
  mkdir -p "$prefix"
  timeout 180 wine wineboot -i < /dev/null > "$prefix/wineboot.log" 2>&1 \
    || { echo "play: wineboot failed (see $prefix/wineboot.log)" >&2; exit 1; }
  timeout 120 wineserver -w || true
  touch "$prefix/.kostrel-ready"
fi

echo "== starting Kostrel (F2: new game; arrows: move, turn, step down)"
exec wine "$build/win/Kostrel.exe"
