#!/usr/bin/env bash
# Installs the Debian packages that Kostrel's scripts need, by group; without arguments all
# of them. Needs root only when something is missing.
#   scripts/install-deps.sh [tui | windows | web | deb | test | fuzz | style] ...
set -euo pipefail

group_packages() {
  case $1 in
    # Building and playing the terminal edition.
    tui) echo cmake make g++ libncurses-dev ;;
    # Cross-building Kostrel.exe (i686, and x86_64 for hosts that cannot execute 32-bit x86
    # code, see wine-arch.sh) and playing it under Wine; CMake's configure of the cross build
    # looks for Python, which reads the exe's header in the tests and the release zips.
    windows) echo cmake make g++-mingw-w64-i686 binutils-mingw-w64-i686 \
      g++-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine x11-utils locales python3 ;;
    # Building and serving the browser edition.
    web) echo cmake make emscripten python3 ;;
    # The terminal edition's Debian package, on top of tui's build: CPack's DEB generator
    # finds the libraries it needs with dpkg-shlibdeps (dpkg-dev) on the files that 'file'
    # says are programs; lintian checks the package.
    deb) echo dpkg-dev file lintian python3 ;;
    # The native tests and benchmarks, the terminal edition's tmux test, the installed game's
    # manual pages (man-db, whose groff renders them) and desktop entry, and the Windows
    # program's tests on an Xvfb display of their own, with key presses and screenshots; the
    # browser edition's tests drive Chromium from Node (npm installs their puppeteer-core; a
    # Node that came with its own npm needs no Debian one).
    test) echo googletest libgtest-dev libbenchmark-dev tmux python3 man-db desktop-file-utils \
      xvfb xdotool imagemagick chromium "$(command -v npm > /dev/null || echo npm)" ;;
    # The fuzz targets: g++ has no libFuzzer, clang has it in its runtime package.
    fuzz) echo clang-14 libclang-rt-14-dev ;;
    style) echo clang-format shellcheck ;;
    *) echo "install-deps: unknown group '$1' (tui, windows, web, deb, test, fuzz or style)" >&2
      return 2 ;;
  esac
}

# Wine takes its ANSI code page from the Unix locale, which must exist for that: Czech for
# the players (1250), English for the tests (1252).
generate_locales() {
  for name in cs_CZ en_US; do
    locale -a 2> /dev/null | grep -qix "$name\.utf-\?8" && continue
    [ "$(id -u)" -eq 0 ] || fail "locale $name.UTF-8 missing"
    localedef -i "$name" -f UTF-8 "$name.UTF-8"
  done
}

fail() {
  echo "install-deps: $1; run as root: sudo $0 ${groups[*]}" >&2
  exit 1
}

groups=("$@")
[ $# -gt 0 ] || groups=(tui windows web deb test fuzz style)
missing=()
for group in "${groups[@]}"; do
  packages=$(group_packages "$group") || exit 2
  for package in $packages; do
    dpkg -s "$package" > /dev/null 2>&1 || missing+=("$package")
  done
done

if [ ${#missing[@]} -gt 0 ]; then
  [ "$(id -u)" -eq 0 ] || fail "missing packages: ${missing[*]}"
  # An i386 package (wine32) needs its architecture known before apt-get update.
  if [[ " ${missing[*]}" == *:i386* ]]; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    > /dev/null
fi
[[ " ${groups[*]} " != *" windows "* ]] || generate_locales
