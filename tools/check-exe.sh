#!/usr/bin/env bash
# Checks that the shipped program is a 32-bit GUI executable importing Windows system DLLs only.
set -euo pipefail
export LC_ALL=C  # objdump speaks the locale's language otherwise
exe=$1
info=$(i686-w64-mingw32-objdump -p "$exe")
grep -q 'file format pei-i386' <<<"$info" || { echo "$exe: not a PE32 (i386) file" >&2; exit 1; }
grep -Eq 'Subsystem[[:space:]]+0*2[[:space:]]' <<<"$info" || { echo "$exe: not a GUI program" >&2; exit 1; }
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|ole32|oleaut32|uxtheme|version|msvcrt|ntdll|shlwapi|imm32)\.dll$'
bad=0
while read -r dll; do
  if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -Eq "$allowed"; then
    echo "$exe imports a non-system DLL: $dll" >&2
    bad=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info")
[ $bad -eq 0 ] || exit 1
echo "$exe: PE32 GUI program; imports: $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info" | tr '\n' ' ')"
