#!/usr/bin/env bash
# The terminal edition's end-to-end test: kostrel-tui from the native build (build/native,
# or the folder given) played in a private tmux server at 80 x 24, run alone by ctest, which
# gives it its helpers (tests/CMakeLists.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build/native}"
program="$build/tui/kostrel-tui"

[ -x "$program" ] || { echo "test-tui: $program is missing; build the native tree first" >&2; exit 1; }
command -v tmux > /dev/null || { echo "test-tui: tmux is missing (scripts/install-deps.sh)" >&2; exit 1; }

echo "== kostrel-tui end-to-end test in tmux"
ctest --test-dir "$build" -R '^tui_e2e$' --no-tests=error --output-on-failure
