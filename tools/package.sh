#!/usr/bin/env bash
# Builds the shipped program from the sources and packs it with the user's README and the
# licence into dist/Kestrune-<version>-win32.zip. Built twice from one commit, on one machine or
# two, the exe and the zip are the same bytes; their SHA-256 is printed at the end.
# Usage: tools/package.sh [build folder, default build/package]
set -euo pipefail
cd "$(dirname "$0")/.."
KESTRUNE_ROOT=$(pwd)
source tools/ensure-deps.sh
ensure_deps

build=${1:-build/package}
# Every time the package holds is the last commit's (the reproducible-builds convention lets
# the environment name another).
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH

# The program alone, as the i686 build ./test.sh checks; the link leaves no time stamp in it.
configure_tree "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DKESTRUNE_TESTS=OFF
cmake --build "$build" -j "$(nproc)" --target Kestrune
exe=$build/Kestrune.exe
tools/check-exe.sh "$exe" >/dev/null

# The project's VERSION, which the title (resources/texts.h) and the version resource are made
# from; the resource's ProductVersion (UTF-16) is read back as a check.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt" >&2; exit 1; }
python3 -c 'import sys; sys.exit(("ProductVersion\0" + sys.argv[2] + "\0").encode("utf-16-le")
                not in open(sys.argv[1], "rb").read())' "$exe" "$version" ||
  { echo "$exe: its version resource does not say $version" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/Kestrune.exe"
# Text for Windows users: CRLF lines, and the README in code page 932, as Japanese Notepad of
# every Windows the program runs on reads it.
sed "s/@VERSION@/$version/g; s/\$/\r/" resources/README.txt | iconv -f UTF-8 -t CP932 >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE"
# Fixed modes and times; zip writes times as local time, so the zone is fixed too.
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

mkdir -p dist
zip=dist/Kestrune-$version-win32.zip
rm -f "$zip"
# -X: no extra fields (owner ids, extended times); -D: no folder entries; the order as listed.
(cd "$stage" && TZ=UTC zip -X -D -q "$KESTRUNE_ROOT/$zip" Kestrune.exe README.txt LICENSE)
sha256sum "$exe" "$zip"
