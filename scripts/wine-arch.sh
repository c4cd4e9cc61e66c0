#!/usr/bin/env bash
# Which Windows build runs under Wine here, with which Wine loader, and its Wine prefix.
# Sourced by every script that runs Wine.
#
# Debian's 32-bit Wine needs a host that executes 32-bit x86 programs; some x86-64 hosts
# cannot. There the 64-bit build (build/mingw64) runs under 64-bit Wine instead. The i686
# build in build/mingw is the product and is built everywhere.
#
#   KOSTREL_WINE_ARCH=win64  runs the 64-bit build on any host;
#   KOSTREL_WINE_ARCH=win32  runs the 32-bit one, and fails where the host cannot.

KOSTREL_WINE32_LOADER=${KOSTREL_WINE32_LOADER:-/usr/lib/wine/wine}
KOSTREL_WINE64_LOADER=${KOSTREL_WINE64_LOADER:-/usr/lib/wine/wine64}

# Whether 32-bit Wine starts here, found by starting its loader, an i386 program: a host
# that cannot execute 32-bit x86 code (or lacks wine32) fails. The answer is exported for
# the scripts started later.
kostrel_host_runs_i386() {
  if [ -z "${KOSTREL_HOST_RUNS_I386:-}" ]; then
    KOSTREL_HOST_RUNS_I386=no
    timeout 10 "$KOSTREL_WINE32_LOADER" --version > /dev/null 2>&1 && KOSTREL_HOST_RUNS_I386=yes
    export KOSTREL_HOST_RUNS_I386
  fi
  [ "$KOSTREL_HOST_RUNS_I386" = yes ]
}

# Sets and exports KOSTREL_WINE_ARCH_USED (win32 or win64) and KOSTREL_WINE_ARCH_WHY (one
# sentence), or fails with a message.
kostrel_wine_arch_decide() {
  case "${KOSTREL_WINE_ARCH:-}" in
    win64)
      KOSTREL_WINE_ARCH_USED=win64
      KOSTREL_WINE_ARCH_WHY="KOSTREL_WINE_ARCH=win64 asks for it" ;;
    win32)
      if ! kostrel_host_runs_i386; then
        echo "wine-arch: KOSTREL_WINE_ARCH=win32, but this host cannot execute 32-bit x86" \
             "programs, so 32-bit Wine cannot start here; unset it to use 64-bit Wine" >&2
        return 1
      fi
      KOSTREL_WINE_ARCH_USED=win32
      KOSTREL_WINE_ARCH_WHY="KOSTREL_WINE_ARCH=win32 asks for it" ;;
    '')
      if kostrel_host_runs_i386; then
        KOSTREL_WINE_ARCH_USED=win32
        KOSTREL_WINE_ARCH_WHY="this host runs 32-bit x86 programs"
      else
        KOSTREL_WINE_ARCH_USED=win64
        KOSTREL_WINE_ARCH_WHY="this host runs only 64-bit x86 programs, which is normal for"
        KOSTREL_WINE_ARCH_WHY+=" many 64-bit systems; it is the same game"
      fi ;;
    *)
      echo "wine-arch: KOSTREL_WINE_ARCH must be win32 or win64, not '$KOSTREL_WINE_ARCH'" >&2
      return 1 ;;
  esac
  export KOSTREL_WINE_ARCH_USED KOSTREL_WINE_ARCH_WHY
}

# The CMake preset (CMakePresets.json) of an architecture's build, which lives in
# build/<preset>.
kostrel_mingw_preset() { [ "$1" = win64 ] && echo mingw64 || echo mingw; }

# The architecture of a MinGW build tree, from the compiler it was configured with.
kostrel_build_arch() {
  if grep -q '^CMAKE_CXX_COMPILER:.*x86_64-w64-mingw32' "$1/CMakeCache.txt" 2> /dev/null; then
    echo win64
  else
    echo win32
  fi
}

# kostrel_wine_use ARCH PREFIX exports the environment that runs ARCH programs in the Wine
# prefix PREFIX: WINEPREFIX, WINEARCH, no debug output, no Mono or Gecko, and for win64
# WINELOADER and a PATH whose first `wine` (written into PREFIX/kostrel-bin) starts the
# 64-bit loader.
kostrel_wine_use() {
  local arch=$1 dir=$2/kostrel-bin
  export WINEPREFIX=$2 WINEARCH=$arch WINEDEBUG=-all
  # No downloads of Wine's Mono and Gecko on the first start: the game needs neither.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$arch" = win32 ]; then
    kostrel_host_runs_i386 && return 0
    echo "wine-arch: 32-bit Windows programs need 32-bit Wine, which cannot start on this" \
         "host (it cannot execute 32-bit x86 programs); use an x86_64 build, build/mingw64" >&2
    return 1
  fi
  # Debian's wine, wineboot, winepath and regedit start the 32-bit loader whenever wine32
  # is installed, even where it cannot run: this `wine` starts the 64-bit one itself.
  if [ ! -x "$KOSTREL_WINE64_LOADER" ]; then
    echo "wine-arch: $KOSTREL_WINE64_LOADER not found (apt-get install wine64)" >&2
    return 1
  fi
  mkdir -p "$dir" || return 1
  printf '#!/bin/sh\nexec "%s" "$@"\n' "$KOSTREL_WINE64_LOADER" > "$dir/wine"
  chmod +x "$dir/wine"
  export WINELOADER=$KOSTREL_WINE64_LOADER PATH="$dir:$PATH"
}

# kostrel_wine_prefix_create [PROGRAM ARGS...] creates $WINEPREFIX with wineboot, once, and
# runs the Windows program given (a setting) in it before any other; later calls return at
# once. Creating a prefix takes Wine 15 s or more. It ends when the wineserver has exited,
# with the registry saved and the services that wineboot starts settled: a program started
# while they still start up waits 10 s for them. The mark is written last, so that a
# creation cut short is done again.
kostrel_wine_prefix_create() {
  [ ! -f "$WINEPREFIX/.kostrel-ready" ] || return 0
  echo "== creating the Wine prefix $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX" || return 1
  if ! timeout 180 wine wineboot -i < /dev/null > "$WINEPREFIX/wineboot.log" 2>&1; then
    echo "wine-arch: wineboot -i failed in $WINEPREFIX (see $WINEPREFIX/wineboot.log)" >&2
    return 1
  fi
  if [ $# -gt 0 ] && ! timeout 60 wine "$@" < /dev/null > /dev/null 2>&1; then
    echo "wine-arch: 'wine $*' failed in the new prefix $WINEPREFIX" >&2
    return 1
  fi
  timeout 120 wineserver -w > /dev/null 2>&1 || true
  touch "$WINEPREFIX/.kostrel-ready"
}
