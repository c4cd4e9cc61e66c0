#!/usr/bin/env bash
# Cross-builds the game library for 32-bit Windows, to keep it free of anything native.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2> /dev/null || echo 2)
cmake -S "$root" -B "$root/build/mingw" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$root/build/mingw" -j "$jobs"

# The real Kostrel.exe played end to end with key presses on an X display.
"$root/tests/win/e2e/run-e2e.sh" "$root/build/mingw"
