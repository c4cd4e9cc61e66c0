#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Kostrel: the native
# toolchain and test libraries, the MinGW-w64 cross compilers for 32- and 64-bit Windows,
# Wine with an X server to run the Windows program and its tests, and the Czech and English
# locales that give Wine its ANSI code pages 1250 and 1252. Needs root; skips apt when
# everything is already there.
set -euo pipefail

native_packages=(cmake g++ make googletest libgtest-dev libbenchmark-dev libncurses-dev tmux)
windows_packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 xvfb
                  xauth xdotool x11-utils imagemagick fonts-wine locales python3)
# The x86_64 build and 64-bit Wine, for hosts that cannot execute 32-bit x86 code
# (scripts/wine-arch.sh).
wine64_packages=(g++-mingw-w64-x86-64 wine64)
# The browser edition: emscripten builds it, its tests drive Chromium from Node (npm
# installs their puppeteer-core; a Node that came with its own npm needs no Debian one).
web_packages=(emscripten chromium)
command -v npm > /dev/null || web_packages+=(npm)
# Wine takes its code page from the Unix locale, which must exist for that.
locales_needed=(cs_CZ en_US)

have_locale() { locale -a 2> /dev/null | grep -qix "$1\.utf-\?8"; }

generate_locales() {
  for name in "${locales_needed[@]}"; do
    have_locale "$name" && continue
    if [ "$(id -u)" -ne 0 ]; then
      echo "install-deps: locale $name.UTF-8 missing; run as root to generate it" >&2
      exit 1
    fi
    localedef -i "$name" -f UTF-8 "$name.UTF-8"
  done
}

missing=()
for package in "${native_packages[@]}" "${windows_packages[@]}" "${wine64_packages[@]}" \
  "${web_packages[@]}"; do
  dpkg -s "$package" > /dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  generate_locales
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}; run as root to install them" >&2
  exit 1
fi
# wine32 is an i386 package; the architecture must be known before apt-get update.
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
  > /dev/null
generate_locales
