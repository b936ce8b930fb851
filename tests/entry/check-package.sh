#!/usr/bin/env bash
# Makes the integrators' ZIP from the build, unpacks it and runs its qelhost
# against the stand-ins: the shipped plug-in writes a SAT file.
#   check-package.sh BUILD_DIR
set -euo pipefail
build_dir=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "$build_dir/package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

zip=$("$here/../../cmake/package.sh" "$build_dir" "$work")
(cd "$work" && python3 -m zipfile -e "$zip" .)
unpacked="$work/$(basename "$zip" .zip)"
for f in QelSW99_3D.dll QelSW99_3D.dll.debug QelSW99_3D.h qelhost.exe README.md docs/demo-insertion.png; do
  [ -e "$unpacked/$f" ] || { echo "missing from the ZIP: $f"; exit 1; }
done
if i686-w64-mingw32-objdump -h "$unpacked/QelSW99_3D.dll" | grep -q '\.debug_'; then
  echo "the shipped DLL still carries debug sections"; exit 1
fi
i686-w64-mingw32-objdump -h "$unpacked/QelSW99_3D.dll" | grep -q gnu_debuglink ||
  { echo "the shipped DLL does not name its debug file"; exit 1; }

# The host's folder: the unpacked plug-in beside the stand-ins of the maker's libraries.
cp "$build_dir/bin/QelMain.dll" "$build_dir/bin/QelSatWr.dll" "$unpacked/"
printf 'attr Designation = M8x20\nattr Standard = DIN 933\n' >"$work/bolt.txt"
win() { echo "Z:${1//\//\\}"; }
run() { "$here/../../cmake/wine-run.sh" "$build_dir" "$unpacked/qelhost.exe" "$@" | tr -d '\r'; }
run make-part "$(win "$work/bolt.txt")" "$(win "$work/bolt.qpb")"
output=$(run QelCreateDirectFile "$(win "$work/bolt.qpb")" "$(win "$work/bolt")" 260)
echo "$output"
grep -qx 'result: 1' <<<"$output" || { echo "the shipped plug-in did not write the file"; exit 1; }
[ -s "$work/bolt.sat" ] || { echo "no SAT file"; exit 1; }
echo "package ok: $(basename "$zip")"
