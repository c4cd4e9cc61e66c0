#!/usr/bin/env bash
# Plays Kostrel in a web browser: installs what is missing for it (CMake and emscripten; as
# root), builds the page into build/web with the 'web' preset and serves it on 127.0.0.1
# with Python's http.server until Ctrl+C. The page also works opened straight from disk.
#   scripts/play-web.sh [port]      (8000 by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
port="${1:-8000}"
"$root/scripts/install-deps.sh" web

echo "== building the browser edition"
cd "$root"
cmake --preset web > /dev/null
cmake --build --preset web > /dev/null

echo "play-web: Kostrel at http://127.0.0.1:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$root/build/web" "$port"
