#!/usr/bin/env bash
# The terminal edition's end-to-end test: kostrel-tui from the native build (build/native,
# or the folder given) played in a private tmux server at 80 x 24.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build/native}"
program="$build/tui/kostrel-tui"

[ -x "$program" ] || { echo "test-tui: $program is missing; build the native tree first" >&2; exit 1; }
command -v tmux > /dev/null || { echo "test-tui: tmux is missing (scripts/install-deps.sh)" >&2; exit 1; }

echo "== kostrel-tui end-to-end test in tmux"
timeout 300 python3 "$root/tests/tui/tui_e2e.py" "$program" "$build/tools/kostrel-sim"
