#!/usr/bin/env bash
# Reads every Windows image in the integrators' ZIP (any file of it that
# starts with "MZ") as Windows 2000 and XP and the processors of their day
# meet it, which Wine never does:
# - the OS and subsystem versions in the PE header are 5.0 (a newer one makes
#   Windows 2000 refuse the EXE and LoadLibrary fail on the DLL);
# - no instruction beyond an i686 without SSE (Pentium II, Athlon): no MMX,
#   SSE or AVX register, no ldmxcsr/stmxcsr, SSE fence, movnti, clflush,
#   prefetch hint or fisttp, and none of the later ones on general registers:
#   monitor/mwait, popcnt, lzcnt, crc32, movbe, BMI, adcx/adox, rdtscp. (libstdc++'s random_device holds rdrand and
#   rdseed behind a CPUID test, and GCC writes "rep bsf", which llvm-objdump
#   shows as tzcnt and older processors run as bsf: neither is flagged.)
# - no read of implicit TLS (the TEB's TLS array at %fs:0x2c, which a library
#   loaded at run time has no slot in on Windows 2000 and XP).
# Prints one line per image with what it found.
#   check-baseline.sh ZIP
set -euo pipefail
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && python3 -m zipfile -e "$zip" .)

beyond_baseline='	(ldmxcsr|stmxcsr|[lsm]fence|movnti[lq]?|clflush(opt)?|prefetch(nta|t[012]|w|wt1)?|fisttp[sl]*|f?emms|monitor|mwait|popcnt[wlq]?|lzcnt[wlq]?|crc32[bwlq]?|movbe[wlq]?|(andn|bextr|blsi|blsmsk|blsr|bzhi|mulx|pdep|pext|rorx|sarx|shlx|shrx)[lq]?|ad[co]x[lq]?|rdtscp)\b|%[xyz]?mm[0-9]'
# llvm-objdump writes the offset in decimal, GNU objdump in hex.
implicit_tls='%fs:(0x2c|44)\b'

# version HEADERS NAME: "major.minor" of llvm-readobj's NAME version field.
version() {
  awk -v major="Major$2Version:" -v minor="Minor$2Version:" \
    '$1 == major { a = $2 } $1 == minor { b = $2 } END { print a "." b }' <<<"$1"
}
count() { grep -c . <<<"$1" || true; }

images=0 failed=0
while IFS= read -r -d '' file; do
  [ "$(head -c 2 "$file")" = MZ ] || continue
  images=$((images + 1))
  name=${file#"$work"/}
  headers=$(llvm-readobj --file-headers "$file")
  os=$(version "$headers" OperatingSystem) subsystem=$(version "$headers" Subsystem)
  code=$(llvm-objdump -d --no-show-raw-insn "$file")
  beyond=$(grep -E "$beyond_baseline" <<<"$code" || true)
  tls=$(grep -E "$implicit_tls" <<<"$code" || true)
  echo "$name: OS version $os, subsystem version $subsystem," \
    "$(count "$beyond") instructions beyond i686 without SSE, $(count "$tls") implicit TLS reads"
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
