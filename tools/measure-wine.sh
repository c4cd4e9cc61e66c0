#!/usr/bin/env bash
# Measures Kostrel.exe under Wine on a private Xvfb display: start to first painted window,
# key press to repaint, peak memory, and the program's size and the DLLs it imports.
#   tools/measure-wine.sh [mingw-build-dir] [starts] [key-presses]
# The build dir defaults to build/mingw (scripts/test-windows.sh builds it there). The
# figures depend on the machine and its load: quote medians, with this command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/mingw}" && pwd)
starts=${2:-5}
presses=${3:-30}
exe="$build/win/Kostrel.exe"
[ -f "$exe" ] || { echo "measure-wine: $exe not found; build it first" >&2; exit 1; }

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
export LC_ALL=cs_CZ.UTF-8
export PYTHONDONTWRITEBYTECODE=1

echo "== Kostrel.exe under $(wine --version) on $(nproc) cores, display $DISPLAY"
objdump=$(command -v i686-w64-mingw32-objdump || true)
if [ -n "$objdump" ]; then
  echo "imported DLLs: $("$objdump" -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr '\n' ' ')"
fi
# The file's size (printed last) includes the symbol table unless the program was stripped;
# these are the bytes that are loaded.
if command -v i686-w64-mingw32-size > /dev/null; then
  i686-w64-mingw32-size "$exe" | awk 'NR == 2 {
    print "code " $1 " bytes, data " $2 " bytes, bss " $3 " bytes" }'
fi
timeout --kill-after=10 600 \
  python3 "$root/tools/measure_wine.py" "$exe" "$starts" "$presses"
