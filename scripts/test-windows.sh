#!/usr/bin/env bash
# Cross-builds Kostrel.exe and its Win32 tests with MinGW-w64 and runs the tests under Wine,
# in a private prefix inside the build tree and on an Xvfb display that this script starts
# and stops itself. scripts/test.sh runs it; it also runs alone.
#
# The i686 build (build/mingw) is always made: it is the product. On a host that cannot
# execute 32-bit x86 code, or with KOSTREL_WINE_ARCH=win64, the tests run on an x86_64
# build (build/mingw64) under 64-bit Wine instead (scripts/wine-arch.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
# shellcheck source=wine-arch.sh
source scripts/wine-arch.sh

scripts/install-deps.sh windows test
kostrel_wine_arch_decide
preset=$(kostrel_mingw_preset "$KOSTREL_WINE_ARCH_USED")
presets=(mingw)
[ "$preset" = mingw ] || presets+=("$preset")
for built in "${presets[@]}"; do
  echo "== cross build build/$built"
  cmake --preset "$built" > /dev/null
  cmake --build --preset "$built"
done
build=$PWD/build/$preset
echo "== Wine runs build/$preset: $KOSTREL_WINE_ARCH_WHY"
if [ "$preset" != mingw ]; then
  # The product is checked all the same, without Wine: its format and imports.
  ctest --preset mingw -R '^kostrel_exe_format$'
fi

# shellcheck source=wine-env.sh
source scripts/wine-env.sh "$build"

# The unit tests run on a Wine virtual desktop, one X window inside which Wine keeps the
# focus and activation itself. On the bare display (no window manager) Wine moves the X
# focus itself; when a box closes the focus passes through the root window, and a focus-out
# that Wine reads late under load hands the foreground to the desktop: the test's program
# gets a deactivation that nobody made. Nor does Wine wait there for a window manager, up
# to 2 s, whenever a captioned window closes.
settings="$build/unit-test-windows.reg"
{
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"KostrelTests"="800x600"\n'
  for program in "$build"/tests/win/*.exe; do
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s\\Explorer]\n"Desktop"="KostrelTests"\n' \
      "$(basename "$program")"
  done
} > "$settings"
# Wine's drive Z: is the Unix root.
if ! timeout 120 wine regedit /S "Z:${settings//\//\\}" < /dev/null \
    > "$build/regedit.log" 2>&1; then
  echo "test-windows: wine regedit could not import $settings within 120 s:" >&2
  cat "$build/regedit.log" >&2
  exit 1
fi

ctest --preset "$preset"

# The real Kostrel.exe played from outside, in the same prefix and on the same display;
# started through bash, so a lost run bit cannot skip it.
bash tests/win/e2e/run-e2e.sh "$build"
