# Sourced by the scripts that run Windows programs under Wine: one project-local prefix,
# code page 932, no debug chatter, and the Japanese font faces mapped to the IPA fonts.
# shellcheck shell=bash
KESTRUNE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Wine can run 32-bit programs only where the kernel runs 32-bit Linux code; where it cannot
# (ia32 emulation off), the tests run as 64-bit programs under wine64. KESTRUNE_WINE_ARCH=win64
# in the environment takes the 64-bit way on any machine, to check it where both would work.
if [ "${KESTRUNE_WINE_ARCH:-}" != win64 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1 &&
  [ -x /usr/lib/wine/wine ]; then
  export KESTRUNE_WINE_ARCH=win32
  WINE_LOADER_BIN=/usr/lib/wine/wine
  WINESERVER_BIN=/usr/lib/wine/wineserver32
else
  export KESTRUNE_WINE_ARCH=win64
  WINE_LOADER_BIN=/usr/lib/wine/wine64
  WINESERVER_BIN=/usr/lib/wine/wineserver64
fi
[ -x "$WINESERVER_BIN" ] || WINESERVER_BIN=/usr/lib/wine/wineserver
export WINELOADER="$WINE_LOADER_BIN"
export WINEARCH="$KESTRUNE_WINE_ARCH"
export WINEPREFIX="$KESTRUNE_ROOT/build/wineprefix-$KESTRUNE_WINE_ARCH"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# The build whose programs Wine runs here.
export KESTRUNE_WINE_BUILD="$KESTRUNE_ROOT/build/$KESTRUNE_WINE_ARCH"

# Creates the prefix once (about 8 s), then reuses it; keeps the server alive between runs.
wine_prepare_prefix() {
  mkdir -p "$KESTRUNE_ROOT/build"
  (
    flock 9
    local setup=no
    if [ ! -f "$WINEPREFIX/.kestrune-ready" ]; then
      setup=yes
      rm -rf "$WINEPREFIX"
      timeout 180 "$WINE_LOADER_BIN" wineboot -i >"$KESTRUNE_ROOT/build/wineboot.log" 2>&1 || true
      touch "$WINEPREFIX/.kestrune-ready"
    fi
    # Caption buttons are drawn with Marlett, from fonts-wine. This Wine reads fonts from
    # C:\windows\Fonts and fontconfig's folders, not from its own data folder, where they are.
    local marlett=/usr/share/wine/fonts/marlett.ttf
    if [ -f "$marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
      cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    # The registry settings, again whenever the file changes.
    local stamp
    stamp="$WINEPREFIX/.kestrune-reg-$(cksum <"$KESTRUNE_ROOT/tools/wine-prefix.reg" | cut -d' ' -f1)"
    if [ ! -f "$stamp" ]; then
      setup=yes
      iconv -f UTF-8 -t UTF-16LE "$KESTRUNE_ROOT/tools/wine-prefix.reg" |
        { printf '\xff\xfe'; cat; } >"$WINEPREFIX/drive_c/kestrune.reg"
      # The server holds the registry; programs started after this see the settings at once.
      timeout 60 "$WINE_LOADER_BIN" regedit /S 'C:\kestrune.reg' >>"$KESTRUNE_ROOT/build/wineboot.log" 2>&1 &&
        touch "$stamp"
    fi
    # The server wineboot and regedit started goes with its last program (-p0); let it go, so
    # that the persistent one below is the only one.
    if [ $setup = yes ]; then
      timeout 60 "$WINESERVER_BIN" -w || true
      # The next server reads the registry from disk: wait until the settings are there.
      for _ in $(seq 100); do
        grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && break
        sleep 0.3
      done
    fi
  ) 9>"$KESTRUNE_ROOT/build/.wineprefix.lock"
  "$WINESERVER_BIN" -p >/dev/null 2>&1 || true
}

# Starts the prefix's background programs (services.exe, winedevice.exe) with no output of ours
# to hold: the first Windows program of a session starts them, and they keep the standard output
# they inherit open for as long as the server lives, so ctest, waiting for the end of a test's
# output, would wait forever.
wine_start_services() {
  timeout 120 "$WINE_LOADER_BIN" cmd /c exit </dev/null >/dev/null 2>&1 || true
}
