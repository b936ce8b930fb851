#!/usr/bin/env bash
# A lock file that another user made on a share that gives everybody else
# read access only (a Samba create mask 0644): it must lock all the same.
# Root writes through any file mode, so a Wine prefix of its own loses that
# override (its server opens the files) and the file gets another owner.
#   foreign-lock-file.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
dir=$(mktemp -d "$build/foreign-lock.XXXXXX")
trap 'rm -rf "$dir"' EXIT
chmod 0755 "$dir"
install -m 0644 -o 65534 -g 65534 /dev/null "$dir/QelSW99_3D.lock"
QEL_WINE_PREFIX=wineprefix-foreign QEL_FOREIGN_LOCK_DIR="Z:${dir//\//\\}" \
  setpriv --bounding-set=-dac_override,-dac_read_search,-fowner \
  "$(dirname "$0")/../../cmake/wine-run.sh" "$build" "$build/bin/entry_tests.exe" \
  --gtest_filter='LockWaitTest.*ThisUserMayOnlyRead*' | tee /dev/stderr | grep '^\[       OK \]'
