#!/usr/bin/env bash
# One of each export kind with Wine pretending to be another Windows version
# (the prefix's version setting for the test program: 2000, XP, 7 or 10).
# Wine's relay trace of SystemParametersInfoA shows whether the plug-in lifted
# the foreground lock time-out (set it to 0) around bringing SolidWorks to the
# front: once on Windows 2000 and XP (NT 5), never on 7 and 10.
#   windows-version.sh BUILD_DIR win2k|winxp|win7|win10
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
here=$(cd "$(dirname "$0")" && pwd)
run() { "$here/../../cmake/wine-run.sh" "$build" "$@"; }
key='HKCU\Software\Wine\AppDefaults\entry_tests.exe'
run reg add "$key" /v Version /d "$version" /f >/dev/null
run reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d user32.SystemParametersInfoA /f >/dev/null
trap 'run reg delete "$key" /f >/dev/null 2>&1; run reg delete "HKCU\Software\Wine\Debug" /v RelayInclude /f >/dev/null 2>&1' EXIT

output=$(WINEDEBUG=+relay run "$build/bin/entry_tests.exe" \
  --gtest_filter=SolidWorksTest.EveryExportKind_WorksOnThisWindowsVersion 2>&1 | tr -d '\r') ||
  { echo "$output" | grep -v ':Ret  \|:Call '; exit 1; }
echo "$output" | grep -E '^\[  (PASSED|FAILED) ' || true
lifts=$(grep -c 'Call user32.SystemParametersInfoA(00002001,00000000,00000000,' <<<"$output" || true)
case $version in
  win2k | winxp) expected=1 ;;
  *) expected=0 ;;
esac
echo "$version: foreground lock time-out lifted $lifts time(s), expected $expected"
[ "$lifts" = "$expected" ]
