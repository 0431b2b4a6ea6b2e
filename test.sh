#!/usr/bin/env bash
# Installs what is missing, builds the host and Windows builds, and runs every test: the host
# suite, then the Windows build of the tests under Wine (GUI tests on a private Xvfb display).
set -euo pipefail
cd "$(dirname "$0")"
KESTRUNE_ROOT=$(pwd)
source tools/ensure-deps.sh
ensure_deps

# The widget layer takes what it shows from its caller, never from the program's resources.
if grep -rln '#include "resources/' toolkit; then
  echo "toolkit/ includes the program's resources (above)" >&2
  exit 1
fi

echo "== host build and tests"
build_tree build/host -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build/host --output-on-failure --no-tests=error -j 2

# The same suites as 32-bit programs: the shipped target's sizes and x87 arithmetic, which the
# Windows build shows only where Wine can run it. Natively where the kernel runs 32-bit code,
# else under qemu-i386 (tools/run-i386).
echo "== 32-bit host build and tests ($(tools/run-i386 --which))"
build_tree build/host32 -DCMAKE_TOOLCHAIN_FILE=cmake/linux-i686.cmake -DCMAKE_BUILD_TYPE=Release
ctest --test-dir build/host32 --output-on-failure --no-tests=error -j 2

source tools/wine-env.sh
echo "== Windows build (the shipped 32-bit program and its tests)"
# The tests are compiled and linked for the shipped target even where Wine cannot run them, so
# that -Werror sees what only the 32-bit target warns about.
build_tree build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DKESTRUNE_TESTS=ON
tools/check-exe.sh build/win32/Kestrune.exe

echo "== release package"
tools/package.sh build/package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/package/CMakeCache.txt)
rm -rf build/package-unpacked
unzip -q "dist/Kestrune-$version-win32.zip" -d build/package-unpacked
[ "$(unzip -Z1 "dist/Kestrune-$version-win32.zip" | tr '\n' ' ')" = "Kestrune.exe README.txt LICENSE " ]
grep -aqF "Kestrune Ver.$version" build/package-unpacked/README.txt
cmp build/package/Kestrune.exe build/package-unpacked/Kestrune.exe
# The same sources built again in another folder, and the tested build: the same bytes.
configure_tree build/package-again -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DKESTRUNE_TESTS=OFF
cmake --build build/package-again -j "$(nproc)" --target Kestrune
cmp build/package/Kestrune.exe build/package-again/Kestrune.exe
cmp build/package/Kestrune.exe build/win32/Kestrune.exe
echo "the packaged program is the same bytes in three builds"

if [ "$KESTRUNE_WINE_ARCH" = win64 ]; then
  echo "== Windows build for Wine (64-bit: the i686 tests above are built, not run)"
  build_tree build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
fi

echo "== tests under Wine ($KESTRUNE_WINE_ARCH)"
display=99
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >build/xvfb.log 2>&1 &
xvfb_pid=$!
stop_xvfb() {
  "$WINESERVER_BIN" -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap stop_xvfb EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
export DISPLAY=":$display"
# Wine's first programs (the prefix's setup, its background services) see this display too.
wine_prepare_prefix
wine_start_services
status=0
ctest --test-dir "$KESTRUNE_WINE_BUILD" --output-on-failure --no-tests=error || status=$?
# The GUI tests save screenshots as BMP; keep PNG copies to look at.
for bmp in build/screenshots/*.bmp; do
  [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png"
done
exit $status
