#!/usr/bin/env bash
# The test command: installs what is missing, checks the style, builds everything and runs
# every test. Each build is a CMake preset (CMakePresets.json) in build/<preset>:
#   1. native (-O2 with debug info): the game library, kostrel-sim, tests, benchmarks, and
#      the terminal edition's tmux test
#   2. sanitize: the native tests under AddressSanitizer and UndefinedBehaviorSanitizer;
#      fuzz: each libFuzzer target for 20 s under the same sanitizers (clang-14)
#   3. mingw (and mingw64): the Windows program cross-built with MinGW-w64, tested under Wine
#   4. web: the browser edition built with emscripten, its tests run in headless Chromium
#   5. the release zips in dist/, built, and the Windows ones checked
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}

scripts/install-deps.sh
scripts/check-style.sh

for preset in native sanitize fuzz; do
  echo "== $preset build and tests"
  cmake --preset "$preset" > /dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j "$CMAKE_BUILD_PARALLEL_LEVEL"
done
scripts/test-tui.sh build/native

echo "== Windows build and tests under Wine"
bash scripts/test-windows.sh

bash scripts/test-web.sh

echo "== release zips"
bash scripts/package.sh
