#!/usr/bin/env bash
# Cross-builds Kostrel.exe and its Win32 tests with MinGW-w64 (i686) and runs the tests
# under Wine, in a private prefix inside the build tree and on an Xvfb display that this
# script starts and stops itself. scripts/test.sh ends with it; it also runs alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2> /dev/null || echo 2)
build="$root/build/mingw"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$jobs"

# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh" "$build"

# Without a window manager, Wine waits up to 2 s for one whenever a managed (captioned)
# window closes; the unit tests open dozens of dialogs and message boxes, so Wine manages
# their windows itself.
settings="$build/unit-test-windows.reg"
{
  echo "REGEDIT4"
  for program in "$build"/tests/win/*.exe; do
    echo
    echo "[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\$(basename "$program")\\X11 Driver]"
    echo '"Managed"="N"'
  done
} > "$settings"
wine regedit /S "$(winepath -w "$settings")" < /dev/null > /dev/null 2>&1

# One at a time: the tests activate windows, and activation would pause another test's game.
ctest --test-dir "$build" --output-on-failure

# The real Kostrel.exe played from outside, in the same prefix and on the same display.
if [ -x "$root/tests/win/e2e/run-e2e.sh" ]; then
  "$root/tests/win/e2e/run-e2e.sh" "$build"
fi
