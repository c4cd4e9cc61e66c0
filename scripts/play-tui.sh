#!/usr/bin/env bash
# Plays Kostrel in this terminal: installs what is missing for it (the compiler, CMake and
# ncursesw; not Wine or X, which the terminal edition does not need), builds kostrel-tui
# natively without the tests and starts it. The best result is kept in
# $XDG_DATA_HOME/kostrel/best-result (by default ~/.local/share/kostrel/best-result),
# apart from the Windows program's registry.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2> /dev/null || echo 2)
build="$root/build/play-tui"
packages=(cmake g++ make libncurses-dev)

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" > /dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "play-tui: missing packages: ${missing[*]}; run as root, or: sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    > /dev/null
fi

echo "== building kostrel-tui"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKOSTREL_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" -j "$jobs" --target kostrel-tui > /dev/null

exec "$build/tui/kostrel-tui"
