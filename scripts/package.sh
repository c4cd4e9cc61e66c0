#!/usr/bin/env bash
# Makes the Windows release: dist/Kostrel-<version>-win32.zip from the Release i686 build
# in build/mingw, and dist/Kostrel-<version>-win64.zip from the x86_64 one in build/mingw64,
# each with Kostrel.exe and CTIMNE.TXT (the players' notes, res/ctimne.txt) at its root,
# then checks what went in; dist/Kostrel-<version>-web.zip holds the browser edition's page;
# dist/kostrel-tui_<version>_<arch>.deb is the terminal edition as a Debian package.
# The version is the CMake project's.
#   scripts/package.sh [win32|win64|web|deb ...]      (all four by default)
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
# shellcheck source=wine-arch.sh
source scripts/wine-arch.sh
[ $# -gt 0 ] || set -- win32 win64 web deb

project_version() { sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$1/CMakeCache.txt"; }

# The browser edition from the 'web' preset: index.html and kostrel.js, the WebAssembly
# inside, at the zip's root, so that the page opens from the unpacked folder.
package_web() {
  scripts/install-deps.sh web
  cmake --preset web > /dev/null
  cmake --build --preset web > /dev/null
  local zip
  zip="$PWD/dist/Kostrel-$(project_version build/emscripten)-web.zip"
  # Python's zip command stores each file deflated, under its own name.
  python3 -m zipfile -c "$zip" build/web/index.html build/web/kostrel.js
  echo "package: $zip"
}

# The terminal edition and kostrel-sim as Debian places games (preset 'deb': /usr/games,
# the licence as the copyright file, a changelog), built with Debian's own compiler and
# linker flags, packed by CPack's DEB generator, then checked without being installed.
package_deb() {
  scripts/install-deps.sh tui deb
  flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
  cmake --preset deb -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" > /dev/null
  cmake --build --preset deb
  (cd build/deb && cpack -G DEB > /dev/null)
  local deb
  deb="kostrel-tui_$(project_version build/deb)_$(dpkg --print-architecture).deb"
  cp "build/deb/$deb" dist/
  python3 tests/packaging/check_deb.py "dist/$deb"
  echo "package: $PWD/dist/$deb"
}

mkdir -p dist
case " $* " in *" win"*) scripts/install-deps.sh windows ;; esac
for arch in "$@"; do
  case "$arch" in
    web) package_web; continue ;;
    deb) package_deb; continue ;;
    win32) processor=i686 ;;
    win64) processor=x86_64 ;;
    *) echo "package: unknown architecture '$arch' (win32, win64, web or deb)" >&2; exit 2 ;;
  esac
  preset=$(kostrel_mingw_preset "$arch")
  cmake --preset "$preset" > /dev/null
  cmake --build --preset "$preset" --target Kostrel
  zip="$PWD/dist/Kostrel-$(project_version "build/$preset")-$arch.zip"
  python3 - "build/$preset/win/Kostrel.exe" res/ctimne.txt "$zip" <<'PYTHON'
import sys, zipfile
exe, notes, zip_path = sys.argv[1:]
# Notepad of older Windows shows UTF-8 right only with a byte order mark and CRLF line ends.
with open(notes, encoding="utf-8") as source:
    text = "\ufeff" + source.read().replace("\r\n", "\n").replace("\n", "\r\n")
with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as archive:
    archive.write(exe, "Kostrel.exe")
    archive.writestr("CTIMNE.TXT", text.encode("utf-8"))
PYTHON
  python3 tests/win/check_exe.py "$zip" "$processor"
  echo "package: $zip"
done
