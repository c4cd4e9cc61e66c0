#!/usr/bin/env bash
# Plays Kostrel in this terminal: installs what is missing for it (the compiler, CMake and
# ncursesw; not Wine or X, which the terminal edition does not need), builds kostrel-tui
# natively without the tests and starts it. The best result is kept in
# $XDG_DATA_HOME/kostrel/best-result (by default ~/.local/share/kostrel/best-result),
# apart from the Windows program's registry.
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
scripts/install-deps.sh tui

echo "== building kostrel-tui"
cmake --preset play-tui > /dev/null
cmake --build --preset play-tui > /dev/null
exec build/play-tui/tui/kostrel-tui
