#!/usr/bin/env bash
# Installs what is missing, builds Kestrune and starts it under Wine on the current display.
set -euo pipefail
cd "$(dirname "$0")"
KESTRUNE_ROOT=$(pwd)
source tools/ensure-deps.sh
ensure_deps
source tools/wine-env.sh
toolchain=cmake/mingw-i686.cmake
[ "$KESTRUNE_WINE_ARCH" = win64 ] && toolchain=cmake/mingw-x86_64.cmake
# The program alone, in the tree test.sh uses too (its tests are left as they are).
configure_tree "$KESTRUNE_WINE_BUILD" -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release
cmake --build "$KESTRUNE_WINE_BUILD" -j "$(nproc)" --target Kestrune
if [ -z "${DISPLAY:-}" ]; then
  echo "No display. Start one, for example:  Xvfb :1 -screen 0 1280x1024x24 &  export DISPLAY=:1" >&2
  exit 1
fi
WINE_TIMEOUT=0 exec tools/wine-run "$KESTRUNE_WINE_BUILD/Kestrune.exe"
