#!/usr/bin/env bash
# Checks that the shipped program is a 32-bit GUI executable importing Windows system DLLs only.
set -euo pipefail
export LC_ALL=C  # objdump speaks the locale's language otherwise
exe=$1
info=$(i686-w64-mingw32-objdump -p "$exe")
grep -q 'file format pei-i386' <<<"$info" || { echo "$exe: not a PE32 (i386) file" >&2; exit 1; }
grep -Eq 'Subsystem[[:space:]]+0*2[[:space:]]' <<<"$info" || { echo "$exe: not a GUI program" >&2; exit 1; }
# Windows 7 is the oldest: the header says 6.1 and the manifest names nothing older (Vista's id).
for field in OSystem Subsystem; do
  grep -Eq "Major${field}Version[[:space:]]+6\$" <<<"$info" && grep -Eq "Minor${field}Version[[:space:]]+1\$" <<<"$info" ||
    { echo "$exe: the $field version is not 6.1 (Windows 7)" >&2; exit 1; }
done
! grep -aq 'e2011457-1546-43c5-a5fe-008deee3d3f0' "$exe" || { echo "$exe: the manifest names Windows Vista" >&2; exit 1; }
grep -aq '35138b9a-5d96-4fbd-8e2d-a2440225f93a' "$exe" || { echo "$exe: the manifest does not name Windows 7" >&2; exit 1; }
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|ole32|oleaut32|uxtheme|version|msvcrt|ntdll|shlwapi|imm32|oleacc)\.dll$'
bad=0
while read -r dll; do
  if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -Eq "$allowed"; then
    echo "$exe imports a non-system DLL: $dll" >&2
    bad=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info")
[ $bad -eq 0 ] || exit 1
echo "$exe: PE32 GUI program; imports: $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info" | tr '\n' ' ')"
