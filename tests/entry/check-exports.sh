#!/usr/bin/env bash
# Checks the export table and the imports of the built plug-in DLL.
set -euo pipefail
dll=$1
dump=$(i686-w64-mingw32-objdump -p "$dll")

grep -q 'file format pei-i386' <<<"$(i686-w64-mingw32-objdump -f "$dll")" || { echo "not a 32-bit PE file"; exit 1; }

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} on{on=0}' <<<"$dump" | sort)
expected=$(printf '%s\n' QelCreate QelCreateDirectFile QelCreateDirectFile_2 QelCreate_2 QelOptions QelOptions_2 | sort)
if [ "$exports" != "$expected" ]; then
  echo "exports differ:"; diff <(echo "$expected") <(echo "$exports") || true; exit 1
fi

system='^(KERNEL32|USER32|GDI32|ADVAPI32|OLE32|OLEAUT32|COMDLG32|COMCTL32|SHELL32|msvcrt|api-ms-win-[a-z0-9-]+)\.dll$'
bad=$(grep 'DLL Name:' <<<"$dump" | awk '{print $3}' | grep -viE "$system" || true)
if [ -n "$bad" ]; then
  echo "imports beyond Windows' own DLLs: $bad"; exit 1
fi
echo "exports: $(echo $exports)"
echo "imports: $(grep 'DLL Name:' <<<"$dump" | awk '{print $3}' | tr '\n' ' ')"
