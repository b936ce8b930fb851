#!/usr/bin/env bash
# Makes the ZIP for host integrators from a Windows build:
#   package.sh BUILD_DIR OUT_DIR     prints the ZIP's path
# QelSW99_3D-<version>.zip (the version of the DLL's version resource) holds
# the stripped plug-in with its symbols in QelSW99_3D.pdb beside it,
# QelSW99_3D.h, the stripped qelhost.exe (host and part-block tool) with
# qelhost.pdb, the integrators' guide as README.md with its sample host and
# settings file in sample/ (package/), and docs/. With QEL_SIGN_PKCS12 (a
# PKCS#12 file) and QEL_SIGN_PASSWORD set, the DLL and qelhost.exe are signed
# (Authenticode, SHA-1 with a nested SHA-256 signature; QEL_SIGN_TIMESTAMP_URL
# optional); without a certificate one line on stderr says that they ship
# unsigned.
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

# Signs FILE in place when a certificate is given: with SHA-1, the only digest
# Windows 2000 and XP before SP3 can verify, and a SHA-256 signature nested in
# it for the systems that no longer trust SHA-1.
sign() {
  [ -n "${QEL_SIGN_PKCS12:-}" ] || return 0
  local timestamp=() digest nest=()
  [ -z "${QEL_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$QEL_SIGN_TIMESTAMP_URL")
  for digest in sha1 sha256; do
    # The password goes through a pipe, never onto a command line.
    osslsigncode sign "${nest[@]}" -pkcs12 "$QEL_SIGN_PKCS12" \
      -readpass <(printf '%s' "${QEL_SIGN_PASSWORD:?}") -h "$digest" -n "QelSW99_3D" \
      "${timestamp[@]}" -in "$1" -out "$1.signed" >/dev/null
    mv "$1.signed" "$1"
    nest=(-nest)
  done
}

# GNU strip would mark a binary debug-stripped, and debuggers would then
# ignore its PDB; llvm-objcopy leaves the debug directory and the flag alone.
for binary in QelSW99_3D.dll qelhost.exe; do
  llvm-objcopy --strip-all "$bin/$binary" "$binary"
  cp "$bin/${binary%.*}.pdb" .
done
cp "$source_dir/entry/QelSW99_3D.h" .
# The integrators' own guide, not the developers' README.
cp "$source_dir/package/README.md" README.md
cp -r "$source_dir/package/sample" sample
[ -n "${QEL_SIGN_PKCS12:-}" ] ||
  echo "package.sh: no certificate (QEL_SIGN_PKCS12): QelSW99_3D.dll and qelhost.exe ship unsigned" >&2
sign QelSW99_3D.dll
sign qelhost.exe
cp "$source_dir/tools/qelhost/README.md" qelhost.md
cp -r "$source_dir/docs" docs

rm -f "$out_dir/$name.zip"
(cd "$stage" && python3 -m zipfile -c "$out_dir/$name.zip" "$name")
echo "$out_dir/$name.zip"
