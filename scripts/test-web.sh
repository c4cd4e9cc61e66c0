#!/usr/bin/env bash
# The browser edition's tests: the page built with emscripten into build/web (the 'web'
# preset), played in Debian's headless Chromium through puppeteer-core, which npm installs
# from the committed lock file and which downloads no browser; then scripts/play-web.sh
# serving the same files on 127.0.0.1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tools="$root/tools/web"

echo "== browser edition: build"
cd "$root"
cmake --preset web > /dev/null
cmake --build --preset web
# npm ci starts from nothing; skip it while the tree it installed is from this lock file.
installed="$tools/node_modules/.installed-from-lock.json"
if ! cmp -s "$tools/package-lock.json" "$installed"; then
  (cd "$tools" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$tools/package-lock.json" "$installed"
fi

echo "== browser edition: tests in Chromium"
# ctest runs them from the native tree, which gives them their helpers and the plan's
# kostrel-sim (tests/CMakeLists.txt).
cmake --preset native > /dev/null
cmake --build --preset native --target kostrel-sim
ctest --test-dir build/native -R '^web_e2e$' --no-tests=error --output-on-failure

echo "== browser edition: scripts/play-web.sh serves the page"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
log=$(mktemp)
PYTHONUNBUFFERED=1 "$root/scripts/play-web.sh" "$port" > "$log" 2>&1 &
server=$!
trap 'kill "$server" 2> /dev/null || true; rm -f "$log"' EXIT
timeout 120 python3 - "$port" "$root/build/web" "$log" "$server" <<'PYTHON' ||
import os, sys, time, urllib.request
port, folder, log, server = sys.argv[1:]
address = f"http://127.0.0.1:{port}/"
while "Serving HTTP" not in open(log).read():  # http.server says so once it listens
    os.kill(int(server), 0)  # raises once play-web.sh has ended without serving
    time.sleep(0.2)
for name in ("", "kostrel.js"):
    served = urllib.request.urlopen(address + name, timeout=10).read()
    if served != open(f"{folder}/{name or 'index.html'}", "rb").read():
        sys.exit(f"test-web: {address}{name} is not the built file")
print(f"test-web: play-web.sh served the page at {address}")
PYTHON
  { echo 'test-web: play-web.sh did not serve the page; it printed:' >&2; cat "$log" >&2; exit 1; }
