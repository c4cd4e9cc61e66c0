#!/usr/bin/env bash
# The test command: installs what is missing, builds everything and runs every test.
#   1. native build (-O2 with debug info): the game library, kostrel-sim, tests, benchmarks
#   2. the same native tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   3. the Windows program cross-built with MinGW-w64 and its tests run under Wine
#   4. the browser edition built with emscripten and its tests run in headless Chromium
#   5. the release zips in dist/, built and their contents checked
# Build trees go under build/ in the checkout.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2> /dev/null || echo 2)

"$root/scripts/install-deps.sh"

echo "== native build and tests"
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$root/build/native" -j "$jobs"
ctest --test-dir "$root/build/native" --output-on-failure -j "$jobs"
"$root/scripts/test-tui.sh" "$root/build/native"

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$root/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DKOSTREL_SANITIZE=ON \
  > /dev/null
cmake --build "$root/build/sanitize" -j "$jobs" --target kostrel_tests kostrel-sim chooser_first_test
ctest --test-dir "$root/build/sanitize" --output-on-failure -j "$jobs"

echo "== Windows build and tests under Wine"
bash "$root/scripts/test-windows.sh"

bash "$root/scripts/test-web.sh"

echo "== release zips"
bash "$root/scripts/package.sh"
