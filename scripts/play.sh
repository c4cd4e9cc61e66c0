#!/usr/bin/env bash
# Plays Kostrel on Linux: installs what is missing, cross-builds Kostrel.exe and starts it
# under Wine on the current X display with a Czech locale (Windows code page 1250).
# Where the host runs only 64-bit x86 programs (or with KOSTREL_WINE_ARCH=win64) it plays
# the x86_64 build under 64-bit Wine (scripts/wine-arch.sh).
# The Wine prefixes, and with them the best results in their registries, live in build/play
# (wineprefix for the 32-bit game, wineprefix64 for the 64-bit one) and survive rebuilds;
# they are not the prefixes that the tests use. The first run creates the prefix while the
# program builds.
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
# shellcheck source=wine-arch.sh
source scripts/wine-arch.sh

no_display() {
  echo "play: $1" >&2
  echo "play: Kostrel is a windowed game and needs an X display: run this in a desktop" \
       "session (or over ssh -X), or set DISPLAY to a running X server." >&2
  exit 1
}

# Checked first, so that a machine without a display fails at once instead of after the
# build, and never waits on a window nobody can see.
[ -n "${DISPLAY:-}" ] || no_display "DISPLAY is not set."
scripts/install-deps.sh windows
timeout 10 xdpyinfo > /dev/null 2>&1 || no_display "cannot open the X display '$DISPLAY'."

kostrel_wine_arch_decide
preset=$(kostrel_mingw_preset "$KOSTREL_WINE_ARCH_USED")
prefix=$PWD/build/play/wineprefix
if [ "$preset" = mingw64 ]; then
  echo "== the 64-bit Kostrel.exe under 64-bit Wine: $KOSTREL_WINE_ARCH_WHY"
  prefix+=64
fi
kostrel_wine_use "$KOSTREL_WINE_ARCH_USED" "$prefix"

# The prefix is made while the program builds, with no setting of its own. Wine runs with the
# Czech locale, the build with the player's own.
# shellcheck disable=SC2119
LC_ALL=cs_CZ.UTF-8 kostrel_wine_prefix_create &
creating=$!
echo "== building Kostrel.exe (build/$preset)"
cmake --preset "$preset" > /dev/null
cmake --build --preset "$preset" --target Kostrel
wait "$creating" || { echo "play: the Wine prefix $prefix could not be created" >&2; exit 1; }

echo "== starting Kostrel: F2 starts a game; Left, Right move, Up turns, Down steps down;" \
     "switching to another program pauses it"
LC_ALL=cs_CZ.UTF-8 exec wine "build/$preset/win/Kostrel.exe"
