#!/usr/bin/env bash
# Makes the ZIP for host integrators from a Windows build:
#   package.sh BUILD_DIR OUT_DIR     prints the ZIP's path
# QelSW99_3D-<version>.zip (the version of the DLL's version resource) holds
# the stripped plug-in, its debug information in QelSW99_3D.dll.debug (linked
# by .gnu_debuglink), QelSW99_3D.h, qelhost.exe (host and part-block tool),
# the README and docs/.
set -euo pipefail
build_dir=$(cd "$1" && pwd)
mkdir -p "$2"
out_dir=$(cd "$2" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
bin="$build_dir/bin"

version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' \
  "$source_dir/resources/QelSW99_3D.rc" | head -n 1)
name="QelSW99_3D-$version"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name"
cd "$stage/$name"

i686-w64-mingw32-objcopy --only-keep-debug "$bin/QelSW99_3D.dll" QelSW99_3D.dll.debug
i686-w64-mingw32-objcopy --strip-all --add-gnu-debuglink=QelSW99_3D.dll.debug \
  "$bin/QelSW99_3D.dll" QelSW99_3D.dll
cp "$source_dir/entry/QelSW99_3D.h" "$bin/qelhost.exe" "$source_dir/README.md" .
cp "$source_dir/tools/qelhost/README.md" qelhost.md
cp -r "$source_dir/docs" docs

rm -f "$out_dir/$name.zip"
(cd "$stage" && python3 -m zipfile -c "$out_dir/$name.zip" "$name")
echo "$out_dir/$name.zip"
