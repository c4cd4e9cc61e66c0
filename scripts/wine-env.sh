#!/usr/bin/env bash
# Private Wine environment for running the Windows program and its tests: a Wine prefix
# inside the build tree and an Xvfb display of its own, both stopped again at exit.
#
# Sourced:  source scripts/wine-env.sh <build-dir>
#   exports WINEPREFIX, WINEARCH, WINEDEBUG, WINEDLLOVERRIDES and DISPLAY (and, for a
#   64-bit build, WINELOADER and a PATH whose `wine` starts 64-bit Wine), and sets an EXIT
#   trap that calls wine_env_stop; a caller with an EXIT trap of its own calls
#   wine_env_stop from it, which may be called more than once.
#   On failure it prints why and returns non-zero (so a caller with `set -e` stops).
# Run:      scripts/wine-env.sh <build-dir> <command> [args...]
#   runs the command in that environment and exits with its status.
# One session per build directory at a time: a second one waits for the first to end.
#
# The build's programs decide the Wine: 32-bit for an i686 build (build/mingw), 64-bit for an
# x86_64 one (build/mingw64); each build tree has its own prefix. A 32-bit build on a host
# that cannot execute 32-bit code fails at once with a message (scripts/wine-arch.sh).
# The prefix is created on first use and reused afterwards. Its X11 driver draws the window
# captions itself (Decorated = N), since Xvfb has no window manager.

# shellcheck source=wine-arch.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-arch.sh"

wine_env_fail() {
  echo "wine-env: $*" >&2
  wine_env_stop
  return 1
}

# Stops the wineserver of the prefix, then the X server; safe to call twice.
wine_env_stop() {
  if [ -n "${WINE_ENV_PREFIX_STARTED:-}" ] && [ -n "${WINEPREFIX:-}" ]; then
    timeout 30 wineserver -k > /dev/null 2>&1 || true
    timeout 10 wineserver -w > /dev/null 2>&1 || true
    WINE_ENV_PREFIX_STARTED=
  fi
  if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
    kill "$WINE_ENV_XVFB_PID" > /dev/null 2>&1 || true
    wait "$WINE_ENV_XVFB_PID" > /dev/null 2>&1 || true
    WINE_ENV_XVFB_PID=
  fi
  if [ -n "${WINE_ENV_LOCK_FD:-}" ]; then
    exec {WINE_ENV_LOCK_FD}>&-
    WINE_ENV_LOCK_FD=
  fi
}

# Starts Xvfb on the first free display and exports DISPLAY; fails within 20 s, with the
# end of Xvfb's log (or the shell's word that there is no Xvfb). With -displayfd, Xvfb
# picks a free display number and writes it once it accepts clients.
wine_env_start_xvfb() {
  local log=${WINEPREFIX%/*}/xvfb.log number='' reply
  exec {reply}< <(exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>&1 > "$log" 2>&1 {WINE_ENV_LOCK_FD}>&-)
  WINE_ENV_XVFB_PID=$!
  read -r -t 20 -u "$reply" number || true
  exec {reply}<&-
  if [[ ! $number =~ ^[0-9]+$ ]]; then
    wine_env_fail "Xvfb gave no display within 20 s: $(tail -n 3 "$log")"
    return 1
  fi
  export DISPLAY=":$number"
}

# Creates the prefix once, with Wine-drawn window captions from its first program on, and
# starts its wineserver and service processes for the whole session, with no terminal or
# pipe as their output: later programs then start in well under a second, and a caller that
# reads a program's output through a pipe (ctest does) is not left waiting for services
# that inherited that pipe. No Wine process inherits the lock.
wine_env_init_prefix() {
  if ! command -v wine > /dev/null; then
    wine_env_fail "wine not found (scripts/install-deps.sh installs it)"
    return 1
  fi
  WINE_ENV_PREFIX_STARTED=1
  if ! (exec {WINE_ENV_LOCK_FD}>&-
        kostrel_wine_prefix_create reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated \
          /t REG_SZ /d N /f); then
    wine_env_fail "cannot create the Wine prefix $WINEPREFIX"
    return 1
  fi
  timeout 30 wineserver -p > /dev/null 2>&1 {WINE_ENV_LOCK_FD}>&- || true
  if ! timeout 120 wine cmd /c exit < /dev/null > /dev/null 2>&1 {WINE_ENV_LOCK_FD}>&-; then
    wine_env_fail "wine cannot start programs in $WINEPREFIX"
    return 1
  fi
}

# One session per prefix at a time: a session's wineserver -k at its end would kill the
# programs of another one. The lock's descriptor is closed for every daemon started here,
# so that only this shell holds it.
wine_env_lock() {
  if ! exec {WINE_ENV_LOCK_FD}> "$WINEPREFIX.lock"; then
    wine_env_fail "cannot open $WINEPREFIX.lock"
    return 1
  fi
  if ! flock -n "$WINE_ENV_LOCK_FD"; then
    echo "wine-env: waiting for another session that uses $WINEPREFIX" >&2
    if ! flock -w 900 "$WINE_ENV_LOCK_FD"; then
      wine_env_fail "another session kept $WINEPREFIX for 15 minutes"
      return 1
    fi
  fi
}

wine_env_main() {
  if [ $# -lt 1 ] || [ -z "$1" ]; then
    echo "usage: source scripts/wine-env.sh <build-dir>" >&2
    echo "       scripts/wine-env.sh <build-dir> <command> [args...]" >&2
    return 2
  fi
  local build_dir
  build_dir=$(cd "$1" && pwd) || return 1
  kostrel_wine_use "$(kostrel_build_arch "$build_dir")" "$build_dir/wineprefix" || return 1
  trap wine_env_stop EXIT
  wine_env_lock || return 1
  wine_env_start_xvfb || return 1
  wine_env_init_prefix || return 1
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  # Run mode: set up, run the command, tear down.
  set -u
  [ $# -ge 2 ] || { wine_env_main; exit 2; }
  wine_env_main "$1" || exit 1
  shift
  "$@"
else
  wine_env_main "$@"
fi
