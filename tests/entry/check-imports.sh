#!/usr/bin/env bash
# Every function the plug-in DLL imports must be on the list of functions that
# Windows 2000 SP4 provides (windows2000-imports.txt).
#   check-imports.sh DLL LIST
set -euo pipefail
dll=$1
list=$2
imports=$(i686-w64-mingw32-objdump -p "$dll" |
  awk '/DLL Name:/ { dll = toupper($3); next } dll && /^\t[0-9a-f]+\t/ { print dll, $NF } /^$/ { dll = "" }' |
  sort -u)
allowed=$(grep -v '^#' "$list" | awk 'NF >= 2 { print toupper($1), $2 }' | sort -u)
missing=$(comm -23 <(echo "$imports") <(echo "$allowed"))
if [ -n "$missing" ]; then
  echo "imports not known to exist on Windows 2000 SP4:"
  echo "$missing"
  exit 1
fi
echo "$(echo "$imports" | wc -l) imports, all provided by Windows 2000 SP4"
