#!/usr/bin/env bash
# Reads every Windows image in the integrators' ZIP (any file of it that
# starts with "MZ") as Windows 2000 and XP and the processors of their day
# meet it, which Wine never does:
# - the OS and subsystem versions in the PE header are 5.0 (a newer one makes
#   Windows 2000 refuse the EXE and LoadLibrary fail on the DLL);
# - no instruction beyond an i686 without SSE (Pentium II, Athlon): no MMX,
#   SSE or AVX register, no ldmxcsr/stmxcsr, SSE fence, movnti, clflush,
#   prefetch hint or fisttp;
# - no read of implicit TLS (the TEB's TLS array at %fs:0x2c, which a library
#   loaded at run time has no slot in on Windows 2000 and XP).
#   check-baseline.sh ZIP
set -euo pipefail
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && python3 -m zipfile -e "$zip" .)

beyond_baseline='	(ldmxcsr|stmxcsr|[lsm]fence|movnti[lq]?|clflush(opt)?|prefetch(nta|t[012]|w|wt1)?|fisttp[sl]*|f?emms)\b|%[xyz]?mm[0-9]'
# llvm-objdump writes the offset in decimal, GNU objdump in hex.
implicit_tls='%fs:(0x2c|44)\b'
images=0 failed=0
while IFS= read -r -d '' file; do
  [ "$(head -c 2 "$file")" = MZ ] || continue
  images=$((images + 1))
  name=${file#"$work"/}
  headers=$(llvm-readobj --file-headers "$file")
  version() { awk -v major="Major$1Version:" -v minor="Minor$1Version:" \
    '$1 == major { a = $2 } $1 == minor { b = $2 } END { print a "." b }' <<<"$headers"; }
  os=$(version OperatingSystem) subsystem=$(version Subsystem)
  code=$(llvm-objdump -d --no-show-raw-insn "$file")
  beyond=$(grep -E "$beyond_baseline" <<<"$code" || true)
  tls=$(grep -E "$implicit_tls" <<<"$code" || true)
  echo "$name: OS version $os, subsystem version $subsystem," \
    "$(grep -c . <<<"$beyond" || true) instructions beyond i686 without SSE," \
    "$(grep -c . <<<"$tls" || true) implicit TLS reads"
  if [ "$os" != 5.0 ] || [ "$subsystem" != 5.0 ]; then
    echo "  $name: Windows 2000 and XP refuse an image newer than 5.0"
    failed=1
  fi
  if [ -n "$beyond" ]; then
    echo "  $name: instructions an i686 without SSE does not have, e.g.:"
    head -n 5 <<<"$beyond" | sed 's/^/    /'
    failed=1
  fi
  if [ -n "$tls" ]; then
    echo "  $name: implicit TLS, which a DLL loaded at run time lacks on Windows 2000 and XP:"
    head -n 5 <<<"$tls" | sed 's/^/    /'
    failed=1
  fi
done < <(find "$work" -type f -print0 | sort -z)
[ "$images" -gt 0 ] || { echo "no Windows image in $zip"; exit 1; }
exit $failed
