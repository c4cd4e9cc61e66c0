#!/usr/bin/env bash
# Measures Kostrel.exe under Wine on a private Xvfb display: start to first painted window,
# key press to repaint, peak memory and the program's size (tools/measure_wine.py).
#   tools/measure-wine.sh [mingw-build-dir] [starts] [key-presses]
# The build dir defaults to the one scripts/test-windows.sh ran under Wine: build/mingw, or
# build/mingw64 where the host cannot execute 32-bit code or KOSTREL_WINE_ARCH=win64 (see
# scripts/wine-arch.sh). The figures depend on the machine and its load: quote medians,
# with this command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/wine-arch.sh
source "$root/scripts/wine-arch.sh"
if [ -z "${1:-}" ]; then
  kostrel_wine_arch_decide
  set -- "build/$(kostrel_mingw_preset "$KOSTREL_WINE_ARCH_USED")" "${@:2}"
  echo "== $1: $KOSTREL_WINE_ARCH_WHY"
  cd "$root"
fi
build=$(cd "$1" && pwd)
exe="$build/win/Kostrel.exe"
[ -f "$exe" ] || { echo "measure-wine: $exe not found; build it first" >&2; exit 1; }

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
export LC_ALL=cs_CZ.UTF-8
export PYTHONDONTWRITEBYTECODE=1

echo "== Kostrel.exe under $(timeout 30 wine --version) on $(nproc) cores, display $DISPLAY"
timeout --kill-after=10 600 \
  python3 "$root/tools/measure_wine.py" "$exe" "${@:2}"
