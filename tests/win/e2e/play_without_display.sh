#!/usr/bin/env bash
# scripts/play.sh on a machine without a usable display: a clear message and exit status 1
# within seconds, never a build followed by a wait on a window nobody can see.
#   tests/win/e2e/play_without_display.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
output=$(mktemp)
trap 'rm -f "$output"' EXIT
failures=0

# expect_refusal <what> <env arguments...>
expect_refusal() {
  local what=$1
  shift
  local status=0
  env "$@" timeout 120 "$root/scripts/play.sh" > "$output" 2>&1 || status=$?
  if [ "$status" -ne 1 ] || ! grep -q "needs an X display" "$output" \
      || grep -q "== building" "$output"; then
    echo "FAIL: play.sh with $what: exit status $status, expected 1 before any build; printed:" >&2
    cat "$output" >&2
    failures=$((failures + 1))
  else
    echo "play.sh with $what: refused with exit status 1"
  fi
}

expect_refusal "DISPLAY unset" -u DISPLAY
# A display number that nothing listens on.
expect_refusal "DISPLAY=:999 (no X server)" DISPLAY=:999
exit $((failures > 0))
