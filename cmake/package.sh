#!/usr/bin/env bash
# Makes the ZIP for host integrators from a Windows build:
#   package.sh BUILD_DIR OUT_DIR     prints the ZIP's path
# QelSW99_3D-<version>.zip (the version of the DLL's version resource) holds
# the stripped plug-in with its symbols in QelSW99_3D.pdb beside it,
# QelSW99_3D.h, qelhost.exe (host and part-block tool), the README and docs/.
# With QEL_SIGN_PKCS12 (a PKCS#12 file) and QEL_SIGN_PASSWORD set, the DLL and
# qelhost.exe are signed (Authenticode; QEL_SIGN_TIMESTAMP_URL optional).
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

# Signs FILE in place when a certificate is given.
sign() {
  [ -n "${QEL_SIGN_PKCS12:-}" ] || return 0
  local timestamp=()
  [ -z "${QEL_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$QEL_SIGN_TIMESTAMP_URL")
  # The password goes through a pipe, never onto a command line.
  osslsigncode sign -pkcs12 "$QEL_SIGN_PKCS12" -readpass <(printf '%s' "${QEL_SIGN_PASSWORD:?}") \
    -h sha256 -n "QelSW99_3D" "${timestamp[@]}" -in "$1" -out "$1.signed" >/dev/null
  mv "$1.signed" "$1"
}

# GNU strip would mark the DLL debug-stripped, and debuggers would then
# ignore the PDB; llvm-objcopy leaves the debug directory and the flag alone.
llvm-objcopy --strip-all "$bin/QelSW99_3D.dll" QelSW99_3D.dll
cp "$bin/QelSW99_3D.pdb" "$source_dir/entry/QelSW99_3D.h" "$bin/qelhost.exe" "$source_dir/README.md" .
sign QelSW99_3D.dll
sign qelhost.exe
cp "$source_dir/tools/qelhost/README.md" qelhost.md
cp -r "$source_dir/docs" docs

rm -f "$out_dir/$name.zip"
(cd "$stage" && python3 -m zipfile -c "$out_dir/$name.zip" "$name")
echo "$out_dir/$name.zip"
