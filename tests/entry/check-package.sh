#!/usr/bin/env bash
# Makes the integrators' ZIP from the build, signed with a throwaway
# certificate (SHA-1 and a nested SHA-256 signature), unpacks it, reads its
# images as Windows 2000 and an i686 without SSE would (check-baseline.sh),
# and checks what a crash analysis needs: the PDBs match the stripped DLL and
# qelhost.exe, the DLL's names each export's source line, and Wine's debugger
# reads it for a backtrace. Then runs its qelhost against the stand-ins: the
# shipped, signed plug-in writes a SAT file; so does the sample host, built
# from the ZIP alone. Made without a certificate, the ZIP says so. Wine runs in
# a prefix of its own.
#   check-package.sh BUILD_DIR
set -euo pipefail
build_dir=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "$build_dir/package-test.XXXXXX")
export QEL_WINE_PREFIX=wineprefix-package
trap 'WINEPREFIX="$build_dir/$QEL_WINE_PREFIX" wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "$1"; exit 1; }

# A self-signed certificate made for this run only.
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=QelSW99_3D test signer" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:throwaway \
  -out "$work/signer.p12"
zip=$(QEL_SIGN_PKCS12="$work/signer.p12" QEL_SIGN_PASSWORD=throwaway \
  "$here/../../cmake/package.sh" "$build_dir" "$work" 2>"$work/signed.txt")
! grep -q unsigned "$work/signed.txt" || fail "a signed ZIP says it is unsigned"
unsigned=$("$here/../../cmake/package.sh" "$build_dir" "$work/unsigned" 2>&1 >/dev/null)
grep -q 'QelSW99_3D.dll and qelhost.exe ship unsigned' <<<"$unsigned" || fail "an unsigned ZIP does not say so"
(cd "$work" && python3 -m zipfile -e "$zip" .)
unpacked="$work/$(basename "$zip" .zip)"
dll="$unpacked/QelSW99_3D.dll"
for f in QelSW99_3D.dll QelSW99_3D.pdb QelSW99_3D.h qelhost.exe qelhost.pdb README.md docs/demo-insertion.png; do
  [ -e "$unpacked/$f" ] || fail "missing from the ZIP: $f"
done
# Signed with SHA-1 (Windows 2000, XP before SP3), a SHA-256 signature nested
# in it; both verify.
for f in QelSW99_3D.dll qelhost.exe; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$unpacked/$f" >"$work/verify.txt" 2>&1 ||
    { cat "$work/verify.txt"; fail "$f: no valid signature"; }
  digests=$(sed -n 's/^Message digest algorithm \+: *\([A-Z0-9]*\).*/\1/p' "$work/verify.txt" | tr '\n' ' ')
  verified=$(grep -c '^Signature verification: ok' "$work/verify.txt" || true)
  [ "$digests $verified" = "SHA1 SHA256  2" ] ||
    { cat "$work/verify.txt"; fail "$f: signatures $digests($verified verified), want SHA1 SHA256 (2)"; }
done
# Every image in the ZIP as Windows 2000 and XP and an i686 without SSE meet it.
"$here/check-baseline.sh" "$zip" || fail "the ZIP holds an image Windows 2000 or an i686 without SSE cannot run"

# Each binary: stripped, not marked debug-stripped (debuggers would then ignore
# the PDB), and its CodeView record (GUID bytes, age) names the PDB beside it.
for binary in QelSW99_3D.dll qelhost.exe; do
  file="$unpacked/$binary" pdb="${binary%.*}.pdb"
  sections=$(i686-w64-mingw32-objdump -h "$file") headers=$(llvm-readobj --file-headers "$file")
  ! grep -q '\.debug_' <<<"$sections" || fail "$binary still carries debug sections"
  ! grep -q IMAGE_FILE_DEBUG_STRIPPED <<<"$headers" || fail "$binary is marked debug-stripped"
  codeview=$(llvm-readobj --coff-debug-directory "$file")
  read -ra g <<<"$(sed -n 's/.*PDBGUID: (\(.*\))/\1/p' <<<"$codeview")"
  id="{${g[3]}${g[2]}${g[1]}${g[0]}-${g[5]}${g[4]}-${g[7]}${g[6]}-${g[8]}${g[9]}-$(printf %s "${g[@]:10}")}"
  id="$id $(sed -n 's/.*PDBAge: //p' <<<"$codeview") $(sed -n 's/.*PDBFileName: //p' <<<"$codeview")"
  pdb_id="$(llvm-pdbutil dump -summary "$unpacked/$pdb" | awk '/GUID:/ { g = $2 } /Age:/ { a = $2 } END { print g, a }') $pdb"
  [ "$id" = "$pdb_id" ] || fail "$binary names PDB $id, the ZIP holds $pdb_id"
done
# Each export is a function of the PDB with its source file and line.
base=$(llvm-readobj --file-headers "$dll" | awk '/ImageBase:/ { print $2 }')
llvm-readobj --coff-exports "$dll" | awk '/Name: ./ { name = $2 } /RVA:/ && name { print name, $2; name = "" }' |
  while read -r name rva; do
    where=$(llvm-symbolizer --obj="$dll" $((base + rva)) | head -n 2 | tr '\n' ' ')
    echo "$name: $where"
    grep -Eq "^$name entry\\\\Exports\\.cpp:[1-9][0-9]*:" <<<"$where" || fail "$name: no source line in the PDB"
  done
[ "$(llvm-readobj --coff-exports "$dll" | grep -c 'Name: Qel')" = 6 ] || fail "not six exports"

# The host's folder: the unpacked plug-in beside the stand-ins of the maker's libraries.
cp "$build_dir/bin/QelMain.dll" "$build_dir/bin/QelSatWr.dll" "$unpacked/"
printf 'attr Designation = M8x20\nattr Standard = DIN 933\n' >"$work/bolt.txt"
win() { echo "Z:${1//\//\\}"; }
wine() { "$here/../../cmake/wine-run.sh" "$build_dir" "$@" | tr -d '\r'; }
run() { wine "$unpacked/qelhost.exe" "$@"; }
run make-part "$(win "$work/bolt.txt")" "$(win "$work/bolt.qpb")"
output=$(run QelCreateDirectFile "$(win "$work/bolt.qpb")" "$(win "$work/bolt")" 260)
echo "$output"
grep -qx 'result: 1' <<<"$output" || fail "the shipped plug-in did not write the file"
[ -s "$work/bolt.sat" ] || fail "no SAT file"

# The guide in place of the developers' README, and the sample host built from the ZIP alone (C89).
grep -q '^# QelSW99_3D.dll: integration guide' "$unpacked/README.md" || fail "README.md is no guide"
i686-w64-mingw32-gcc -std=c89 -pedantic -Wall -Wextra -Werror -o "$unpacked/samplehost.exe" \
  -I "$unpacked" "$unpacked/sample/samplehost.c"
sample=$(wine "$unpacked/samplehost.exe" direct "$(win "$work/sample")")
grep -qx 'result: 1' <<<"$sample" && [ -s "$work/sample.sat" ] || fail "sample host: $sample"

# A host hands QelCreate_2 a parameter text that points nowhere: Wine's
# debugger, reading the PDB beside the DLL, names the faulting function of the
# plug-in with its source file and line.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
crash=$(QEL_WINE_DEBUGGER=1 run QelCreate_2 "$(win "$work/bolt.qpb")" nowhere 256 2>&1 || true)
grep -Eq '^=>0 .* qel::CParameterList::ParseText\+.*[[\\]bindings\\ParameterList\.cpp:[0-9]+\] in qelsw99_3d' <<<"$crash" ||
  { echo "$crash" | head -n 20; fail "the backtrace does not name the faulting function and line"; }
echo "package ok: $(basename "$zip")"
